#include "ui/screen_fit.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "ui/window_placement.h"

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

// {area, work area (a task bar at the bottom), dpi}.
constexpr Monitor kLeft100{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96};
constexpr Monitor kRight150{{1920, 0, 4800, 1800}, {1920, 0, 4800, 1752}, 144};
constexpr Monitor kLeft150{{0, 0, 2880, 1800}, {0, 0, 2880, 1752}, 144};
constexpr Monitor kRight100{{2880, 0, 4800, 1080}, {2880, 0, 4800, 1040}, 96};

TEST(ScreenFit, AWindowKeepsItsPlaceAndTakesTheResolutionOfTheMonitorThatHoldsMostOfIt) {
    const struct {
        std::vector<Monitor> monitors;
        Bounds saved;  // the size at 96 dpi
        Bounds expected;
    } cases[] = {
        {{kLeft100, kRight150}, {2500, 100, 500, 350}, {2500, 100, 750, 525}},
        {{kLeft150, kRight100}, {3000, 100, 500, 350}, {3000, 100, 500, 350}},
        {{kLeft100, kRight150}, {1800, 100, 500, 350}, {1800, 100, 750, 525}},  // across the seam
        {{kLeft100, {{-2880, 0, 0, 1800}, {-2880, 0, 0, 1800}, 144}}, {-2000, 200, 500, 350}, {-2000, 200, 750, 525}},
        {{kLeft100, {{0, -1080, 1920, 0}, {0, -1080, 1920, 0}, 120}}, {300, -900, 1, -5}, {300, -900, 300, 188}},
        {{kLeft100}, {2500, 100, 500, 350}, {1420, 100, 500, 350}},  // its monitor removed
        // A grip of 120 by 40 pixels on the top edge is enough; less is brought onto the work area.
        {{kLeft100}, {-380, 100, 500, 350}, {-380, 100, 500, 350}},
        {{kLeft100}, {-381, 100, 500, 350}, {0, 100, 500, 350}},
        {{kLeft100}, {100, 1001, 500, 350}, {100, 690, 500, 350}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(PlaceWindow(cases[i].saved, {240, 150}, cases[i].monitors), cases[i].expected) << i;
}

}  // namespace
}  // namespace tavelin::ui
