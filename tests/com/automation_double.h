// An in-process stand-in for AutoCAD's automation objects: hand-written
// IDispatch objects, no type library, as strict about argument types as
// AutoCAD. It answers from a script, records every call, fails on demand and
// can play busy.
//
//   auto cad = std::make_shared<DoubleCad>();
//   cad->queuePoint(10, 20);
//   ComPtr<IDispatch> application = makeApplication(cad);
//   ... register it, drive it through the COM backend ...
//   EXPECT_EQ(cad->transcript(), (Lines{"Application.Visible BOOL true", ...}));
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <array>
#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cad/com/com_ptr.h"

namespace tendra::testing::com {

using cad::com::ComPtr;

// AutoCAD's own error numbers.
inline constexpr HRESULT kWrongElementCount = static_cast<HRESULT>(0x80210010);
inline constexpr HRESULT kInputEnded = static_cast<HRESULT>(0x80210020);
inline constexpr HRESULT kNameTaken = static_cast<HRESULT>(0x80200014);
// Adding a selection set while kMaxSelectionSets are open. What AutoCAD
// reports then is not known here; the generic failure stands in for it.
inline constexpr HRESULT kTooManySelectionSets = E_FAIL;
inline constexpr int kMaxSelectionSets = 128;
// A call on a selection set after its Delete.
inline constexpr HRESULT kSetDeleted = RPC_E_DISCONNECTED;
inline constexpr const wchar_t* kWrongElementCountText =
    L"Number of elements in SafeArray is incorrect";
// ActiveDocument with no drawing open, as a Chinese AutoCAD words it.
inline constexpr HRESULT kNoDocumentObject = static_cast<HRESULT>(0x8021003C);
inline constexpr const wchar_t* kNoDocumentObjectText = L"无法获取 Document 对象";

// How an injected failure reaches the caller of Invoke.
enum class FailureStyle {
    Exception,            // DISP_E_EXCEPTION, scode and description in EXCEPINFO
    DeferredException,    // the same, filled in only through pfnDeferredFillIn
    WordCodeException,    // DISP_E_EXCEPTION with wCode set and scode 0
    Result,               // the number returned from Invoke, no description
    ResultWithErrorInfo,  // the number returned, the description in IErrorInfo
};

struct Failure {
    HRESULT number = E_FAIL;
    FailureStyle style = FailureStyle::Exception;
    std::wstring description = L"Injected failure";
};

// One Invoke the double received. Arguments are written with their VARIANT
// types: BOOL true, I2 3, I4 1, "text", missing, R8[1, 2, 0], DISPATCH[Point#1].
struct DoubleCall {
    std::string object;  // Application, Document, Utility, ModelSpace, Groups, Group:<name>,
                         // SelectionSets, SelectionSet:<name>, Point#<id>, Entity#<id>
    std::string member;
    std::string arguments;
    std::string flags;  // get, put, method
    HRESULT outcome = S_OK;
    std::string text() const { return object + "." + member; }
    std::string line() const;
};

// Something the user can select on screen.
struct DoubleSelectable {
    int type = 24;  // a lightweight polyline; 23 an old-style one, 19 a LINE, 4 an ARC,
                    // 32 a TEXT, 21 an MTEXT
    // A polyline's vertices: X, Y a vertex of a lightweight one, X, Y, Z of an
    // old-style one.
    std::vector<double> coordinates;
    std::vector<double> bulges = {};  // per vertex; a vertex past the list is straight
    std::array<double, 3> normal = {0, 0, 1};
    std::wstring text = {};  // a TEXT's or MTEXT's string, an MTEXT's with its format codes
    std::array<double, 3> insertion = {};
    std::wstring layer = L"0";
    // A LINE's or an ARC's ends and an ARC's centre, in world coordinates.
    std::array<double, 3> start = {};
    std::array<double, 3> end = {};
    std::array<double, 3> center = {};
    int polylineType = 0;  // an old-style polyline's Type: 0 simple, else fitted
    double height = 2.5;   // a TEXT's or MTEXT's
};

// A TEXT or MTEXT to select.
DoubleSelectable doubleText(std::wstring text, double x, double y, double z = 0);
DoubleSelectable doubleMText(std::wstring text, double x, double y, double z = 0);
// A LINE and an ARC in the world's XY plane; an ARC runs counter-clockwise
// about its normal from its start to its end.
DoubleSelectable doubleLine(double x0, double y0, double x1, double y1, std::wstring layer = L"0");
DoubleSelectable doubleArc(std::array<double, 2> center, std::array<double, 2> start,
                           std::array<double, 2> end, std::wstring layer = L"0",
                           std::array<double, 3> normal = {0, 0, 1});

struct DoublePoint {
    int id = 0;
    std::array<double, 3> at{};
    int color = 256;
};

// The state of one running AutoCAD: its drawing, its script and its records.
// The COM objects keep it alive for as long as any of them lives.
class DoubleCad {
  public:
    // --- The script ---------------------------------------------------------
    // GetPoint answers from this queue; an empty queue ends the input.
    void queuePoint(double x, double y, double z = 0);
    // What GetPoint fails with on an empty queue: the number this CAD reports
    // the user's ending under.
    HRESULT inputEnding = E_FAIL;
    void prepareSelection(std::vector<DoubleSelectable> entities);
    // The k-th Invoke from now on (1 = the next) fails.
    void failInvoke(int k, Failure failure);
    // The next k calls (GetIDsOfNames or Invoke) are rejected as by a busy server.
    void rejectCalls(int k, HRESULT with = RPC_E_CALL_REJECTED);

