// A designed window as such, whatever window it is.
#include <gtest/gtest.h>

#include "ui/win32/designed_window.h"

namespace tendra {
namespace {

using ui::ControlDesign;
using ui::ControlKind;

ui::WindowDesign windowOf(std::span<const ControlDesign> controls) {
    return {.name = "Probe",
            .caption = "",
            .frame = ui::Frame::FixedSingle,
            .clientWidth = 1500,
            .clientHeight = 1500,
            .topmost = false,
            .font = std::nullopt,
            .controls = controls};
}

TEST(DesignedWindow, IsNotMadeWhenAControlHasNoIdentifier) {
    const ControlDesign controls[] = {
        {.name = "Label1", .id = 201, .kind = ControlKind::Label},
        {.name = "Label2", .kind = ControlKind::Label},
    };
    const ui::WindowDesign design = windowOf(controls);
    ui::win32::DesignedWindow window(design);
    EXPECT_FALSE(window.create());
    EXPECT_EQ(window.hwnd(), nullptr);
}

}  // namespace
}  // namespace tendra
