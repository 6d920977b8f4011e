#include "ui/qt/placement.h"

#include <QWidget>

#include "ui/qt/screen.h"
#include "ui/qt/twips.h"

namespace tendra {

void placeOnScreen(QWidget* frm, Across across) {
    const double dpi = logicalDpi(frm);
    const auto twips = [dpi](int pixels) { return static_cast<float>(pixelsToTwips(pixels, dpi)); };
    const QSize screen = screenSize();
    const QSize outer = frm->frameGeometry().size();
    const TopLeft<float> at = placedTopLeft(twips(screen.width()), twips(screen.height()),
                                            twips(outer.width()), twips(outer.height()), across);
    frm->move(twipsToPixels(at.left, dpi), twipsToPixels(at.top, dpi));
}

}  // namespace tendra
