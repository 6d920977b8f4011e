// The midas MCT parameters window: its controls as designed, its tab order,
// and how Combo1, Command7, "确定" and "取消" of the main window and the
// parameters window work together.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>
#include <cmath>

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

    void controls_data();
    void controls();
    void windowAndTabOrder();
    void formatAndParameters_data();
    void formatAndParameters();

  private:
    // Runs the steps one after another, each from the event loop, so that a
    // step that opens a modal window hands over to the next step inside it.
    void runSteps(const QStringList& steps);
    void step(const QString& what);

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

void TestMctfrm::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");  // labels: sized to their caption from this corner

    const auto row = [](const char* name, const char* kind, const char* caption, QRect twips) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind)
                            << QString::fromUtf8(caption) << twips;
    };
    row("Label1", "QLabel", "钢束特性", {240, 285, 720, 180});
    row("Text1", "QLineEdit", "", {1200, 240, 3240, 270});
    row("Label2", "QLabel", "分配单元", {240, 765, 720, 180});
    row("Text2", "QLineEdit", "", {1200, 720, 3240, 270});
    row("Label3", "QLabel", "钢束组", {240, 1245, 540, 180});
    row("Text3", "QLineEdit", "", {1200, 1200, 3240, 270});
    row("Label4", "QLabel", "插入点", {240, 1725, 540, 180});
    row("Text4", "QLineEdit", "0, 0, 0", {1200, 1680, 3240, 270});
    row("Command1", "QPushButton", "确定", {2040, 2160, 1095, 375});
    row("Command2", "QPushButton", "取消", {3345, 2160, 1095, 375});
}

void TestMctfrm::controls() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);

    mctfrm parameters(mctfrm::initialTexts(), form);
    auto* widget = parameters.findChild<QWidget*>(name);
    QVERIFY2(widget, "no control of that name");
    QVERIFY(widget->inherits(kind.toLatin1().constData()));
    QCOMPARE(widget->parentWidget(), &parameters);
    QCOMPARE(widget->property("text").toString(), caption);
    const QRect expected = pixelRect(twips, parameters.logicalDpiX());
    if (kind == QLatin1String("QLabel")) {
        QCOMPARE(widget->pos(), expected.topLeft());
        QCOMPARE(widget->size(), widget->sizeHint());
    } else {
        QCOMPARE(widget->geometry(), expected);
    }
}

void TestMctfrm::windowAndTabOrder() {
    form->show();
    mctfrm parameters(mctfrm::initialTexts(), form);
    QCOMPARE(parameters.objectName(), QStringLiteral("mctfrm"));
    QCOMPARE(parameters.windowTitle(), QStringLiteral("midas MCT"));
    const double dpi = parameters.logicalDpiX();
    QCOMPARE(parameters.minimumSize(), QSize(px(4680, dpi), px(2775, dpi)));
    QCOMPARE(parameters.maximumSize(), parameters.minimumSize());
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
    const auto next = [this] {
        QTimer::singleShot(0, this, [this] { step(pending.takeFirst()); });
    };
    const QString verb = what.section(' ', 0, 0);
    const QString argument = what.section(' ', 1);
    const bool mayOpen = QStringList{"choose", "click", "ok", "key"}.contains(verb);
    if (mayOpen) {
        next();
    }
    QWidget* modal = QApplication::activeModalWidget();
    auto* parameters = qobject_cast<mctfrm*>(modal);
    if (verb == QLatin1String("choose")) {
        form->Combo1->setCurrentText(argument);
    } else if (verb == QLatin1String("click")) {
        QTest::mouseClick(form->findChild<QPushButton*>(argument), Qt::LeftButton);
    } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && verb == "message") {
        events << QStringLiteral("message ") + box->text();
        box->button(QMessageBox::Ok)->click();
    } else if (!parameters) {
        events << QStringLiteral("no mctfrm for ") + what;
    } else if (verb == QLatin1String("opened")) {
        // Owned by the topmost main window and in front of it, with the
        // texts last accepted.
        const bool inFront =
            QApplication::topLevelAt(parameters->frameGeometry().center()) == parameters;
        events << QStringLiteral("opened%1%2 with %3|%4|%5|%6")
                      .arg(parameters->parentWidget() == form ? "" : " unowned",
                           inFront ? "" : " behind", parameters->Text1->text(),
                           parameters->Text2->text(), parameters->Text3->text(),
                           parameters->Text4->text());
    } else if (verb == QLatin1String("focus")) {
        events << QStringLiteral("focus ") + parameters->focusWidget()->objectName();
    } else if (verb.startsWith(QLatin1String("Text"))) {
        parameters->findChild<QLineEdit*>(verb)->setText(argument);
    } else if (verb == QLatin1String("ok") || verb == QLatin1String("cancel")) {
        QTest::mouseClick(verb == "ok" ? parameters->Command1 : parameters->Command2,
                          Qt::LeftButton);
    } else if (verb == QLatin1String("key")) {
        QTest::keyClick(parameters->focusWidget(),
                        argument == QLatin1String("Esc") ? Qt::Key_Escape : Qt::Key_Return);
    }
    if (!mayOpen) {
        next();
    }
}

