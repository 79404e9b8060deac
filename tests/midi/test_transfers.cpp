// Sending and receiving over the in-process fake ports: bank runs in both directions with
// their captions, skips, stops and judging of replies, closing a send window mid-run, and the
// double click's own stop message.

#include <QtTest>

#include <optional>

#include "midi/FakeMidiBackend.h"
#include "midi/ProgramExchange.h"
#include "model/MatrixGridModel.h"
#include "support/GridClicks.h"
#include "support/MainUi.h"

using namespace zanq;
using zanq::test::At;

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
            requests.emplace_back(message[7], message[8]);
            if (answer)
                if (auto reply = answer(message[7], message[8]))
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

}  // namespace

class TransfersTest : public QObject {
    Q_OBJECT
    std::unique_ptr<AnsweringPorts> ports;
    std::unique_ptr<test::WiredMain> app;

    const Matrix& matrix() { return app->librarian.matrix(); }
    QList<test::ShownPrompt>& shown() { return app->prompter.shown; }
    template <typename Window>
    Window* openedWindow(QPushButton* button) {
        button->click();
        auto* window = app->window.findChild<Window*>();
        return window && window->isVisible() && window->isModal() ? window : nullptr;
    }

private slots:
    void init() {
        ports = std::make_unique<AnsweringPorts>();
        ports->outputs = {"Midi Through", "DeepMind12 MIDI in"};
        ports->inputs = {"DeepMind12 MIDI out"};
        app = std::make_unique<test::WiredMain>(*ports, QDir::tempPath());
    }
    void cleanup() { app.reset(); }

    void bankSendGoesBankByBankSkippingEmptySlots() {
        for (int p : {6, 7, 128})
            app->librarian.place(At(1, p), test::MakeRecord("A" + std::to_string(p), 0, p - 1, p));
        app->librarian.place(At(2, 1), test::MakeRecord("Unticked", 1, 0));
        app->librarian.place(At(3, 17), test::MakeRecord("C17", 2, 16, 9));

        QStringList captions;
        bool enabledDuringRun = false;
        frmBankSend window(&app->window, matrix(), app->midi, [&] {
            captions << window.cmdMidiSend->text();
            enabledDuringRun |= window.cmdMidiSend->isEnabled();
        });
        QCOMPARE(window.windowTitle(), QStringLiteral("Midi Bank Send"));
        window.cmdMidiSend->click();  // nothing ticked
        QVERIFY(ports->sent.empty());

        window.chkBank[1]->setChecked(true);
        window.chkBank[3]->setChecked(true);
        window.cmdMidiSend->click();
        QCOMPARE(ports->sent.size(), std::size_t(4));  // their bytes: the JACK test
        QCOMPARE(captions, QStringList({"Sending Bank A-006 ...", "Sending Bank A-007 ...",
                                        "Sending Bank A-128 ...", "Sending Bank C-017 ..."}));
        QVERIFY(!enabledDuringRun);
        QVERIFY(window.cmdMidiSend->isEnabled());
        QCOMPARE(window.cmdMidiSend->text(), QStringLiteral("SEND"));
        QVERIFY(shown().isEmpty());

        // An output port that does not open stops the run after one message.
        ports->calls.clear();
        ports->failStep(MidiStep::OutOpen, 4, "port busy");
        window.cmdMidiSend->click();
        QCOMPARE(shown().size(), 1);
        QCOMPARE(shown()[0].text, QStringLiteral("Operation: MIDI OUT OPEN\r\nport busy"));
        QCOMPARE(std::count(ports->calls.begin(), ports->calls.end(), MidiStep::OutOpen), 1);

        // Other failures leave the port openable: the run reports each and goes on.
        shown().clear();
        ports->healStep(MidiStep::OutOpen);
        ports->failStep(MidiStep::OutLongMessage, 5, "refused");
        window.cmdMidiSend->click();
        QCOMPARE(shown().size(), 4);
        QCOMPARE(window.cmdMidiSend->text(), QStringLiteral("SEND"));
    }

