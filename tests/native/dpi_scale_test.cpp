#include "ui/dpi_scale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

namespace tavelin::ui {
namespace {

TEST(DpiScaleTest, RoundsToTheNearestPixelWithHalvesAwayFromZero) {
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    struct Case {
        const char* what;
        int length, fromDpi, toDpi, expected;
    } cases[] = {
        {"unchanged at 96", 64, 96, 96, 64},
        {"150 %: window width", 500, 96, 144, 750},
        {"150 %: a half rounds up", 33, 96, 144, 50},
        {"150 %: a half of a negative position rounds down", -103, 96, 144, -155},
        {"125 %: three quarters round up", 3, 96, 120, 4},
        {"125 %: a quarter rounds down", 13, 96, 120, 16},
        {"200 %", 13, 96, 192, 26},
        {"back to 96 from 150 %", 750, 144, 96, 500},
        {"back to 96: two thirds round up", 751, 144, 96, 501},
        {"back to 96: one third rounds down", 752, 144, 96, 501},
        {"zero stays zero", 0, 96, 144, 0},
        {"saturates above", kMax, 96, 192, kMax},
        {"saturates below", kMin, 96, 192, kMin},
        {"the largest length that fits is kept", kMax, 192, 96, kMax / 2 + 1},
        {"no resolution: taken as 96", 100, 0, 144, 150},
        {"negative resolution: taken as 96", 100, 144, -1, 67},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScaleLength(c.length, c.fromDpi, c.toDpi), c.expected) << c.what;
}

// The settings file holds 96-dpi lengths: whatever was saved must come back unchanged after a
// run on a scaled display, whose window holds the lengths scaled up.
TEST(DpiScaleTest, ALengthScaledUpAndBackIsTheLengthItWas) {
    for (int dpi : {96, 108, 120, 144, 168, 192, 240, 288}) {
        for (int length = -3000; length <= 3000; ++length) {
            const int scaled = ToDpi(length, dpi);
            ASSERT_EQ(ScaleLength(scaled, dpi, kDefaultDpi), length) << length << " at " << dpi << " dpi";
            // The scaled length never strays more than half a pixel from the exact product.
            ASSERT_LE(std::abs(2LL * scaled * 96 - 2LL * length * dpi), 96LL) << length << " at " << dpi;
        }
    }
}

// Rescaled from the pixels of each display in turn, a pane of 201 came back from 144, 120 and 96
// dpi as 202. A length the user chose comes back from any tour of resolutions as it was.
TEST(DpiScaleTest, AUsersLengthIsScaledFromWhereItWasChosen) {
    const struct {
        UserLength chosen;
        int at120, savedAt96;
    } cases[] = {{{201, 96}, 251, 201}, {{301, 144}, 251, 201}, {{163, 192}, 102, 82}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.chosen.At(120), c.at120);
        EXPECT_EQ(c.chosen.At(c.chosen.dpi), c.chosen.length);
        EXPECT_EQ(c.chosen.At(kDefaultDpi), c.savedAt96) << c.chosen.length << " at " << c.chosen.dpi;
    }
}

}  // namespace
}  // namespace tavelin::ui
