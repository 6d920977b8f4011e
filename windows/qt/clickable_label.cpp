#include "windows/qt/clickable_label.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace tendra {

void ClickableLabel::paintEvent(QPaintEvent* event) {
    if (text().isEmpty()) {
        QLabel::paintEvent(event);
        return;
    }
    // Qt lowers the baseline to make room for the tallest face in the line;
    // for Chinese text in a Western font that is a fallback face with a tall
    // ascent, which pushes the glyphs and the underline out of labels designed
    // a line high. The baseline and the underline stay where the label's own
    // font puts them, one straight line under Latin and Chinese alike.
    const QFontMetrics metrics(font());
    const int baseline = metrics.ascent();
    QFont face = font();
    face.setUnderline(false);
    QPainter painter(this);
    painter.setFont(face);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(QPoint(0, baseline), text());
    if (font().underline()) {
        painter.fillRect(0, baseline + qMax(1, metrics.underlinePos()),
                         metrics.horizontalAdvance(text()), qMax(1, metrics.lineWidth()),
                         painter.pen().color());
    }
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
    }
    event->accept();
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton) {
        pressed_ = false;
    }
    event->accept();
    if (click) {
        emit clicked();
    }
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        emit doubleClicked();
    }
    event->accept();
}

}  // namespace tendra