    void bankSendWindowClosedMidRunStopsAfterTheMessage() {
        for (int p = 1; p <= 20; ++p)
            app->librarian.place(At(1, p), test::MakeRecord("A", 0, p - 1, p));
        QPointer<frmBankSend> window = openedWindow<frmBankSend>(test::Ui(app->window).cmdMIDI_OUT);
        QVERIFY(window);
        window->chkBank[1]->setChecked(true);
        QTimer::singleShot(0, window, [window] { window->close(); });
        window->cmdMidiSend->click();
        QCOMPARE(ports->sent.size(), std::size_t(1));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
    }

    void receivedRepliesAreJudgedAndStoredWhereTheySay() {
        const PatchRecord old3 = test::MakeRecord("Old three", 1, 2);
        app->librarian.place(At(2, 3), old3);
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
                default:
                    return reply;
            }
        };
        QStringList captions;
        bool enabledDuringRun = false;
        frmMidiReceive* window = nullptr;
        ProgramExchange exchange(app->midi, app->librarian, [&] {
            if (captions.isEmpty() || captions.last() != window->cmdMidiReceive->text())
                captions << window->cmdMidiReceive->text();
            enabledDuringRun |= window->cmdMidiReceive->isEnabled();
        });
        frmMidiReceive dialog(&app->window, exchange, app->prompter);
        window = &dialog;
        QCOMPARE(window->windowTitle(), QStringLiteral("MIDI Receive"));
        window->chkBank[2]->setChecked(true);
        window->cmdMidiReceive->click();

        QCOMPARE(captions.size(), 128);
        QCOMPARE(captions.front(), QStringLiteral("RECEIVING Bank B - 001"));
        QCOMPARE(captions.back(), QStringLiteral("RECEIVING Bank B - 128"));
        QVERIFY(!enabledDuringRun);
        QCOMPARE(ports->requests.size(), std::size_t(128));
        QVERIFY(shown().isEmpty());
        QVERIFY(matrix().at(At("D-50")) == *FromMemory(3, 49));
        QVERIFY(matrix().at(At("B-3")) == old3);  // the other slot's reply left it alone
        QVERIFY(matrix().isEmpty(At("B-4")) && matrix().isEmpty(At("B-5")));
        QCOMPARE(matrix().CountBankPatches(Bank::fromNumber(2)), 128 - 2);
        QVERIFY(matrix().at(At("B-1")) == *FromMemory(1, 0));
        QCOMPARE(test::Ui(app->window).gridModel->cellText(At("B-128")),
                 QStringLiteral("Got B128"));
        QCOMPARE(window->cmdMidiReceive->text(), QStringLiteral("RECEIVE"));
        QVERIFY(window->cmdMidiReceive->isEnabled());
        QCOMPARE(app->midi.MidiInIsOpen(), modMIDI::kClosed);
    }

    void inputPortThatDoesNotOpenTellsThenStops() {
        auto* window = openedWindow<frmMidiReceive>(test::Ui(app->window).cmdMIDI_IN);
        QVERIFY(window);
        window->chkBank[1]->setChecked(true);
        window->chkBank[2]->setChecked(true);
        ports->answer = FromMemory;
        ports->failStep(MidiStep::InOpen, 2, "no such port");
        window->cmdMidiReceive->click();
        QCOMPARE(ports->requests.size(), std::size_t(1));
        QCOMPARE(shown().size(), 2);
        QCOMPARE(shown()[0].text, QStringLiteral("Operation: MIDI IN OPEN\r\nno such port"));
        QCOMPARE(shown()[1].text, kNoMidiDataMessage);
        QCOMPARE(matrix().CountMatrixPatches(), 0);
    }

    void doubleClickOnAnEmptySlotWithoutReplySaysSo() {
        test::DoubleClickCell(test::Ui(app->window).FlexGrid1, At("E-10"));
        QCOMPARE(ports->requests, (std::vector<std::pair<int, int>>{{4, 9}}));
        QCOMPARE(shown().size(), 1);
        QCOMPARE(shown()[0].text, kNoMidiDataMessage);
        QCOMPARE(shown()[0].icon, QMessageBox::Information);
        QVERIFY(!FindExportWindow(app->window)->isVisible());
    }
};

QTEST_MAIN(TransfersTest)
#include "test_transfers.moc"
