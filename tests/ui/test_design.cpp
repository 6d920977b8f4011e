// The rule every window design keeps: each control that becomes a window has
// an identifier of its own.
#include <QtTest>

#include "ui/design.h"

using tendra::ui::ControlDesign;
using tendra::ui::ControlKind;

Q_DECLARE_METATYPE(ControlKind)

class TestDesign : public QObject {
    Q_OBJECT
  private slots:
    void identifiersComplete_data();
    void identifiersComplete();
};

void TestDesign::identifiersComplete_data() {
    QTest::addColumn<ControlKind>("secondKind");
    QTest::addColumn<int>("secondId");
    QTest::addColumn<bool>("complete");

    // The first control is always a label numbered 201.
    QTest::newRow("each its own") << ControlKind::PushButton << 401 << true;
    QTest::newRow("a timer needs none") << ControlKind::Timer << 0 << true;
    QTest::newRow("a label without one") << ControlKind::Label << 0 << false;
    QTest::newRow("a browser without one") << ControlKind::Browser << 0 << false;
    QTest::newRow("two sharing one") << ControlKind::PushButton << 201 << false;
}

void TestDesign::identifiersComplete() {
    QFETCH(ControlKind, secondKind);
    QFETCH(int, secondId);
    QFETCH(bool, complete);
    const ControlDesign controls[] = {
        {.name = "Label1", .id = 201, .kind = ControlKind::Label},
        {.name = "Second", .id = secondId, .kind = secondKind},
    };
    QCOMPARE(tendra::ui::identifiersComplete(controls), complete);
}

QTEST_APPLESS_MAIN(TestDesign)
#include "test_design.moc"
