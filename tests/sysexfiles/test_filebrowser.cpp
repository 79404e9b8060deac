// The file pane's lists: what File1 shows and how it follows the disk, the folder it reopens in,
// and .syx files dropped from a file manager.

#include "FilesRig.h"

using namespace zanq;
using namespace zanq::test;

namespace {
// A file manager's drop; Shift held proposes a move. Whether it was taken as a copy.
bool Drop(QWidget* target, QPoint pos, const QList<QUrl>& urls,
          Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QMimeData mime;
    mime.setUrls(urls);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(pos, actions, &mime, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(pos, actions, &mime, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(target, &drop);
    return enter.isAccepted() && drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}
}  // namespace

class FileBrowserTest : public QObject {
    Q_OBJECT
private slots:
    void browserListsFilesAndGuardsTheLoadButtons() {
        Rig rig;
        QCOMPARE(rig.files()->folder(), QDir::cleanPath(rig.dir.path()));
        QCOMPARE(rig.buttons(), QStringLiteral("0000"));
        for (const char* name : {"b.SYX", "a.syx", "notes.txt"})
            rig.write(name, "x");
        // A name that is not UTF-8: shown with a replacement character, opened by its bytes.
        const PatchRecord pad = MakeRecord("Pad", 1, 2);
        FILE* odd = std::fopen(QFile::encodeName(rig.dir.path()) + "/odd\xFF.syx", "wb");
        QVERIFY(odd && std::fwrite(pad.data(), 1, pad.size(), odd) == pad.size());
        std::fclose(odd);
        rig.files()->RefreshFileList();
        QCOMPARE(rig.listed(), (QStringList{"a.syx", "b.SYX", QString::fromUtf8("odd\uFFFD.syx")}));
        QCOMPARE(rig.buttons(), QStringLiteral("0001"));
        rig.files()->selectFile(2);
        rig.ui.cmdLoadInMatrix->click();
        rig.waitForLoad();
        QCOMPARE(rig.librarian.at(At("B-3")), pad);
        rig.prompter.answers.enqueue(true);  // and the delete zone deletes it
        emit rig.window.droppedOnDeleteZone(DragSource::Files);
        QCOMPARE(rig.listed(), (QStringList{"a.syx", "b.SYX"}));

        rig.click(1);
        QCOMPARE(rig.buttons(), QStringLiteral("1111"));
        QCOMPARE(rig.files()->selectedFilePath(), rig.dir.filePath("b.SYX"));
        QFile::remove(rig.dir.filePath("b.SYX"));
        rig.files()->RefreshFileList();
        QCOMPARE(rig.buttons(), QStringLiteral("0001"));
        QCOMPARE(rig.files()->selectedFilePath(), QString());

        // A folder whose name is longer than the tree is wide is shown whole.
        const QString deep = rig.dir.filePath(QString(60, 'd') + " even deeper");
        QDir().mkpath(deep);
        rig.window.show();
        rig.files()->setFolder(deep);
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
        QCOMPARE(rig.files()->selectedFileName(), QStringLiteral("keep.syx"));
        QFile::remove(rig.dir.filePath("keep.syx"));
        QTRY_COMPARE(rig.listed(), (QStringList{"new.syx", "renamed.syx"}));
        QVERIFY(!rig.files()->hasSelectedFile());
        QCOMPARE(rig.buttons(), QStringLiteral("0001"));
    }

    void browserReopensInTheLastFolderShown() {
        QTemporaryDir place;
        QSettings settings(place.filePath("settings.ini"), QSettings::IniFormat);
        const QString last = place.filePath("last");
        QDir().mkpath(last);
        const auto reopened = [&](const QString& show) {
            Rig rig;
            rig.files()->rememberFolderIn(settings);
            const QString folder = rig.files()->folder();
            if (!show.isEmpty())
                rig.files()->setFolder(show);
            return folder == QDir::cleanPath(rig.dir.path()) ? QStringLiteral("own") : folder;
        };
        QCOMPARE(reopened(last), QStringLiteral("own"));
        QCOMPARE(reopened({}), last);
        QDir(last).removeRecursively();
        QCOMPARE(reopened({}), QStringLiteral("own"));
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
        QTRY_VERIFY(rig.librarian.at(At("B-3")) == a && rig.librarian.at(At("D-5")) == b);
        QCOMPARE(rig.librarian.library().patchCount(), std::size_t(0));
        const QUrl c = QUrl::fromLocalFile(rig.write("c.syx", MakeRecord("C", 5, 6)));
        QVERIFY(Drop(rig.ui.List1->viewport(), {5, 5}, {c}));
        QTRY_COMPARE(rig.ui.List1->count(), 1);
        QVERIFY(rig.librarian.isEmpty(At("F-7")));
        QVERIFY(!Drop(rig.ui.List1->viewport(), {5, 5}, {text}));
        QVERIFY(!Drop(rig.ui.Image1, {5, 5}, {one}));
        QVERIFY(QFile::exists(one.toLocalFile()));
    }
};

QTEST_MAIN(FileBrowserTest)
#include "test_filebrowser.moc"
