// The subsystems meet only through the main window's signals and the Librarian, so whatever
// order they are installed in, each command still reaches the one that owns it.

#include <QtTest>

#include <QTemporaryDir>
#include <algorithm>
#include <functional>

#include "banktools/BankTools.h"
#include "editing/InstallEditing.h"
#include "export/InstallExport.h"
#include "export/frmExport.h"
#include "midi/InstallMidi.h"
#include "midi/MidiLink.h"
#include "midi/MidiTransfers.h"
#include "shell/frmMain.h"
#include "support/FakeMidiPorts.h"
#include "support/MainUi.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"
#include "sysexfiles/InstallSysexFiles.h"
#include "sysexfiles/SysexFileCommands.h"
#include "update/InstallUpdate.h"

using namespace zanq;
using test::At;

namespace {
using Install = void (*)(frmMain&, AppContext&);
const std::vector<std::pair<const char*, Install>> kSubsystems = {
    {"files", InstallSysexFiles},
    {"banks", InstallBankTools},
    {"editing", InstallEditing},
    {"midi", [](frmMain& window, AppContext& context) { InstallMidi(window, context); }},
    {"transfers", InstallMidiTransfers},
    {"export", InstallExport},
};

// A whole program over fake ports, its subsystems installed in the given order.
struct WholeProgram {
    QTemporaryDir folder;
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    test::ScriptedPrompter prompter;
    test::FakeMidiPorts* ports = new test::FakeMidiPorts;  // owned by the link
    MidiLink midi{std::unique_ptr<MidiPorts>(ports)};
    AppContext context{librarian, prompter, folder.path(), [](const QUrl&) {}, &midi};
    frmMain window{context};

    explicit WholeProgram(const QStringList& order) {
        ports->setPorts({"DeepMind12 MIDI in"}, {"DeepMind12 MIDI out"});
        for (const QString& name : order)
            for (const auto& [known, install] : kSubsystems)
                if (name == QLatin1String(known))
                    install(window, context);
        window.show();
    }

    void pressOn(Slot slot) {
        auto* grid = test::Ui(window).FlexGrid1;
        const QModelIndex cell = test::Ui(window).gridModel->indexOf(slot);
        grid->scrollTo(cell);
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    }
};
}  // namespace

class WiringTest : public QObject {
    Q_OBJECT
private slots:
    void anyInstallOrderWorks_data() {
        QTest::addColumn<QStringList>("order");
        QStringList order;
        for (const auto& [name, install] : kSubsystems)
            order << QString::fromLatin1(name);
        QTest::newRow("as the program does") << order;
        std::reverse(order.begin(), order.end());
        QTest::newRow("reversed") << order;
        std::rotate(order.begin(), order.begin() + 2, order.end());
        QTest::newRow("rotated") << order;
    }
    void anyInstallOrderWorks() {
        QFETCH(QStringList, order);
        WholeProgram p(order);
        QVERIFY(QTest::qWaitForWindowExposed(&p.window));
        const PatchRecord pad = test::MakeRecord("Pad", 0, 4, 7);
        p.librarian.apply(pad, LoadTarget::Matrix);

        // A grid patch dropped on MIDI OUT reaches the MIDI link, after its question.
        p.pressOn(At("A-5"));
        p.prompter.answers << true;
        emit p.window.droppedOnMidiOut(DragSource::Grid);
        QTRY_COMPARE(p.ports->sent().size(), std::size_t(1));
        QCOMPARE(p.ports->sent()[0].bytes, pad);

        // A double click on an empty slot asks the synth for it; on a filled one it opens Export
        // Patch, whose send button follows detection.
        emit p.window.emptySlotDoubleClicked(At("H-128"));
        QTRY_COMPARE(p.ports->sent().size(), std::size_t(2));
        QCOMPARE(p.ports->sent()[1].bytes, p.dialect.programDumpRequest(At("H-128")));
        emit p.window.filledSlotDoubleClicked(At("A-5"));
        frmExport* exporter = FindExportWindow(p.window);
        QVERIFY(exporter->isVisible());
        QTRY_VERIFY(exporter->cmdSendToMidi->isEnabled());  // once detection has run
        exporter->close();

        // A file dropped on the grid is loaded by the file browser; the grid shows it.
        QFile file(p.folder.filePath("one.syx"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(test::MakeRecord("Filed", 2, 9)));
        file.close();
        auto* files = p.window.findChild<SysexFileCommands*>();
        files->RefreshFileList();
        files->selectFile(0);
        emit p.window.droppedOnGrid(DragSource::Files, At("A-1"));
        QCOMPARE(test::Ui(p.window).gridModel->cellText(At("C-10")), QStringLiteral("Filed"));

        // Writing a file tells the file list.
        p.window.announceFilesChanged();
        QCOMPARE(files->fileCount(), 1);
        QVERIFY(!files->hasSelectedFile());
    }
};

QTEST_MAIN(WiringTest)
#include "test_wiring.moc"
