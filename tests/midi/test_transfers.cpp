// Sending and receiving over the in-process fake ports: the patch question on MIDI OUT, bank
// runs in both directions with their captions, skips, stops and judging of replies, closing a
// run window mid-run, and the grid's double click.

#include <QtTest>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <optional>

#include "editing/EditingCommands.h"
#include "editing/InstallEditing.h"
#include "export/InstallExport.h"
#include "export/frmExport.h"
#include "midi/FakeMidiBackend.h"
#include "midi/InstallMidi.h"
#include "midi/MidiTransfers.h"
#include "midi/ProgramExchange.h"
#include "midi/frmBankSend.h"
#include "midi/frmMidiReceive.h"
#include "midi/modMIDI.h"
#include "model/MatrixGridModel.h"
#include "shell/frmMain.h"
#include "support/GridClicks.h"
#include "support/Records.h"
#include "support/ScriptedPrompter.h"

using namespace zanq;

namespace {

// Fake ports with a synth behind them: every program dump request that goes out is answered
// at once with whatever answer() gives (nothing when it gives nothing).
class AnsweringPorts : public FakeMidiBackend {
public:
    std::function<std::optional<std::string>(int bank, int program)> answer;
    std::vector<std::pair<int, int>> requests;

    MidiCode sendLongMessage(std::string_view message) override {
        const MidiCode code = FakeMidiBackend::sendLongMessage(message);
        if (code == 0 && message.size() == 10 && message.substr(0, 7) == kRequestHead) {
            const int bank = message[7];
            const int program = message[8];
            requests.emplace_back(bank, program);
            if (answer)
                if (auto reply = answer(bank, program))
                    receive(*reply);
        }
        return code;
    }

private:
    static constexpr std::string_view kRequestHead{"\xF0\x00\x20\x32\x20\x00\x01", 7};
};

std::optional<std::string> FromMemory(int bank, int program) {
    return test::MakeRecord("Got " + BankLetter(bank + 1) + FormatProgram(program + 1), bank,
                            program, bank * 128 + program);
}

std::vector<std::string> Messages(const FakeMidiBackend& ports) {
    std::vector<std::string> out;
    for (const auto& [port, message] : ports.sent)
        out.push_back(message);
    return out;
}

template <typename Window>
bool Discarded(const QPointer<Window>& window) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window.isNull();
}

}  // namespace

class TransfersTest : public QObject {
    Q_OBJECT
    std::unique_ptr<PatchStores> stores;
    test::ScriptedPrompter prompter;
    std::unique_ptr<AnsweringPorts> ports;
    std::unique_ptr<modMIDI> midi;
    std::unique_ptr<AppContext> context;
    std::unique_ptr<frmMain> main;

    template <typename Window>
    Window* openedWindow() {
        auto* window = main->findChild<Window*>();
        return window && window->isVisible() && window->isModal() ? window : nullptr;
    }

private slots:
    void init() {
        stores = std::make_unique<PatchStores>();
        prompter.shown.clear();
        prompter.answers.clear();
        ports = std::make_unique<AnsweringPorts>();
        ports->outputs = {"Midi Through", "DeepMind12 MIDI in"};
        ports->inputs = {"DeepMind12 MIDI out"};
        midi = std::make_unique<modMIDI>(*ports, prompter);
        context = std::make_unique<AppContext>(AppContext{*stores, prompter, QDir::tempPath()});
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
        main.reset();
        midi.reset();
    }

    void patchDroppedOnMidiOutIsSentAfterYes() {
        const PatchRecord pad = test::MakeRecord("Warm Pad", 0, 0, 1);
        stores->matrix.set(1, 1, pad);
        stores->DragCol = 1;
        stores->DragRow = 1;
        auto* editing = main->findChild<EditingCommands*>();
        prompter.answers << false << true;
        editing->cmdMIDI_OUT_dropped(QStringLiteral("FlexGrid1"));
        QVERIFY(ports->sent.empty());
        editing->cmdMIDI_OUT_dropped(QStringLiteral("FlexGrid1"));
        QCOMPARE(Messages(*ports), std::vector<std::string>{pad});
        QCOMPARE(ports->sent[0].first, 1u);  // the port detection chose
        QCOMPARE(prompter.shown.size(), 2);
        QCOMPARE(
            prompter.shown[1].text,
            QStringLiteral("Do you want to send this matrix patch : \rBank A-001: Warm Pad ?"));
        QCOMPARE(prompter.shown[1].title, QStringLiteral("Midi Send Patch"));
        QCOMPARE(prompter.shown[1].icon, QMessageBox::Question);

        // Library lines and files are not sent from the MIDI OUT button.
        editing->cmdMIDI_OUT_dropped(QStringLiteral("List1"));
        editing->cmdMIDI_OUT_dropped(QStringLiteral("File1"));
        QCOMPARE(prompter.shown.size(), 2);
    }

