// While the board waits for the user, the rest of the application takes no
// mouse or keyboard input, as when a call into AutoCAD blocks: no command of
// the main window can start again while one is waiting.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace tendra::board {

// Installs itself as an application-wide event filter for its lifetime and
// swallows input events meant for widgets outside the allowed window (the
// board). The allowed window's own popups and dialogs — widgets with it among
// their ancestors — stay usable.
class InputBlocker : public QObject {
  public:
    explicit InputBlocker(QWidget* allowed);
    ~InputBlocker() override;
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

    // Whether events of this kind count as user input.
    static bool isInputEvent(int eventType);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool belongsToAllowed(const QWidget* widget) const;
    QPointer<QWidget> allowed_;
};

}  // namespace tendra::board