    // From now on every call is rejected as by a starting AutoCAD for
    // `rejecting`; then GetAcadState reports it not quiescent for `settling`,
    // and quiescent after that. Measured on `clock`.
    void startUp(std::chrono::milliseconds rejecting,
                 std::chrono::milliseconds settling = std::chrono::milliseconds(0));
    // The double's time; the steady clock unless a test moves a clock of its own.
    std::function<std::chrono::milliseconds()> clock;
    // Whether the application has GetAcadState.
    bool reportsState = true;
    // Entities made from now on know neither Color nor EntityType, as newer
    // type libraries hide them; TrueColor and ObjectName still serve.
    bool hidesObsoleteMembers = false;
    // A rejected call leaves this description in the caller's EXCEPINFO, as a
    // careless server might; empty leaves it alone.
    std::wstring rejectionText;

    // Without a document ActiveDocument fails as AutoCAD's does in its
    // zero-document state.
    bool hasDocument = true;
    std::wstring caption = L"AutoCAD 2000 - [Drawing1.dwg]";
    // The lower bound of the arrays the double hands out.
    LONG arrayLowerBound = 0;
    // Runs inside every Invoke once it is recorded, before it answers.
    std::function<void(const DoubleCall&)> onInvoke;

    // --- What happened ------------------------------------------------------
    const std::vector<DoubleCall>& calls() const { return calls_; }
    std::vector<std::string> members() const;
    std::vector<std::string> transcript() const;
    int rejectedCalls() const { return rejected_; }
    int invokes() const { return invokes_; }
    // GetIDsOfNames calls answered (not rejected as busy).
    int nameLookups() const { return lookups_; }
    bool visible() const { return visible_; }
    const std::vector<DoublePoint>& points() const { return points_; }
    // Member labels of a group, in the order they were appended.
    const std::vector<std::string>* group(const std::string& name) const;
    // The selection sets open, in the order they were added.
    const std::vector<std::string>& selectionSets() const { return selectionSets_; }
    const std::map<std::string, std::string>& variables() const { return variables_; }

    std::chrono::milliseconds now() const;

  private:
    friend class DispatchObject;
    friend struct Members;
    bool startingUp() const;
    bool quiescent() const;
    std::chrono::milliseconds rejectUntil_{0};
    std::chrono::milliseconds quiescentAt_{0};
    std::deque<std::array<double, 3>> picks_;
    std::vector<DoubleSelectable> selection_;
    std::map<int, Failure> failures_;  // by Invoke number from 0
    int rejectLeft_ = 0;
    HRESULT rejectWith_ = RPC_E_CALL_REJECTED;
    int rejected_ = 0;
    int invokes_ = 0;
    int lookups_ = 0;
    std::vector<DoubleCall> calls_;
    bool visible_ = false;
    std::vector<DoublePoint> points_;
    int nextSelectable_ = 1;
    std::vector<std::pair<std::string, std::vector<std::string>>> groups_;
    std::vector<std::string> selectionSets_;
    std::map<std::string, std::string> variables_;
};

// A new application object over this drawing.
ComPtr<IDispatch> makeApplication(const std::shared_ptr<DoubleCad>& cad);

// A class factory that starts a new AutoCAD on every CreateInstance, or fails
// with `failure` when it is set.
class DoubleFactory final : public IClassFactory {
  public:
    static ComPtr<DoubleFactory> create(std::function<ComPtr<IDispatch>()> start);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

    HRESULT failure = S_OK;
    int started() const { return started_; }

  private:
    explicit DoubleFactory(std::function<ComPtr<IDispatch>()> start);
    ~DoubleFactory();
    std::atomic<ULONG> references_{1};
    std::function<ComPtr<IDispatch>()> start_;
    int started_ = 0;
};

// The double's COM objects alive in this process, factories included.
long liveObjects();

}  // namespace tendra::testing::com
