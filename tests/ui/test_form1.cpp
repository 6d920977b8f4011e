// The main window: layout, start-up, focus colouring, option boxes, the help
// and more-software buttons, and the form port.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cmath>

#include "app/qt/form1.h"
#include "tests/support/scripted_cad.h"
#include "ui/qt/screen.h"
#include "ui/vendor.h"

using tendra::Form1;
using tendra::testing::ScriptedCad;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(192, 255, 192);

int px(double twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

QRect pixelRect(const QRect& twips, double dpi) {
    const int left = px(twips.x(), dpi);
    const int top = px(twips.y(), dpi);
    return QRect(QPoint(left, top), QPoint(px(twips.x() + twips.width(), dpi) - 1,
                                           px(twips.y() + twips.height(), dpi) - 1));
}

QString captionOf(const QWidget* control) {
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return edit->text();
    }
    if (auto* box = qobject_cast<const QPlainTextEdit*>(control)) {
        return box->toPlainText();
    }
    if (auto* label = qobject_cast<const QLabel*>(control)) {
        return label->text();
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return button->text();
    }
    if (auto* list = qobject_cast<const QComboBox*>(control)) {
        return list->currentText();
    }
    return QStringLiteral("<no caption>");
}

// Where the selection of a text box starts and how long it is, and the length
// of its whole text.
struct Selection {
    int start;
    int length;
    int whole;
};

Selection selectionOf(const QWidget* control) {
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return {edit->selectionStart(), edit->selectionLength(),
                static_cast<int>(edit->text().size())};
    }
    auto* box = qobject_cast<const QPlainTextEdit*>(control);
    const QTextCursor cursor = box->textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart(),
            box->document()->characterCount() - 1};
}

QColor baseOf(const QWidget* control) {
    return control->palette().color(QPalette::Base);
}

// A palette whose window-background colour no default has.
QPalette unusualPalette() {
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Base, QColor(255, 250, 205));
    return palette;
}

}  // namespace

// Records opened addresses, and what was on screen when each was opened.
class UrlRecorder : public QObject {
    Q_OBJECT

  public:
    QStringList events;

  public slots:
    void open(const QUrl& url) {
        events << QStringLiteral("open ") + url.toString() +
                      (QApplication::activeModalWidget() ? QStringLiteral(" (modal up)")
                                                         : QString());
    }
};

class TestForm1 : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void window();
    void instructions();
    void startUpFocus();
    void tabOrder_data();
    void tabOrder();
    void placement_data();
    void placement();

    void focusSelectsAll_data();
    void focusSelectsAll();
    void optionsKeepTheirState_data();
    void optionsKeepTheirState();

    void helpHeights_data();
    void helpHeights();
    void helpToggles();
    void moreSoftware();
    void exitEndsTheRun_data();
    void exitEndsTheRun();

    void statusLabel();
    void originEnablesTheNodeButtonsAndThePolylineFillsText8();
    void portReadsAndWrites();
    void tableIsRelativeToTheOrigin();
    void copiedTableKeepsCrLf();
    void messageBoxes_data();
    void messageBoxes();

  private:
    QWidget* control(const char* name) const { return form->findChild<QWidget*>(name); }
    double dpi() const { return form->logicalDpiX(); }
    void showActive() {
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form));
    }

    ScriptedCad* cad = nullptr;
    Form1* form = nullptr;
};

void TestForm1::init() {
    QApplication::setPalette(QPalette());
    cad = new ScriptedCad;
    form = new Form1(cad->platform());
}

void TestForm1::cleanup() {
    delete form;
    delete cad;
    QApplication::setPalette(QPalette());
}

