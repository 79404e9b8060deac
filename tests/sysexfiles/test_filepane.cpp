// The file pane in the main window: File1 following the disk, dropped files, loads on the event
// loop, Load all past unreadable files, and the Save window.

#include <sys/stat.h>

#include <QtWidgets>

#include "support/MainRig.h"
#include "sysexfiles/InstallSysexFiles.h"
#include "sysexfiles/frmSauver.h"

using namespace zanq;
using namespace zanq::test;

namespace {
struct Rig : MainRig {
    Rig() : MainRig({InstallSysexFiles}) {}
    // The four Load buttons, 1 for enabled.
    QString buttons() const {
        QString s;
        for (QPushButton* b :
             {ui.cmdLoadInMatrix, ui.cmdLoadPatchlist, ui.cmdLoadPatchListMatrix, ui.cmdLoadAll})
            s += b->isEnabled() ? '1' : '0';
        return s;
    }
    void waitForLoad() const { QTRY_VERIFY_WITH_TIMEOUT(!files()->isLoading(), 20000); }
    void click(int fileRow, bool twice = false) const {
        const QPoint at = test::ClickIndex(ui.File1, ui.File1->model()->index(fileRow, 0));
        if (twice)
            QTest::mouseDClick(ui.File1->viewport(), Qt::LeftButton, {}, at);
    }
    // Runs a check whenever the progress bar is shown.
    struct OnShow : QObject {
        std::function<void()> check;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Show)
                check();
            return false;
        }
    } onShow;
    void whenLoading(std::function<void()> check) {
        onShow.check = std::move(check);
        ui.ProgressBar1->installEventFilter(&onShow);
        window.show();
    }
};

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

