#pragma once
// Main window geometry in twips (1/1440 inch) and the rules that make it follow the window's
// inner size. Plain arithmetic, independent of any toolkit, so the rules are testable as is.

#include <map>
#include <optional>
#include <string>

namespace zanq {

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TwipRect&) const = default;
};

using MainGeometry = std::map<std::string, TwipRect>;

inline constexpr int kMainDesignWidth = 20010;
inline constexpr int kMainDesignHeight = 10530;
inline constexpr int kGridHeaderColumnWidth = 700;
inline constexpr int kGridDesignColumnWidth = 1600;

// Every placed control of the main window at its design position, keyed by object name.
const MainGeometry& MainDesignGeometry();

// Applies the placement rules for an inner size of sw x sh twips to the current geometry.
// A rule that would give a negative width or height is skipped; negative tops are applied.
void ApplyPlacementRules(MainGeometry& geometry, int sw, int sh);

struct GridFit {
    int columnWidth;  // twips, for each of the eight bank columns
    int fontPoints;
};

// Column width and font size for a grid this wide; nothing when the grid is narrower than
// its header column allowance (the columns and font then stay as they are).
std::optional<GridFit> FitGridColumns(int gridWidth);
int GridFontPointsFor(int columnWidth);

int TwipsToPixels(int twips, double logicalDpi);
int PixelsToTwips(int pixels, double logicalDpi);

}  // namespace zanq
