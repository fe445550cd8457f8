#include "ui/window_placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavelin::ui {
namespace {

// {area, work area (a task bar at the bottom), dpi}.
constexpr Monitor kLeft100{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96};
constexpr Monitor kRight150{{1920, 0, 4800, 1800}, {1920, 0, 4800, 1752}, 144};
constexpr Monitor kLeft150{{0, 0, 2880, 1800}, {0, 0, 2880, 1752}, 144};
constexpr Monitor kRight100{{2880, 0, 4800, 1080}, {2880, 0, 4800, 1040}, 96};
constexpr Monitor kBeforeTheOrigin150{{-2880, 0, 0, 1800}, {-2880, 0, 0, 1800}, 144};
constexpr Monitor kAbove125{{0, -1080, 1920, 0}, {0, -1080, 1920, 0}, 120};

TEST(WindowPlacement, KeepsItsPlaceAndTakesTheResolutionOfTheMonitorThatHoldsMostOfIt) {
    const struct {
        std::vector<Monitor> monitors;
        Bounds saved;  // the size at 96 dpi
        Bounds expected;
    } cases[] = {
        {{kLeft100, kRight150}, {2500, 100, 500, 350}, {2500, 100, 750, 525}},
        {{kLeft150, kRight100}, {3000, 100, 500, 350}, {3000, 100, 500, 350}},
        {{kLeft150, kRight100}, {100, 100, 500, 350}, {100, 100, 750, 525}},
        {{kLeft100, kRight150}, {1800, 100, 500, 350}, {1800, 100, 750, 525}},  // across the seam
        {{kLeft100, kBeforeTheOrigin150}, {-2000, 200, 500, 350}, {-2000, 200, 750, 525}},
        {{kLeft100, kAbove125}, {300, -900, 1, -5}, {300, -900, 300, 188}},  // the minimum
        {{kLeft100}, {2500, 100, 500, 350}, {1420, 100, 500, 350}},          // its monitor removed
        // A grip of 120 by 40 pixels on the top edge is enough; less is brought onto the work area.
        {{kLeft100}, {1919, 1039, 500, 350}, {1420, 690, 500, 350}},
        {{kLeft100}, {-380, 100, 500, 350}, {-380, 100, 500, 350}},
        {{kLeft100}, {-381, 100, 500, 350}, {0, 100, 500, 350}},
        {{kLeft100}, {100, 1000, 500, 350}, {100, 1000, 500, 350}},
        {{kLeft100}, {100, 1001, 500, 350}, {100, 690, 500, 350}},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(PlaceWindow(cases[i].saved, {240, 150}, cases[i].monitors), cases[i].expected) << i;
}

}  // namespace
}  // namespace tavelin::ui
