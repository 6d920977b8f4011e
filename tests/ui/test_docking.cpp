// The docking step of the promotion windows, without a window: one row per
// rule of the show and hide tests, the borders and the minimised window.
#include <QtTest>

#include "windows/docking.h"

using tendra::DockingInput;
using tendra::DockingMove;

namespace {

// A promotion window (1965 x 9135 twips, 131 x 609 pixels at 96 dpi) on a
// screen 1024 pixels wide.
constexpr float kWidth = 1965;
constexpr float kHeight = 9135;
constexpr float kScreenWidth = 15360;
constexpr int kTwipsPerPixel = 15;

DockingInput input(QPoint pointer, float left, float top, bool minimised) {
    DockingInput in;
    in.pointerX = pointer.x();
    in.pointerY = pointer.y();
    in.rectLeft = qRound(left / kTwipsPerPixel);
    in.rectTop = qRound(top / kTwipsPerPixel);
    in.rectRight = in.rectLeft + qRound(kWidth / kTwipsPerPixel);
    in.rectBottom = in.rectTop + qRound(kHeight / kTwipsPerPixel);
    in.left = left;
    in.top = top;
    in.width = kWidth;
    in.height = kHeight;
    in.screenWidth = kScreenWidth;
    in.minimised = minimised;
    return in;
}

}  // namespace

class TestDocking : public QObject {
    Q_OBJECT
  private slots:
    void step_data();
    void step();
};

void TestDocking::step_data() {
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<float>("newLeft");
    QTest::addColumn<float>("newTop");
    QTest::addColumn<bool>("show");

    const float hiddenTop = 40 - kHeight;         // -9095: rect top -606 px
    const float hiddenLeft = 40 - kWidth;         // -1925: rect left -128 px
    const float hiddenRight = kScreenWidth - 40;  // 15320: rect left 1021 px
    const float atRight = kScreenWidth - kWidth;  // 13395: rect left 893 px
    const float middle = 795;                     // rect top 53 px

    // Pointer strictly inside: come back onto the screen.
    QTest::newRow("inside, hidden above: top to -10, shown")
        << QPoint(150, 1) << 1500.f << hiddenTop << false << 1500.f << -10.f << true;
    QTest::newRow("inside, above and left of the screen: top rule wins")
        << QPoint(1, 1) << hiddenLeft << hiddenTop << false << hiddenLeft << -10.f << true;
    QTest::newRow("inside, hidden at the left: left to -10, shown")
        << QPoint(1, 300) << hiddenLeft << middle << false << -10.f << middle << true;
    QTest::newRow("inside, left still -10 after rounding: set and shown again")
        << QPoint(50, 300) << -15.f << middle << false << -10.f << middle << true;
    QTest::newRow("inside, hidden at the right: left to screen - width + 10, shown")
        << QPoint(1022, 300) << hiddenRight << middle << false << 13405.f << middle << true;
    QTest::newRow("inside, right edge exactly at the screen's: counts as off")
        << QPoint(900, 300) << atRight << middle << false << 13405.f << middle << true;
    QTest::newRow("inside, right edge one twip short: nothing")
        << QPoint(900, 300) << atRight - 1 << middle << false << atRight - 1 << middle << false;
    QTest::newRow("inside, fully on the screen: nothing")
        << QPoint(250, 300) << 3000.f << middle << false << 3000.f << middle << false;
    QTest::newRow("inside, on the last pixel column: still inside")
        << QPoint(130, 300) << 0.f << middle << false << 0.f << middle << false;

    // Pointer outside or on the border: hide at an edge.
    QTest::newRow("outside, top 4 px (60 twips): hides upwards")
        << QPoint(500, 300) << 3000.f << 60.f << false << 3000.f << hiddenTop << false;
    QTest::newRow("outside, top 5 px: stays")
        << QPoint(500, 300) << 3000.f << 75.f << false << 3000.f << 75.f << false;
    QTest::newRow("outside, at the top-left corner: top rule wins over left")
        << QPoint(500, 300) << 0.f << 0.f << false << 0.f << hiddenTop << false;
    QTest::newRow("outside, at the top-right corner: top rule wins over right")
        << QPoint(500, 300) << atRight << 0.f << false << atRight << hiddenTop << false;
    QTest::newRow("outside, left 4 px: hides left leaving 40 twips")
        << QPoint(500, 300) << 60.f << middle << false << hiddenLeft << middle << false;
    QTest::newRow("outside, left 5 px: stays")
        << QPoint(500, 300) << 75.f << middle << false << 75.f << middle << false;
    QTest::newRow("outside, right edge at the screen's: hides right leaving 40 twips")
        << QPoint(500, 300) << atRight << middle << false << hiddenRight << middle << false;
    QTest::newRow("outside, right edge 4 twips short: hides right")
        << QPoint(500, 300) << atRight - 4 << middle << false << hiddenRight << middle << false;
    QTest::newRow("outside, right edge 5 twips short: stays")
        << QPoint(500, 300) << atRight - 5 << middle << false << atRight - 5 << middle << false;
    QTest::newRow("outside, right edge one pixel short: stays (twips, not pixels)")
        << QPoint(500, 300) << atRight - 15 << middle << false << atRight - 15 << middle << false;
    QTest::newRow("outside, in the middle of the screen: nothing")
        << QPoint(500, 300) << 3000.f << middle << false << 3000.f << middle << false;

    // The border belongs to the outside (the rectangle is 0..131 x 53..662).
    QTest::newRow("pointer on the left border: outside, hides")
        << QPoint(0, 300) << 0.f << middle << false << hiddenLeft << middle << false;
    QTest::newRow("pointer on the top border: outside, hides")
        << QPoint(50, 53) << 0.f << middle << false << hiddenLeft << middle << false;
    QTest::newRow("pointer on the right border: outside, hides")
        << QPoint(131, 300) << 0.f << middle << false << hiddenLeft << middle << false;
    QTest::newRow("pointer on the bottom border: outside, hides")
        << QPoint(50, 662) << 0.f << middle << false << hiddenLeft << middle << false;

    QTest::newRow("minimised, pointer over the strip: does not move or show")
        << QPoint(1, 300) << hiddenLeft << middle << true << hiddenLeft << middle << false;
    QTest::newRow("minimised, at the left edge, pointer away: does not hide")
        << QPoint(500, 300) << 0.f << middle << true << 0.f << middle << false;
}

void TestDocking::step() {
    QFETCH(QPoint, pointer);
    QFETCH(float, left);
    QFETCH(float, top);
    QFETCH(bool, minimised);
    QFETCH(float, newLeft);
    QFETCH(float, newTop);
    QFETCH(bool, show);

    const DockingMove move = tendra::dockingStep(input(pointer, left, top, minimised));
    QCOMPARE(move.left, newLeft);
    QCOMPARE(move.top, newTop);
    QCOMPARE(move.show, show);
}

QTEST_APPLESS_MAIN(TestDocking)
#include "test_docking.moc"
