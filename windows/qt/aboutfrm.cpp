#include "windows/qt/aboutfrm.h"

#include <QDesktopServices>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>

#include "ui/qt/designed_control.h"
#include "ui/qt/fonts.h"
#include "ui/qt/placement.h"
#include "ui/qt/twips.h"
#include "ui/vendor.h"
#include "windows/aboutfrm_design.h"
#include "windows/qt/clickable_label.h"
#include "windows/qt/hand_cursor.h"

namespace tendra {

namespace {

// The shell's "Open": the default browser or mail program takes the address.
// Whether one exists is not our concern, and the window stays open.
void openAddress(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

}  // namespace

aboutfrm::aboutfrm(QWidget* parent) : QDialog(parent, tendra::windowFlags(aboutfrmDesign())) {
    const ui::WindowDesign& design = aboutfrmDesign();
    setObjectName(QString::fromUtf8(design.name));
    setWindowTitle(QString::fromUtf8(design.caption));
    setFont(designedFont(*design.font));
    const double dpi = logicalDpi(this);
    setFixedSize(twipsRect(0, 0, design.clientWidth, design.clientHeight, dpi).size());

    const QCursor hand = handCursor();
    const auto make = [this, &hand](const ui::ControlDesign& control, QWidget* parent) -> QWidget* {
        if (control.kind == ui::ControlKind::PushButton) {
            auto* button = new QPushButton(parent);
            connect(button, &QPushButton::clicked, this, &QWidget::close);
            return button;
        }
        if (control.kind == ui::ControlKind::Line) {
            return plainWidget(control, parent);
        }
        auto* label = new ClickableLabel(parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        if (control.handCursor) {
            label->setCursor(hand);
        }
        switch (control.click) {
            case ui::ClickAction::OpenHomePage:
                connect(label, &ClickableLabel::clicked, this,
                        [] { openAddress(QString::fromUtf8(vendor::kHomePage)); });
                break;
            case ui::ClickAction::OpenOrganisationPage:
                connect(label, &ClickableLabel::clicked, this,
                        [] { openAddress(QString::fromUtf8(vendor::kOrganisationPage)); });
                break;
            case ui::ClickAction::MailAuthor:
                connect(label, &ClickableLabel::clicked, this, [] {
                    openAddress(QStringLiteral("mailto:") +
                                QString::fromUtf8(vendor::kAuthorEmail));
                });
                break;
            default:
                break;
        }
        return label;
    };
    buildDesignedControls(this, design, dpi, make, designedPicture);
    bindDesigned(this, picBGHead, "picBGHead");
    bindDesigned(this, picBGHeadIcon, "picBGHeadIcon");
    bindDesigned(this, lblBGHeadInfo1, "lblBGHeadInfo1");
    bindDesigned(this, linBorder, "linBorder");
    bindDesigned(this, Label2, "Label2");
    bindDesigned(this, Label7, "Label7");
    bindDesigned(this, Label3, "Label3");
    bindDesigned(this, Label9, "Label9");
    bindDesigned(this, Label5, "Label5");
    bindDesigned(this, lblHomepage, "lblHomepage");
    bindDesigned(this, Label6, "Label6");
    bindDesigned(this, Label4, "Label4");
    bindDesigned(this, Command1, "Command1");
    Command1->setFocus();

    Form_Load();
}

void aboutfrm::Form_Load() {
    CenterForm(this);
}

void aboutfrm::CenterForm(QWidget* frm) {
    placeOnScreen(frm, Across::Centre);
}

}  // namespace tendra
