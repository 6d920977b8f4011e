#include "windows/promotion_design.h"

#include "ui/vendor.h"

namespace tendra {

namespace {

using ui::ClickAction;
using ui::ControlDesign;
using ui::ControlKind;

constexpr ui::Rgb kBackground{197, 210, 240};

// The pictures and the label lie on the window's surface under the browser,
// which covers them.
constexpr ControlDesign kControls[] = {
    {.name = "WebBrowser1",
     .id = 901,
     .kind = ControlKind::Browser,
     .rect = {-100, -200, 2400, 9690}},
    {.name = "Image1",
     .id = 902,
     .kind = ControlKind::Picture,
     .rect = {1155, 600, 435, 435},
     .stretched = true,
     .picture = "minimise",
     .click = ClickAction::Minimise},
    {.name = "Image2",
     .id = 903,
     .kind = ControlKind::Picture,
     .rect = {1680, 600, 435, 435},
     .stretched = true,
     .picture = "quit",
     .click = ClickAction::EndProgram},
    {.name = "Label1",
     .id = 904,
     .kind = ControlKind::Label,
     .rect = {0, 8760, 495, 420},
     .background = kBackground,
     .click = ClickAction::DoubleClickCloses},
    {.name = "Timer2", .kind = ControlKind::Timer, .interval = kTimer2IntervalMs},
    {.name = "Timer1", .kind = ControlKind::Timer, .interval = 0},
};

static_assert(ui::identifiersComplete(kControls));

constexpr ui::WindowDesign window(const char* name) {
    return {
        .name = name,
        .caption = "休息一下，马上回来！",
        .frame = ui::Frame::None,
        .clientWidth = 1965,
        .clientHeight = 9135,
        .topmost = true,
        .font = std::nullopt,
        .background = kBackground,
        .controls = kControls,
    };
}

constexpr PromotionDesign kAd1frm{window("ad1frm"), vendor::kLeftPromotionPage, Across::LeftEdge};
constexpr PromotionDesign kAdfrm{window("adfrm"), vendor::kRightPromotionPage, Across::RightEdge};

}  // namespace

const PromotionDesign& ad1frmDesign() {
    return kAd1frm;
}

const PromotionDesign& adfrmDesign() {
    return kAdfrm;
}

}  // namespace tendra
