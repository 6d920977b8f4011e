#include "windows/aboutfrm_design.h"

#include "ui/vendor.h"

namespace tendra {

namespace {

using ui::ClickAction;
using ui::ControlDesign;
using ui::ControlKind;
using ui::FontDesign;

constexpr FontDesign kCaptionFont{"Tahoma", 9};
constexpr FontDesign kSloganFont{"宋体", 9, 700, false, ui::Charset::Gb2312};
constexpr FontDesign kOrganisationFont{"Tahoma", 8.25, 400, true};
constexpr FontDesign kMailFont{"Verdana", 6.75};
constexpr FontDesign kAddressFont{"Verdana", 6.75, 400, true};

// The header band comes first: its pictures and the slogan lie inside it.
constexpr ControlDesign kControls[] = {
    {.name = "picBGHead",
     .id = 601,
     .kind = ControlKind::Picture,
     .rect = {0, 0, 5790, 615},
     .background = ui::kWhite,
     .click = ClickAction::OpenHomePage},
    {.name = "picBGHeadIcon",
     .id = 602,
     .kind = ControlKind::Picture,
     .rect = {240, 120, 480, 480},
     .background = ui::kWhite,
     .picture = "key",
     .parent = "picBGHead",
     .click = ClickAction::OpenHomePage},
    {.name = "lblBGHeadInfo1",
     .id = 603,
     .kind = ControlKind::Label,
     .caption = "Corvane－原创、专业、免费、无限制",
     .rect = {960, 240, 3855, 255},
     .foreground = ui::kBlack,
     .font = kSloganFont,
     .tooltip = vendor::kOrganisationPage,
     .parent = "picBGHead",
     .click = ClickAction::OpenHomePage},
    {.name = "linBorder",
     .id = 604,
     .kind = ControlKind::Line,
     .rect = {0, 615, 5760, 0},
     .foreground = ui::kGrey},
    {.name = "Label2",
     .id = 702,
     .kind = ControlKind::Label,
     .caption = "作 者：",
     .rect = {600, 720, 600, 210},
     .foreground = ui::kRed,
     .font = kCaptionFont},
    {.name = "Label7",
     .id = 707,
     .kind = ControlKind::Label,
     .caption = vendor::kAuthorName,
     .rect = {1320, 720, 540, 195},
     .foreground = ui::kBlue},
    {.name = "Label3",
     .id = 703,
     .kind = ControlKind::Label,
     .caption = "单 位：",
     .rect = {600, 1080, 600, 210},
     .foreground = ui::kRed,
     .font = kCaptionFont},
    // Dressed as a link, so it acts as one: it opens the organisation's page.
    {.name = "Label9",
     .id = 709,
     .kind = ControlKind::Label,
     .caption = vendor::kOrganisation,
     .rect = {1320, 1080, 1800, 195},
     .foreground = ui::kBlue,
     .font = kOrganisationFont,
     .handCursor = true,
     .tooltip = vendor::kOrganisationPage,
     .click = ClickAction::OpenOrganisationPage},
    {.name = "Label5",
     .id = 705,
     .kind = ControlKind::Label,
     .caption = "E-mail：",
     .rect = {555, 1440, 645, 210},
     .foreground = ui::kRed,
     .font = kCaptionFont},
    {.name = "lblHomepage",
     .id = 710,
     .kind = ControlKind::Label,
     .caption = vendor::kAuthorEmail,
     .rect = {1320, 1440, 1950, 180},
     .foreground = ui::kBlue,
     .font = kMailFont,
     .handCursor = true,
     .click = ClickAction::MailAuthor},
    {.name = "Label6",
     .id = 706,
     .kind = ControlKind::Label,
     .caption = "软件下载：",
     .rect = {300, 1800, 900, 210},
     .foreground = ui::kRed,
     .font = kCaptionFont},
    // The label shows the home page's host name; the whole address is opened.
    {.name = "Label4",
     .id = 704,
     .kind = ControlKind::Label,
     .caption = vendor::kHomePageHost,
     .rect = {1320, 1800, 1395, 180},
     .foreground = ui::kBlue,
     .font = kAddressFont,
     .handCursor = true,
     .tooltip = "Corvane",
     .click = ClickAction::OpenHomePage},
    {.name = "Command1",
     .id = 801,
     .kind = ControlKind::PushButton,
     .caption = "  确  定",
     .rect = {3480, 1440, 1335, 375},
     .tabIndex = 0,
     .font = ui::kSongTi9,
     .click = ClickAction::CloseWindow},
};

static_assert(ui::identifiersComplete(kControls));

constexpr ui::WindowDesign kAboutfrm{
    .name = "aboutfrm",
    .caption = "Corvane",
    .frame = ui::Frame::FixedDialog,
    .clientWidth = 5100,
    .clientHeight = 2160,
    .topmost = false,
    .font = FontDesign{"Tahoma", 8.25},
    .controls = kControls,
};

}  // namespace

const ui::WindowDesign& aboutfrmDesign() {
    return kAboutfrm;
}

}  // namespace tendra
