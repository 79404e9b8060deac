// The file pane in the main window: what File1 lists and how it follows the disk, the Load
// commands and what the window shows while they run, drops from a file manager, and the Save
// window.

#include <sys/stat.h>

#include <QtTest>
#include <QtWidgets>
#include <cstdio>

#include "model/DeepMindDialect.h"
#include "model/LibraryListWidget.h"
#include "shell/ClickableLabel.h"
#include "shell/frmMain.h"
#include "support/MainUi.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"
#include "sysexfiles/InstallSysexFiles.h"
#include "sysexfiles/SysexFileCommands.h"
#include "sysexfiles/frmSauver.h"

using namespace zanq;
using test::At;
using test::MakeRecord;

namespace {
// A main window with the file pane installed, browsing a fresh scratch folder.
struct Rig {
    QTemporaryDir dir;
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    const Matrix& matrix = librarian.matrix();
    test::ScriptedPrompter prompter;
    AppContext context{librarian, prompter, dir.path()};
    frmMain window{context};
    test::MainUi ui{window};
    SysexFileCommands* files = nullptr;

    Rig() {
        InstallSysexFiles(window, context);
        files = window.findChild<SysexFileCommands*>();
    }
    QString write(const QString& name, const std::string& bytes) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes.data(), qint64(bytes.size()));
        return file.fileName();
    }
    void select(const QString& name) {
        files->RefreshFileList();
        for (int i = 0; i < files->fileCount(); ++i)
            if (files->fileNameAt(i) == name)
                files->selectFile(i);
    }
    QStringList listed() const {
        QStringList names;
        for (int i = 0; i < files->fileCount(); ++i)
            names << files->fileNameAt(i);
        return names;
    }
    QString buttons() const {
        QString s;
        for (QPushButton* b :
             {ui.cmdLoadInMatrix, ui.cmdLoadPatchlist, ui.cmdLoadPatchListMatrix, ui.cmdLoadAll})
            s += b->isEnabled() ? '1' : '0';
        return s;
    }
    void waitForLoad() { QTRY_VERIFY_WITH_TIMEOUT(!files->isLoading(), 20000); }
    QString count() const { return ui.StatusPanel[1]->text(); }
};

// Runs a check whenever the watched widget is shown.
struct OnShow : QObject {
    std::function<void()> check;
    OnShow(QWidget* widget, std::function<void()> c) : check(std::move(c)) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            check();
        return false;
    }
};

std::string Series(const std::string& prefix, int bank, int n, int seed = 0) {
    std::string bytes;
    for (int p = 0; p < n; ++p)
        bytes += MakeRecord(prefix + std::to_string(p), bank, p, seed);
    return bytes;
}

// A file manager's drop; Shift held proposes a move.
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

class SysexFilesTest : public QObject {
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

