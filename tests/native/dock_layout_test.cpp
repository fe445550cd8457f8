#include "ui/dock_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace tavelin::ui {
namespace {

// The main window's arrangement: status bar at the bottom, the left pane, the splitter beside
// it and the grid in the rest.
std::vector<DockSlot> MainWindowSlots(int paneWidth) {
    return {{Align::Left, paneWidth, {}}, {Align::Left, 3, {}}, {Align::Client, 0, {}}, {Align::Bottom, 19, {}}};
}

TEST(DockLayout, PlacesTheMainWindowArrangement) {
    auto slots = MainWindowSlots(200);
    LayOutDocked({0, 0, 484, 292}, slots);
    EXPECT_EQ(slots[0].bounds, (Bounds{0, 0, 200, 273}));
    EXPECT_EQ(slots[1].bounds, (Bounds{200, 0, 3, 273}));
    EXPECT_EQ(slots[2].bounds, (Bounds{203, 0, 281, 273}));
    EXPECT_EQ(slots[3].bounds, (Bounds{0, 273, 484, 19}));
}

TEST(DockLayout, TopBandThenClientInsideAPanel) {
    std::vector<DockSlot> slots{{Align::Client, 0, {}}, {Align::Top, 19, {}}};
    LayOutDocked({0, 0, 160, 400}, slots);
    EXPECT_EQ(slots[1].bounds, (Bounds{0, 0, 160, 19}));
    EXPECT_EQ(slots[0].bounds, (Bounds{0, 19, 160, 381}));
}

TEST(DockLayout, SqueezesWhatNoLongerFitsToZero) {
    struct Case {
        int clientWidth, clientHeight, paneWidth;
        Bounds pane, grid, status;
    };
    const Case cases[] = {
        // A pane closed to 0 leaves the splitter at the left edge.
        {300, 100, 0, {0, 0, 0, 81}, {3, 0, 297, 81}, {0, 81, 300, 19}},
        // A pane wider than the window takes all of it; the splitter and grid get nothing.
        {100, 100, 250, {0, 0, 100, 81}, {100, 0, 0, 81}, {0, 81, 100, 19}},
        // A window lower than the status bar.
        {100, 10, 50, {0, 0, 50, 0}, {53, 0, 47, 0}, {0, 0, 100, 10}},
        // A negative width counts as a closed pane: the splitter and grid stay inside the window.
        {300, 100, -100, {0, 0, 0, 81}, {3, 0, 297, 81}, {0, 81, 300, 19}},
    };
    for (const auto& c : cases) {
        auto slots = MainWindowSlots(c.paneWidth);
        LayOutDocked({0, 0, c.clientWidth, c.clientHeight}, slots);
        EXPECT_EQ(slots[0].bounds, c.pane) << c.clientWidth << "x" << c.clientHeight;
        EXPECT_EQ(slots[2].bounds, c.grid) << c.clientWidth << "x" << c.clientHeight;
        EXPECT_EQ(slots[3].bounds, c.status) << c.clientWidth << "x" << c.clientHeight;
    }
}

TEST(DockLayout, NegativeBandsTakeNoRoom) {
    std::vector<DockSlot> slots{{Align::Top, -40, {}}, {Align::Bottom, -40, {}}, {Align::Client, 0, {}}};
    LayOutDocked({0, 0, 160, 400}, slots);
    EXPECT_EQ(slots[0].bounds, (Bounds{0, 0, 160, 0}));
    EXPECT_EQ(slots[1].bounds, (Bounds{0, 400, 160, 0}));
    EXPECT_EQ(slots[2].bounds, (Bounds{0, 0, 160, 400}));
}

}  // namespace
}  // namespace tavelin::ui
