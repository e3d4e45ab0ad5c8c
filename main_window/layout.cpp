#include "main_window/layout.h"

#include <algorithm>
#include <exception>

namespace zoriza {

namespace {

// Asking for a control the design does not have is the program's own fault;
// the dispatcher reports it as an internal error with this text. A class of
// its own, rather than std::out_of_range, keeps the standard library's
// string-holding exception classes out of the shipped file.
class NoSuchControl : public std::exception {
public:
    const char* what() const noexcept override { return "no such control"; }
};

}  // namespace

const ControlDesign& DesignOf(ControlId id) {
    for (const ControlDesign& design : kControlDesigns) {
        if (design.id == id) return design;
    }
    throw NoSuchControl();
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
