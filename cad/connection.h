// Module1: the program-wide CAD references and the connection procedure run at
// the start of every drawing command.
#pragma once

#include <string>

#include "cad/message.h"
#include "cad/surface.h"

namespace tendra::cad {

inline constexpr const char* kAutoCadProgId = "AutoCAD.Application";

class Module1 {
  public:
    Module1(Platform& platform, MessageSink& messages, std::string progId = kAutoCadProgId);

    // Attaches to the running CAD, or starts one; makes it visible, takes its
    // active document and brings its window to the front. A failing step
    // keeps the reference it would have set and the next step runs; only a
    // total failure to reach the CAD is shown, once. Never throws.
    void connect();

    // Brings the CAD's main window to the front by its caption. Throws when
    // there is no application or its caption cannot be read.
    void activateCadWindow();

    const ApplicationPtr& application() const { return application_; }
    const DocumentPtr& document() const { return document_; }

    // The references, or CadError(kObjectNotSet) when a connection never set them.
    Application& requireApplication() const;
    Document& requireDocument() const;

  private:
    Platform& platform_;
    MessageSink& messages_;
    std::string progId_;
    ApplicationPtr application_;
    DocumentPtr document_;
};

}  // namespace tendra::cad
