#include "windows/mctfrm_design.h"

namespace tendra {

namespace {

using ui::ControlDesign;
using ui::ControlKind;

// One field a row, 480 twips apart as the main window's buttons; each label
// sits beside its box as the main window's field labels do. Identifiers:
// thousands for this window, hundreds by kind, units by number.
constexpr ControlDesign kControls[] = {
    {.name = "Label1",
     .id = 1201,
     .kind = ControlKind::Label,
     .caption = "钢束特性",
     .rect = {240, 285, 720, 180},
     .sizedToText = true},
    {.name = "Text1",
     .id = 1101,
     .kind = ControlKind::TextBox,
     .rect = {1200, 240, 3240, 270},
     .tabIndex = 0},
    {.name = "Label2",
     .id = 1202,
     .kind = ControlKind::Label,
     .caption = "分配单元",
     .rect = {240, 765, 720, 180},
     .sizedToText = true},
    {.name = "Text2",
     .id = 1102,
     .kind = ControlKind::TextBox,
     .rect = {1200, 720, 3240, 270},
     .tabIndex = 1},
    {.name = "Label3",
     .id = 1203,
     .kind = ControlKind::Label,
     .caption = "钢束组",
     .rect = {240, 1245, 540, 180},
     .sizedToText = true},
    {.name = "Text3",
     .id = 1103,
     .kind = ControlKind::TextBox,
     .rect = {1200, 1200, 3240, 270},
     .tabIndex = 2},
    {.name = "Label4",
     .id = 1204,
     .kind = ControlKind::Label,
     .caption = "插入点",
     .rect = {240, 1725, 540, 180},
     .sizedToText = true},
    {.name = "Text4",
     .id = 1104,
     .kind = ControlKind::TextBox,
     .caption = kInitialInsertionPoint,
     .rect = {1200, 1680, 3240, 270},
     .tabIndex = 3},
    {.name = "Command1",
     .id = 1401,
     .kind = ControlKind::PushButton,
     .caption = "确定",
     .rect = {2040, 2160, 1095, 375},
     .tabIndex = 4,
     .font = ui::kSongTi9,
     .defaultButton = true},
    {.name = "Command2",
     .id = 1402,
     .kind = ControlKind::PushButton,
     .caption = "取消",
     .rect = {3345, 2160, 1095, 375},
     .tabIndex = 5,
     .font = ui::kSongTi9,
     .cancelButton = true},
};

static_assert(ui::identifiersComplete(kControls));

// Owned by the main window, which keeps it in front of the topmost window
// without being topmost itself.
constexpr ui::WindowDesign kMctfrm{
    .name = "mctfrm",
    .caption = "midas MCT",
    .frame = ui::Frame::FixedDialog,
    .clientWidth = 4680,
    .clientHeight = 2775,
    .topmost = false,
    .font = std::nullopt,
    .controls = kControls,
};

}  // namespace

const ui::WindowDesign& mctfrmDesign() {
    return kMctfrm;
}

}  // namespace tendra
