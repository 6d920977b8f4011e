// The about window: the maker's brand and slogan, the author, the
// organisation, the e-mail address and the vendor's web address, several of
// them links opened by the system's default programs.
#pragma once

#include <QDialog>

class QPushButton;
class QWidget;

namespace tendra {

class ClickableLabel;

class aboutfrm : public QDialog {
    Q_OBJECT
  public:
    // Builds the window and places it (Form_Load). Show it with exec(); every
    // opening builds a new window.
    explicit aboutfrm(QWidget* parent = nullptr);

    // Moves frm to the middle of the screen horizontally and a third of the
    // way down vertically, keeping its size. Nothing is clamped: a window
    // larger than the screen gets a negative left or top.
    void CenterForm(QWidget* frm);

    // The white header band and what lies in it.
    ClickableLabel* picBGHead;
    ClickableLabel* picBGHeadIcon;
    ClickableLabel* lblBGHeadInfo1;
    QWidget* linBorder;
    // Caption and value rows.
    ClickableLabel* Label2;
    ClickableLabel* Label7;
    ClickableLabel* Label3;
    ClickableLabel* Label9;
    ClickableLabel* Label5;
    ClickableLabel* lblHomepage;
    ClickableLabel* Label6;
    ClickableLabel* Label4;
    QPushButton* Command1;

  private:
    void Form_Load();
};

}  // namespace tendra
