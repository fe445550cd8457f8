#pragma once
// What a mouse press on the file grid's header row asks for.
#include <optional>
#include <span>

namespace tavelin {

// The header's column edges as the grid lays them out.
struct HeaderGeometry {
    std::span<const int> columnWidths;  // every column, in pixels
    int leftmostColumn = 0;             // the first column shown after horizontal scrolling
    int gridLineWidth = 0;
};

// The column whose inside (edges excluded) holds client x-coordinate `x`, or nullopt.
std::optional<int> HitHeaderColumn(const HeaderGeometry& geometry, int x);

enum class HeaderAction { kNone, kSort, kListAgain };

struct HeaderPress {
    HeaderAction action = HeaderAction::kNone;
    int column = -1;  // the column to sort on, for kSort
    bool operator==(const HeaderPress&) const = default;
};

// The attributes column is last; pressing its header lists the folder again instead of sorting.
inline constexpr int kAttributesColumn = 4;

// A press at (x, y) acts only on a ready list and only inside the header row.
HeaderPress ClassifyHeaderPress(bool listReady, int x, int y, int headerHeight, const HeaderGeometry& geometry);

}  // namespace tavelin
