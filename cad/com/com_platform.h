// AutoCAD through COM: what the program's start-up needs. Free of Windows
// headers, so Qt code can include it.
//
//   tendra::cad::com::ComApartment apartment;   // before any CAD reference
//   tendra::cad::com::ComPlatform platform;
//   tendra::cad::Module1 module1(platform, messages);
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "cad/surface.h"

namespace tendra::cad::com {

// How long a call that a busy AutoCAD rejects is tried again before it fails.
struct RetryPolicy {
    std::chrono::milliseconds totalWait{5000};
    std::chrono::milliseconds interval{100};
};

class MessageFilter;

// COM on the calling thread as a single-threaded apartment, with a message
// filter that retries rejected calls and keeps user input queued while a call
// waits. Create it on the UI thread before any CAD object and destroy it after
// the last one. Never throws: when COM cannot start, every CAD call fails.
class ComApartment {
  public:
    explicit ComApartment(RetryPolicy policy = {});
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // The result of starting COM on this thread (S_OK or S_FALSE on success).
    std::int32_t result() const;
    MessageFilter& messageFilter();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// The platform services of the connection, by COM and the window manager.
// Objects it hands out must be used and released on the thread that made them.
class ComPlatform : public Platform {
  public:
    explicit ComPlatform(RetryPolicy policy = {});

    // GetActiveObject for the class of this ProgID.
    ApplicationPtr getRunningObject(const std::string& progId) override;
    // CoCreateInstance of the class, as a local server.
    ApplicationPtr createObject(const std::string& progId) override;
    // The top-level window with exactly this title becomes the foreground
    // window; nothing happens when there is none.
    void activateWindow(const std::string& title) override;

  private:
    RetryPolicy policy_;
};

}  // namespace tendra::cad::com
