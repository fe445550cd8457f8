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

TEST(ScreenFit, ALargerWindowIsMadeAsLargeAsTheAreaButNoSmallerThanTheMinimum) {
    EXPECT_EQ(FittedInside({-5000, 9000, 1650, 1050}, 112, 27, kWorkArea), (Bounds{0, 0, 1024, 738}));
    EXPECT_EQ(FittedInside({20, 30, 1100, 800}, 1200, 27, kWorkArea), (Bounds{0, 0, 1200, 738}));
    EXPECT_EQ(CenteredIn(200, 100, {-1280, 100, 1280, 984}), (Bounds{-740, 542, 200, 100}));
    EXPECT_EQ(CenteredIn(2000, 100, kWorkArea), (Bounds{-488, 319, 2000, 100}));
}

// Windows 10 and later count an undrawn resizing border in the window's rectangle: left, right
// and bottom, and all round a maximised window.
TEST(ScreenFit, TheHiddenBordersAreWhatTheRectangleHasAroundTheVisibleFrame) {
    const struct {
        const char* what;
        Edges window, frame, expected;
    } cases[] = {
        {"a normal window", {100, 100, 600, 450}, {107, 100, 593, 443}, {7, 0, 7, 7}},
        {"maximised", {-8, -8, 1928, 1048}, {0, 0, 1920, 1040}, {8, 8, 8, 8}},
        {"frame and rectangle alike", {100, 100, 600, 450}, {100, 100, 600, 450}, {0, 0, 0, 0}},
        {"a frame past the rectangle", {100, 100, 600, 450}, {90, 110, 610, 440}, {0, 10, 0, 10}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HiddenBorders(c.window, c.frame), c.expected) << c.what;
    EXPECT_EQ(Inset({100, 100, 500, 350}, {7, 0, 7, 7}), (Bounds{107, 100, 486, 343}));
    EXPECT_EQ(Outset({107, 100, 486, 343}, {7, 0, 7, 7}), (Bounds{100, 100, 500, 350}));
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

// A 1280 by 900 screen, no task bar, at 150 %; a file written at 100 %.
constexpr Monitor kSmall150{{0, 0, 1280, 900}, {0, 0, 1280, 900}, 144};
constexpr Monitor kSmall100{{0, 0, 1280, 900}, {0, 0, 1280, 900}, 96};
constexpr Monitor kBeside100{{1280, 0, 2560, 900}, {1280, 0, 2560, 860}, 96};
// Windows 10's hidden resizing border, as measured at 100 % and at 150 %.
constexpr HiddenFrame kHidden96{{7, 0, 7, 7}, 96};
constexpr HiddenFrame kHidden144{{11, 0, 11, 11}, 144};

TEST(ScreenFit, AWindowLargerThanItsWorkAreaIsShownInItWholeMeasuredOnWhatIsSeen) {
    const struct {
        const char* what;
        std::vector<Monitor> monitors;
        Bounds saved;
        HiddenFrame hidden;
        Bounds expected;
    } cases[] = {
        {"fits at 100 %", {kSmall100}, {20, 30, 1100, 700}, {}, {20, 30, 1100, 700}},
        {"too large at 150 %", {kSmall150}, {20, 30, 1100, 700}, {}, {0, 0, 1280, 900}},
        {"its hidden border beyond the work area", {kSmall150}, {20, 30, 1100, 700}, kHidden144, {-11, 0, 1302, 911}},
        {"hidden border measured at 100 %", {kSmall150}, {20, 30, 1100, 700}, kHidden96, {-11, 0, 1302, 911}},
        {"only too high", {kSmall100}, {300, 30, 500, 1000}, {}, {300, 0, 500, 900}},
        {"spread over two work areas", {kSmall100, kBeside100}, {100, 100, 2000, 700}, {}, {100, 100, 2000, 700}},
        {"past both: fitted to the one that holds most",
         {kSmall100, kBeside100},
         {100, 100, 2600, 700},
         {},
         {1280, 100, 1280, 700}},
        {"a work area smaller than the minimum",
         {{{0, 0, 200, 100}, {0, 0, 200, 100}, 96}},
         {50, 50, 500, 350},
         {},
         {0, 0, 240, 150}},
        // The grip is counted on the visible frame, and the window brought in stands on its edge.
        {"grip of 120 seen", {kLeft100}, {-373, 100, 500, 350}, kHidden96, {-373, 100, 500, 350}},
        {"grip of 119 seen", {kLeft100}, {-374, 100, 500, 350}, kHidden96, {-7, 100, 500, 350}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlaceWindow(c.saved, {240, 150}, c.monitors, c.hidden), c.expected) << c.what;
}

}  // namespace
}  // namespace tavelin::ui
