#include <QtTest>

#include "shell/MainLayout.h"

using namespace zanq;

namespace {
MainGeometry Placed(int sw, int sh) {
    MainGeometry g = MainDesignGeometry();
    ApplyPlacementRules(g, sw, sh);
    return g;
}
}  // namespace

class LayoutTest : public QObject {
    Q_OBJECT
private slots:
    void designSizeFigures() {
        MainGeometry g = Placed(20010, 10530);
        QCOMPARE(g["cmdLoadAll"].top, 9530);
        QCOMPARE(g["cmdLoadInMatrix"].top, 8985);
        QCOMPARE(g["cmdLoadPatchlist"].top, 8440);
        QCOMPARE(g["cmdLoadPatchListMatrix"].top, 7715);
        QCOMPARE(g["File1"].top, 3215);
        QCOMPARE(g["File1"].height, 4450);
        QCOMPARE(g["List1"].height, 9530);
        QCOMPARE(g["FlexGrid1"].width, 14010);
        QCOMPARE(g["FlexGrid1"].height, 8930);
        QCOMPARE(g["Image3"].left, 16135);
        QCOMPARE(g["Shape1"].left, 16135);
        QCOMPARE(g["lblSysexLib"].left, 16135);
        QCOMPARE(g["ProgressBar1"].left, 16255);
        QCOMPARE(g["ProgressBar1"].width, 3435);
        QCOMPARE(g["Image2"].left, 16215);
        QCOMPARE(FitGridColumns(g["FlexGrid1"].width)->columnWidth, 1613);
        QCOMPARE(FitGridColumns(g["FlexGrid1"].width)->fontPoints, 10);
    }

    void wideningMovesOnlyGridAndTitle() {
        MainGeometry base = Placed(20010, 10530);
        MainGeometry wide = Placed(20010 + 1600, 10530);
        QCOMPARE(wide["FlexGrid1"].width, base["FlexGrid1"].width + 1600);
        QCOMPARE(wide["Image3"].left, base["Image3"].left + 1600);
        QCOMPARE(wide["Image2"].left, base["Image2"].left + 1600);
        QCOMPARE(FitGridColumns(wide["FlexGrid1"].width)->columnWidth, 1613 + 200);
        for (const char* fixed :
             {"Drive1", "Dir1", "File1", "List1", "cmdMIDI_IN", "cmdSauver", "lblversion"})
            QCOMPARE(wide[fixed], base[fixed]);
    }

    void gridColumnsAndTwips() {
        // A width on a step keeps the smaller size; one twip more takes the next.
        QCOMPARE(FitGridColumns(2400 * 8 + 1100)->fontPoints, 14);
        QCOMPARE(FitGridColumns(2401 * 8 + 1100)->fontPoints, 16);
        QCOMPARE(GridFontPointsFor(1300), 7);
        QCOMPARE(GridFontPointsFor(1301), 8);
        QCOMPARE(GridFontPointsFor(0), 7);
        // A narrow window leaves the columns alone.
        QCOMPARE(Placed(7000, 10530)["FlexGrid1"].width, 1000);
        QVERIFY(!FitGridColumns(1000));
        QCOMPARE(TwipsToPixels(1440, 96), 96);
        QCOMPARE(TwipsToPixels(20010, 192), 2668);
        QCOMPARE(PixelsToTwips(1334, 96), 20010);
    }

    void minimiseAndRestore() {
        const MainGeometry before = Placed(20010, 10530);
        MainGeometry g = before;
        ApplyPlacementRules(g, 0, 0);
        QCOMPARE(g["cmdLoadAll"].top, -1000);              // negative tops apply
        QCOMPARE(g["FlexGrid1"], before.at("FlexGrid1"));  // negative sizes are refused
        QCOMPARE(g["List1"].height, before.at("List1").height);
        QCOMPARE(g["File1"].height, before.at("File1").height);
        ApplyPlacementRules(g, 20010, 10530);
        QCOMPARE(g, before);
    }
};

QTEST_APPLESS_MAIN(LayoutTest)
#include "test_layout.moc"
