// Form1: Tendra's main window. It lays out its controls from the designed
// twips geometry, runs the drawing commands from its buttons and is the form
// the commands read their fields from and write their results to.
#pragma once

#include <QPoint>
#include <QSizeF>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/form1_design.h"
#include "app/qt/text_boxes.h"
#include "cad/connection.h"
#include "cad/names.h"
#include "nodes/commands.h"
#include "nodes/form_port.h"
#include "nodes/mct_parameters.h"
#include "nodes/table.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace tendra {

class Form1 : public QWidget, public FormPort {
    Q_OBJECT

  public:
    explicit Form1(cad::Platform& platform, QWidget* parent = nullptr);
    ~Form1() override;

    // Moves a window so that it is centred horizontally on its screen, with a
    // third of the free height above it. Its size is kept; nothing is clamped.
    void CenterForm1(QWidget* frm);

    // Writes the table for these nodes into Text8, relative to the origin.
    bool WriteNodeTable(const std::vector<Node>& nodes, double scale);

    DrawingCommands& commands() { return commands_; }

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

    // The controls, under their designed names.
    OutputBox* Text8;
    FieldBox* Text3;
    QLabel* Label3;
    FieldBox* Text1;
    QLabel* Label1;
    QCheckBox* Check1;
    FieldBox* Text2;
    QLabel* Label2;
    QCheckBox* Check2;
    QCheckBox* Check3;
    QLabel* Label4;
    QPushButton* Command3;
    QPushButton* Command1;
    QPushButton* Command6;
    QPushButton* Command5;
    QPushButton* Command2;
    QPushButton* Command4;
    QLabel* Label5;
    QLabel* Label6;
    QComboBox* Combo1;
    QPushButton* Command7;
    QLabel* Image1;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void createControls();
    void Form_Load();
    // Command2: ends the program at once, without a question.
    void exitProgram();
    // Command5: the vendor's home page, then the about window.
    void showMoreSoftware();
    // Command6: folds the instructions and the picture in and out.
    void toggleInstructions();
    void setClientHeightFromOuter(int outerTwips);
    // Combo1: choosing "midas MCT" asks for its parameters; cancelled before
    // any were accepted, the node table is chosen again.
    void outputFormatChosen(int index);
    // Command7 and Combo1: the parameters window, modal, filled with the
    // values last accepted. True when it closed with new values.
    bool askMctParameters();

    cad::Module1 module1_;
    cad::NameMaker names_;
    DrawingCommands commands_;
    std::int16_t helpClickCount_ = 0;
    // What mctfrm last accepted, kept for the run: the fields as typed and
    // the parameters read from them.
    MctFieldTexts mctTexts_;
    std::optional<MctParameters> mctParameters_;
    bool busy_ = false;
};

}  // namespace tendra
