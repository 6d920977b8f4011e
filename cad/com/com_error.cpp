#include "cad/com/com_error.h"

#include <cstdio>

#include "win32/text.h"

namespace tendra::cad::com {

using win32::toUtf8;

namespace {

// System texts end with a line break; descriptions may carry blanks around them.
std::string trimmed(std::string text) {
    const auto last = text.find_last_not_of(" \t\r\n");
    text.erase(last == std::string::npos ? 0 : last + 1);
    return text;
}

// The description the object left in its error info, if it says it keeps one.
std::string errorInfoText(IDispatch* object) {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK || !info || !object) {
        return {};
    }
    ComPtr<ISupportErrorInfo> support;
    if (FAILED(object->QueryInterface(IID_ISupportErrorInfo, support.putVoid())) ||
        support->InterfaceSupportsErrorInfo(IID_IDispatch) != S_OK) {
        return {};
    }
    Bstr description;
    if (FAILED(info->GetDescription(description.put()))) {
        return {};
    }
    return trimmed(toUtf8(description.view()));
}

}  // namespace

std::string describe(HRESULT result) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer) {
        text = trimmed(toUtf8({buffer, length}));
    }
    LocalFree(buffer);
    if (text.empty()) {
        char fallback[40];
        std::snprintf(fallback, sizeof fallback, "Unknown error 0x%08lX",
                      static_cast<unsigned long>(result));
        text = fallback;
    }
    return text;
}

CadError systemError(HRESULT result) {
    return CadError(result, describe(result));
}

CadError invokeError(HRESULT result, ExcepInfo& exception, IDispatch* object) {
    if (result != DISP_E_EXCEPTION) {
        std::string text = errorInfoText(object);
        return CadError(result, text.empty() ? describe(result) : text);
    }
    if (exception.pfnDeferredFillIn) {
        exception.pfnDeferredFillIn(&exception);
        exception.pfnDeferredFillIn = nullptr;
    }
    HRESULT number = exception.scode;
    if (number == 0 && exception.wCode != 0) {
        number = exception.wCode;
    }
    if (number == 0) {
        number = DISP_E_EXCEPTION;
    }
    std::string text = trimmed(toUtf8(Bstr::viewOf(exception.bstrDescription)));
    return CadError(number, text.empty() ? describe(number) : text);
}

}  // namespace tendra::cad::com