void TestForm1::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<bool>("sizedToText");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("checked");    // -1: no check box
    QTest::addColumn<QColor>("colour");  // invalid: the palette's own
    QTest::addColumn<bool>("songFont");

    const QColor plain;
    const auto row = [&](const char* name, const char* kind, const QString& caption, QRect twips,
                         bool sized, bool enabled, int checked, QColor colour, bool song) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << caption
                            << twips << sized << enabled << checked << colour << song;
    };
    row("Text8", "QPlainTextEdit", "", {1920, 120, 4335, 4815}, false, true, -1, plain, false);
    row("Text3", "QLineEdit", "1", {1080, 240, 615, 270}, false, true, -1, plain, false);
    row("Label3", "QLabel", "缩放因子", {240, 285, 720, 180}, true, true, -1, kBlue, false);
    row("Text1", "QLineEdit", "3", {1080, 600, 615, 270}, false, true, -1, plain, false);
    row("Label1", "QLabel", "小数位数", {240, 645, 720, 180}, true, true, -1, kBlue, false);
    row("Check1", "QCheckBox", "对称", {240, 960, 735, 255}, false, true, 1, kBlue, false);
    row("Text2", "QLineEdit", "15", {1080, 1320, 615, 270}, false, true, -1, plain, false);
    row("Label2", "QLabel", "半径", {600, 1365, 360, 180}, true, true, -1, kBlue, false);
    row("Check2", "QCheckBox", "半径", {1080, 960, 735, 255}, false, true, 1, kBlue, false);
    row("Check3", "QCheckBox", "对称含最后节点", {240, 2760, 1575, 255}, false, true, 0, kBlue,
        false);
    row("Label4", "QLabel", "", {3870, 5130, 90, 180}, true, true, -1, kRed, false);
    row("Command3", "QPushButton", "  初始化原点", {360, 1800, 1335, 375}, false, true, -1, plain,
        true);
    row("Command1", "QPushButton", "  点取节点", {360, 2280, 1335, 375}, false, false, -1, plain,
        true);
    row("Command6", "QPushButton", "  帮  助", {360, 4080, 1335, 375}, false, true, -1, plain,
        true);
    row("Command5", "QPushButton", "  更多软件", {360, 3600, 1335, 375}, false, true, -1, plain,
        true);
    row("Command2", "QPushButton", "  退  出", {360, 4560, 1335, 375}, false, true, -1, plain,
        true);
    row("Command4", "QPushButton", "  自动获取节点", {360, 3120, 1335, 375}, false, false, -1,
        plain, true);
    row("Label5", "QLabel", QString::fromStdString(tendra::instructionsText()),
        {360, 5760, 5895, 1695}, false, true, -1, plain, false);
    row("Label6", "QLabel", "输出格式", {240, 5130, 720, 180}, true, true, -1, kBlue, false);
    row("Combo1", "QComboBox", "节点表", {1080, 5055, 1575, 330}, false, true, -1, plain, false);
    row("Command7", "QPushButton", "参数…", {2775, 5040, 975, 375}, false, true, -1, plain, true);
    row("Image1", "QLabel", "", {240, 7320, 6135, 960}, false, true, -1, plain, false);
}

void TestForm1::controls() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);
    QFETCH(bool, sizedToText);
    QFETCH(bool, enabled);
    QFETCH(int, checked);
    QFETCH(QColor, colour);
    QFETCH(bool, songFont);

    QWidget* widget = control(name.toLatin1().constData());
    QVERIFY2(widget, "no control of that name");
    QVERIFY(widget->inherits(kind.toLatin1().constData()));
    QCOMPARE(widget->parentWidget(), form);
    QCOMPARE(captionOf(widget), caption);

    const QRect expected = pixelRect(twips, dpi());
    if (sizedToText) {
        QCOMPARE(widget->pos(), expected.topLeft());
        QCOMPARE(widget->size(), widget->sizeHint());
    } else {
        QCOMPARE(widget->geometry(), expected);
    }

    QCOMPARE(widget->isEnabled(), enabled);
    if (checked >= 0) {
        QCOMPARE(qobject_cast<QCheckBox*>(widget)->isChecked(), checked == 1);
    }

    const QColor text = widget->palette().color(QPalette::Active, widget->foregroundRole());
    if (colour.isValid()) {
        QCOMPARE(text, colour);
    } else {
        QCOMPARE(text,
                 QApplication::palette(widget).color(QPalette::Active, widget->foregroundRole()));
    }

    if (songFont) {
        QCOMPARE(widget->font().family(), QStringLiteral("宋体"));
        QCOMPARE(widget->font().pointSize(), 9);
        QCOMPARE(widget->font().weight(), QFont::Normal);
        // A CJK Song face (or at least a CJK face) stands in on machines without it.
        const QString shown = QFontInfo(widget->font()).family();
        QVERIFY2(shown == QStringLiteral("SimSun") || shown.contains(QStringLiteral("CJK")),
                 qPrintable(shown));
    } else {
        QCOMPARE(widget->font(), form->font());
    }
}

