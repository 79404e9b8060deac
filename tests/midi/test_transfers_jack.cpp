// Sending, receiving and exporting end to end over a JACK server with the simulated DeepMind,
// through the main window's own commands: what arrives in the synth's memory byte for byte,
// what comes back into the Matrix, and how runs end when the synth misbehaves or goes away.

#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include "editing/EditingCommands.h"
#include "editing/InstallEditing.h"
#include "export/InstallExport.h"
#include "export/frmExport.h"
#include "midi/DeepMindDetector.h"
#include "midi/InstallMidi.h"
#include "midi/MidiTransfers.h"
#include "midi/RtMidiBackend.h"
#include "midi/frmBankSend.h"
#include "midi/frmMidiReceive.h"
#include "midi/modMIDI.h"
#include "shell/frmMain.h"
#include "support/DeepMindSim.h"
#include "support/GridClicks.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"

using namespace zanq;

namespace {

constexpr qsizetype kMemorySize = 8 * 128 * 291;

QByteArray SlotOf(const QByteArray& memory, int bankNumber, int slot) {
    return memory.mid(((bankNumber - 1) * 128 + slot - 1) * 291, 291);
}

std::string SimName(int bankNumber, int slot) {
    return "SIM " + MatrixPlace(bankNumber, slot).substr(5);
}

}  // namespace

class TransfersJackTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> scratch;
    std::unique_ptr<PatchStores> stores;
    test::ScriptedPrompter prompter;
    std::unique_ptr<RtMidiBackend> ports;
    std::unique_ptr<modMIDI> midi;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<frmMain> main;
    test::DeepMindSim sim;

    QString memoryFile() const { return scratch->filePath(QStringLiteral("memory.syx")); }

    // Starts the synth (saving its memory to memoryFile()) and lets detection find it.
    // A synth of our own even when another test's synth is on the same server.
    bool startSim(QStringList options = {}) {
        const std::string client =
            "DeepMind12 t" + std::to_string(QCoreApplication::applicationPid());
        options << QStringLiteral("--save") << memoryFile() << QStringLiteral("--client")
                << QString::fromStdString(client);
        if (!sim.start(options))
            return false;
        FindDeepMindDetector(*main)->DetectDeepMind();
        const auto find = [&client](const std::vector<std::string>& names) {
            for (std::size_t i = 0; i < names.size(); ++i)
                if (names[i].find(client) != std::string::npos)
                    return static_cast<int>(i);
            return -1;
        };
        const int out = find(ports->outputPortNames());
        const int in = find(ports->inputPortNames());
        if (out < 0 || in < 0)
            return false;
        midi->SetMidiOutDevice(static_cast<std::uint32_t>(out));
        midi->SetMidiInDevice(static_cast<std::uint32_t>(in));
        return main->cmdMIDI_OUT->isEnabled() && main->cmdMIDI_IN->isEnabled();
    }

    QByteArray savedMemory() {
        if (!sim.save())
            return {};
        QFile file(memoryFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList simSaid(const QString& start) {
        return sim.lines().filter(QRegularExpression("^" + start));
    }

    template <typename Window>
    Window* open(QPushButton* button) {
        button->click();
        auto* window = main->findChild<Window*>();
        return window && window->isVisible() ? window : nullptr;
    }

private slots:
    void initTestCase() {
        if (!test::DeepMindSim::JackServerRunning())
            QSKIP("needs a running JACK server; test.sh starts one");
    }

    void init() {
        scratch = std::make_unique<QTemporaryDir>();
        stores = std::make_unique<PatchStores>();
        prompter.shown.clear();
        prompter.answers.clear();
        ports = std::make_unique<RtMidiBackend>("ZANQ Test");
        midi = std::make_unique<modMIDI>(*ports, prompter);
        context = std::make_unique<AppContext>(AppContext{*stores, prompter, scratch->path()});
        context->midi = midi.get();
        main = std::make_unique<frmMain>(*context);
        main->Timer1->stop();
        InstallEditing(*main, *context);
        InstallMidi(*main, *context);
        InstallMidiTransfers(*main, *context);
        InstallExport(*main, *context);
        main->show();
    }
    void cleanup() {
        sim.stop();
        main.reset();
        midi.reset();
        ports.reset();
    }

    void droppedPatchGoesOnlyAfterYes() {
        QVERIFY(startSim());
        const PatchRecord pad = test::MakeRecord("Warm Pad", 0, 0, 11);
        stores->matrix.set(1, 1, pad);
        stores->DragCol = 1;
        stores->DragRow = 1;
        auto* editing = main->findChild<EditingCommands*>();
        prompter.answers << false << true;
        editing->cmdMIDI_OUT_dropped(QStringLiteral("FlexGrid1"));
        editing->cmdMIDI_OUT_dropped(QStringLiteral("FlexGrid1"));
        QTRY_COMPARE(simSaid("stored"), QStringList{"stored A-001"});
        QCOMPARE(SlotOf(savedMemory(), 1, 1), QByteArray::fromStdString(pad));
        QCOMPARE(simSaid("stored"), QStringList{"stored A-001"});  // the No sent nothing
        QCOMPARE(prompter.shown.size(), 2);
    }

    void bankSendArrivesInOrderByteForByte() {
        QVERIFY(startSim());
        std::vector<std::pair<int, int>> filled{{1, 1}, {1, 3}, {1, 128}, {3, 2}, {3, 64}};
        for (auto [b, p] : filled)
            stores->matrix.set(b, p,
                               test::MakeRecord("Send " + MatrixPlace(b, p), b - 1, p - 1, p));
        stores->matrix.set(2, 1, test::MakeRecord("Unticked", 1, 0));
        auto* window = open<frmBankSend>(main->cmdMIDI_OUT);
        QVERIFY(window);
        window->chkBank[1]->setChecked(true);
        window->chkBank[3]->setChecked(true);
        window->cmdMidiSend->click();
        QTRY_COMPARE(simSaid("stored").size(), 5);
        QCOMPARE(simSaid("stored"), QStringList({"stored A-001", "stored A-003", "stored A-128",
                                                 "stored C-002", "stored C-064"}));
        const QByteArray memory = savedMemory();
        QCOMPARE(memory.size(), kMemorySize);
        for (auto [b, p] : filled)
            QVERIFY(SlotOf(memory, b, p) == QByteArray::fromStdString(stores->matrix.at(b, p)));
        QVERIFY(prompter.shown.isEmpty());
        QCOMPARE(window->cmdMidiSend->text(), QStringLiteral("SEND"));
    }

    void bankReceiveFillsABank() {
        QVERIFY(startSim());
        stores->matrix.set(4, 7, test::MakeRecord("Replaced", 3, 6));
        auto* window = open<frmMidiReceive>(main->cmdMIDI_IN);
        QVERIFY(window);
        window->chkBank[4]->setChecked(true);
        window->cmdMidiReceive->click();
        QVERIFY(prompter.shown.isEmpty());
        QCOMPARE(stores->matrix.CountBankPatches(4), 128);
        QCOMPARE(stores->matrix.CountMatrixPatches(), 128);
        const QByteArray memory = savedMemory();
        for (int p = 1; p <= 128; ++p) {
            QCOMPARE(GetPatchName(stores->matrix.at(4, p)), SimName(4, p));
            QVERIFY(SlotOf(memory, 4, p) == QByteArray::fromStdString(stores->matrix.at(4, p)));
        }
        QTRY_COMPARE(simSaid("request").size(), 128);
        QCOMPARE(window->cmdMidiReceive->text(), QStringLiteral("RECEIVE"));
    }

    void doubleClickFetchesAnEmptySlotWhereTheReplySays() {
        QVERIFY(startSim());
        test::DoubleClickCell(main->FlexGrid1, 5, 10);
        QCOMPARE(GetPatchName(stores->matrix.at(5, 10)), SimName(5, 10));
        QVERIFY(prompter.shown.isEmpty());
        QVERIFY(!FindExportWindow(*main)->isVisible());

        sim.stop();
        QVERIFY(startSim({QStringLiteral("--fault"), QStringLiteral("other-slot")}));
        test::DoubleClickCell(main->FlexGrid1, 5, 20);
        QVERIFY(stores->matrix.isEmpty(5, 20));
        QCOMPARE(GetPatchName(stores->matrix.at(5, 21)), SimName(5, 21));
        QVERIFY(prompter.shown.isEmpty());
    }

    void garbageRepliesAreDroppedAndTheRunGoesOn() {
        QVERIFY(startSim({QStringLiteral("--fault"), QStringLiteral("short")}));
        auto* window = open<frmMidiReceive>(main->cmdMIDI_IN);
        window->chkBank[2]->setChecked(true);
        window->cmdMidiReceive->click();
        QTRY_COMPARE(simSaid("request").size(), 128);
        QCOMPARE(stores->matrix.CountMatrixPatches(), 0);
        QVERIFY(prompter.shown.isEmpty());
    }

    void noReplyStopsAfterTheFirstRequest() {
        QVERIFY(startSim({QStringLiteral("--fault"), QStringLiteral("silent")}));
        auto* window = open<frmMidiReceive>(main->cmdMIDI_IN);
        window->chkBank[1]->setChecked(true);
        window->chkBank[2]->setChecked(true);
        window->cmdMidiReceive->click();
        QTRY_COMPARE(simSaid("request"), QStringList{"request A-001"});
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].text, kNoMidiDataMessage);
        QCOMPARE(midi->MidiInIsOpen(), modMIDI::kClosed);

        test::DoubleClickCell(main->FlexGrid1, 8, 128);
        QCOMPARE(prompter.shown.size(), 2);
        QCOMPARE(prompter.shown[1].text, kNoMidiDataShort);
        QCOMPARE(prompter.shown[1].icon, QMessageBox::Information);
    }

    void synthVanishingMidRunEndsRunsWithMessages() {
        QVERIFY(startSim({QStringLiteral("--vanish-after"), QStringLiteral("3")}));
        auto* receive = open<frmMidiReceive>(main->cmdMIDI_IN);
        receive->chkBank[1]->setChecked(true);
        receive->cmdMidiReceive->click();
        QVERIFY(sim.waitForLine(QStringLiteral("vanished")));
        QCOMPARE(stores->matrix.CountMatrixPatches(), 3);
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].text, kNoMidiDataMessage);
        receive->close();

        // The output port is gone too. The layer sends to the port number detection chose;
        // when no port has that number any more, the bank send says so once and stops.
        prompter.shown.clear();
        auto* send = open<frmBankSend>(main->cmdMIDI_OUT);
        send->chkBank[1]->setChecked(true);
        send->cmdMidiSend->click();
        QCOMPARE(send->cmdMidiSend->text(), QStringLiteral("SEND"));
        if (midi->MidiOutDevice() >= ports->outputPortNames().size()) {
            QCOMPARE(prompter.shown.size(), 1);
            QVERIFY2(
                prompter.shown[0].text.startsWith(QStringLiteral("Operation: MIDI OUT OPEN\r\n")),
                qPrintable(prompter.shown[0].text));
        }
        QVERIFY(prompter.shown.size() <= 1);
    }

    void closingTheWindowStopsTheRun() {
        QVERIFY(startSim({QStringLiteral("--latency"), QStringLiteral("20")}));
        QPointer<frmMidiReceive> window = open<frmMidiReceive>(main->cmdMIDI_IN);
        for (int b = 1; b <= 8; ++b)
            window->chkBank[b]->setChecked(true);
        QTimer::singleShot(300, window, [window] { window->close(); });
        window->cmdMidiReceive->click();
        const int received = stores->matrix.CountMatrixPatches();
        QVERIFY2(received > 0 && received < 128, qPrintable(QString::number(received)));
        QTRY_COMPARE(simSaid("request").size(), received);
        QVERIFY(prompter.shown.isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
    }

    void exportSentElsewhereChangesOnlyBankAndProgramBytes() {
        QVERIFY(startSim());
        const PatchRecord pad = test::MakeRecord("Export Pad", 0, 4, 21);
        stores->matrix.set(1, 5, pad);
        test::DoubleClickCell(main->FlexGrid1, 1, 5);
        frmExport* window = FindExportWindow(*main);
        QVERIFY(window->isVisible());
        QVERIFY(window->cmdSendToMidi->isEnabled());
        window->cmbBank->setCurrentIndex(6);
        window->cmbPatch->setCurrentIndex(99);
        window->cmdSendToMidi->click();
        QTRY_COMPARE(simSaid("stored"), QStringList{"stored G-100"});
        const QByteArray arrived = SlotOf(savedMemory(), 7, 100);
        QCOMPARE(arrived.size(), qsizetype(291));
        for (qsizetype i = 0; i < 291; ++i)
            if (i != 8 && i != 9)
                QCOMPARE(arrived[i], pad[static_cast<std::size_t>(i)]);
        QCOMPARE(int(arrived[8]), 6);
        QCOMPARE(int(arrived[9]), 99);
        QVERIFY(stores->matrix.at(1, 5) == pad);
        QVERIFY(stores->matrix.isEmpty(7, 100));
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(TransfersJackTest)
#include "test_transfers_jack.moc"
