// The system's WebBrowser control, in place in a window of ours: a small OLE
// container (client site, in-place site and frame) around it.
#pragma once

#include <windows.h>

#include <string>

struct IOleObject;
struct IWebBrowser2;

namespace tendra {

class BrowserHost {
  public:
    BrowserHost() = default;
    ~BrowserHost();
    BrowserHost(const BrowserHost&) = delete;
    BrowserHost& operator=(const BrowserHost&) = delete;

    // Creates the browser filling this window's client area. False when the
    // system's WebBrowser control cannot be created or activated there.
    bool create(HWND container);
    // Starts loading an address; its outcome is not looked at.
    void navigate(const std::string& address);
    // The address the browser was last sent to, as it reports it; empty
    // without a browser.
    std::string location() const;
    // Fits the browser to its container again, after the container moved.
    void fit();
    // Takes the browser down; the container window stays.
    void close();
    bool active() const { return browser_ != nullptr; }

  private:
    class Site;
    Site* site_ = nullptr;
    IOleObject* object_ = nullptr;
    IWebBrowser2* browser_ = nullptr;
    HWND container_ = nullptr;
    bool oleStarted_ = false;
};

}  // namespace tendra