    void singleFileLoadsRunOnTheEventLoop() {
        Rig rig;
        std::string big;  // names N0..N127 over and over, several slices long
        for (int i = 0; big.size() < 3 * SysexLoadRun::kSliceBytes; ++i)
            big += Series("N", i % 8, 128, i);
        rig.write("big.syx", big);
        rig.select("big.syx");
        // What the window looks like when the progress bar appears, and how far the bar moves.
        bool listHidden = false, fileListDisabled = false, busy = false;
        rig.window.show();
        OnShow probe(rig.ui.ProgressBar1, [&] {
            listHidden = rig.ui.List1->isHidden();
            fileListDisabled = !rig.ui.File1->isEnabled();
            busy = QApplication::overrideCursor() != nullptr;
        });
        QSet<int> steps;
        connect(rig.ui.ProgressBar1, &QProgressBar::valueChanged, [&](int v) { steps << v; });
        rig.ui.cmdLoadInMatrix->click();
        QVERIFY(rig.files->isLoading());
        QCOMPARE(rig.buttons(), QStringLiteral("0000"));
        // Neither another Load command nor a dropped file starts a load inside this one.
        rig.files->cmdLoadPatchlist_clicked();
        rig.files->loadDroppedFiles({rig.dir.filePath("big.syx")}, true, true);
        rig.waitForLoad();
        QVERIFY(!listHidden && fileListDisabled && busy && steps.size() > 2);
        QCOMPARE(rig.matrix.CountMatrixPatches(), 1024);
        QCOMPARE(rig.librarian.library().patchCount(), std::size_t(0));
        QVERIFY(rig.ui.File1->isEnabled() && rig.ui.ProgressBar1->isHidden());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(rig.buttons(), QStringLiteral("1111"));

        for (int twice = 0; twice < 2; ++twice) {
            rig.ui.cmdLoadPatchlist->click();
            rig.waitForLoad();
            QVERIFY(listHidden && !rig.ui.List1->isHidden());
            QCOMPARE(rig.count(), QStringLiteral("Patches in library : 128"));
        }
        QVERIFY(rig.prompter.shown.isEmpty());

        // A double click loads into both; a blank name stays out of the Library, a bad bank or
        // program byte out of both (only Pad is a new line).
        const PatchRecord pad = MakeRecord("Pad", 2, 6), blank = MakeRecord("", 0, 0);
        PatchRecord badBank = MakeRecord("BadBank", 0, 3), badProgram = MakeRecord("BadProg", 0, 4);
        badBank[8] = 8;
        badProgram[9] = static_cast<char>(0x80);
        rig.write("one.syx", pad + blank + badBank + badProgram);
        rig.files->RefreshFileList();
        const QRect line = rig.ui.File1->visualRect(rig.ui.File1->model()->index(1, 0));
        QTest::mouseClick(rig.ui.File1->viewport(), Qt::LeftButton, {}, line.center());
        QTest::mouseDClick(rig.ui.File1->viewport(), Qt::LeftButton, {}, line.center());
        rig.waitForLoad();
        QVERIFY(rig.matrix.at(At("C-7")) == pad && rig.matrix.at(At("A-1")) == blank);
        QCOMPARE(rig.ui.List1->count(), 128 + 1);
    }

    void loadAllCarriesOnPastAnUnreadableFile() {
        Rig rig;
        rig.write("1.syx", Series("X", 0, 50) + Series("Y", 1, 10));
        rig.write("2.syx", Series("X", 2, 60));
        rig.write("3.syx", "\xF7\xF7 junk");
        rig.write("4.syx", Series("Z", 3, 5));
        rig.write("5.syx", "");
        rig.files->RefreshFileList();
        // After the listing, one file vanishes and one turns into a pipe nobody writes to.
        QFile::remove(rig.dir.filePath("3.syx"));
        QFile::remove(rig.dir.filePath("5.syx"));
        QVERIFY(::mkfifo(QFile::encodeName(rig.dir.filePath("5.syx")), 0600) == 0);
        bool browserLocked = true;
        QStringList loading;  // the selected file whenever the bar appears
        rig.window.show();
        OnShow probe(rig.ui.ProgressBar1, [&] {
            loading << rig.files->selectedFileName();
            browserLocked &= !rig.ui.Dir1->isEnabled() && !rig.ui.Drive1->isEnabled() &&
                             !rig.ui.File1->isEnabled() && rig.ui.List1->isHidden();
        });
        rig.ui.cmdLoadAll->click();
        rig.waitForLoad();
        QCOMPARE(loading, (QStringList{"1.syx", "2.syx", "4.syx"}));
        QVERIFY(browserLocked && rig.ui.Dir1->isEnabled() && rig.ui.File1->isEnabled());
        QVERIFY(!rig.ui.List1->isHidden());
        QCOMPARE(rig.librarian.library().patchCount(), std::size_t(60 + 10 + 5));
        QCOMPARE(rig.matrix.CountMatrixPatches(), 0);
        QCOMPARE(rig.prompter.shown.size(), 2);
        QVERIFY(rig.prompter.shown[0].text.contains("3.syx"));
        QVERIFY(rig.prompter.shown[1].text.contains("5.syx"));
        // The pipe left the list once the load had ended.
        QTRY_COMPARE(rig.listed(), (QStringList{"1.syx", "2.syx", "4.syx"}));
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

    void saveWindowShowsTheNameItWrites() {
        Rig rig;
        frmSauver* save = nullptr;
        QTimer::singleShot(0, [&] {
            save = rig.window.findChild<frmSauver*>();
            QVERIFY(save && save->isModal() && save->isVisible());
            save->close();
        });
        rig.ui.mnuSave->trigger();
        QCOMPARE(save->windowTitle(), QStringLiteral("Save"));
        QVERIFY(!save->cmdSauve->isEnabled());
        QVERIFY(save->Option1[kSaveNothing]->isChecked() &&
                save->Option1[kSaveNothing]->isHidden());
        QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d{4}$")
                    .match(save->txtFilename->text())
                    .hasMatch());

        rig.librarian.apply(MakeRecord("C", 2, 0), LoadTarget::Matrix);
        QTimer::singleShot(0, [&] { save->close(); });
        rig.ui.cmdSauver->click();
        QCOMPARE(save->selectedOption(), 3);
        QVERIFY(save->cmdSauve->isEnabled() && !save->Option1[1]->isEnabled());
        save->txtFilename->setText("../up");
        QCOMPARE(save->txtSavedAs->text(), QStringLiteral(".._up - BANK_C.syx"));
        QCOMPARE(save->txtFolder->text(), rig.dir.path());
        save->Option1[kSaveAllBanks]->setChecked(true);
        QCOMPARE(save->txtSavedAs->text(), QStringLiteral("ALL - .._up.syx"));
        save->cmdSauve->click();
        QVERIFY(!save->cmdSauve->isEnabled());
        QTRY_VERIFY(save->cmdSauve->isEnabled());
        QVERIFY(QFile::exists(rig.dir.filePath("ALL - .._up.syx")));
    }