void TestMctfrm::formatAndParameters_data() {
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("expectedEvents");
    QTest::addColumn<QString>("format");      // Combo1 afterwards
    QTest::addColumn<QString>("parameters");  // what mctParameters() gives

    // Steps and events are separated by "; ". "valid" types four valid fields.
    const auto row = [](const char* name, const char* steps, const char* events, const char* format,
                        const char* parameters) {
        QTest::newRow(name) << QString::fromUtf8(steps).replace(
                                   "valid",
                                   "Text1 15-12; Text2 1to40 45; Text3 后张束; Text4 1, 2, 3")
                            << QString::fromUtf8(events) << QString::fromUtf8(format)
                            << QString::fromUtf8(parameters);
    };
    const char* none = " /  /  / 0 0 0";
    const char* accepted = "15-12 / 1to40 45 / 后张束 / 1 2 3";
    row("choosing midas MCT opens mctfrm; 取消 the first time goes back",
        "choose midas MCT; opened; cancel", "opened with |||0, 0, 0", "节点表", none);
    row("Esc the first time goes back", "choose midas MCT; key Esc", "", "节点表", none);
    row("确定 with valid fields keeps midas MCT and the values", "choose midas MCT; valid; ok", "",
        "midas MCT", accepted);
    row("Enter clicks 确定", "choose midas MCT; valid; key Enter", "", "midas MCT", accepted);
    row("确定 with a bad field says which and why, and stays open on it",
        "choose midas MCT; ok; message; focus; Text1 P; Text2 x; ok; message; focus; cancel",
        "message 钢束特性：不能为空; focus Text1; "
        "message 分配单元：“x”不是单元号、NtoM 或 NtoMbyK; focus Text2",
        "节点表", none);
    row("after values were accepted, 取消 keeps midas MCT and them",
        "choose midas MCT; valid; ok; choose 节点表; choose midas MCT; opened; Text1 Q; cancel",
        "opened with 15-12|1to40 45|后张束|1, 2, 3", "midas MCT", accepted);
    row("Command7 opens it too; 取消 leaves the node table chosen",
        "click Command7; opened; cancel", "opened with |||0, 0, 0", "节点表", none);
    row("Command7 after accepting shows the accepted texts and takes new ones",
        "choose midas MCT; valid; ok; click Command7; opened; Text2 3to9by3; ok",
        "opened with 15-12|1to40 45|后张束|1, 2, 3", "midas MCT",
        "15-12 / 3to9by3 / 后张束 / 1 2 3");
    row("choosing the node table asks nothing", "choose 节点表", "", "节点表", none);
}

void TestMctfrm::formatAndParameters() {
    QFETCH(QString, steps);
    QFETCH(QString, expectedEvents);
    QFETCH(QString, format);
    QFETCH(QString, parameters);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));

    runSteps(steps.split(QStringLiteral("; ")));

    QCOMPARE(events.join(QStringLiteral("; ")), expectedEvents);
    QCOMPARE(form->Combo1->currentText(), format);
    QCOMPARE(form->outputFormat(), format == QLatin1String("midas MCT")
                                       ? tendra::OutputFormat::MidasMct
                                       : tendra::OutputFormat::NodeTable);
    QCOMPARE(describe(form->mctParameters()), parameters);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

QTEST_MAIN(TestMctfrm)
#include "test_mctfrm.moc"
