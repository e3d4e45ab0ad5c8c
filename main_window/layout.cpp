#include "main_window/layout.h"

#include <algorithm>
#include <stdexcept>

namespace zoriza {

const ControlDesign& DesignOf(ControlId id) {
    for (const ControlDesign& design : kControlDesigns) {
        if (design.id == id) return design;
    }
    throw std::out_of_range("no such control");
}

TwipsRect ClientTwips(const ControlDesign& design) {
    TwipsRect rect = design.rect;
    if (design.container != ControlId::None) {
        const TwipsRect frame = ClientTwips(DesignOf(design.container));
        rect.left += frame.left;
        rect.top += frame.top;
    }
    return rect;
}

std::array<ControlId, kControlDesigns.size()> TabOrder() {
    std::array<ControlDesign, kControlDesigns.size()> sorted = kControlDesigns;
    std::ranges::sort(sorted, {}, &ControlDesign::tabIndex);
    std::array<ControlId, kControlDesigns.size()> order{};
    std::ranges::transform(sorted, order.begin(), &ControlDesign::id);
    return order;
}

int TwipsToPixels(int twips, int dpi) {
    const long long product = static_cast<long long>(twips) * dpi;
    const long long half = kTwipsPerInch / 2;
    return static_cast<int>(product >= 0 ? (product + half) / kTwipsPerInch
                                         : -((-product + half) / kTwipsPerInch));
}

}  // namespace zoriza
