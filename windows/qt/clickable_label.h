// A label or picture that reports clicks and double-clicks, for the links and
// pictures of the about and promotion windows. Text is one line at the top
// left, on a baseline set by the label's own font.
#pragma once

#include <QLabel>
#include <QPixmap>

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

// A picture the about and promotion windows show, by its designed name
// ("key", "minimise", "quit").
inline QPixmap designedPicture(const char* name) {
    return QPixmap(QStringLiteral(":/windows/images/%1.png").arg(QString::fromUtf8(name)));
}

}  // namespace tendra
