#include <gtest/gtest.h>

#include <random>

#include "fakes/grid_observer.h"
#include "fakes/text_services.h"
#include "listing/header_press.h"
#include "listing/header_sort.h"

namespace tavelin {
namespace {

FileGrid GridWithColumn(int column, const std::vector<std::wstring>& cells) {
    FileGrid grid;
    grid.SetRowCount(static_cast<int>(cells.size()) + 1);
    for (size_t i = 0; i < cells.size(); ++i) {
        grid.SetCell(column, static_cast<int>(i) + 1, cells[i]);
        grid.SetCell(4, static_cast<int>(i) + 1, L"row" + std::to_wstring(i + 1));  // rows move whole
    }
    return grid;
}

std::vector<std::wstring> Column(const FileGrid& grid, int column) {
    std::vector<std::wstring> cells;
    for (int row = 1; row < grid.RowCount(); ++row)
        cells.emplace_back(grid.Cell(column, row));
    return cells;
}

class HeaderSortTest : public ::testing::Test {
  protected:
    test::FakeTextServices text;
    SortKeyFunction key = HeaderSortKey(text);
};

TEST_F(HeaderSortTest, NamesSortIgnoringCaseThenBackwards) {
    FileGrid grid = GridWithColumn(0, {L"b", L"A", L"c"});
    SortRows(grid, 0, SortDirection::kAscending, key);
    EXPECT_EQ(Column(grid, 0), (std::vector<std::wstring>{L"A", L"b", L"c"}));
    EXPECT_EQ(Column(grid, 4), (std::vector<std::wstring>{L"row2", L"row1", L"row3"}));
    SortRows(grid, 0, SortDirection::kDescending, key);
    EXPECT_EQ(Column(grid, 0), (std::vector<std::wstring>{L"c", L"b", L"A"}));
    EXPECT_EQ(Column(grid, 4), (std::vector<std::wstring>{L"row3", L"row1", L"row2"}));
}

TEST_F(HeaderSortTest, PaddedSizesSortNumerically) {
    FileGrid grid = GridWithColumn(1, {L"   40", L"  300", L"    5"});
    SortRows(grid, 1, SortDirection::kAscending, key);
    EXPECT_EQ(Column(grid, 1), (std::vector<std::wstring>{L"    5", L"   40", L"  300"}));
}

TEST_F(HeaderSortTest, KeysCompareAsUnsignedBytesWithPrefixesFirst) {
    // "é" encodes above every ASCII byte; as signed chars it would sort first.
    FileGrid grid = GridWithColumn(0, {L"\u00e9", L"ab", L"a", L"z", L""});
    SortRows(grid, 0, SortDirection::kAscending, key);
    EXPECT_EQ(Column(grid, 0), (std::vector<std::wstring>{L"", L"a", L"ab", L"z", L"\u00e9"}));
}

TEST_F(HeaderSortTest, SingleRowOrHeaderOnlyIsLeftAlone) {
    FileGrid one = GridWithColumn(0, {L"x"});
    test::RecordingObserver observer;
    one.SetObserver(&observer);
    SortRows(one, 0, SortDirection::kAscending, key);
    EXPECT_EQ(Column(one, 0), std::vector<std::wstring>{L"x"});
    EXPECT_EQ(observer.rearranged, 0);

    FileGrid headerOnly;
    headerOnly.SetRowCount(1);
    SortRows(headerOnly, 0, SortDirection::kDescending, key);
    EXPECT_EQ(headerOnly.RowCount(), 1);
}

TEST_F(HeaderSortTest, EachKeyIsComputedOnceAndTheControlRepaintsOnce) {
    FileGrid grid = GridWithColumn(0, {L"d", L"c", L"b", L"a", L"c", L"d"});
    test::RecordingObserver observer;
    grid.SetObserver(&observer);
    int calls = 0;
    SortRows(grid, 0, SortDirection::kAscending, [&](const std::wstring& cell) {
        ++calls;
        return key(cell);
    });
    EXPECT_EQ(calls, 6);
    EXPECT_EQ(observer.rearranged, 1);
    EXPECT_TRUE(observer.cells.empty());
}

// The header's selection sort, written out as the order it must reproduce.
std::vector<int> LiteralSelectionSort(std::vector<std::string> keys, SortDirection direction) {
    std::vector<int> at(keys.size());
    for (size_t i = 0; i < at.size(); ++i)
        at[i] = static_cast<int>(i);
    for (size_t i = 0; i + 1 < keys.size(); ++i) {
        std::string current = keys[i];
        size_t best = keys.size();
        for (size_t d = i + 1; d < keys.size(); ++d) {
            const bool better = direction == SortDirection::kAscending ? keys[d] < current : keys[d] > current;
            if (better) {
                best = d;
                current = keys[d];
            }
        }
        if (best != keys.size()) {
            std::swap(keys[i], keys[best]);
            std::swap(at[i], at[best]);
        }
    }
    return at;
}

TEST(SelectionSortOrderTest, MatchesTheLiteralSelectionSortOnRandomKeysWithManyTies) {
    for (unsigned seed = 1; seed <= 400; ++seed) {
        std::mt19937 random(seed);
        const int count = static_cast<int>(random() % 201);
        const int distinct = 1 + static_cast<int>(random() % 12);  // few distinct keys: many ties
        std::vector<std::string> keys;
        for (int i = 0; i < count; ++i) {
            const int pick = static_cast<int>(random() % distinct);
            // Prefixes of one another, bytes above 0x7F and zero bytes, and keys that share their
            // first sixteen bytes or run past them, so every comparison rule matters.
            const bool longPrefix = random() % 4 == 0;
            const bool trailingZero = random() % 6 == 0;
            keys.push_back((longPrefix ? std::string(15 + pick % 3, 'p') : std::string()) +
                           std::string(static_cast<size_t>(pick % 3), 'k') +
                           (pick % 2 ? std::string(1, static_cast<char>(0xE3)) : std::string()) +
                           std::string(static_cast<size_t>(pick / 3), 'a') +
                           (trailingZero ? std::string(1, '\0') : std::string()));
        }
        for (const SortDirection direction : {SortDirection::kAscending, SortDirection::kDescending}) {
            ASSERT_EQ(SelectionSortOrder(keys, direction), LiteralSelectionSort(keys, direction))
                << "seed " << seed << ", " << count << " keys, "
                << (direction == SortDirection::kAscending ? "ascending" : "descending");
        }
    }
}

TEST(SelectionSortOrderTest, EqualKeysMoveAsTheSelectionSortMovesThem) {
    // Position 0 swaps with the only smaller key at the end, carrying the first "b" past the
    // second one.
    const std::vector<std::string> keys = {"b1", "b2", "a"};
    std::vector<std::string> tied = {"b", "b", "a"};
    EXPECT_EQ(SelectionSortOrder(tied, SortDirection::kAscending), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(SelectionSortOrder(keys, SortDirection::kAscending), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(SelectionSortOrder({"x", "x", "x"}, SortDirection::kDescending), (std::vector<int>{0, 1, 2}));
}

TEST(HitHeaderColumnTest, EdgesBelongToNoColumn) {
    const int widths[] = {120, 80, 50, 50, 50};
    struct Case {
        int leftmost;
        int lineWidth;
        int x;
        std::optional<int> hit;
    };
    const Case cases[] = {
        {0, 0, 0, std::nullopt},  // left edge of column 0
        {0, 0, 1, 0},
        {0, 0, 119, 0},
        {0, 0, 120, std::nullopt},  // edge between columns 0 and 1
        {0, 0, 121, 1},
        {0, 0, 199, 1},
        {0, 0, 200, std::nullopt},
        {0, 0, 349, 4},
        {0, 0, 350, std::nullopt},  // right edge of the last column
        {0, 0, 600, std::nullopt},  // right of every column
        {0, 0, -5, std::nullopt},
        // Scrolled: the first visible column starts at the client edge.
        {2, 0, 1, 2},
        {2, 0, 50, std::nullopt},
        {2, 0, 51, 3},
        {2, 0, 149, 4},
        {2, 0, 150, std::nullopt},
        // Grid lines push every later column right.
        {0, 1, 120, std::nullopt},
        {0, 1, 121, std::nullopt},
        {0, 1, 122, 1},
        {0, 1, 201, std::nullopt},
        {0, 1, 202, std::nullopt},
        {0, 1, 203, 2},
    };
    for (const Case& c : cases) {
        const HeaderGeometry geometry{widths, c.leftmost, c.lineWidth};
        EXPECT_EQ(HitHeaderColumn(geometry, c.x), c.hit)
            << "leftmost " << c.leftmost << ", line " << c.lineWidth << ", x " << c.x;
    }
}

TEST(HitHeaderColumnTest, HiddenColumnsCannotBeHit) {
    const int widths[] = {100, 0, 50, 50, 50};
    const HeaderGeometry geometry{widths, 0, 0};
    EXPECT_EQ(HitHeaderColumn(geometry, 100), std::nullopt);
    EXPECT_EQ(HitHeaderColumn(geometry, 101), 2);
}

TEST(ClassifyHeaderPressTest, SortsListsAgainOrIgnores) {
    const int widths[] = {120, 80, 50, 50, 50};
    const HeaderGeometry geometry{widths, 0, 0};
    struct Case {
        bool ready;
        int x;
        int y;
        HeaderPress press;
    };
    const Case cases[] = {
        {true, 10, 5, {HeaderAction::kSort, 0}},
        {true, 150, 23, {HeaderAction::kSort, 1}},
        {true, 340, 0, {HeaderAction::kListAgain, 4}},
        {false, 10, 5, {}},
        {true, 10, 24, {}},  // first data row
        {true, 120, 5, {}},  // on an edge
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyHeaderPress(c.ready, c.x, c.y, 24, geometry), c.press) << c.x << "," << c.y;
}

}  // namespace
}  // namespace tavelin