class FilePaneTest : public QObject {
    Q_OBJECT
private slots:
    void listFollowsTheDiskAndGuardsTheLoadButtons() {
        Rig rig;
        QCOMPARE(rig.buttons(), QStringLiteral("0000"));
        for (const char* name : {"b.SYX", "keep.syx", "notes.txt"})
            rig.write(name, "x");
        // A name that is not UTF-8: shown with a replacement character, opened by its bytes.
        const PatchRecord pad = MakeRecord("Pad", 1, 2);
        FILE* odd = std::fopen(QFile::encodeName(rig.dir.path()) + "/odd\xFF.syx", "wb");
        QVERIFY(odd && std::fwrite(pad.data(), 1, pad.size(), odd) == pad.size());
        std::fclose(odd);
        const QString shownOdd = QString::fromUtf8("odd\uFFFD.syx");
        QTRY_COMPARE(rig.listed(), (QStringList{"b.SYX", "keep.syx", shownOdd}));
        QCOMPARE(rig.buttons(), QStringLiteral("0001"));
        rig.files()->selectFile(2);
        rig.ui.cmdLoadInMatrix->click();
        rig.waitForLoad();
        QCOMPARE(rig.librarian.at(At("B-3")), pad);
        rig.prompter.answers << true << true;  // and the delete zone deletes it
        emit rig.window.droppedOnDeleteZone(DragSource::Files);
        QCOMPARE(rig.listed(), (QStringList{"b.SYX", "keep.syx"}));
        // A file that is already gone is told once; the list and its selection stay.
        rig.click(0);
        QFile::remove(rig.dir.filePath("b.SYX"));
        emit rig.window.droppedOnDeleteZone(DragSource::Files);
        QCOMPARE(rig.prompter.shown.size(), 3);
        QVERIFY(!rig.prompter.shown[2].question && rig.prompter.shown[2].text.contains("b.SYX"));
        QCOMPARE(rig.files()->selectedFileName(), QStringLiteral("b.SYX"));
        QCOMPARE(rig.listed(), (QStringList{"b.SYX", "keep.syx"}));

        // The folder is watched: the list follows and keeps its selection while it can.
        rig.click(1);
        QCOMPARE(rig.buttons(), QStringLiteral("1111"));
        QCOMPARE(rig.files()->selectedFilePath(), rig.dir.filePath("keep.syx"));
        rig.write("new.syx", "x");
        QFile::rename(rig.dir.filePath("notes.txt"), rig.dir.filePath("renamed.syx"));
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
        const QString last = place.filePath(QString(60, 'd') + " even deeper");
        QDir().mkpath(last);
        const auto opened = [&] {
            auto rig = std::make_unique<Rig>();
            rig->files()->rememberFolderIn(settings);
            return rig;
        };
        const auto where = [](const Rig& rig) {
            const QString folder = rig.files()->folder();
            return folder == QDir::cleanPath(rig.dir.path()) ? QStringLiteral("own") : folder;
        };
        {
            auto rig = opened();
            QCOMPARE(where(*rig), QStringLiteral("own"));
            // A folder name longer than the tree is wide is shown whole.
            rig->window.show();
            rig->files()->setFolder(last);
            QCOMPARE(rig->ui.Dir1->toolTip(), last);
            QTRY_VERIFY(rig->ui.Dir1->columnWidth(0) >
                        rig->ui.Dir1->fontMetrics().horizontalAdvance(QString(60, 'd')));
        }
        QCOMPARE(where(*opened()), last);
        QDir(last).removeRecursively();
        QCOMPARE(where(*opened()), QStringLiteral("own"));
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

    void singleFileLoadsRunOnTheEventLoop() {
        Rig rig;
        std::string big;  // names N001..N128 over and over, several slices long
        for (int i = 0; big.size() < 3 * SysexLoadRun::kSliceBytes; ++i)
            big += Series("N", i % 8 + 1, 128, i);
        rig.write("big.syx", big);
        rig.select("big.syx");
        bool listHidden = false, fileListDisabled = false, busy = false;
        rig.whenLoading([&] {
            listHidden = rig.ui.List1->isHidden();
            fileListDisabled = !rig.ui.File1->isEnabled();
            busy = QApplication::overrideCursor() != nullptr;
        });
        QSet<int> steps;
        connect(rig.ui.ProgressBar1, &QProgressBar::valueChanged, [&](int v) { steps << v; });
        rig.ui.cmdLoadInMatrix->click();
        QVERIFY(rig.files()->isLoading());
        QCOMPARE(rig.buttons(), QStringLiteral("0000"));
        // Neither another Load command nor a dropped file starts a load inside this one.
        rig.files()->cmdLoadPatchlist_clicked();
        rig.files()->loadDroppedFiles({rig.dir.filePath("big.syx")}, true, true);
        rig.waitForLoad();
        QVERIFY(!listHidden && fileListDisabled && busy && steps.size() > 2);
        QCOMPARE(rig.librarian.matrix().CountMatrixPatches(), 1024);
        QCOMPARE(rig.librarian.library().patchCount(), std::size_t(0));
        QVERIFY(rig.ui.File1->isEnabled() && rig.ui.ProgressBar1->isHidden());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(rig.buttons(), QStringLiteral("1111"));
        rig.ui.cmdLoadPatchlist->click();
        rig.waitForLoad();
        QVERIFY(listHidden && !rig.ui.List1->isHidden());
        QCOMPARE(rig.ui.StatusPanel[1]->text(), QStringLiteral("Patches in library : 128"));

        // A double click loads into both.
        const PatchRecord pad = MakeRecord("Pad", 2, 6);
        rig.write("one.syx", pad);
        rig.files()->RefreshFileList();
        rig.click(1, true);
        rig.waitForLoad();
        QVERIFY(rig.librarian.at(At("C-7")) == pad);
        QCOMPARE(rig.ui.List1->count(), 128 + 1);
        QVERIFY(rig.prompter.shown.isEmpty());
    }

    void loadAllCarriesOnPastAnUnreadableFile() {
        Rig rig;
        rig.write("1.syx", Series("X", 1, 50) + Series("Y", 2, 10));
        rig.write("2.syx", Series("X", 3, 60));
        rig.write("3.syx", "\xF7\xF7 junk");
        rig.write("4.syx", Series("Z", 4, 5));
        rig.write("5.syx", "");
        rig.files()->RefreshFileList();
        // After the listing, one file vanishes and one turns into a pipe nobody writes to.
        QFile::remove(rig.dir.filePath("3.syx"));
        QFile::remove(rig.dir.filePath("5.syx"));
        QVERIFY(::mkfifo(QFile::encodeName(rig.dir.filePath("5.syx")), 0600) == 0);
        bool browserLocked = true;
        QStringList loading;  // the selected file whenever the bar appears
        rig.whenLoading([&] {
            loading << rig.files()->selectedFileName();
            browserLocked &= !rig.ui.Dir1->isEnabled() && !rig.ui.Drive1->isEnabled() &&
                             !rig.ui.File1->isEnabled() && rig.ui.List1->isHidden();
        });
        rig.ui.cmdLoadAll->click();
        rig.waitForLoad();
        QCOMPARE(loading, (QStringList{"1.syx", "2.syx", "4.syx"}));
        QVERIFY(browserLocked && rig.ui.Dir1->isEnabled() && rig.ui.File1->isEnabled());
        QVERIFY(!rig.ui.List1->isHidden());
        QCOMPARE(rig.librarian.library().patchCount(), std::size_t(60 + 10 + 5));
        QCOMPARE(rig.librarian.matrix().CountMatrixPatches(), 0);
        QCOMPARE(rig.prompter.shown.size(), 2);
        QVERIFY(rig.prompter.shown[0].text.contains("3.syx"));
        QVERIFY(rig.prompter.shown[1].text.contains("5.syx"));
        // The pipe left the list once the load had ended.
        QTRY_COMPARE(rig.listed(), (QStringList{"1.syx", "2.syx", "4.syx"}));
    }

    void saveWindowWritesUnderSafeNames() {
        Rig rig;
        frmSauver* save = nullptr;
        QTimer::singleShot(0, [&] {
            save = rig.window.findChild<frmSauver*>();
            QVERIFY(save && save->isModal() && save->isVisible());
            save->close();
        });
        rig.ui.mnuSave->trigger();
        QVERIFY(!save->cmdSauve->isEnabled());
        QVERIFY(save->Option1[kSaveNothing]->isChecked() &&
                save->Option1[kSaveNothing]->isHidden());
        QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d{4}$")
                    .match(save->txtFilename->text())
                    .hasMatch());

        rig.write("src.syx", Series("A", 1, 3) + Series("C", 3, 128));
        rig.select("src.syx");
        rig.ui.cmdLoadPatchListMatrix->click();
        rig.waitForLoad();
        save->Prepare(QDateTime(QDate(2024, 5, 1), QTime(9, 30)));
        QCOMPARE(save->selectedOption(), kSaveLibrary);
        QVERIFY(save->cmdSauve->isEnabled() && !save->Option1[2]->isEnabled());
        save->cmdSauve->click();
        QTRY_VERIFY(save->cmdSauve->isEnabled());
        save->Option1[kSaveSeparateBanks]->setChecked(true);
        save->txtFilename->setText("x/../up");
        QCOMPARE(save->txtSavedAs->text(),
                 QStringLiteral("x_.._up - BANK_A.syx; x_.._up - BANK_C.syx"));
        QCOMPARE(save->txtFolder->text(), rig.dir.path());
        save->cmdSauve->click();
        QVERIFY(!save->cmdSauve->isEnabled());
        QTRY_VERIFY(save->cmdSauve->isEnabled());
        QVERIFY(rig.prompter.shown.isEmpty());
        QCOMPARE(rig.listed(), (QStringList{"Patchlist - 2024-05-01 0930.syx", "src.syx",
                                            "x_.._up - BANK_A.syx", "x_.._up - BANK_C.syx"}));
        // The library in the order it was added: here, the source file as it was.
        QCOMPARE(ReadWholeFile(rig.dir.filePath("Patchlist - 2024-05-01 0930.syx")),
                 ReadWholeFile(rig.dir.filePath("src.syx")));

        // A folder that cannot be written: one message naming the file.
        rig.context.programFolder = rig.write("plain-file", "x");
        save->cmdSauve->click();
        QTRY_COMPARE(rig.prompter.shown.size(), 1);
        QVERIFY(rig.prompter.shown[0].text.contains("plain-file/x_.._up - BANK_A.syx"));
    }
};

QTEST_MAIN(FilePaneTest)
#include "test_filepane.moc"
