#pragma once
// The windows are measured in their design fonts: Calibri in the grid, Arial in the library
// list, Courier New in the search results. Where those are not installed (on Linux they seldom
// are) the toolkit would fall back to a wider face and cut names short, so it is told to ask
// for the fonts made with the same character widths instead.

namespace zanq {

// Call once, before the first window is built. A design font that is installed still wins.
void SubstituteDesignFonts();

}  // namespace zanq
