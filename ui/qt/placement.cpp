#include "ui/qt/placement.h"

#include <QWidget>

#include "ui/qt/screen.h"
#include "ui/qt/twips.h"

namespace tendra {

namespace {

template <class Real>
void placeIn(QWidget* frm, Across across) {
    const double dpi = logicalDpi(frm);
    const auto twips = [dpi](int pixels) { return static_cast<Real>(pixelsToTwips(pixels, dpi)); };
    const QRect screen = screenGeometry(frm);
    const QSize outer = frm->frameGeometry().size();
    const TopLeft<Real> at = placedTopLeft(twips(screen.width()), twips(screen.height()),
                                           twips(outer.width()), twips(outer.height()), across);
    frm->move(screen.topLeft() + QPoint(twipsToPixels(at.left, dpi), twipsToPixels(at.top, dpi)));
}

}  // namespace

void placeOnScreen(QWidget* frm, Across across, Precision precision) {
    if (precision == Precision::Single) {
        placeIn<float>(frm, across);
    } else {
        placeIn<double>(frm, across);
    }
}

}  // namespace tendra
