#include "windows/qt/promotion.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPixmap>
#include <QTimer>
#include <QUrl>

#include "ui/qt/colours.h"
#include "ui/qt/designed_control.h"
#include "ui/qt/placement.h"
#include "ui/qt/screen.h"
#include "ui/qt/twips.h"
#include "ui/vendor.h"
#include "windows/docking.h"
#include "windows/qt/clickable_label.h"
#include "windows/qt/web_view.h"

namespace tendra {

PromotionWindow::PromotionWindow(const PromotionDesign& design, QWidget* parent)
    : QWidget(parent, tendra::windowFlags(design.window)), design_(design) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QString::fromUtf8(design.window.name));
    setWindowTitle(QString::fromUtf8(design.window.caption));
    setBackgroundColour(this, *design.window.background);
    const double dpi = logicalDpi(this);
    setFixedSize(
        twipsRect(0, 0, design.window.clientWidth, design.window.clientHeight, dpi).size());

    // The pictures and the label are drawn on the window itself; the
    // browser, made after them, covers them.
    buildDesignedControls(
        this, design.window, dpi,
        [](const ui::ControlDesign& control, QWidget* parent) -> QWidget* {
            if (control.kind == ui::ControlKind::Picture ||
                control.kind == ui::ControlKind::Label) {
                return new ClickableLabel(parent);
            }
            return plainWidget(control, parent);
        },
        designedPicture);
    bindDesigned(this, Image1, "Image1");
    bindDesigned(this, Image2, "Image2");
    bindDesigned(this, Label1, "Label1");
    bindDesigned(this, Timer1, "Timer1");
    bindDesigned(this, Timer2, "Timer2");

    const ui::ControlDesign& browser = *design.window.control("WebBrowser1");
    WebBrowser1 = createWebBrowser(this);
    WebBrowser1->setObjectName(QString::fromUtf8(browser.name));
    WebBrowser1->setGeometry(twipsRect(browser.rect, dpi));

    connect(Image1, &ClickableLabel::clicked, this, &QWidget::showMinimized);
    // exit(), not quit(): the program ends at once, without asking the other
    // windows whether they may close.
    connect(Image2, &ClickableLabel::clicked, this, [] { QCoreApplication::exit(0); });
    connect(Label1, &ClickableLabel::doubleClicked, this, &QWidget::close);
    connect(Timer2, &QTimer::timeout, this, [this] {
        Timer1->setInterval(kDockingIntervalMs);
        Timer1->start();
    });
    connect(Timer1, &QTimer::timeout, this, &PromotionWindow::runDockingStep);

    Form_Load(design.page);
    Timer2->start();
}

void PromotionWindow::Form_Load(const char* page) {
    // Topmost comes with the window flags; the position stays where
    // CenterForm1 put it.
    CenterForm1(this);
    navigateWebBrowser(WebBrowser1,
                       QUrl(QString::fromUtf8(vendor::kHomePage) + QString::fromUtf8(page)));
}

void PromotionWindow::CenterForm1(QWidget* frm) {
    placeOnScreen(frm, design_.startEdge);
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

ad1frm::ad1frm(QWidget* parent) : PromotionWindow(ad1frmDesign(), parent) {}

adfrm::adfrm(QWidget* parent) : PromotionWindow(adfrmDesign(), parent) {}

}  // namespace tendra
