#include "cad/connection.h"

namespace tendra::cad {

Module1::Module1(Platform& platform, MessageSink& messages, std::string progId)
    : platform_(platform), messages_(messages), progId_(std::move(progId)) {}

void Module1::connect() {
    ApplicationPtr found;
    try {
        found = platform_.getRunningObject(progId_);
    } catch (const CadError&) {
    }
    if (!found) {
        try {
            found = platform_.createObject(progId_);
        } catch (const CadError& error) {
            messages_.showMessage(error.description(), kApplicationTitle, MessageIcon::None);
            return;
        }
    }
    if (found) {
        application_ = found;
    }
    if (!application_) {
        return;
    }
    try {
        application_->setVisible(true);
    } catch (const CadError&) {
    }
    try {
        if (DocumentPtr document = application_->activeDocument()) {
            document_ = std::move(document);
        }
    } catch (const CadError&) {
    }
    try {
        activateCadWindow();
    } catch (const CadError&) {
    }
}

void Module1::activateCadWindow() {
    platform_.activateWindow(requireApplication().caption());
}

Application& Module1::requireApplication() const {
    if (!application_) {
        throw objectNotSetError();
    }
    return *application_;
}

Document& Module1::requireDocument() const {
    if (!document_) {
        throw objectNotSetError();
    }
    return *document_;
}

}  // namespace tendra::cad
