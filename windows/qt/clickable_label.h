// A label or picture that reports clicks and double-clicks, for the links and
// pictures of the about and promotion windows. Text is one line at the top
// left, on a baseline set by the label's own font.
#pragma once

#include <QLabel>

namespace tendra {

class ClickableLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

  signals:
    // A left press and release over the label.
    void clicked();
    void doubleClicked();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

}  // namespace tendra