    void bankSendGoesBankByBankSkippingEmptySlots() {
        std::vector<std::string> expected;
        for (int p : {6, 7, 128})
            stores->matrix.set(1, p, test::MakeRecord("A" + std::to_string(p), 0, p - 1, p));
        stores->matrix.set(2, 1, test::MakeRecord("Unticked", 1, 0));
        stores->matrix.set(3, 17, test::MakeRecord("C17", 2, 16, 9));
        for (auto [b, p] : {std::pair{1, 6}, {1, 7}, {1, 128}, {3, 17}})
            expected.push_back(stores->matrix.at(b, p));

        QStringList captions;
        bool enabledDuringRun = false;
        frmBankSend window(main.get(), stores->matrix, *midi, [&] {
            captions << window.cmdMidiSend->text();
            enabledDuringRun |= window.cmdMidiSend->isEnabled();
        });
        QCOMPARE(window.windowTitle(), QStringLiteral("Midi Bank Send"));
        QCOMPARE(window.chkBank[3]->text(), QStringLiteral("Bank C"));
        window.cmdMidiSend->click();  // nothing ticked
        QVERIFY(ports->sent.empty());

        window.chkBank[1]->setChecked(true);
        window.chkBank[3]->setChecked(true);
        window.cmdMidiSend->click();
        QCOMPARE(Messages(*ports), expected);
        QCOMPARE(captions, QStringList({"Sending Bank A-006 ...", "Sending Bank A-007 ...",
                                        "Sending Bank A-128 ...", "Sending Bank C-017 ..."}));
        QVERIFY(!enabledDuringRun);
        QVERIFY(window.cmdMidiSend->isEnabled());
        QCOMPARE(window.cmdMidiSend->text(), QStringLiteral("SEND"));
        QVERIFY(prompter.shown.isEmpty());
    }

