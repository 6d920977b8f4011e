#include "windows/win32/browser_host.h"

#include <exdisp.h>
#include <ole2.h>

#include "win32/text.h"

namespace tendra {

// What the browser asks of its container. It lives as long as anyone holds a
// reference; the host holds one until close().
class BrowserHost::Site : public IOleClientSite, public IOleInPlaceSite, public IOleInPlaceFrame {
  public:
    explicit Site(HWND container) : container_(container) {}

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
            *object = static_cast<IOleClientSite*>(this);
        } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) {
            *object = static_cast<IOleInPlaceSite*>(this);
        } else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame) {
            *object = static_cast<IOleInPlaceFrame*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
        *moniker = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetContainer(IOleContainer** container) override {
        *container = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }

    // IOleWindow, through both the site and the frame
    STDMETHODIMP GetWindow(HWND* window) override {
        *window = container_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                  LPRECT position, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override {
        *frame = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        *document = nullptr;
        GetClientRect(container_, position);
        *clip = *position;
        info->fMDIApp = FALSE;
        info->hwndFrame = GetAncestor(container_, GA_ROOT);
        info->haccel = nullptr;
        info->cAccelEntries = 0;
        return S_OK;
    }
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT) override { return S_OK; }

    // IOleInPlaceUIWindow
    STDMETHODIMP GetBorder(LPRECT) override { return E_NOTIMPL; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }

    // IOleInPlaceFrame
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return E_NOTIMPL; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return E_NOTIMPL; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

  private:
    virtual ~Site() = default;
    HWND container_;
    ULONG references_ = 1;
};

BrowserHost::~BrowserHost() {
    close();
}

bool BrowserHost::create(HWND container) {
    close();
    oleStarted_ = SUCCEEDED(OleInitialize(nullptr));
    site_ = new Site(container);
    HRESULT hr = CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&object_));
    if (SUCCEEDED(hr)) {
        hr = object_->SetClientSite(static_cast<IOleClientSite*>(site_));
    }
    if (SUCCEEDED(hr)) {
        RECT area{};
        GetClientRect(container, &area);
        hr = object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(site_),
                             0, container, &area);
    }
    if (SUCCEEDED(hr)) {
        hr = object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_));
    }
    if (FAILED(hr)) {
        close();
        return false;
    }
    container_ = container;
    return true;
}

void BrowserHost::fit() {
    IOleInPlaceObject* inPlace = nullptr;
    if (!object_ || FAILED(object_->QueryInterface(IID_IOleInPlaceObject,
                                                   reinterpret_cast<void**>(&inPlace)))) {
        return;
    }
    RECT area{};
    GetClientRect(container_, &area);
    inPlace->SetObjectRects(&area, &area);
    inPlace->Release();
}

void BrowserHost::navigate(const std::string& address) {
    if (!browser_) {
        return;
    }
    BSTR url = SysAllocString(win32::toUtf16(address).c_str());
    VARIANT none;
    VariantInit(&none);
    browser_->Navigate(url, &none, &none, &none, &none);
    SysFreeString(url);
}

std::string BrowserHost::location() const {
    if (!browser_) {
        return {};
    }
    BSTR url = nullptr;
    if (FAILED(browser_->get_LocationURL(&url)) || !url) {
        return {};
    }
    std::string address = win32::toUtf8(std::wstring_view(url, SysStringLen(url)));
    SysFreeString(url);
    return address;
}

void BrowserHost::close() {
    if (browser_) {
        browser_->Release();
        browser_ = nullptr;
    }
    if (object_) {
        object_->Close(OLECLOSE_NOSAVE);
        object_->SetClientSite(nullptr);
        object_->Release();
        object_ = nullptr;
    }
    if (site_) {
        site_->Release();
        site_ = nullptr;
    }
    if (oleStarted_) {
        OleUninitialize();
        oleStarted_ = false;
    }
}

}  // namespace tendra
