// Module1: the program-wide CAD references and the connection procedure run at
// the start of every drawing command.
#pragma once

#include <string>
#include <vector>

#include "cad/message.h"
#include "cad/surface.h"

namespace tendra::cad {

inline constexpr const char* kAutoCadProgId = "AutoCAD.Application";

// CAD programs that offer AutoCAD's automation model under a class of their
// own, in the order the connection tries them when no AutoCAD runs.
inline constexpr const char* kCompatibleProgIds[] = {
    "ZWCAD.Application",
    "GStarCAD.Application",
    "BricscadApp.AcadApplication",
};

// The classes the connection asks for.
struct CadClasses {
    std::string autoCad;                  // attached to first, and started
    std::vector<std::string> compatible;  // attached to only, in this order
};

// AutoCAD.Application and the compatible programs above.
CadClasses defaultCadClasses();

// Which program the connection holds: AutoCAD (found under its class or a
// versioned one, or started), or one found under a compatible class.
enum class CadKind { None, AutoCad, Compatible };

// Of these class names, the versions of progId ("progId.NN" and
// "progId.NN.M", compared without regard to ASCII case), newest first; a
// bare NN comes after every NN.M.
std::vector<std::string> versionsNewestFirst(const std::string& progId,
                                             const std::vector<std::string>& names);

class Module1 {
  public:
    Module1(Platform& platform, MessageSink& messages, CadClasses classes = defaultCadClasses());

    // Attaches to the running CAD, or starts one; makes it visible, takes its
    // active document and brings its window to the front. A failing step
    // keeps the reference it would have set and the next step runs; only a
    // total failure to reach the CAD is shown, once. Never throws.
    //
    // The running CAD is looked for under AutoCAD's class, then under each of
    // its versioned classes, newest first (several releases may be
    // installed, and the plain class names only the one registered last),
    // then under each compatible program's class; only when none runs is
    // AutoCAD started.
    void connect();

    // Brings the CAD's main window to the front by its caption. Throws when
    // there is no application or its caption cannot be read.
    void activateCadWindow();

    const ApplicationPtr& application() const { return application_; }
    const DocumentPtr& document() const { return document_; }
    // The kind of the application held; None until a connection set one.
    CadKind kind() const { return kind_; }

    // The references, or CadError(kObjectNotSet) when a connection never set them.
    Application& requireApplication() const;
    Document& requireDocument() const;

  private:
    struct Found {
        ApplicationPtr application;
        CadKind kind = CadKind::None;
    };
    Found findRunning();
    ApplicationPtr runningAs(const std::string& progId);

    Platform& platform_;
    MessageSink& messages_;
    CadClasses classes_;
    ApplicationPtr application_;
    DocumentPtr document_;
    CadKind kind_ = CadKind::None;
};

}  // namespace tendra::cad