    void bankSendStopsOnceThePortDoesNotOpen() {
        for (int p = 1; p <= 5; ++p)
            stores->matrix.set(2, p, test::MakeRecord("B", 1, p - 1, p));
        frmBankSend window(main.get(), stores->matrix, *midi, [] {});
        window.chkBank[2]->setChecked(true);
        ports->failStep(MidiStep::OutOpen, 4, "port busy");
        window.cmdMidiSend->click();
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].text, QStringLiteral("Operation: MIDI OUT OPEN\r\nport busy"));
        QCOMPARE(std::count(ports->calls.begin(), ports->calls.end(), MidiStep::OutOpen), 1);

        // Other failures leave the port openable: the run reports each and goes on.
        prompter.shown.clear();
        ports->healStep(MidiStep::OutOpen);
        ports->failStep(MidiStep::OutLongMessage, 5, "refused");
        window.cmdMidiSend->click();
        QCOMPARE(prompter.shown.size(), 5);
        QCOMPARE(window.cmdMidiSend->text(), QStringLiteral("SEND"));
    }

    void bankSendWindowClosedMidRunStopsAfterTheMessage() {
        for (int p = 1; p <= 20; ++p)
            stores->matrix.set(1, p, test::MakeRecord("A", 0, p - 1, p));
        main->cmdMIDI_OUT->click();
        QPointer<frmBankSend> window = openedWindow<frmBankSend>();
        QVERIFY(window);
        window->chkBank[1]->setChecked(true);
        QTimer::singleShot(0, window, [window] { window->close(); });
        window->cmdMidiSend->click();
        QCOMPARE(ports->sent.size(), std::size_t(1));
        QVERIFY(Discarded(window));
    }

    void receivedRepliesAreJudgedAndStoredWhereTheySay() {
        const PatchRecord old3 = test::MakeRecord("Old three", 1, 2);
        const PatchRecord old4 = test::MakeRecord("Old four", 1, 3);
        stores->matrix.set(2, 3, old3);
        stores->matrix.set(2, 4, old4);
        ports->answer = [](int bank, int program) -> std::optional<std::string> {
            std::string reply = *FromMemory(bank, program);
            switch (program) {
                case 2:  // names another slot
                    return *FromMemory(3, 49);
                case 3:  // one byte short
                    return reply.erase(100, 1);
                case 4:  // bank byte out of range
                    reply[8] = 8;
                    return reply;
                case 5:  // longer than the buffer: cut at 300 bytes
                    return reply.insert(200, 60, '\x01');
                default:
                    return reply;
            }
        };
        QStringList captions;
        bool enabledDuringRun = false;
        frmMidiReceive* shown = nullptr;
        ProgramExchange exchange(*midi, stores->matrix, [&] {
            const QString text = shown->cmdMidiReceive->text();
            if (captions.isEmpty() || captions.last() != text)
                captions << text;
            enabledDuringRun |= shown->cmdMidiReceive->isEnabled();
        });
        frmMidiReceive window(main.get(), exchange, prompter);
        shown = &window;
        QCOMPARE(window.windowTitle(), QStringLiteral("MIDI Receive"));
        window.chkBank[2]->setChecked(true);
        window.cmdMidiReceive->click();

        QCOMPARE(captions.size(), 128);
        QCOMPARE(captions.front(), QStringLiteral("RECEIVING Bank B - 001"));
        QCOMPARE(captions.back(), QStringLiteral("RECEIVING Bank B - 128"));
        QVERIFY(!enabledDuringRun);
        QCOMPARE(ports->requests.size(), std::size_t(128));
        QCOMPARE(ports->requests.front(), std::pair(1, 0));
        QCOMPARE(ports->requests.back(), std::pair(1, 127));
        QVERIFY(prompter.shown.isEmpty());
        QVERIFY(stores->matrix.at(4, 50) == *FromMemory(3, 49));
        QVERIFY(stores->matrix.at(2, 3) == old3);
        QVERIFY(stores->matrix.at(2, 4) == old4);
        QVERIFY(stores->matrix.isEmpty(2, 5));
        QVERIFY(stores->matrix.isEmpty(2, 6));
        QVERIFY(stores->matrix.at(2, 1) == *FromMemory(1, 0));
        QVERIFY(stores->matrix.at(2, 128) == *FromMemory(1, 127));
        QCOMPARE(stores->matrix.CountBankPatches(2), 128 - 2);  // slots 5 and 6 stay empty
        QCOMPARE(main->gridModel->cellText(2, 128), QStringLiteral("Got B128"));
        QCOMPARE(window.cmdMidiReceive->text(), QStringLiteral("RECEIVE"));
        QVERIFY(window.cmdMidiReceive->isEnabled());
        QCOMPARE(midi->MidiInIsOpen(), modMIDI::kClosed);
    }
    void noReplyStopsTheRunAfterTheFirstRequest() {
        main->cmdMIDI_IN->click();
        QPointer<frmMidiReceive> window = openedWindow<frmMidiReceive>();
        QVERIFY(window);
        window->chkBank[1]->setChecked(true);
        window->chkBank[2]->setChecked(true);
        window->cmdMidiReceive->click();
        QCOMPARE(ports->requests.size(), std::size_t(1));
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].text, kNoMidiDataMessage);
        QCOMPARE(prompter.shown[0].title, QStringLiteral("Zanq"));
        QCOMPARE(prompter.shown[0].icon, QMessageBox::NoIcon);
        QCOMPARE(window->cmdMidiReceive->text(), QStringLiteral("RECEIVE"));
        QVERIFY(window->cmdMidiReceive->isEnabled());

        // An input port that does not open catches nothing: its own message, then the stop.
        prompter.shown.clear();
        ports->answer = FromMemory;
        ports->failStep(MidiStep::InOpen, 2, "no such port");
        window->cmdMidiReceive->click();
        QCOMPARE(prompter.shown.size(), 2);
        QCOMPARE(prompter.shown[0].text, QStringLiteral("Operation: MIDI IN OPEN\r\nno such port"));
        QCOMPARE(prompter.shown[1].text, kNoMidiDataMessage);
        QCOMPARE(stores->matrix.CountMatrixPatches(), 0);
    }

    void receiveWindowClosedMidRunKeepsWhatCameIn() {
        ports->answer = FromMemory;
        main->cmdMIDI_IN->click();
        QPointer<frmMidiReceive> window = openedWindow<frmMidiReceive>();
        window->chkBank[8]->setChecked(true);
        QTimer::singleShot(0, window, [window] { window->close(); });
        window->cmdMidiReceive->click();
        QCOMPARE(ports->requests.size(), std::size_t(1));
        QVERIFY(stores->matrix.at(8, 1) == *FromMemory(7, 0));
        QVERIFY(prompter.shown.isEmpty());
        QVERIFY(Discarded(window));
        QCOMPARE(midi->MidiInIsOpen(), modMIDI::kClosed);
    }

    void doubleClickFetchesAnEmptySlotAndExportsAFilledOne() {
        test::DoubleClickCell(main->FlexGrid1, 5, 10);  // nobody answers
        QCOMPARE(ports->requests, (std::vector<std::pair<int, int>>{{4, 9}}));
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].text, QStringLiteral("No Midi Data Received..."));
        QCOMPARE(prompter.shown[0].icon, QMessageBox::Information);
        QVERIFY(!FindExportWindow(*main)->isVisible());

        ports->answer = FromMemory;
        test::DoubleClickCell(main->FlexGrid1, 5, 10);
        QVERIFY(stores->matrix.at(5, 10) == *FromMemory(4, 9));
        QCOMPARE(prompter.shown.size(), 1);
        QVERIFY(!FindExportWindow(*main)->isVisible());

        // Now filled: the Export window opens on that slot and nothing is requested.
        ports->sent.clear();
        test::DoubleClickCell(main->FlexGrid1, 5, 10);
        frmExport* exportWindow = FindExportWindow(*main);
        QVERIFY(exportWindow->isVisible());
        QVERIFY(exportWindow->isModal());
        QCOMPARE(exportWindow->cmbBank->currentText(), QStringLiteral("E"));
        QCOMPARE(exportWindow->cmbPatch->currentText(), QStringLiteral("010"));
        QCOMPARE(exportWindow->txtName->text(), QStringLiteral("Got E010"));
        QVERIFY(stores->ExportPatch == stores->matrix.at(5, 10));
        QVERIFY(ports->sent.empty());
    }
};

QTEST_MAIN(TransfersTest)
#include "test_transfers.moc"
