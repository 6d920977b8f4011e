// The promotion windows: look, placement, timers, docking with a real window,
// and the picture and label handlers.
#include <QtTest>

#include <QCursor>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "ui/qt/screen.h"
#include "ui/qt/twips.h"
#include "ui/vendor.h"
#include "windows/qt/clickable_label.h"
#include "windows/qt/promotion.h"
#include "windows/qt/web_view.h"

#include <unistd.h>

using namespace tendra;

namespace {

// Creates the window the row names; the test owns it until it closes itself.
PromotionWindow* create(const QString& window) {
    if (window == QLatin1String("ad1frm")) {
        return new ad1frm;
    }
    return new adfrm;
}

}  // namespace

class TestPromotion : public QObject {
    Q_OBJECT
  private slots:
    // Runs first, before any web view exists.
    void sandboxOffAsRoot();
    void init();
    void cleanup();
    void look_data();
    void look();
    void controls_data();
    void controls();
    void placement_data();
    void placement();
    void dockingHidesAtStartEdge_data();
    void dockingHidesAtStartEdge();
    void pointerOverStripBringsItBack();
    void minimisedDoesNotMove();
    void timersStartDocking();
    void label1DoubleClickClosesOnlyThisWindow();
    void image1Minimises();
    void withoutTheWebViewModuleAPlaceholderShows();
    // Ends every event loop; keep it last.
    void image2EndsTheProgram();

  private:
    QPointer<PromotionWindow> window_;
    QPointer<PromotionWindow> other_;
};

void TestPromotion::init() {
    setScreenSizeForTests(QSize(1024, 768));
}

void TestPromotion::cleanup() {
    delete window_;
    delete other_;
    setScreenSizeForTests(QSize());
}

void TestPromotion::sandboxOffAsRoot() {
    if (geteuid() != 0) {
        QSKIP("not running as root");
    }
    // main() cleared the variable; the first window sets it before Chromium
    // starts, or the web view would not start at all.
    QVERIFY(!qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"));
    ad1frm window;
    QCOMPARE(qgetenv("QTWEBENGINE_DISABLE_SANDBOX"), QByteArray("1"));
}

void TestPromotion::look_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("page");
    QTest::newRow("ad1frm") << "ad1frm"
                            << "bdownload.htm";
    QTest::newRow("adfrm") << "adfrm"
                           << "gdownload.htm";
}

void TestPromotion::look() {
    QFETCH(QString, window);
    QFETCH(QString, page);
    window_ = create(window);
    const double dpi = logicalDpi(window_);

    QCOMPARE(window_->objectName(), window);
    QCOMPARE(window_->windowTitle(), QStringLiteral("休息一下，马上回来！"));
    QVERIFY(window_->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(window_->autoFillBackground());
    QCOMPARE(window_->palette().color(QPalette::Window), QColor(197, 210, 240));
    QCOMPARE(window_->size(), twipsRect(0, 0, 1965, 9135, dpi).size());
    QCOMPARE(window_->frameGeometry().size(), window_->size());
    auto* view = qobject_cast<QWebEngineView*>(window_->WebBrowser1);
    QVERIFY2(view, "the web engine's view, loaded from its module");
    QCOMPARE(view->page()->requestedUrl(), QUrl(QString::fromUtf8(vendor::kHomePage) + page));
    // Nothing shows it: only the docking step does, once the pointer is over it.
    QVERIFY(!window_->isVisible());
}

void TestPromotion::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("WebBrowser1 overhangs the client area")
        << "WebBrowser1" << QRect(-100, -200, 2400, 9690);
    QTest::newRow("Image1") << "Image1" << QRect(1155, 600, 435, 435);
    QTest::newRow("Image2 reaches past the right edge") << "Image2" << QRect(1680, 600, 435, 435);
    QTest::newRow("Label1") << "Label1" << QRect(0, 8760, 495, 420);
}

void TestPromotion::controls() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    window_ = new ad1frm;
    auto* control = window_->findChild<QWidget*>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(),
             twipsRect(twips.x(), twips.y(), twips.width(), twips.height(), logicalDpi(window_)));
    if (auto* picture = qobject_cast<ClickableLabel*>(control); picture && name != "Label1") {
        // 128 x 128 images stretched over the rectangle, beneath the browser.
        QCOMPARE(picture->pixmap().size(), QSize(128, 128));
        QVERIFY(picture->hasScaledContents());
        QWidget* over = window_->childAt(picture->geometry().center());
        QVERIFY(over == window_->WebBrowser1 || window_->WebBrowser1->isAncestorOf(over));
    }
}

void TestPromotion::placement_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("position");
    // 131 x 609 pixels; the top is a third of the free height, in twips.
    QTest::newRow("ad1frm, 1024 x 768: left edge") << "ad1frm" << QSize(1024, 768) << QPoint(0, 53);
    QTest::newRow("adfrm, 1024 x 768: right edge")
        << "adfrm" << QSize(1024, 768) << QPoint(893, 53);
    QTest::newRow("adfrm, 1920 x 1080") << "adfrm" << QSize(1920, 1080) << QPoint(1789, 157);
    QTest::newRow("ad1frm, 1024 x 770: 53.67 px rounds")
        << "ad1frm" << QSize(1024, 770) << QPoint(0, 54);
    QTest::newRow("adfrm, lower than the window: negative top")
        << "adfrm" << QSize(640, 480) << QPoint(509, -43);
}

