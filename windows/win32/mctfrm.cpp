#include "windows/win32/mctfrm.h"

#include "ui/win32/designed_names.h"
#include "win32/text.h"

namespace tendra {

namespace {

const char* fieldBox(MctField field) {
    switch (field) {
        case MctField::Property:
            return "Text1";
        case MctField::Elements:
            return "Text2";
        case MctField::Group:
            return "Text3";
        case MctField::Insertion:
            return "Text4";
    }
    return "Text1";
}

}  // namespace

MctFieldTexts mctfrm::initialTexts() {
    return {"", "", "", kInitialInsertionPoint};
}

std::optional<MctParameters> mctfrm::ask(HWND owner) {
    accepted_.reset();
    if (!create(owner)) {
        return std::nullopt;
    }
    // Shown before its loop runs, so that the focus can go to the first field.
    ShowWindow(hwnd(), SW_SHOW);
    SetFocus(control("Text1"));
    showModal();
    return accepted_;
}

void mctfrm::formLoad() {
    setCaption("Text1", texts_.property);
    setCaption("Text2", texts_.elements);
    setCaption("Text3", texts_.group);
    setCaption("Text4", texts_.insertion);
    // Over the middle of its owner, where the user was looking.
    if (HWND owner = GetWindow(hwnd(), GW_OWNER)) {
        RECT around{}, own{};
        GetWindowRect(owner, &around);
        GetWindowRect(hwnd(), &own);
        const int width = own.right - own.left, height = own.bottom - own.top;
        SetWindowPos(hwnd(), nullptr, (around.left + around.right - width) / 2,
                     (around.top + around.bottom - height) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT mctfrm::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        // However it closes, what was typed is there to be read afterwards.
        readFields();
    }
    return DesignedWindow::handleMessage(message, wParam, lParam);
}

void mctfrm::readFields() {
    texts_ = {ui::win32::windowText(control("Text1")), ui::win32::windowText(control("Text2")),
              ui::win32::windowText(control("Text3")), ui::win32::windowText(control("Text4"))};
}

void mctfrm::onCommand(HWND control, const ui::ControlDesign& design, int code) {
    const std::string_view name = design.name;
    if (code != BN_CLICKED) {
        DesignedWindow::onCommand(control, design, code);
    } else if (name == "Command1") {
        acceptFields();
    } else if (name == "Command2") {
        DestroyWindow(hwnd());
    }
}

void mctfrm::acceptFields() {
    readFields();
    const MctCheck check = checkMctFields(texts_);
    if (check.error) {
        const std::wstring text = win32::toUtf16(check.error->message);
        const std::wstring title = win32::toUtf16(design().caption);
        MessageBoxW(hwnd(), text.c_str(), title.c_str(), MB_OK | MB_ICONWARNING);
        HWND wrong = this->control(fieldBox(check.error->field));
        SetFocus(wrong);
        SendMessageW(wrong, EM_SETSEL, 0, -1);
        return;
    }
    accepted_ = check.parameters;
    DestroyWindow(hwnd());
}

}  // namespace tendra
