#include "app/form1_design.h"

#include "ui/vendor.h"

namespace tendra {

namespace {

using ui::ControlDesign;
using ui::ControlKind;

constexpr const char* kOutputFormats[] = {kNodeTableFormat, kMidasMctFormat};

// Tab index order; Image1 never takes the focus. Identifiers: hundreds by
// kind, units by number.
constexpr ControlDesign kControls[] = {
    {.name = "Text8",
     .id = 108,
     .kind = ControlKind::MultiLineTextBox,
     .rect = {1920, 120, 4335, 4815},
     .tabIndex = 0},
    {.name = "Text3",
     .id = 103,
     .kind = ControlKind::TextBox,
     .caption = "1",
     .rect = {1080, 240, 615, 270},
     .tabIndex = 1},
    {.name = "Label3",
     .id = 203,
     .kind = ControlKind::Label,
     .caption = "缩放因子",
     .rect = {240, 285, 720, 180},
     .tabIndex = 2,
     .foreground = ui::kBlue,
     .sizedToText = true},
    {.name = "Text1",
     .id = 101,
     .kind = ControlKind::TextBox,
     .caption = "3",
     .rect = {1080, 600, 615, 270},
     .tabIndex = 3},
    {.name = "Label1",
     .id = 201,
     .kind = ControlKind::Label,
     .caption = "小数位数",
     .rect = {240, 645, 720, 180},
     .tabIndex = 4,
     .foreground = ui::kBlue,
     .sizedToText = true},
    {.name = "Check1",
     .id = 301,
     .kind = ControlKind::CheckBox,
     .caption = "对称",
     .rect = {240, 960, 735, 255},
     .tabIndex = 5,
     .foreground = ui::kBlue,
     .ticked = true},
    {.name = "Text2",
     .id = 102,
     .kind = ControlKind::TextBox,
     .caption = "15",
     .rect = {1080, 1320, 615, 270},
     .tabIndex = 6},
    {.name = "Label2",
     .id = 202,
     .kind = ControlKind::Label,
     .caption = "半径",
     .rect = {600, 1365, 360, 180},
     .tabIndex = 7,
     .foreground = ui::kBlue,
     .sizedToText = true},
    {.name = "Check2",
     .id = 302,
     .kind = ControlKind::CheckBox,
     .caption = "半径",
     .rect = {1080, 960, 735, 255},
     .tabIndex = 8,
     .foreground = ui::kBlue,
     .ticked = true},
    {.name = "Check3",
     .id = 303,
     .kind = ControlKind::CheckBox,
     .caption = "对称含最后节点",
     .rect = {240, 2760, 1575, 255},
     .tabIndex = 9,
     .foreground = ui::kBlue},
    // In the output-format row, right of the parameters button, so that it
    // never covers the table's lines.
    {.name = "Label4",
     .id = 204,
     .kind = ControlKind::Label,
     .rect = {3870, 5130, 90, 180},
     .tabIndex = 10,
     .foreground = ui::kRed,
     .sizedToText = true},
    {.name = "Command3",
     .id = 403,
     .kind = ControlKind::PushButton,
     .caption = "  初始化原点",
     .rect = {360, 1800, 1335, 375},
     .tabIndex = 11,
     .font = ui::kSongTi9},
    {.name = "Command1",
     .id = 401,
     .kind = ControlKind::PushButton,
     .caption = "  点取节点",
     .rect = {360, 2280, 1335, 375},
     .tabIndex = 12,
     .font = ui::kSongTi9,
     .enabled = false},
    {.name = "Command6",
     .id = 406,
     .kind = ControlKind::PushButton,
     .caption = "  帮  助",
     .rect = {360, 4080, 1335, 375},
     .tabIndex = 13,
     .font = ui::kSongTi9},
    {.name = "Command5",
     .id = 405,
     .kind = ControlKind::PushButton,
     .caption = "  更多软件",
     .rect = {360, 3600, 1335, 375},
     .tabIndex = 14,
     .font = ui::kSongTi9},
    {.name = "Command2",
     .id = 402,
     .kind = ControlKind::PushButton,
     .caption = "  退  出",
     .rect = {360, 4560, 1335, 375},
     .tabIndex = 15,
     .font = ui::kSongTi9},
    {.name = "Command4",
     .id = 404,
     .kind = ControlKind::PushButton,
     .caption = "  自动获取节点",
     .rect = {360, 3120, 1335, 375},
     .tabIndex = 16,
     .font = ui::kSongTi9,
     .enabled = false},
    {.name = "Label5",
     .id = 205,
     .kind = ControlKind::Label,
     .rect = {360, 5760, 5895, 1695},
     .tabIndex = 17,
     .wordWrap = true},
    // The output-format row, one button pitch below the last row of buttons.
    {.name = "Label6",
     .id = 206,
     .kind = ControlKind::Label,
     .caption = "输出格式",
     .rect = {240, 5130, 720, 180},
     .tabIndex = 18,
     .foreground = ui::kBlue,
     .sizedToText = true},
    {.name = "Combo1",
     .id = 601,
     .kind = ControlKind::DropDownList,
     .rect = {1080, 5055, 1575, 330},
     .tabIndex = 19,
     .items = kOutputFormats},
    {.name = "Command7",
     .id = 407,
     .kind = ControlKind::PushButton,
     .caption = "参数…",
     .rect = {2775, 5040, 975, 375},
     .tabIndex = 20,
     .font = ui::kSongTi9},
    {.name = "Image1",
     .id = 501,
     .kind = ControlKind::Picture,
     .rect = {240, 7320, 6135, 960},
     .stretched = true,
     .picture = "image1"},
};

static_assert(ui::identifiersComplete(kControls));

constexpr ui::WindowDesign kForm1{
    .name = "Form1",
    .caption = kMainWindowCaption,
    .frame = ui::Frame::FixedSingle,
    .clientWidth = kClientWidthTwips,
    .clientHeight = kCompactClientHeightTwips,
    .topmost = true,
    .font = std::nullopt,
    .controls = kControls,
};

}  // namespace

const ui::WindowDesign& form1Design() {
    return kForm1;
}

std::string instructionsText() {
    return std::string("操作步骤：\r\n") + "  1、打开钢束图-R2000以上版本\r\n" +
           "  2、点击初始化按钮，程序将切换到CAD，选取相对原点\r\n" +
           "  3、点击点取节点按钮，依次选择钢束导线点或点取自动获取节点按钮，"
           "选择钢束，钢束必须为一条完整的多段线组成。\r\n" +
           "  更多软件尽在" + vendor::kHomePage;
}

std::int16_t nextHelpClickCount(std::int16_t count) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(count) + 1u);
}

int helpOuterHeightTwips(std::int16_t count) {
    return count % 2 != 0 ? kExpandedOuterHeightTwips : kCompactOuterHeightTwips;
}

}  // namespace tendra
