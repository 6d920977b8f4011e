// The docking step of the promotion windows: when the pointer leaves a window
// that touches a screen edge, the window slides off that edge leaving a thin
// strip; when the pointer is over the strip, it comes back in one step.
#pragma once

namespace tendra {

// What a docking step reads. The pointer and the outer rectangle come from the
// window manager in screen pixels (right and bottom exclusive, as the window
// manager reports them); the window's own geometry and the screen width are in
// twips, single precision.
struct DockingInput {
    int pointerX = 0;
    int pointerY = 0;
    int rectLeft = 0;
    int rectTop = 0;
    int rectRight = 0;
    int rectBottom = 0;
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    float screenWidth = 0;
    bool minimised = false;
};

// The window's new left and top in twips (unchanged where the step leaves
// them), and whether to show the window.
struct DockingMove {
    float left = 0;
    float top = 0;
    bool show = false;
};

// Shown again, a window overhangs its edge by this much; hidden, this much of
// it stays on the screen (twips).
inline constexpr float kShownOverhangTwips = 10;
inline constexpr float kHiddenStripTwips = 40;

DockingMove dockingStep(const DockingInput& input);

}  // namespace tendra
