#include "windows/qt/promotion.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPixmap>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include "ui/qt/placement.h"
#include "ui/qt/screen.h"
#include "ui/qt/twips.h"
#include "ui/vendor.h"
#include "windows/docking.h"
#include "windows/qt/clickable_label.h"

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace tendra {

namespace {

const QColor kBackground(197, 210, 240);

// Chromium will not start as root with its sandbox on. Only this process's
// web views are affected, and a setting made by the user wins.
void allowWebEngineAsRoot() {
#if defined(Q_OS_UNIX)
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
#endif
}

void setBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, kBackground);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

ClickableLabel* addPicture(QWidget* parent, const char* name, const QString& image,
                           const QRect& geometry) {
    auto* picture = new ClickableLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setPixmap(QPixmap(image));
    picture->setScaledContents(true);
    picture->setGeometry(geometry);
    return picture;
}

}  // namespace

PromotionWindow::PromotionWindow(StartEdge edge, const char* page, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      edge_(edge) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("休息一下，马上回来！"));
    setBackground(this);
    const double dpi = logicalDpi(this);
    setFixedSize(twipsRect(0, 0, 1965, 9135, dpi).size());

    // Drawn on the window itself; the browser, made after them, covers them.
    Image1 = addPicture(this, "Image1", QStringLiteral(":/windows/images/minimise.png"),
                        twipsRect(1155, 600, 435, 435, dpi));
    Image2 = addPicture(this, "Image2", QStringLiteral(":/windows/images/quit.png"),
                        twipsRect(1680, 600, 435, 435, dpi));
    Label1 = new ClickableLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsRect(0, 8760, 495, 420, dpi));
    setBackground(Label1);

    allowWebEngineAsRoot();
    WebBrowser1 = new QWebEngineView(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setGeometry(twipsRect(-100, -200, 2400, 9690, dpi));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(5000);

    connect(Image1, &ClickableLabel::clicked, this, &QWidget::showMinimized);
    // exit(), not quit(): the program ends at once, without asking the other
    // windows whether they may close.
    connect(Image2, &ClickableLabel::clicked, this, [] { QCoreApplication::exit(0); });
    connect(Label1, &ClickableLabel::doubleClicked, this, &QWidget::close);
    connect(Timer2, &QTimer::timeout, this, [this] {
        Timer1->setInterval(1);
        Timer1->start();
    });
    connect(Timer1, &QTimer::timeout, this, &PromotionWindow::runDockingStep);

    Form_Load(page);
    Timer2->start();
}

void PromotionWindow::Form_Load(const char* page) {
    // Topmost comes with the window flags; the position stays where
    // CenterForm1 put it.
    CenterForm1(this);
    WebBrowser1->load(QUrl(QString::fromUtf8(vendor::kHomePage) + QString::fromUtf8(page)));
}

void PromotionWindow::CenterForm1(QWidget* frm) {
    placeOnScreen(frm, edge_ == StartEdge::Left ? Across::LeftEdge : Across::RightEdge);
}

void PromotionWindow::runDockingStep() {
    const double dpi = logicalDpi(this);
    const QPoint pointer = QCursor::pos();
    const QRect outer = frameGeometry();
    DockingInput input;
    input.pointerX = pointer.x();
    input.pointerY = pointer.y();
    input.rectLeft = outer.x();
    input.rectTop = outer.y();
    input.rectRight = outer.x() + outer.width();
    input.rectBottom = outer.y() + outer.height();
    input.left = static_cast<float>(pixelsToTwips(outer.x(), dpi));
    input.top = static_cast<float>(pixelsToTwips(outer.y(), dpi));
    input.width = static_cast<float>(pixelsToTwips(outer.width(), dpi));
    input.height = static_cast<float>(pixelsToTwips(outer.height(), dpi));
    input.screenWidth = static_cast<float>(pixelsToTwips(screenSize().width(), dpi));
    input.minimised = isMinimized();

    const DockingMove step = dockingStep(input);
    if (step.left != input.left || step.top != input.top) {
        move(twipsToPixels(step.left, dpi), twipsToPixels(step.top, dpi));
    }
    if (step.show) {
        show();
    }
}

ad1frm::ad1frm(QWidget* parent)
    : PromotionWindow(StartEdge::Left, vendor::kLeftPromotionPage, parent) {
    setObjectName(QStringLiteral("ad1frm"));
}

adfrm::adfrm(QWidget* parent)
    : PromotionWindow(StartEdge::Right, vendor::kRightPromotionPage, parent) {
    setObjectName(QStringLiteral("adfrm"));
}

}  // namespace tendra
