// The midas MCT parameters window: its controls as designed, its tab order,
// and how Combo1, Command7, "确定" and "取消" of the main window and the
// parameters window work together.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <cmath>
#include <functional>

#include "app/qt/form1.h"
#include "tests/support/scripted_cad.h"
#include "windows/qt/mctfrm.h"

using tendra::Form1;
using tendra::mctfrm;
using tendra::testing::ScriptedCad;

namespace {

int px(double twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

QRect pixelRect(const QRect& twips, double dpi) {
    const int left = px(twips.x(), dpi);
    const int top = px(twips.y(), dpi);
    return QRect(QPoint(left, top), QPoint(px(twips.x() + twips.width(), dpi) - 1,
                                           px(twips.y() + twips.height(), dpi) - 1));
}

QString describe(const tendra::MctParameters& p) {
    return QStringLiteral("%1 / %2 / %3 / %4 %5 %6")
        .arg(QString::fromStdString(p.property), QString::fromStdString(p.elements),
             QString::fromStdString(p.group))
        .arg(p.insertionX)
        .arg(p.insertionY)
        .arg(p.insertionZ);
}

}  // namespace

class TestMctfrm : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void window();
    void controls_data();
    void controls();
    void tabOrder();
    void formatAndParameters_data();
    void formatAndParameters();

  private:
    // Runs the steps one after another, each from the event loop, so that a
    // step that opens a modal window hands over to the next step inside it.
    void runSteps(const QStringList& steps);
    void step(const QString& what);
    void act(const QString& verb, const QString& argument, const QString& what);
    mctfrm* openParameters();

    ScriptedCad* cad = nullptr;
    Form1* form = nullptr;
    QStringList events;
    QStringList pending;
};

void TestMctfrm::init() {
    cad = new ScriptedCad;
    form = new Form1(cad->platform());
    events.clear();
}

void TestMctfrm::cleanup() {
    delete form;
    delete cad;
}

void TestMctfrm::window() {
    mctfrm parameters(mctfrm::initialTexts(), form);
    QCOMPARE(parameters.objectName(), QStringLiteral("mctfrm"));
    QCOMPARE(parameters.windowTitle(), QStringLiteral("midas MCT"));
    const double dpi = parameters.logicalDpiX();
    const QSize client(px(4680, dpi), px(2775, dpi));
    QCOMPARE(parameters.size(), client);
    QCOMPARE(parameters.minimumSize(), client);
    QCOMPARE(parameters.maximumSize(), client);
    QVERIFY(!parameters.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(parameters.parentWidget(), form);
}

void TestMctfrm::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<bool>("sizedToText");

    const auto row = [](const char* name, const char* kind, const char* caption, QRect twips,
                        bool sized) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind)
                            << QString::fromUtf8(caption) << twips << sized;
    };
    row("Label1", "QLabel", "钢束特性", {240, 285, 720, 180}, true);
    row("Text1", "QLineEdit", "", {1200, 240, 3240, 270}, false);
    row("Label2", "QLabel", "分配单元", {240, 765, 720, 180}, true);
    row("Text2", "QLineEdit", "", {1200, 720, 3240, 270}, false);
    row("Label3", "QLabel", "钢束组", {240, 1245, 540, 180}, true);
    row("Text3", "QLineEdit", "", {1200, 1200, 3240, 270}, false);
    row("Label4", "QLabel", "插入点", {240, 1725, 540, 180}, true);
    row("Text4", "QLineEdit", "0, 0, 0", {1200, 1680, 3240, 270}, false);
    row("Command1", "QPushButton", "确定", {2040, 2160, 1095, 375}, false);
    row("Command2", "QPushButton", "取消", {3345, 2160, 1095, 375}, false);
}

void TestMctfrm::controls() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    QFETCH(bool, sizedToText);

    mctfrm parameters(mctfrm::initialTexts(), form);
    auto* widget = parameters.findChild<QWidget*>(name);
    QVERIFY2(widget, "no control of that name");
    QVERIFY(widget->inherits(kind.toLatin1().constData()));
    QCOMPARE(widget->parentWidget(), &parameters);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QCOMPARE(label->text(), caption);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        QCOMPARE(edit->text(), caption);
    } else {
        QCOMPARE(qobject_cast<QPushButton*>(widget)->text(), caption);
    }
    const QRect expected = pixelRect(twips, parameters.logicalDpiX());
    if (sizedToText) {
        QCOMPARE(widget->pos(), expected.topLeft());
        QCOMPARE(widget->size(), widget->sizeHint());
    } else {
        QCOMPARE(widget->geometry(), expected);
    }
}