void TestForm1::window() {
    QCOMPARE(form->windowTitle(), QStringLiteral("Tendra V2.0"));
    const Qt::WindowFlags flags = form->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!form->windowIcon().isNull());

    const QSize client(px(6465, dpi()), px(5700, dpi()));
    QCOMPARE(form->size(), client);
    QCOMPARE(form->minimumSize(), client);
    QCOMPARE(form->maximumSize(), client);

    QVERIFY(qobject_cast<QLabel*>(control("Image1"))->hasScaledContents());
    // "midas MCT" shows whole in its list.
    QVERIFY(control("Combo1")->width() >= control("Combo1")->sizeHint().width());
}

void TestForm1::instructions() {
    const QString expected = QStringLiteral(
                                 "操作步骤：\r\n"
                                 "  1、打开钢束图-R2000以上版本\r\n"
                                 "  2、点击初始化按钮，程序将切换到CAD，选取相对原点\r\n"
                                 "  3、点击点取节点按钮，依次选择钢束导线点或点取自动获取节点按钮，"
                                 "选择钢束，钢束必须为一条完整的多段线组成。\r\n"
                                 "  更多软件尽在") +
                             QString::fromUtf8(tendra::vendor::kHomePage);
    auto* label = qobject_cast<QLabel*>(control("Label5"));
    QCOMPARE(label->text(), expected);
    QVERIFY(label->wordWrap());

    // CR LF must lay out as one line break, not two.
    QLabel oneBreak;
    oneBreak.setFont(label->font());
    oneBreak.setWordWrap(true);
    oneBreak.setText(QString(expected).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(label->heightForWidth(label->width()), oneBreak.heightForWidth(label->width()));
    // And it fits the label's designed height.
    QVERIFY(label->heightForWidth(label->width()) <= label->height());
}

void TestForm1::startUpFocus() {
    showActive();
    QCOMPARE(QApplication::focusWidget(), control("Text8"));
    QCOMPARE(baseOf(control("Text8")), kGreen);
    for (const char* other : {"Text1", "Text2", "Text3"}) {
        QCOMPARE(baseOf(control(other)), QApplication::palette().color(QPalette::Base));
    }
}

void TestForm1::tabOrder_data() {
    QTest::addColumn<bool>("nodeButtons");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("node buttons disabled are skipped")
        << false << QStringList{"Text8",    "Text3",  "Text1",    "Check1",   "Text2",
                                "Check2",   "Check3", "Command3", "Command6", "Command5",
                                "Command2", "Combo1", "Command7", "Text8"};
    QTest::newRow("node buttons enabled take their place")
        << true
        << QStringList{"Text8",    "Text3",    "Text1",    "Check1",   "Text2",    "Check2",
                       "Check3",   "Command3", "Command1", "Command6", "Command5", "Command2",
                       "Command4", "Combo1",   "Command7", "Text8"};
}

void TestForm1::tabOrder() {
    QFETCH(bool, nodeButtons);
    QFETCH(QStringList, order);
    if (nodeButtons) {
        form->enableNodeButtons();
    }
    showActive();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, order);
    // Tab moved the focus out of the output box instead of typing into it.
    QCOMPARE(qobject_cast<QPlainTextEdit*>(control("Text8"))->toPlainText(), QString());
}

void TestForm1::placement_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("topLeft");
    // The window is 6465 x 5700 twips (431 x 380 px at 96 dpi) with no frame yet.
    QTest::newRow("1280x1024: left 424.5 px rounds up, top a third of the free height")
        << QSize(1280, 1024) << QPoint(425, 215);
    QTest::newRow("1024x768") << QSize(1024, 768) << QPoint(297, 129);
    QTest::newRow("screen smaller than the window: negative, not clamped")
        << QSize(320, 240) << QPoint(-56, -47);
}

void TestForm1::placement() {
    QFETCH(QSize, screen);
    QFETCH(QPoint, topLeft);
    if (dpi() != 96) {
        QSKIP("the rows are worked out for 96 dpi");
    }
    const QSize size = form->size();
    tendra::setScreenSizeForTests(screen);
    form->CenterForm1(form);
    tendra::setScreenSizeForTests(QSize());
    QCOMPARE(form->pos(), topLeft);
    QCOMPARE(form->size(), size);
}

