#include "app/qt/text_boxes.h"

#include "ui/qt/colours.h"

#include <QApplication>
#include <QMimeData>
#include <QTextDocumentFragment>

namespace tendra {

void showFocusBackground(QWidget* box) {
    // Only the roles set here override what the box inherits; a disabled box
    // keeps the palette's disabled look.
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Base, qColour(ui::kFocusGreen));
    palette.setColor(QPalette::Inactive, QPalette::Base, qColour(ui::kFocusGreen));
    box->setPalette(palette);
}

void showNormalBackground(QWidget* box) {
    // The background is inherited; the selection is drawn in the background
    // and text colours, so it stays without standing out in a box that is not
    // in use.
    const QPalette system = QApplication::palette(box);
    QPalette palette;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Highlight, system.color(group, QPalette::Base));
        palette.setColor(group, QPalette::HighlightedText, system.color(group, QPalette::Text));
    }
    box->setPalette(palette);
}

namespace {

QString withCrLf(QString text) {
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

}  // namespace

QString OutputBox::text() const {
    return withCrLf(toPlainText());
}

QMimeData* OutputBox::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(withCrLf(textCursor().selection().toPlainText()));
    return data;
}

bool hidesSelection(const QWidget* box) {
    const QPalette& palette = box->palette();
    return palette.color(QPalette::Highlight) == palette.color(QPalette::Base) &&
           palette.color(QPalette::HighlightedText) == palette.color(QPalette::Text);
}

}  // namespace tendra