    void savedFilesLoadBackAndShowInTheList() {
        Rig rig;
        rig.write("src.syx", Series("A", 0, 3) + Series("C", 2, 128) + Series("H", 7, 1));
        rig.select("src.syx");
        rig.ui.cmdLoadPatchListMatrix->click();
        rig.waitForLoad();
        frmSauver save(rig.window, rig.context, *rig.files);
        save.Prepare(QDateTime(QDate(2024, 5, 1), QTime(9, 30)));
        QCOMPARE(save.selectedOption(), kSaveLibrary);
        const Matrix before = rig.matrix;
        for (int option = 0; option <= kSaveAllBanks; ++option) {
            if (!save.Option1[static_cast<std::size_t>(option)]->isEnabled())
                continue;
            save.Option1[static_cast<std::size_t>(option)]->setChecked(true);
            save.cmdSauve->click();
            QTRY_VERIFY(save.cmdSauve->isEnabled());
        }
        QVERIFY(rig.prompter.shown.isEmpty());
        const QStringList names = rig.listed();
        QCOMPARE(names, (QStringList{"2024-05-01 0930 - BANK_A.syx", "2024-05-01 0930 - BANK_C.syx",
                                     "2024-05-01 0930 - BANK_H.syx", "ALL - 2024-05-01 0930.syx",
                                     "Patchlist - 2024-05-01 0930.syx", "src.syx"}));
        for (const QString& name : names.mid(0, 5)) {
            test::TestLibrarian fresh;
            fresh.librarian.loadFile(QFile::encodeName(rig.dir.filePath(name)), LoadTarget::Matrix);
            for (int i = 0; i < Bank::kCount * Program::kCount; ++i) {
                const Slot slot = Slot::fromIndex(i);
                const bool inFile =
                    !name.contains("BANK_") || name.contains(QString("BANK_") + slot.bank.letter());
                QCOMPARE(fresh.librarian.at(slot), inFile ? before.at(slot) : PatchRecord());
            }
        }

        // A folder that cannot be written: one message naming the file.
        rig.context.programFolder = rig.write("plain-file", "x");
        save.Option1[kSaveSeparateBanks]->setChecked(true);
        save.cmdSauve->click();
        QTRY_COMPARE(rig.prompter.shown.size(), 1);
        QVERIFY(rig.prompter.shown[0].text.contains("plain-file/2024-05-01 0930 - BANK_A.syx"));
    }
};

QTEST_MAIN(SysexFilesTest)
#include "test_sysexfiles.moc"
