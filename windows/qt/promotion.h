// The two promotion windows: tall borderless always-on-top strips that show a
// page of the vendor's site and dock at a screen edge. ad1frm starts at the
// left edge, adfrm at the right. Nothing in the program opens them.
#pragma once

#include <QWidget>

#include "windows/promotion_design.h"

class QTimer;

namespace tendra {

class ClickableLabel;

class PromotionWindow : public QWidget {
    Q_OBJECT
  public:
    // Moves frm to its starting edge, a third of the way down; the size stays.
    void CenterForm1(QWidget* frm);

    // One docking step, as Timer1 runs it: reads the pointer and the window's
    // rectangle, and moves or shows the window.
    void runDockingStep();

    QWidget* WebBrowser1;    // the web engine's view, or a placeholder without it
    ClickableLabel* Image1;  // minimise
    ClickableLabel* Image2;  // end the program
    ClickableLabel* Label1;  // double-click closes the window
    QTimer* Timer1;          // docking steps, once Timer2 has started it
    QTimer* Timer2;

  protected:
    // Closing destroys the window, which stops its timers.
    PromotionWindow(const PromotionDesign& design, QWidget* parent);

  private:
    void Form_Load(const char* page);

    const PromotionDesign& design_;
};

class ad1frm : public PromotionWindow {
    Q_OBJECT
  public:
    explicit ad1frm(QWidget* parent = nullptr);
};

class adfrm : public PromotionWindow {
    Q_OBJECT
  public:
    explicit adfrm(QWidget* parent = nullptr);
};

}  // namespace tendra
