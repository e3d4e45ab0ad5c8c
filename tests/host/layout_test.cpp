#include <gtest/gtest.h>

#include "main_window/layout.h"

namespace zoriza {
namespace {

bool Overlap(const TwipsRect& a, const TwipsRect& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

bool Inside(const TwipsRect& inner, const TwipsRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top &&
           inner.left + inner.width <= outer.left + outer.width &&
           inner.top + inner.height <= outer.top + outer.height;
}

TEST(Layout, EveryControlFitsItsContainerAndNoTwoSiblingsOverlap) {
    const TwipsRect client{0, 0, kClientWidthTwips, kClientHeightTwips};
    for (const ControlDesign& design : kControlDesigns) {
        const TwipsRect rect = ClientTwips(design);
        const TwipsRect container = design.container == ControlId::None
                                        ? client
                                        : ClientTwips(DesignOf(design.container));
        EXPECT_TRUE(Inside(rect, container)) << design.name;
        for (const ControlDesign& other : kControlDesigns) {
            if (&other == &design || other.container != design.container) continue;
            EXPECT_FALSE(Overlap(rect, ClientTwips(other))) << design.name << " and " << other.name;
        }
    }
}

TEST(Layout, WholePixelsAtNinetySixDpiAndScaledAtOneFortyFour) {
    for (const ControlDesign& design : kControlDesigns) {
        for (const int twips : {design.rect.left, design.rect.top, design.rect.width, design.rect.height}) {
            EXPECT_EQ(twips % 15, 0) << design.name;
        }
    }
    EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 96), 478);
    EXPECT_EQ(TwipsToPixels(kClientHeightTwips, 96), 462);
    EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 144), 717);
    EXPECT_EQ(TwipsToPixels(195, 144), 20);  // 19.5 rounds away from zero, as MulDiv does
    EXPECT_EQ(ClientTwips(DesignOf(ControlId::Dir1)).top, 2880);
    EXPECT_EQ(ClientTwips(DesignOf(ControlId::Icona)).left, 3840);
}

TEST(Layout, TabOrderAndThePlatformButtonsTopToBottom) {
    const std::array<ControlId, 13> expected = {
        ControlId::Lang,  ControlId::App,    ControlId::Frame1, ControlId::Search,    ControlId::Drive1,
        ControlId::Dir1,  ControlId::Frame2, ControlId::Frame3, ControlId::Intro,     ControlId::Icona,
        ControlId::Platform0, ControlId::Platform1, ControlId::Platform2};
    EXPECT_EQ(TabOrder(), expected);
    EXPECT_LT(DesignOf(kPlatformButtons[0]).rect.top, DesignOf(kPlatformButtons[1]).rect.top);
    EXPECT_LT(DesignOf(kPlatformButtons[1]).rect.top, DesignOf(kPlatformButtons[2]).rect.top);
    EXPECT_EQ(std::wstring(DesignOf(kPlatformButtons[0]).designText), L"16 bit");
}

}  // namespace
}  // namespace zoriza
