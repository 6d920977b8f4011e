// The one builder every Qt window makes its designed controls with.
#include <QtTest>

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "ui/qt/designed_control.h"

using tendra::ui::ControlDesign;
using tendra::ui::ControlKind;

namespace {

constexpr ControlDesign kControls[] = {
    {.name = "Text1", .id = 101, .kind = ControlKind::TextBox, .rect = {0, 0, 600, 300}},
    {.name = "Band", .id = 601, .kind = ControlKind::Picture, .rect = {0, 0, 1500, 600}},
    {.name = "Icon",
     .id = 602,
     .kind = ControlKind::Picture,
     .rect = {150, 150, 300, 300},
     .stretched = true,
     .picture = "key",
     .parent = "Band"},
    {.name = "Border",
     .id = 603,
     .kind = ControlKind::Line,
     .rect = {0, 1500, 1500, 0},
     .foreground = tendra::ui::kGrey},
    {.name = "WebBrowser1", .id = 901, .kind = ControlKind::Browser, .rect = {0, 0, 15, 15}},
    {.name = "Timer1", .kind = ControlKind::Timer, .interval = 250},
};

constexpr tendra::ui::WindowDesign kWindow{.name = "Probe",
                                           .caption = "",
                                           .frame = tendra::ui::Frame::FixedSingle,
                                           .clientWidth = 1500,
                                           .clientHeight = 2400,
                                           .topmost = false,
                                           .font = std::nullopt,
                                           .controls = kControls};

QPixmap square(const char*) {
    QPixmap picture(4, 4);
    picture.fill(Qt::red);
    return picture;
}

}  // namespace

class TestDesignedControl : public QObject {
    Q_OBJECT
  private slots:
    void plainWidgetsByKind();
    void picturesComeFromTheSourceOnly();
};

void TestDesignedControl::plainWidgetsByKind() {
    QWidget window;
    tendra::buildDesignedControls(&window, kWindow, 96, tendra::plainWidget, square);
    QVERIFY(window.findChild<QLineEdit*>("Text1"));
    QVERIFY(!window.findChild<QWidget*>("WebBrowser1"));
    auto* icon = window.findChild<QLabel*>("Icon");
    QVERIFY(icon);
    QCOMPARE(icon->parentWidget()->objectName(), QStringLiteral("Band"));
    QCOMPARE(icon->geometry(), QRect(10, 10, 20, 20));
    const QWidget* border = window.findChild<QWidget*>("Border");
    QCOMPARE(border->geometry(), QRect(0, 100, 100, 1));
    QCOMPARE(border->palette().color(QPalette::Window), QColor(128, 128, 128));
    const QTimer* timer = window.findChild<QTimer*>("Timer1");
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 250);
}

void TestDesignedControl::picturesComeFromTheSourceOnly() {
    QWidget withSource;
    tendra::buildDesignedControls(&withSource, kWindow, 96, tendra::plainWidget, square);
    const QLabel* shown = withSource.findChild<QLabel*>("Icon");
    QCOMPARE(shown->pixmap().size(), QSize(4, 4));
    QVERIFY(shown->hasScaledContents());

    QWidget deferred;
    tendra::buildDesignedControls(&deferred, kWindow, 96);
    QVERIFY(deferred.findChild<QLabel*>("Icon")->pixmap().isNull());
}

QTEST_MAIN(TestDesignedControl)
#include "test_designed_control.moc"