void TestForm1::focusSelectsAll_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before");  // where the focus is first
    QTest::addColumn<QString>("how");     // "tab", "setFocus" or "click"
    QTest::addColumn<QString>("text");

    const auto row = [](const char* name, const char* box, const char* before, const char* how,
                        const char* text) {
        QTest::newRow(name) << QString(box) << QString(before) << QString(how) << QString(text);
    };
    row("Text3 by Tab", "Text3", "Text8", "tab", "2.5");
    row("Text1 by Tab", "Text1", "Text3", "tab", "4");
    row("Text2 by Tab", "Text2", "Check1", "tab", "20");
    row("Text8 by Tab, wrapping round", "Text8", "Command7", "tab", "1\t2\r\n3\t4\r\n");
    row("Text1 by setFocus", "Text1", "Command3", "setFocus", "123");
    row("Text8 by setFocus selects the table", "Text8", "Command3", "setFocus",
        "0.000\t0.000\r\n1.500\t2.000\r\n");
    row("Text2 by a click in the text", "Text2", "Command3", "click", "15.25");
    row("Text8 by a click in the table", "Text8", "Text1", "click", "1\r\n2\r\n");
}

void TestForm1::focusSelectsAll() {
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(QString, how);
    QFETCH(QString, text);

    QApplication::setPalette(unusualPalette());
    QWidget* target = control(box.toLatin1().constData());
    if (auto* edit = qobject_cast<QLineEdit*>(target)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else {
        form->setOutputText(text.toStdString());
    }
    showActive();
    control(before.toLatin1().constData())->setFocus();
    QCOMPARE(baseOf(target), QColor(255, 250, 205));

    if (how == "tab") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    } else if (how == "setFocus") {
        target->setFocus();
    } else {
        auto* area = qobject_cast<QPlainTextEdit*>(target);
        QWidget* receiver = area ? area->viewport() : target;
        QTest::mouseClick(receiver, Qt::LeftButton, {}, QPoint(5, 5));
    }
    QCOMPARE(QApplication::focusWidget(), target);
    const Selection selected = selectionOf(target);
    QCOMPARE(selected.start, 0);
    QCOMPARE(selected.length, selected.whole);
    QVERIFY(selected.whole > 0);
    QCOMPARE(baseOf(target), kGreen);

    // Leaving: the colour the palette has now; the selection stays as it was,
    // drawn like the rest of the text.
    QApplication::setPalette(unusualPalette());
    control("Command3")->setFocus();
    QCOMPARE(baseOf(target), QColor(255, 250, 205));
    const Selection after = selectionOf(target);
    QCOMPARE(after.start, 0);
    QCOMPARE(after.length, selected.whole);
    QCOMPARE(target->palette().color(QPalette::Highlight), QColor(255, 250, 205));

    // A colour scheme applied later is followed as well.
    QPalette dark = QApplication::palette();
    dark.setColor(QPalette::Base, QColor(40, 40, 48));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    QCoreApplication::processEvents();  // widgets learn of it through the event loop
    QCOMPARE(baseOf(target), QColor(40, 40, 48));
    QCOMPARE(target->palette().color(QPalette::Highlight), QColor(40, 40, 48));
    QCOMPARE(target->palette().color(QPalette::HighlightedText), QColor(230, 230, 230));
}

void TestForm1::optionsKeepTheirState_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("dependent");
    QTest::newRow("Check1 greys Check3 keeping its tick") << "Check1"
                                                          << "Check3";
    QTest::newRow("Check2 greys Text2 keeping its text") << "Check2"
                                                         << "Text2";
}

void TestForm1::optionsKeepTheirState() {
    QFETCH(QString, option);
    QFETCH(QString, dependent);
    auto* check3 = qobject_cast<QCheckBox*>(control("Check3"));
    auto* text2 = qobject_cast<QLineEdit*>(control("Text2"));
    check3->setChecked(true);
    text2->setText(QStringLiteral("22.5"));
    showActive();

    auto* box = qobject_cast<QCheckBox*>(control(option.toLatin1().constData()));
    QWidget* other = control(dependent.toLatin1().constData());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    QVERIFY(!box->isChecked());
    QVERIFY(!other->isEnabled());
    QVERIFY(check3->isChecked());
    QCOMPARE(text2->text(), QStringLiteral("22.5"));
    QVERIFY(control("Label2")->isEnabled());

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    QVERIFY(box->isChecked());
    QVERIFY(other->isEnabled());
    QVERIFY(check3->isChecked());
    QCOMPARE(text2->text(), QStringLiteral("22.5"));
}