void TestMctfrm::tabOrder() {
    form->show();
    mctfrm parameters(mctfrm::initialTexts(), form);
    parameters.show();
    parameters.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&parameters));
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited,
             (QStringList{"Text1", "Text2", "Text3", "Text4", "Command1", "Command2", "Text1"}));
    QVERIFY(parameters.Command1->isDefault());
    QVERIFY(!parameters.Command2->isDefault());
}

mctfrm* TestMctfrm::openParameters() {
    return qobject_cast<mctfrm*>(QApplication::activeModalWidget());
}

void TestMctfrm::runSteps(const QStringList& steps) {
    pending = steps;
    pending << QStringLiteral("end");
    QTimer::singleShot(0, this, [this] { step(pending.takeFirst()); });
    QVERIFY(QTest::qWaitFor([this] { return pending.isEmpty(); }, 10000));
    // Whatever a broken row left open is closed, so that the next row starts clean.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        events << QStringLiteral("left open: ") + modal->objectName();
        modal->close();
        QCoreApplication::processEvents();
    }
}

// One step of a row, then the next from the event loop. A step that may open
// a modal window schedules the next one first, as it only returns when that
// window has closed; the others schedule it after they have acted, so that
// a window they close is gone when the next step runs.
void TestMctfrm::step(const QString& what) {
    if (what == QLatin1String("end")) {
        return;
    }
    const QString verb = what.section(' ', 0, 0);
    const auto next = [this] {
        QTimer::singleShot(0, this, [this] { step(pending.takeFirst()); });
    };
    const bool mayOpen = QStringList{"choose", "click", "ok", "key"}.contains(verb);
    if (mayOpen) {
        next();
    }
    act(verb, what.section(' ', 1), what);
    if (!mayOpen) {
        next();
    }
}

void TestMctfrm::act(const QString& verb, const QString& argument, const QString& what) {
    mctfrm* parameters = openParameters();
    if (verb == QLatin1String("choose")) {
        form->Combo1->setCurrentText(argument);
    } else if (verb == QLatin1String("click")) {
        QTest::mouseClick(form->findChild<QPushButton*>(argument), Qt::LeftButton);
    } else if (verb == QLatin1String("message")) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            events << QStringLiteral("no message");
            return;
        }
        events << QStringLiteral("message ") + box->text();
        box->button(QMessageBox::Ok)->click();
    } else if (!parameters) {
        events << QStringLiteral("no mctfrm for ") + what;
    } else if (verb == QLatin1String("opened")) {
        // Modal, owned by the topmost main window and in front of it, with
        // the texts last accepted.
        const bool inFront =
            QApplication::topLevelAt(parameters->frameGeometry().center()) == parameters;
        events << QStringLiteral("opened%1%2 with %3|%4|%5|%6")
                      .arg(parameters->parentWidget() == form ? "" : " unowned",
                           inFront ? "" : " behind", parameters->Text1->text(),
                           parameters->Text2->text(), parameters->Text3->text(),
                           parameters->Text4->text());
    } else if (verb == QLatin1String("focus")) {
        QWidget* focus = parameters->focusWidget();
        events << QStringLiteral("focus ") + (focus ? focus->objectName() : QStringLiteral("none"));
    } else if (verb.startsWith(QLatin1String("Text"))) {
        parameters->findChild<QLineEdit*>(verb)->setText(argument);
    } else if (verb == QLatin1String("ok")) {
        QTest::mouseClick(parameters->Command1, Qt::LeftButton);
    } else if (verb == QLatin1String("cancel")) {
        QTest::mouseClick(parameters->Command2, Qt::LeftButton);
    } else if (verb == QLatin1String("key")) {
        QWidget* focus = parameters->focusWidget();
        QTest::keyClick(focus ? focus : parameters,
                        argument == QLatin1String("Esc") ? Qt::Key_Escape : Qt::Key_Return);
    } else if (verb == QLatin1String("close")) {
        parameters->close();
    } else {
        events << QStringLiteral("unknown step ") + what;
    }
}

