// Form1 on Windows: the main window, built from its design, running the
// drawing commands from its buttons, and the form the commands read their
// fields from and write their results to.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/form1_design.h"
#include "cad/connection.h"
#include "cad/names.h"
#include "nodes/commands.h"
#include "nodes/form_port.h"
#include "nodes/mct_parameters.h"
#include "ui/win32/designed_window.h"

namespace tendra {

class Form1 : public ui::win32::DesignedWindow, public FormPort {
  public:
    explicit Form1(cad::Platform& platform);

    // Shows the window in its compact state with the focus in Text8.
    void show();

    // Moves a window so that it is centred across the screen with a third of
    // the free height above it; its size is kept and nothing is clamped.
    void CenterForm1(HWND frm);

    DrawingCommands& commands() { return commands_; }
    std::int16_t helpClickCount() const { return helpClickCount_; }

    // What "  更多软件" shows after asking for the home page; a seam for tests.
    // The default opens the about window modally.
    void setAboutShower(std::function<void()> shower) { aboutShower_ = std::move(shower); }

    // FormPort
    std::string fieldText(Field field) override;
    bool optionTicked(Option option) override;
    std::string decimalSeparator() override;
    void setOutputText(const std::string& text) override;
    void setStatusText(const std::string& text) override;
    void enableNodeButtons() override;
    void showMessage(const std::string& text, const std::string& title, MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    void setBusy(bool busy) override;
    OutputFormat outputFormat() override;
    MctParameters mctParameters() override;

  protected:
    void formLoad() override;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void onCommand(HWND control, const ui::ControlDesign& design, int code) override;
    COLORREF textBoxBackground(HWND control) const override;

  private:
    // Runs one drawing command. Input the user gave while it waited on
    // AutoCAD is dropped, and a close asked for meanwhile happens after it.
    void runCommand(void (DrawingCommands::*command)());
    // Ends the program now, or once the running command has ended: the
    // window must outlive the command that writes into it.
    void requestClose();
    // A message box over this window; a title of "" is the application's.
    int messageBox(const std::string& text, const std::string& title, UINT style);
    void toggleInstructions();
    void showMoreSoftware();
    // Combo1 has a new entry: choosing "midas MCT" asks for its parameters,
    // and a first asking cancelled goes back to the node table.
    void outputFormatChosen();
    // Asks for the MCT parameters in mctfrm, over this window; true when
    // they were accepted, and kept for the rest of the run.
    bool askMctParameters();
    bool ticked(const char* name) const;

    cad::Module1 module1_;
    cad::NameMaker names_;
    DrawingCommands commands_;
    std::int16_t helpClickCount_ = 0;
    bool commandRunning_ = false;
    bool closeRequested_ = false;
    bool busy_ = false;
    HWND focusedBox_ = nullptr;
    OutputFormat chosenFormat_ = OutputFormat::NodeTable;
    MctFieldTexts mctTexts_;
    std::optional<MctParameters> mctParameters_;
    std::function<void()> aboutShower_;
};

}  // namespace tendra