void TestPromotion::placement() {
    QFETCH(QString, window);
    QFETCH(QSize, screen);
    QFETCH(QPoint, position);
    if (!qFuzzyCompare(logicalDpi(nullptr), 96.0)) {
        QSKIP("positions are worked out for 96 dpi");
    }
    setScreenSizeForTests(screen);
    window_ = create(window);
    QCOMPARE(window_->pos(), position);
}

void TestPromotion::dockingHidesAtStartEdge_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("left");  // twips
    QTest::newRow("ad1frm hides left") << "ad1frm" << 40 - 1965;
    QTest::newRow("adfrm hides right") << "adfrm" << 15360 - 40;
}

void TestPromotion::dockingHidesAtStartEdge() {
    QFETCH(QString, window);
    QFETCH(int, left);
    window_ = create(window);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    const double dpi = logicalDpi(window_);
    const int top = window_->y();

    QCursor::setPos(500, 300);
    QCOMPARE(QCursor::pos(), QPoint(500, 300));
    window_->runDockingStep();

    QCOMPARE(window_->x(), twipsToPixels(left, dpi));
    QCOMPARE(window_->y(), top);
    // 40 twips stay on the screen, to the nearest pixel.
    const int screenWidth = screenSize().width();
    const QRect visible = window_->frameGeometry().intersected(QRect(0, 0, screenWidth, 768));
    QCOMPARE(visible.width(), twipsToPixels(40, dpi));
}

void TestPromotion::pointerOverStripBringsItBack() {
    window_ = new ad1frm;
    const double dpi = logicalDpi(window_);
    QCursor::setPos(500, 300);
    window_->runDockingStep();
    QVERIFY(!window_->isVisible());

    QCursor::setPos(1, window_->y() + 100);
    window_->runDockingStep();
    QCOMPARE(window_->x(), twipsToPixels(-10, dpi));
    QVERIFY(window_->isVisible());
}

void TestPromotion::minimisedDoesNotMove() {
    window_ = new ad1frm;
    window_->showMinimized();
    QVERIFY(window_->isMinimized());
    const QPoint before = window_->pos();
    QCursor::setPos(500, 300);
    window_->runDockingStep();
    QCOMPARE(window_->pos(), before);
}

void TestPromotion::timersStartDocking() {
    window_ = new ad1frm;
    window_->show();
    QCOMPARE(window_->Timer2->interval(), 5000);
    QVERIFY(window_->Timer2->isActive());
    QVERIFY(!window_->Timer1->isActive());
    QCursor::setPos(500, 300);

    QTRY_VERIFY_WITH_TIMEOUT(window_->Timer1->isActive(), 7000);
    QCOMPARE(window_->Timer1->interval(), 1);
    QTRY_COMPARE(window_->x(), twipsToPixels(40 - 1965, logicalDpi(window_)));
}

void TestPromotion::label1DoubleClickClosesOnlyThisWindow() {
    window_ = new ad1frm;
    other_ = new adfrm;
    window_->show();
    other_->show();
    QTest::mouseDClick(window_->Label1, Qt::LeftButton);
    QTRY_VERIFY(window_.isNull());
    QVERIFY(other_->isVisible());
}

void TestPromotion::image1Minimises() {
    window_ = new adfrm;
    window_->show();
    QTest::mouseClick(window_->Image1, Qt::LeftButton);
    QVERIFY(window_->isMinimized());
}

void TestPromotion::withoutTheWebViewModuleAPlaceholderShows() {
    setWebViewModuleForTests(QStringLiteral("/nonexistent/tendra_webview.so"));
    window_ = new adfrm;
    setWebViewModuleForTests(QString());
    QWidget* browser = window_->WebBrowser1;
    QVERIFY(!qobject_cast<QWebEngineView*>(browser));
    QCOMPARE(browser->objectName(), QStringLiteral("WebBrowser1"));
    QCOMPARE(browser->geometry(), twipsRect(-100, -200, 2400, 9690, logicalDpi(window_)));
    auto* placeholder = qobject_cast<QLabel*>(browser);
    QVERIFY(placeholder);
    QCOMPARE(placeholder->text(), QString::fromUtf8(vendor::kHomePage) + "gdownload.htm");
    // The window works as ever: its timers run the docking step.
    QVERIFY(window_->Timer2->isActive());
}

void TestPromotion::image2EndsTheProgram() {
    window_ = new adfrm;
    window_->show();
    QEventLoop program;
    QTimer::singleShot(0, window_, [this] { QTest::mouseClick(window_->Image2, Qt::LeftButton); });
    QTimer::singleShot(5000, &program, [&program] { program.exit(1); });
    QCOMPARE(program.exec(), 0);
}

// As in the program, nothing asks for shared OpenGL contexts before the
// application exists: the web view module sees to them.
int main(int argc, char** argv) {
    // The windows themselves turn Chromium's sandbox off when run as root.
    if (geteuid() == 0) {
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    }
    QApplication app(argc, argv);
    TestPromotion test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_promotion.moc"
