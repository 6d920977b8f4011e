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
#include <vector>

#include "cad/surface.h"

namespace tendra::cad::com {

// How long an ordinary call that a busy AutoCAD rejects is tried again before
// it fails: a regeneration or an autosave of a large drawing takes a while.
inline constexpr std::chrono::milliseconds kBusyCallWait{30000};
// How long a newly started AutoCAD is waited for until it takes calls.
inline constexpr std::chrono::milliseconds kStartUpWait{120000};

// The time the waits measure, and how they let it pass. Without one the
// waits use the steady clock and wait in COM's modal loop; tests give one
// they move themselves.
class WaitClock {
  public:
    virtual ~WaitClock() = default;
    virtual std::chrono::milliseconds now() = 0;
    virtual void wait(std::chrono::milliseconds duration) = 0;
};

// How calls that a busy AutoCAD rejects are tried again.
struct RetryPolicy {
    std::chrono::milliseconds totalWait = kBusyCallWait;
    std::chrono::milliseconds interval{100};
    std::chrono::milliseconds startUpWait = kStartUpWait;
    // Not owned; must outlive every object made with this policy.
    WaitClock* clock = nullptr;
};

class MessageFilter;
struct KnownApplication;

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
    ~ComPlatform() override;
    ComPlatform(const ComPlatform&) = delete;
    ComPlatform& operator=(const ComPlatform&) = delete;

    // GetActiveObject for the class of this ProgID.
    ApplicationPtr getRunningObject(const std::string& progId) override;
    // CoCreateInstance of the class, as a local server; then waits, with the
    // wait cursor, until the new application takes calls and is quiescent,
    // for at most the policy's start-up wait.
    ApplicationPtr createObject(const std::string& progId) override;
    // The versions of the ProgID among the registry's classes, newest first.
    std::vector<std::string> versionedProgIds(const std::string& progId) override;
    // The top-level window with exactly this title becomes the foreground
    // window; nothing happens when there is none.
    void activateWindow(const std::string& title) override;

  private:
    RetryPolicy policy_;
    // The application handed out last with its member ids, which serve again
    // while the same application is attached again.
    std::shared_ptr<KnownApplication> known_;
};

}  // namespace tendra::cad::com
