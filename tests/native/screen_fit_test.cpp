#include "ui/screen_fit.h"

#include <gtest/gtest.h>

#include <limits>

namespace tavelin::ui {
namespace {

constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();
constexpr Bounds kWorkArea{0, 0, 1024, 738};

TEST(ScreenFit, MovesTheLeastThatPutsTheWindowInsideTheArea) {
    const struct {
        const char* what;
        Bounds window, expected;
    } cases[] = {
        {"inside already", {50, 50, 500, 350}, {50, 50, 500, 350}},
        {"far left", {-30000, 50, 500, 350}, {0, 50, 500, 350}},
        {"far right and below", {5000, 4000, 500, 350}, {524, 388, 500, 350}},
        {"larger than the area", {-100, -100, 2000, 1000}, {0, 0, 2000, 1000}},
        {"at the ends of int", {kMin, kMax, kMax, kMax}, {0, 0, kMax, kMax}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MovedInside(c.window, kWorkArea), c.expected) << c.what;
    EXPECT_EQ(MovedInside({5000, 4000, 300, 200}, {-1280, 100, 1280, 1024}), (Bounds{-300, 924, 300, 200}));
}

TEST(ScreenFit, SizesBelowTheMinimumGetIt) {
    EXPECT_EQ(AtLeastSize({10, 20, -50, 5}, 112, 27), (Bounds{10, 20, 112, 27}));
    EXPECT_EQ(AtLeastSize({10, 20, 500, 350}, 112, 27), (Bounds{10, 20, 500, 350}));
}

TEST(ScreenFit, TheCaptionStripStopsAtTheEndsOfInt) {
    EXPECT_EQ(CaptionStrip({-30000, 50, 500, 350}, 30), (Edges{-30000, 50, -29500, 80}));
    EXPECT_EQ(CaptionStrip({kMax - 10, kMax - 10, 500, 350}, 30), (Edges{kMax - 10, kMax - 10, kMax, kMax}));
}

}  // namespace
}  // namespace tavelin::ui
