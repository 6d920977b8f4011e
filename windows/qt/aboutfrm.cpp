#include "windows/qt/aboutfrm.h"

#include <QDesktopServices>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>

#include "ui/qt/fonts.h"
#include "ui/qt/placement.h"
#include "ui/qt/twips.h"
#include "ui/vendor.h"
#include "windows/qt/clickable_label.h"
#include "windows/qt/hand_cursor.h"

namespace tendra {

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kGrey(128, 128, 128);

void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// The shell's "Open": the default browser or mail program takes the address.
// Whether one exists is not our concern, and the window stays open.
void openAddress(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

void openHomePage() {
    openAddress(QString::fromUtf8(vendor::kHomePage));
}

}  // namespace

aboutfrm::aboutfrm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("aboutfrm"));
    setWindowTitle(QStringLiteral("Corvane"));
    setFont(designedFont(QStringLiteral("Tahoma"), 8.25));
    const double dpi = logicalDpi(this);
    setFixedSize(twipsRect(0, 0, 5100, 2160, dpi).size());

    const QString homePage = QString::fromUtf8(vendor::kHomePage);
    const QString organisationPage = QString::fromUtf8(vendor::kOrganisationPage);
    const QFont caption = designedFont(QStringLiteral("Tahoma"), 9);

    // The band is wider than the window; the window cuts it off.
    picBGHead = addLabel(this, "picBGHead", QString(), 0, 0, 5790, 615);
    picBGHead->setAutoFillBackground(true);
    setColour(picBGHead, QPalette::Window, Qt::white);

    picBGHeadIcon = addLabel(picBGHead, "picBGHeadIcon", QString(), 240, 120, 480, 480);
    picBGHeadIcon->setAutoFillBackground(true);
    setColour(picBGHeadIcon, QPalette::Window, Qt::white);
    picBGHeadIcon->setPixmap(QPixmap(QStringLiteral(":/windows/images/key.png")));

    lblBGHeadInfo1 =
        addLabel(picBGHead, "lblBGHeadInfo1", QStringLiteral("Corvane－原创、专业、免费、无限制"),
                 960, 240, 3855, 255);
    lblBGHeadInfo1->setFont(designedFont(QStringLiteral("宋体"), 9, QFont::Bold));
    setColour(lblBGHeadInfo1, QPalette::WindowText, Qt::black);
    lblBGHeadInfo1->setToolTip(organisationPage);

    // One pixel high whatever the resolution, along the band's lower edge.
    linBorder = new QWidget(this);
    linBorder->setObjectName(QStringLiteral("linBorder"));
    const int lineLeft = twipsToPixels(0, dpi);
    linBorder->setGeometry(lineLeft, twipsToPixels(615, dpi), twipsToPixels(5760, dpi) - lineLeft,
                           1);
    linBorder->setAutoFillBackground(true);
    setColour(linBorder, QPalette::Window, kGrey);

    Label2 = addLabel(this, "Label2", QStringLiteral("作 者："), 600, 720, 600, 210);
    Label7 = addLabel(this, "Label7", QString::fromUtf8(vendor::kAuthorName), 1320, 720, 540, 195);
    Label3 = addLabel(this, "Label3", QStringLiteral("单 位："), 600, 1080, 600, 210);
    Label9 =
        addLabel(this, "Label9", QString::fromUtf8(vendor::kOrganisation), 1320, 1080, 1800, 195);
    Label5 = addLabel(this, "Label5", QStringLiteral("E-mail："), 555, 1440, 645, 210);
    lblHomepage = addLabel(this, "lblHomepage", QString::fromUtf8(vendor::kAuthorEmail), 1320, 1440,
                           1950, 180);
    Label6 = addLabel(this, "Label6", QStringLiteral("软件下载："), 300, 1800, 900, 210);
    // The label shows the home page's host name; the whole address is opened.
    Label4 = addLabel(this, "Label4", QUrl(homePage).host(), 1320, 1800, 1395, 180);

    for (ClickableLabel* label : {Label2, Label3, Label5, Label6}) {
        label->setFont(caption);
        setColour(label, QPalette::WindowText, kRed);
    }
    for (ClickableLabel* label : {Label7, Label9, lblHomepage, Label4}) {
        setColour(label, QPalette::WindowText, kBlue);
    }
    Label9->setFont(designedFont(QStringLiteral("Tahoma"), 8.25, QFont::Normal, true));
    lblHomepage->setFont(designedFont(QStringLiteral("Verdana"), 6.75));
    Label4->setFont(designedFont(QStringLiteral("Verdana"), 6.75, QFont::Normal, true));
    const QCursor hand = handCursor();
    for (ClickableLabel* label : {Label9, lblHomepage, Label4}) {
        label->setCursor(hand);
    }
    Label9->setToolTip(organisationPage);
    Label4->setToolTip(QStringLiteral("Corvane"));

    Command1 = new QPushButton(QStringLiteral("  确  定"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(3480, 1440, 1335, 375, dpi));
    Command1->setFont(designedFont(QStringLiteral("宋体"), 9));
    Command1->setFocus();

    for (ClickableLabel* band : {picBGHead, picBGHeadIcon, lblBGHeadInfo1, Label4}) {
        connect(band, &ClickableLabel::clicked, this, openHomePage);
    }
    connect(lblHomepage, &ClickableLabel::clicked, this, [] {
        openAddress(QStringLiteral("mailto:") + QString::fromUtf8(vendor::kAuthorEmail));
    });
    // Dressed as a link, so it acts as one: it opens the organisation's page.
    connect(Label9, &ClickableLabel::clicked, this,
            [organisationPage] { openAddress(organisationPage); });
    connect(Command1, &QPushButton::clicked, this, &QWidget::close);

    Form_Load();
}

void aboutfrm::Form_Load() {
    CenterForm(this);
}

void aboutfrm::CenterForm(QWidget* frm) {
    placeOnScreen(frm, Across::Centre);
}

ClickableLabel* aboutfrm::addLabel(QWidget* parent, const char* name, const QString& text, int left,
                                   int top, int width, int height) {
    auto* label = new ClickableLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(twipsRect(left, top, width, height, logicalDpi(this)));
    return label;
}

}  // namespace tendra
