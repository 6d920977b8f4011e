// Form1's wait cursor: on while a command is busy, the arrow over a box shown
// meanwhile, and nothing of it left once the command is done.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/qt/form1.h"
#include "tests/support/scripted_cad.h"

using namespace tendra;
using tendra::testing::ScriptedCad;

using Steps = std::function<void(Form1&)>;
Q_DECLARE_METATYPE(Steps)

namespace {

// The override cursor's shape, or -1 when there is none.
int overrideShape() {
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor ? int(cursor->shape()) : -1;
}

}  // namespace

class TestWaitCursor : public QObject {
    Q_OBJECT

    ScriptedCad* cad = nullptr;
    Form1* form = nullptr;
    QList<int> shapesOverBoxes;
    QTimer boxWatch;

  private slots:
    void init() {
        cad = new ScriptedCad;
        form = new Form1(cad->platform());
        shapesOverBoxes.clear();
        // Each box is closed as soon as it shows, after noting the cursor over it.
        connect(&boxWatch, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shapesOverBoxes << overrideShape();
                box->done(QMessageBox::Ok);
            }
        });
        boxWatch.start(10);
    }
    void cleanup() {
        boxWatch.stop();
        boxWatch.disconnect();
        delete form;
        delete cad;
        while (QApplication::overrideCursor()) {
            QApplication::restoreOverrideCursor();
        }
    }

    void cursorFollowsBusy_data() {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<int>("after");
        QTest::addColumn<QList<int>>("overBoxes");
        const int none = -1;
        QTest::newRow("busy shows the wait cursor")
            << Steps([](Form1& f) { f.setBusy(true); }) << int(Qt::WaitCursor) << QList<int>{};
        QTest::newRow("busy, then done: no override cursor left") << Steps([](Form1& f) {
            f.setBusy(true);
            f.setBusy(false);
        }) << none << QList<int>{};
        QTest::newRow("busy twice is one wait cursor, one done removes it") << Steps([](Form1& f) {
            f.setBusy(true);
            f.setBusy(true);
            f.setBusy(false);
        }) << none << QList<int>{};
        QTest::newRow("done without busy leaves another cursor alone") << Steps([](Form1& f) {
            QApplication::setOverrideCursor(Qt::CrossCursor);
            f.setBusy(false);
        }) << int(Qt::CrossCursor) << QList<int>{};
        QTest::newRow("a message while busy shows the arrow, then the wait cursor again")
            << Steps([](Form1& f) {
                   f.setBusy(true);
                   f.showMessage("请检查：", "提示", MessageIcon::Information);
               })
            << int(Qt::WaitCursor) << QList<int>{int(Qt::ArrowCursor)};
        QTest::newRow("a question while busy shows the arrow") << Steps([](Form1& f) {
            f.setBusy(true);
            f.askYesNo("所选对象含 2 条多段线。", {});
            f.setBusy(false);
        }) << none << QList<int>{int(Qt::ArrowCursor)};
        QTest::newRow("a message while not busy pushes no cursor")
            << Steps([](Form1& f) { f.showMessage("未知错误！", "错误", MessageIcon::Stop); })
            << none << QList<int>{none};
    }
    void cursorFollowsBusy() {
        QFETCH(Steps, steps);
        QFETCH(int, after);
        QFETCH(QList<int>, overBoxes);
        steps(*form);
        QCOMPARE(overrideShape(), after);
        QCOMPARE(shapesOverBoxes, overBoxes);
    }
};

QTEST_MAIN(TestWaitCursor)
#include "test_wait_cursor.moc"
