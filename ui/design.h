// Windows and their controls as designed, as plain data: the Qt windows on
// Linux and the Win32 windows on Windows are both built by reading it.
// Geometry is in twips (1/1440 inch), from the top-left of the containing
// client area; texts are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tendra::ui {

struct Rgb {
    std::uint8_t red = 0, green = 0, blue = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGrey{128, 128, 128};
// The background of a text box while it has the focus.
inline constexpr Rgb kFocusGreen{192, 255, 192};

enum class Charset { Western, Gb2312 };

// A designed font. Where the face is not installed, each front end stands in
// a face of about the same look and width (see ui/fonts.h).
struct FontDesign {
    const char* family;
    double pointSize;
    int weight = 400;  // 400 regular, 700 bold
    bool underline = false;
    Charset charset = Charset::Western;
    friend constexpr bool operator==(const FontDesign&, const FontDesign&) = default;
};

inline constexpr FontDesign kSongTi9{"宋体", 9, 400, false, Charset::Gb2312};

struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
    constexpr int right() const { return left + width; }
    constexpr int bottom() const { return top + height; }
    friend constexpr bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

enum class ControlKind {
    TextBox,           // one line
    MultiLineTextBox,  // with a vertical scroll bar
    Label,
    DropDownList,  // a list that drops down, its entry chosen, never typed
    CheckBox,
    PushButton,
    Picture,
    Line,     // from (left, top) to (right, bottom), one pixel wide
    Browser,  // the embedded web browser
    Timer,    // no rectangle
};

// What a click (or, for DoubleClickCloses, a double click) on a control does,
// where the window leaves it to the design.
enum class ClickAction {
    None,
    OpenHomePage,          // the vendor's home page, through the shell
    OpenOrganisationPage,  // the organisation's page, through the shell
    MailAuthor,            // "mailto:" and the author's address, through the shell
    CloseWindow,
    Minimise,
    EndProgram,
    DoubleClickCloses,
};

struct ControlDesign {
    const char* name;  // the designed name: Qt objectName, Win32 control name
    // The Win32 control identifier (GetDlgItem). Other programs drive the
    // windows by it, so it never changes; 0 only for timers, which are no
    // windows.
    int id = 0;
    ControlKind kind;
    const char* caption = "";  // or a text box's initial text
    TwipsRect rect{};
    int tabIndex = -1;  // -1: never takes the focus
    std::optional<Rgb> foreground{};
    std::optional<Rgb> background{};   // none: the platform's default
    std::optional<FontDesign> font{};  // none: the window's font
    bool enabled = true;
    bool ticked = false;  // check boxes
    // Push buttons: Enter anywhere in the window clicks the default button,
    // Esc the cancel button.
    bool defaultButton = false;
    bool cancelButton = false;
    bool sizedToText = false;  // labels that grow and shrink to their caption
    bool wordWrap = false;     // labels whose text wraps within their width
    bool stretched = false;    // pictures stretched to the rectangle
    bool handCursor = false;
    const char* tooltip = nullptr;
    const char* picture = nullptr;  // picture resource name: "image1", "key", ...
    const char* parent = nullptr;   // the containing control; none: the window
    ClickAction click = ClickAction::None;
    int interval = 0;  // timers, in milliseconds; 0 does not tick
    // Drop-down lists: the entries, in order; the first is chosen at start.
    std::span<const char* const> items{};
};

// Whether every control of a window that becomes a window of its own (all
// but timers) has an identifier, none of them shared. Each design checks its
// table with it when it is compiled; a designed window checks again when it
// is made.
constexpr bool identifiersComplete(std::span<const ControlDesign> controls) {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const bool isWindow = controls[i].kind != ControlKind::Timer;
        if (isWindow && controls[i].id == 0) {
            return false;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (controls[i].id != 0 && controls[j].id == controls[i].id) {
                return false;
            }
        }
    }
    return true;
}

enum class Frame {
    FixedSingle,  // fixed border, title bar, minimise and close, no maximise
    FixedDialog,  // fixed dialog frame, title bar with close only
    None,         // no frame, no title bar
};

struct WindowDesign {
    const char* name;  // Form1, aboutfrm, adfrm, ad1frm
    const char* caption;
    Frame frame;
    int clientWidth;  // twips
    int clientHeight;
    bool topmost;
    std::optional<FontDesign> font;   // none: the platform's default font
    std::optional<Rgb> background{};  // none: the platform's default
    std::span<const ControlDesign> controls;

    // The control of this name; nullptr when the window has none.
    const ControlDesign* control(std::string_view controlName) const {
        for (const ControlDesign& c : controls) {
            if (controlName == c.name) {
                return &c;
            }
        }
        return nullptr;
    }
};

}  // namespace tendra::ui