void TestForm1::helpHeights_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("outerTwips");
    QTest::newRow("first click expands") << 0 << 1 << 8955;
    QTest::newRow("second click folds") << 1 << 2 << 6180;
    QTest::newRow("the count wraps at 16 bits and still alternates") << 32767 << -32768 << 6180;
    QTest::newRow("after wrapping it expands again") << -32768 << -32767 << 8955;
    QTest::newRow("through zero") << -1 << 0 << 6180;
}

void TestForm1::helpHeights() {
    QFETCH(int, count);
    QFETCH(int, next);
    QFETCH(int, outerTwips);
    const std::int16_t after = tendra::nextHelpClickCount(static_cast<std::int16_t>(count));
    QCOMPARE(int{after}, next);
    QCOMPARE(tendra::helpOuterHeightTwips(after), outerTwips);
}

void TestForm1::helpToggles() {
    showActive();
    form->move(100, 80);
    const QRect start = form->frameGeometry();
    const int frame = form->frameGeometry().height() - form->geometry().height();
    auto* help = qobject_cast<QPushButton*>(control("Command6"));
    QVERIFY(!control("Command1")->isEnabled());

    for (int outerTwips : {8955, 6180, 8955}) {
        QTest::mouseClick(help, Qt::LeftButton);
        const QRect now = form->frameGeometry();
        QCOMPARE(now.height(), px(outerTwips, dpi()));
        QCOMPARE(form->height(), px(outerTwips, dpi()) - frame);
        QCOMPARE(now.topLeft(), start.topLeft());
        QCOMPARE(now.width(), start.width());
    }
    // Expanded: the instructions and the picture lie inside the client area.
    const QRect client = form->rect();
    QVERIFY(client.contains(control("Label5")->geometry()));
    QVERIFY(client.contains(control("Image1")->geometry()));
    QCOMPARE(qobject_cast<QLabel*>(control("Image1"))->pixmap().size(), QSize(992, 218));
    // The picture, which overlaps the instructions' rectangle, leaves their last line alone.
    auto* label = qobject_cast<QLabel*>(control("Label5"));
    const QPoint lastLine =
        label->geometry().topLeft() + QPoint(20, label->heightForWidth(label->width()) - 2);
    QCOMPARE(form->childAt(lastLine), label);
    QCOMPARE(cad->callCount(), std::size_t{0});
}

void TestForm1::moreSoftware() {
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &recorder, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &recorder, "open");
    showActive();

    QStringList& events = recorder.events;
    // Runs inside the about window's modal loop; closes it whatever it finds.
    QTimer::singleShot(0, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            events << QStringLiteral("no modal window");
            return;
        }
        events << QStringLiteral("modal ") + modal->metaObject()->className() +
                      (modal->isModal() ? QString() : QStringLiteral(" (not modal)"));
        // Owned by the topmost main window, so it stays in front of it.
        events << (modal->parentWidget() == form ? QStringLiteral("owned by Form1")
                                                 : QStringLiteral("not owned by Form1"));
        const QWidget* atCentre = QApplication::topLevelAt(modal->frameGeometry().center());
        events << (atCentre == modal ? QStringLiteral("in front") : QStringLiteral("behind"));
        modal->close();
        events << QStringLiteral("closed");
    });
    QTest::mouseClick(qobject_cast<QPushButton*>(control("Command5")), Qt::LeftButton);
    events << QStringLiteral("returned");
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

    QCOMPARE(events, (QStringList{QStringLiteral("open ") + tendra::vendor::kHomePage,
                                  "modal tendra::aboutfrm", "owned by Form1", "in front", "closed",
                                  "returned"}));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestForm1::exitEndsTheRun_data() {
    QTest::addColumn<bool>("button");
    QTest::addColumn<bool>("connected");
    QTest::newRow("exit button after a connection, CAD untouched") << true << true;
    QTest::newRow("exit button before any connection") << true << false;
    QTest::newRow("title-bar close") << false << true;
}