void TestMctfrm::formatAndParameters_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expectedEvents");
    QTest::addColumn<QString>("format");      // Combo1 afterwards
    QTest::addColumn<QString>("parameters");  // what mctParameters() gives

    const QString none = QStringLiteral(" /  /  / 0 0 0");
    const QString opened = QStringLiteral("opened with |||0, 0, 0");
    const QStringList valid{"Text1 15-12", "Text2 1to40 45", "Text3 后张束", "Text4 1, 2, 3"};
    const QString accepted = QStringLiteral("15-12 / 1to40 45 / 后张束 / 1 2 3");

    QTest::newRow("choosing midas MCT opens mctfrm; 取消 the first time goes back")
        << QStringList{"choose midas MCT", "opened", "cancel"} << QStringList{opened} << "节点表"
        << none;
    QTest::newRow("Esc the first time goes back")
        << QStringList{"choose midas MCT", "opened", "key Esc"} << QStringList{opened} << "节点表"
        << none;
    QTest::newRow("the close button the first time goes back")
        << QStringList{"choose midas MCT", "opened", "close"} << QStringList{opened} << "节点表"
        << none;
    QTest::newRow("确定 with valid fields keeps midas MCT and the values")
        << (QStringList{"choose midas MCT", "opened"} + valid + QStringList{"ok"})
        << QStringList{opened} << "midas MCT" << accepted;
    QTest::newRow("Enter clicks 确定")
        << (QStringList{"choose midas MCT"} + valid + QStringList{"key Enter"}) << QStringList{}
        << "midas MCT" << accepted;
    QTest::newRow("确定 with an empty property says so and stays open on that field")
        << QStringList{"choose midas MCT", "ok", "message", "focus", "Text1 P",
                       "Text2 x",          "ok", "message", "focus", "cancel"}
        << QStringList{"message 钢束特性：不能为空", "focus Text1",
                       "message 分配单元：“x”不是单元号、NtoM 或 NtoMbyK", "focus Text2"}
        << "节点表" << none;
    QTest::newRow("a group with a comma is refused, then corrected")
        << (QStringList{"choose midas MCT"} + valid +
            QStringList{"Text3 A,B", "ok", "message", "focus", "Text3 AB", "ok"})
        << QStringList{"message 钢束组：不能含逗号或分号", "focus Text3"} << "midas MCT"
        << "15-12 / 1to40 45 / AB / 1 2 3";
    QTest::newRow("a bad insertion point is refused")
        << (QStringList{"choose midas MCT"} + valid +
            QStringList{"Text4 1, 2", "ok", "message", "focus", "cancel"})
        << QStringList{"message 插入点：须为 x, y, z 三个数", "focus Text4"} << "节点表" << none;
    QTest::newRow("after values were accepted, 取消 keeps midas MCT and them")
        << (QStringList{"choose midas MCT"} + valid +
            QStringList{"ok", "choose 节点表", "choose midas MCT", "opened", "Text1 other",
                        "cancel"})
        << QStringList{"opened with 15-12|1to40 45|后张束|1, 2, 3"} << "midas MCT" << accepted;
    QTest::newRow("Command7 opens it too; 取消 leaves the node table chosen")
        << QStringList{"click Command7", "opened", "cancel"} << QStringList{opened} << "节点表"
        << none;
    QTest::newRow("Command7 with the node table chosen accepts values, keeps the node table")
        << (QStringList{"click Command7"} + valid + QStringList{"ok"}) << QStringList{} << "节点表"
        << accepted;
    QTest::newRow("values accepted through Command7 make a later 取消 keep midas MCT")
        << (QStringList{"click Command7"} + valid + QStringList{"ok", "choose midas MCT", "cancel"})
        << QStringList{} << "midas MCT" << accepted;
    QTest::newRow("Command7 after accepting shows the accepted texts and takes new ones")
        << (QStringList{"choose midas MCT"} + valid +
            QStringList{"ok", "click Command7", "opened", "Text2 3to9by3", "ok"})
        << QStringList{"opened with 15-12|1to40 45|后张束|1, 2, 3"} << "midas MCT"
        << "15-12 / 3to9by3 / 后张束 / 1 2 3";
    QTest::newRow("choosing the node table asks nothing")
        << QStringList{"choose 节点表"} << QStringList{} << "节点表" << none;
}

void TestMctfrm::formatAndParameters() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expectedEvents);
    QFETCH(QString, format);
    QFETCH(QString, parameters);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));

    runSteps(steps);

    QCOMPARE(events, expectedEvents);
    QCOMPARE(form->Combo1->currentText(), format);
    QCOMPARE(form->outputFormat(), format == QLatin1String("midas MCT")
                                       ? tendra::OutputFormat::MidasMct
                                       : tendra::OutputFormat::NodeTable);
    QCOMPARE(describe(form->mctParameters()), parameters);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

QTEST_MAIN(TestMctfrm)
#include "test_mctfrm.moc"
