// The file pane's lists: what File1 shows and how it follows the disk, the folder it reopens in,
// and .syx files dropped from a file manager.

#include "FilesRig.h"

using namespace zanq;
using namespace zanq::test;

class FileBrowserTest : public QObject {
    Q_OBJECT
private slots:
    void browserListsFilesAndGuardsTheLoadButtons() {
        Rig rig;
        QCOMPARE(rig.files->folder(), QDir::cleanPath(rig.dir.path()));
        QCOMPARE(rig.buttons(), QStringLiteral("0000"));
        for (const char* name : {"b.SYX", "a.syx", ".hidden.syx", "notes.txt"})
            rig.write(name, "x");
        QVERIFY(::mkfifo(QFile::encodeName(rig.dir.filePath("pipe.syx")), 0600) == 0);
        // A name that is not UTF-8: shown with a replacement character, opened by its bytes.
        const PatchRecord pad = MakeRecord("Pad", 1, 2);
        FILE* odd = std::fopen(QFile::encodeName(rig.dir.path()) + "/odd\xFF.syx", "wb");
        QVERIFY(odd && std::fwrite(pad.data(), 1, pad.size(), odd) == pad.size());
        std::fclose(odd);
        rig.files->RefreshFileList();
        QCOMPARE(rig.listed(), (QStringList{"a.syx", "b.SYX", QString::fromUtf8("odd\uFFFD.syx")}));
        QCOMPARE(rig.buttons(), QStringLiteral("0001"));
        rig.files->selectFile(2);
        rig.ui.cmdLoadInMatrix->click();
        QCOMPARE(rig.matrix.at(At("B-3")), pad);
        rig.prompter.answers.enqueue(true);  // and the delete zone deletes it
        emit rig.window.droppedOnDeleteZone(DragSource::Files);
        QCOMPARE(rig.prompter.shown.size(), 1);
        QCOMPARE(rig.listed(), (QStringList{"a.syx", "b.SYX"}));

        const QRect line = rig.ui.File1->visualRect(rig.ui.File1->model()->index(1, 0));
        QTest::mouseClick(rig.ui.File1->viewport(), Qt::LeftButton, {}, line.center());
        QCOMPARE(rig.buttons(), QStringLiteral("1111"));
        QCOMPARE(rig.files->selectedFilePath(), rig.dir.filePath("b.SYX"));
        QFile::remove(rig.dir.filePath("b.SYX"));
        rig.files->RefreshFileList();
        QCOMPARE(rig.buttons(), QStringLiteral("0001"));
        QCOMPARE(rig.files->selectedFilePath(), QString());

        // A folder whose name is longer than the tree is wide is shown whole.
        const QString deep = rig.dir.filePath(QString(60, 'd') + " even deeper");
        QDir().mkpath(deep);
        rig.window.show();
        rig.files->setFolder(deep);
        QCOMPARE(rig.ui.Dir1->toolTip(), deep);
        QTRY_VERIFY(rig.ui.Dir1->columnWidth(0) >
                    rig.ui.Dir1->fontMetrics().horizontalAdvance(QString(60, 'd')));
    }

    void listFollowsTheDiskAndKeepsTheSelection() {
        Rig rig;
        rig.write("keep.syx", "x");
        rig.write("old.syx", "x");
        rig.select("keep.syx");
        rig.write("new.syx", "x");
        QFile::rename(rig.dir.filePath("old.syx"), rig.dir.filePath("renamed.syx"));
        QTRY_COMPARE(rig.listed(), (QStringList{"keep.syx", "new.syx", "renamed.syx"}));
        QCOMPARE(rig.files->selectedFileName(), QStringLiteral("keep.syx"));
        QFile::remove(rig.dir.filePath("keep.syx"));
        QTRY_COMPARE(rig.listed(), (QStringList{"new.syx", "renamed.syx"}));
        QVERIFY(!rig.files->hasSelectedFile());
        QCOMPARE(rig.buttons(), QStringLiteral("0001"));
    }

    void browserReopensInTheLastFolderShown() {
        QTemporaryDir place;
        QSettings settings(place.filePath("settings.ini"), QSettings::IniFormat);
        const QString last = place.filePath("last");
        QDir().mkpath(last);
        {
            Rig rig;
            rig.files->rememberFolderIn(settings);
            rig.files->setFolder(last);
        }
        {
            Rig rig;
            rig.files->rememberFolderIn(settings);
            QCOMPARE(rig.files->folder(), last);
        }
        QDir(last).removeRecursively();
        Rig rig;
        rig.files->rememberFolderIn(settings);
        QCOMPARE(rig.files->folder(), QDir::cleanPath(rig.dir.path()));
    }

    void filesDroppedFromAFileManager() {
        Rig rig;
        const PatchRecord a = MakeRecord("A", 1, 2), b = MakeRecord("B", 3, 4);
        const QUrl one = QUrl::fromLocalFile(rig.write("one.SYX", a));
        const QUrl two = QUrl::fromLocalFile(rig.write("two.syx", b));
        const QUrl text = QUrl::fromLocalFile(rig.write("notes.txt", a));
        rig.window.show();
        QTableView* grid = rig.ui.FlexGrid1;
        const QPoint cell = grid->visualRect(grid->model()->index(0, 0)).center();
        // "Move" from a file manager is taken as a copy: the file stays where it is.
        QVERIFY(Drop(grid->viewport(), cell, {one, text, two}, Qt::ShiftModifier));
        QTRY_VERIFY(rig.matrix.at(At("B-3")) == a && rig.matrix.at(At("D-5")) == b);
        QCOMPARE(rig.librarian.library().patchCount(), std::size_t(0));
        const PatchRecord c = MakeRecord("C", 5, 6);
        QVERIFY(
            Drop(rig.ui.List1->viewport(), {5, 5}, {QUrl::fromLocalFile(rig.write("c.syx", c))}));
        QTRY_COMPARE(rig.ui.List1->count(), 1);
        QVERIFY(rig.matrix.isEmpty(At("F-7")));
        QVERIFY(!Drop(rig.ui.List1->viewport(), {5, 5}, {text}));
        QVERIFY(!Drop(rig.ui.Image1, {5, 5}, {one}));
        QVERIFY(QFile::exists(one.toLocalFile()));
    }
};

QTEST_MAIN(FileBrowserTest)
#include "test_filebrowser.moc"