void TestForm1::exitEndsTheRun() {
    QFETCH(bool, button);
    QFETCH(bool, connected);
    QWidget board;  // another top-level window, as the drawing board is
    board.show();
    showActive();
    if (connected) {
        cad->queuePoint(10, 20);
        QTest::mouseClick(qobject_cast<QPushButton*>(control("Command3")), Qt::LeftButton);
        QVERIFY(cad->callCount() > 0);
        QVERIFY(control("Command1")->isEnabled());
        cad->clearCalls();
    }

    // The application's own loop, as in the program; it must end with 0 at once.
    QTimer::singleShot(0, this, [&] {
        if (button) {
            QTest::mouseClick(qobject_cast<QPushButton*>(control("Command2")), Qt::LeftButton);
        } else {
            form->close();
        }
    });
    QTimer::singleShot(10000, this, [] { QCoreApplication::exit(99); });
    QCOMPARE(QCoreApplication::exec(), 0);

    QVERIFY(!form->isVisible());
    QVERIFY(!board.isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QCOMPARE(cad->callCount(), std::size_t{0});
}

void TestForm1::statusLabel() {
    showActive();
    auto* label = qobject_cast<QLabel*>(control("Label4"));
    QVERIFY(!label->isVisible());

    form->setStatusText("12");
    QVERIFY(label->isVisible());
    QCOMPARE(label->text(), QStringLiteral("12"));
    QCOMPARE(label->pos(), QPoint(px(3870, dpi()), px(5130, dpi())));
    QCOMPARE(label->size(), label->sizeHint());
    // In the output-format row: it covers none of the table, and the longest
    // status the commands write fits between the parameters button and the
    // window's right edge.
    QVERIFY(!control("Text8")->geometry().intersects(label->geometry()));
    QCOMPARE(form->childAt(label->geometry().center()), label);
    form->setStatusText("钢束数：40，角点个数：1208");
    QVERIFY(!control("Command7")->geometry().intersects(label->geometry()));
    QVERIFY(form->rect().contains(label->geometry()));

    form->setStatusText("");
    QVERIFY(!label->isVisible());
}

// The drawing buttons with the scripted CAD behind them.
void TestForm1::originEnablesTheNodeButtonsAndThePolylineFillsText8() {
    // A message box would wait for a click that never comes: note and close it.
    QStringList shownBoxes;
    QTimer boxCloser;
    connect(&boxCloser, &QTimer::timeout, this, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            shownBoxes << box->windowTitle();
            box->close();
        }
    });
    boxCloser.start(50);
    cad->queuePoint(0, 0, 4);
    cad->prepareSelection({tendra::testing::entityOfType(tendra::cad::entity_type::kLine),
                           tendra::testing::polyline({-30, 5, -20, 2, -10, 0, 0, 0})});
    form->show();
    QVERIFY(!form->Command1->isEnabled());
    QVERIFY(!form->Command4->isEnabled());
    form->Text8->setPlainText(QStringLiteral("older text"));

    QTest::mouseClick(form->Command3, Qt::LeftButton);

    QVERIFY(form->Command1->isEnabled());
    QVERIFY(form->Command4->isEnabled());
    QCOMPARE(form->Text8->toPlainText(), QString());
    QCOMPARE(cad->points().size(), std::size_t{1});
    QCOMPARE(cad->points()[0].color, 1);

    // Not symmetric: the four vertices as they are.
    form->Check1->setChecked(false);
    QTest::mouseClick(form->Command4, Qt::LeftButton);

    QString table = QStringLiteral(
        "-30.000\t5.000\t0\n-20.000\t2.000\t15\n-10.000\t0.000\t15\n0.000\t0.000\t0\n");
    table.replace('.', QLocale::system().decimalPoint());
    QCOMPARE(form->Text8->toPlainText(), table);
    QCOMPARE(form->Label4->text(), QStringLiteral("角点个数：4"));
    QVERIFY(form->Label4->isVisible());
    QCOMPARE(cad->points().size(), std::size_t{5});
    QCOMPARE(cad->groups().size(), std::size_t{1});
    QCOMPARE(cad->groups()[0].second.size(), std::size_t{5});
    QCOMPARE(shownBoxes, QStringList());
}

