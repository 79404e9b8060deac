#include "shell/MainLayout.h"

#include <cmath>

namespace zanq {

const MainGeometry& MainDesignGeometry() {
    static const MainGeometry design = {
        {"Drive1", {180, 180, 3015, 315}},
        {"Dir1", {180, 600, 3015, 2565}},
        {"File1", {180, 3240, 3015, 4320}},
        {"cmdLoadPatchListMatrix", {180, 7680, 3015, 675}},
        {"cmdLoadPatchlist", {180, 8400, 3015, 495}},
        {"cmdLoadInMatrix", {180, 8940, 3015, 495}},
        {"cmdLoadAll", {180, 9480, 3015, 495}},
        {"Label1", {3420, 180, 1575, 255}},
        {"List1", {3360, 600, 2295, 9210}},
        {"imgPoubelle", {6120, 180, 480, 480}},
        {"Image1", {5820, 120, 1095, 795}},
        {"Label3", {5880, 660, 1035, 195}},
        {"cmdMIDI_IN", {7020, 120, 900, 795}},
        {"cmdMIDI_OUT", {7980, 120, 900, 795}},
        {"cmdMatrixUtils", {8940, 120, 1000, 795}},
        {"cmdSearch", {10020, 120, 1000, 795}},
        {"cmdSauver", {11100, 120, 1000, 795}},
        {"lblversion", {12240, 180, 2715, 255}},
        {"cmdSize", {13320, 600, 255, 315}},
        {"FlexGrid1", {5820, 1020, 14055, 8955}},
        {"Image3", {16020, 120, 3675, 795}},
        {"Shape1", {16200, 120, 3675, 795}},
        {"Image2", {16260, 180, 3510, 465}},
        {"lblSysexLib", {16260, 600, 3555, 195}},
        {"ProgressBar1", {16320, 600, 3375, 195}},
    };
    return design;
}

namespace {
void SetHeight(TwipRect& r, int height) {
    if (height >= 0)
        r.height = height;
}
void SetWidth(TwipRect& r, int width) {
    if (width >= 0)
        r.width = width;
}
}  // namespace

void ApplyPlacementRules(MainGeometry& g, int sw, int sh) {
    TwipRect& loadAll = g["cmdLoadAll"];
    TwipRect& loadMatrix = g["cmdLoadInMatrix"];
    TwipRect& loadLibrary = g["cmdLoadPatchlist"];
    TwipRect& loadBoth = g["cmdLoadPatchListMatrix"];
    TwipRect& file1 = g["File1"];
    const TwipRect& dir1 = g["Dir1"];
    TwipRect& image3 = g["Image3"];
    TwipRect& progress = g["ProgressBar1"];

    loadAll.top = sh - 1000;
    loadMatrix.top = loadAll.top - loadMatrix.height - 50;
    loadLibrary.top = loadMatrix.top - loadLibrary.height - 50;
    loadBoth.top = loadLibrary.top - loadBoth.height - 50;
    file1.top = dir1.top + dir1.height + 50;
    SetHeight(file1, loadBoth.top - file1.top - 50);
    SetHeight(g["List1"], sh - 1000);
    SetHeight(g["FlexGrid1"], sh - 1600);
    SetWidth(g["FlexGrid1"], sw - 6000);
    image3.left = sw - image3.width - 200;
    g["Shape1"].left = image3.left;
    progress.left = image3.left + 120;
    SetWidth(progress, image3.width - 240);
    g["lblSysexLib"].left = image3.left;
    g["Image2"].left = image3.left + 80;
}

int GridFontPointsFor(int w) {
    if (w > 2400)
        return 16;
    if (w > 2160)
        return 14;
    if (w > 2000)
        return 13;
    if (w > 1820)
        return 12;
    if (w > 1680)
        return 11;
    if (w > 1550)
        return 10;
    if (w > 1450)
        return 9;
    if (w > 1300)
        return 8;
    return 7;
}

std::optional<GridFit> FitGridColumns(int gridWidth) {
    const int available = gridWidth - 1100;
    if (available < 0)
        return std::nullopt;
    const int width = available / 8;
    return GridFit{width, GridFontPointsFor(width)};
}

int TwipsToPixels(int twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

int PixelsToTwips(int pixels, double logicalDpi) {
    return static_cast<int>(std::lround(pixels * 1440.0 / logicalDpi));
}

}  // namespace zanq
