// The two promotion windows as designed: alike but for their page and the
// screen edge they start at.
#pragma once

#include "ui/design.h"
#include "ui/placement.h"

namespace tendra {

struct PromotionDesign {
    ui::WindowDesign window;
    const char* page;  // under the vendor's home page
    Across startEdge;
};

const PromotionDesign& ad1frmDesign();  // bdownload.htm, left edge
const PromotionDesign& adfrmDesign();   // gdownload.htm, right edge

// Timer2's interval, and what its tick sets Timer1's to.
inline constexpr int kTimer2IntervalMs = 5000;
inline constexpr int kDockingIntervalMs = 1;

}  // namespace tendra