void TestForm1::portReadsAndWrites() {
    qobject_cast<QLineEdit*>(control("Text1"))->setText(QStringLiteral("4"));
    qobject_cast<QLineEdit*>(control("Text2"))->setText(QStringLiteral(" 2 0"));
    qobject_cast<QLineEdit*>(control("Text3"))->setText(QStringLiteral("半"));
    qobject_cast<QCheckBox*>(control("Check1"))->setChecked(false);
    qobject_cast<QCheckBox*>(control("Check3"))->setChecked(true);
    QCOMPARE(form->fieldText(tendra::Field::Text1), std::string("4"));
    QCOMPARE(form->fieldText(tendra::Field::Text2), std::string(" 2 0"));
    QCOMPARE(form->fieldText(tendra::Field::Text3), std::string("半"));
    QVERIFY(!form->optionTicked(tendra::Option::Check1));
    QVERIFY(form->optionTicked(tendra::Option::Check2));
    QVERIFY(form->optionTicked(tendra::Option::Check3));

    form->setOutputText("1.000\t2.000\r\n3.000\t4.000\r\n");
    QCOMPARE(qobject_cast<QPlainTextEdit*>(control("Text8"))->toPlainText(),
             QStringLiteral("1.000\t2.000\n3.000\t4.000\n"));

    form->enableNodeButtons();
    QVERIFY(control("Command1")->isEnabled());
    QVERIFY(control("Command4")->isEnabled());
}

void TestForm1::tableIsRelativeToTheOrigin() {
    showActive();
    cad->queuePoint(100, 50);
    QTest::mouseClick(qobject_cast<QPushButton*>(control("Command3")), Qt::LeftButton);
    qobject_cast<QLineEdit*>(control("Text1"))->setText(QStringLiteral("0"));
    qobject_cast<QCheckBox*>(control("Check1"))->setChecked(false);
    qobject_cast<QCheckBox*>(control("Check2"))->setChecked(false);

    QVERIFY(form->WriteNodeTable({{80, 60}, {90, 52}}, 0.5));
    QCOMPARE(qobject_cast<QPlainTextEdit*>(control("Text8"))->toPlainText(),
             QStringLiteral("-10\t5\n-5\t1\n"));
}

// The editor keeps lines without their CR; the table handed to a copy, and
// back to the program, has CR LF after every line again.
void TestForm1::copiedTableKeepsCrLf() {
    const std::string table = "-10.00\t5.00\t0\r\n-5.00\t1.00\t15\r\n";
    form->setOutputText(table);
    QCOMPARE(form->Text8->text(), QString::fromStdString(table));

    QApplication::clipboard()->clear();
    form->Text8->selectAll();
    form->Text8->copy();
    QCOMPARE(QApplication::clipboard()->text(), QString::fromStdString(table));

    // A part of the table copies with the line ends it spans.
    QTextCursor cursor = form->Text8->textCursor();
    cursor.setPosition(0);
    cursor.movePosition(QTextCursor::Down, QTextCursor::KeepAnchor);
    form->Text8->setTextCursor(cursor);
    form->Text8->copy();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("-10.00\t5.00\t0\r\n"));
}

void TestForm1::messageBoxes_data() {
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("expectedIcon");
    QTest::addColumn<QString>("expectedTitle");
    QTest::newRow("stop icon is the critical one")
        << int(tendra::MessageIcon::Stop) << "错误" << int(QMessageBox::Critical) << "错误";
    QTest::newRow("no icon") << int(tendra::MessageIcon::None) << "Tendra"
                             << int(QMessageBox::NoIcon) << "Tendra";
    QTest::newRow("no title of its own: the program's")
        << int(tendra::MessageIcon::None) << "" << int(QMessageBox::NoIcon) << "Tendra";
    QTest::newRow("information icon") << int(tendra::MessageIcon::Information) << "提示"
                                      << int(QMessageBox::Information) << "提示";
}

void TestForm1::messageBoxes() {
    QFETCH(int, icon);
    QFETCH(QString, title);
    QFETCH(int, expectedIcon);
    QFETCH(QString, expectedTitle);
    showActive();
    // Runs inside the box's modal loop: notes what it shows, then presses OK.
    QMessageBox* box = nullptr;
    QString text, shownTitle;
    int shownIcon = -1;
    QList<QMessageBox::StandardButton> buttons;
    QTimer::singleShot(0, this, [&] {
        box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        text = box->text();
        shownTitle = box->windowTitle();
        shownIcon = box->icon();
        for (QAbstractButton* button : box->buttons()) {
            buttons << box->standardButton(button);
        }
        box->buttons().first()->click();
    });
    form->showMessage("未知错误！", title.toStdString(), static_cast<tendra::MessageIcon>(icon));
    QVERIFY(box);
    QCOMPARE(text, QStringLiteral("未知错误！"));
    QCOMPARE(shownTitle, expectedTitle);
    QCOMPARE(shownIcon, expectedIcon);
    QCOMPARE(buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
}

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
