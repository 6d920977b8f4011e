// The main window's text boxes: while one holds the focus its whole text is
// selected and its background is light green, so a typed value replaces the
// old one and the node table is ready to be copied.
#pragma once

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <type_traits>

namespace tendra {

// Gives a box the focus background in its active and inactive colour groups.
void showFocusBackground(QWidget* box);
// Hands the background back to the palette the box inherits, so it follows
// the system's colour scheme, and keeps the selection from showing.
void showNormalBackground(QWidget* box);
// Whether the box's selection is drawn like the rest of its text.
bool hidesSelection(const QWidget* box);

template <class Edit>
class FocusSelecting : public Edit {
  public:
    using Edit::Edit;

  protected:
    void focusInEvent(QFocusEvent* event) override {
        Edit::focusInEvent(event);
        // Switching windows or opening a context menu keeps the focus in the
        // box as far as this window is concerned: nothing changes, unless the
        // box is only now receiving the focus its window gave it at start-up.
        if (stayedInWindow(event->reason()) && focusShown_) {
            return;
        }
        if (event->reason() == Qt::MouseFocusReason) {
            // The press that follows would put the caret where it landed.
            selectOnRelease_ = true;
        } else {
            this->selectAll();
        }
        focusShown_ = true;
        showFocusBackground(this);
    }

    void focusOutEvent(QFocusEvent* event) override {
        if (stayedInWindow(event->reason())) {
            Edit::focusOutEvent(event);
            return;
        }
        selectOnRelease_ = false;
        focusShown_ = false;
        if constexpr (std::is_base_of_v<QLineEdit, Edit>) {
            // A line edit drops its selection when it loses the focus, unless
            // only its window did: it is told so, and keeps the selection.
            QFocusEvent keepSelection(event->type(), Qt::ActiveWindowFocusReason);
            Edit::focusOutEvent(&keepSelection);
        } else {
            Edit::focusOutEvent(event);
        }
        showNormalBackground(this);
    }

    void changeEvent(QEvent* event) override {
        Edit::changeEvent(event);
        // A new colour scheme while the box is not in use: the hidden
        // selection follows the new background.
        if (event->type() == QEvent::PaletteChange && !focusShown_ &&
            this->testAttribute(Qt::WA_SetPalette) && !hidesSelection(this)) {
            showNormalBackground(this);
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        Edit::mouseReleaseEvent(event);
        if (selectOnRelease_) {
            selectOnRelease_ = false;
            this->selectAll();
        }
    }

  private:
    static bool stayedInWindow(Qt::FocusReason reason) {
        return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
    }

    bool focusShown_ = false;
    bool selectOnRelease_ = false;
};

// Text1, Text2, Text3.
using FieldBox = FocusSelecting<QLineEdit>;
// Text8. The table's lines end in CR LF, as the programs it is pasted into
// expect. The editor keeps its lines apart without them, so what it gives
// back, to a copy or to the program, has them put back.
class OutputBox : public FocusSelecting<QPlainTextEdit> {
  public:
    using FocusSelecting<QPlainTextEdit>::FocusSelecting;
    // The whole text, with CR LF line ends.
    QString text() const;

  protected:
    QMimeData* createMimeDataFromSelection() const override;
};

}  // namespace tendra
