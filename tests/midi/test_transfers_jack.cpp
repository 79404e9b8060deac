// Sending, receiving and exporting end to end over a JACK server with the simulated DeepMind,
// through the main window's own commands: what arrives in the synth's memory byte for byte,
// what comes back into the Matrix, and how runs end when the synth misbehaves or goes away.

#include <QtTest>

#include <QTemporaryDir>

#include "midi/RtMidiBackend.h"
#include "support/DeepMindSim.h"
#include "support/GridClicks.h"
#include "support/MainUi.h"

using namespace zanq;
using zanq::test::At;

namespace {

QByteArray SlotOf(const QByteArray& memory, int bankNumber, int slot) {
    return memory.mid(((bankNumber - 1) * 128 + slot - 1) * 291, 291);
}

std::string SimName(int bankNumber, int slot) {
    return "SIM " + At(bankNumber, slot).text();
}

}  // namespace

class TransfersJackTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> scratch;
    std::unique_ptr<RtMidiBackend> ports;
    std::unique_ptr<test::WiredMain> app;
    test::DeepMindSim sim;

    const Matrix& matrix() { return app->librarian.matrix(); }
    QList<test::ShownPrompt>& shown() { return app->prompter.shown; }
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
        FindDeepMindDetector(app->window)->DetectDeepMind();
        const auto find = [&client](const std::vector<std::string>& names) {
            std::uint32_t i = 0;
            while (i < names.size() && names[i].find(client) == std::string::npos)
                ++i;
            return i;
        };
        app->midi.SetMidiOutDevice(find(ports->outputPortNames()));
        app->midi.SetMidiInDevice(find(ports->inputPortNames()));
        return test::Ui(app->window).cmdMIDI_OUT->isEnabled() &&
               test::Ui(app->window).cmdMIDI_IN->isEnabled();
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
    // Opens a run window from its button with these banks ticked.
    template <typename Window>
    Window* open(QPushButton* button, std::initializer_list<int> banks) {
        button->click();
        auto* window = app->window.findChild<Window*>();
        if (!window || !window->isVisible())
            return nullptr;
        for (int b : banks)
            window->chkBank[b]->setChecked(true);
        return window;
    }
    frmMidiReceive* receive(std::initializer_list<int> banks) {
        auto* window = open<frmMidiReceive>(test::Ui(app->window).cmdMIDI_IN, banks);
        if (window)
            window->cmdMidiReceive->click();
        return window;
    }

private slots:
    void initTestCase() {
        if (!test::DeepMindSim::JackServerRunning())
            QSKIP("needs a running JACK server; test.sh starts one");
    }
    void init() {
        scratch = std::make_unique<QTemporaryDir>();
        ports = std::make_unique<RtMidiBackend>("ZANQ Test");
        app = std::make_unique<test::WiredMain>(*ports, scratch->path());
    }
    void cleanup() {
        sim.stop();
        app.reset();
        ports.reset();
    }

    // A full-speed run of a bank and a half: every message whole, in order, gaps skipped.
    void bankSendArrivesInOrderByteForByte() {
        QVERIFY(startSim());
        std::vector<std::pair<int, int>> filled;
        for (int p = 1; p <= 128; ++p)
            if (p != 2)
                filled.push_back({1, p});
        filled.insert(filled.end(), {{3, 2}, {3, 64}});
        QStringList stored;
        for (auto [b, p] : filled) {
            app->librarian.place(At(b, p),
                                 test::MakeRecord("Send " + At(b, p).place(), b - 1, p - 1, p));
            stored << QString::fromStdString("stored " + At(b, p).place().substr(5));
        }
        app->librarian.place(At(2, 1), test::MakeRecord("Unticked", 1, 0));
        auto* window = open<frmBankSend>(test::Ui(app->window).cmdMIDI_OUT, {1, 3});
        QVERIFY(window);
        window->cmdMidiSend->click();
        QTRY_COMPARE_WITH_TIMEOUT(simSaid("stored").size(), stored.size(), 10000);
        QCOMPARE(simSaid("stored"), stored);
        QVERIFY(simSaid("ignored").isEmpty());
        const QByteArray memory = savedMemory();
        QCOMPARE(memory.size(), qsizetype(8 * 128 * 291));
        for (auto [b, p] : filled)
            QVERIFY(SlotOf(memory, b, p) == QByteArray::fromStdString(matrix().at(At(b, p))));
        QVERIFY(shown().isEmpty());
    }

    void bankReceiveFillsABank() {
        QVERIFY(startSim());
        app->librarian.place(At(4, 7), test::MakeRecord("Replaced", 3, 6));
        auto* window = receive({4});
        QVERIFY(window);
        QVERIFY(shown().isEmpty());
        QCOMPARE(matrix().CountMatrixPatches(), 128);
        const QByteArray memory = savedMemory();
        for (int p = 1; p <= 128; ++p) {
            QCOMPARE(GetPatchName(matrix().at(At(4, p))), SimName(4, p));
            QVERIFY(SlotOf(memory, 4, p) == QByteArray::fromStdString(matrix().at(At(4, p))));
        }
        QTRY_COMPARE(simSaid("request").size(), 128);
        QCOMPARE(window->cmdMidiReceive->text(), QStringLiteral("RECEIVE"));
    }

    void doubleClickFetchesAnEmptySlotWhereTheReplySays() {
        QVERIFY(startSim());
        test::DoubleClickCell(test::Ui(app->window).FlexGrid1, At("E-10"));
        QCOMPARE(GetPatchName(matrix().at(At("E-10"))), SimName(5, 10));
        QVERIFY(!FindExportWindow(app->window)->isVisible());

        sim.stop();
        QVERIFY(startSim({QStringLiteral("--fault"), QStringLiteral("other-slot")}));
        test::DoubleClickCell(test::Ui(app->window).FlexGrid1, At("E-20"));
        QVERIFY(matrix().isEmpty(At("E-20")));
        QCOMPARE(GetPatchName(matrix().at(At("E-21"))), SimName(5, 21));
        QVERIFY(shown().isEmpty());
    }

    void garbageRepliesAreDroppedAndTheRunGoesOn() {
        QVERIFY(startSim({QStringLiteral("--fault"), QStringLiteral("short")}));
        QVERIFY(receive({2}));
        QTRY_COMPARE(simSaid("request").size(), 128);
        QCOMPARE(matrix().CountMatrixPatches(), 0);
        QVERIFY(shown().isEmpty());
    }

    void noReplyStopsAfterTheFirstRequest() {
        QVERIFY(startSim({QStringLiteral("--fault"), QStringLiteral("silent")}));
        QVERIFY(receive({1, 2}));
        QTRY_COMPARE(simSaid("request"), QStringList{"request A-001"});
        QCOMPARE(shown().size(), 1);
        QCOMPARE(shown()[0].text, kNoMidiDataMessage);
        QCOMPARE(shown()[0].title, QStringLiteral("Zanq"));
        QCOMPARE(shown()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(app->midi.MidiInIsOpen(), modMIDI::kClosed);
    }

    void synthVanishingMidRunEndsRunsWithMessages() {
        QVERIFY(startSim({QStringLiteral("--vanish-after"), QStringLiteral("3")}));
        auto* receiving = receive({1});
        QVERIFY(receiving);
        QVERIFY(sim.waitForLine(QStringLiteral("vanished")));
        QCOMPARE(matrix().CountMatrixPatches(), 3);
        QCOMPARE(shown().size(), 1);
        QCOMPARE(shown()[0].text, kNoMidiDataMessage);
        receiving->close();

        // The output port is gone too. The layer sends to the port number detection chose;
        // when no port has that number any more, the bank send says so once and stops.
        shown().clear();
        auto* send = open<frmBankSend>(test::Ui(app->window).cmdMIDI_OUT, {1});
        send->cmdMidiSend->click();
        QCOMPARE(send->cmdMidiSend->text(), QStringLiteral("SEND"));
        if (app->midi.MidiOutDevice() >= ports->outputPortNames().size()) {
            QCOMPARE(shown().size(), 1);
            QVERIFY2(shown()[0].text.startsWith(QStringLiteral("Operation: MIDI OUT OPEN\r\n")),
                     qPrintable(shown()[0].text));
        }
        QVERIFY(shown().size() <= 1);
    }

    void closingTheWindowStopsTheRunAndKeepsWhatCameIn() {
        QVERIFY(startSim({QStringLiteral("--latency"), QStringLiteral("20")}));
        QPointer<frmMidiReceive> window =
            open<frmMidiReceive>(test::Ui(app->window).cmdMIDI_IN, {1, 2, 3, 4, 5, 6, 7, 8});
        QVERIFY(window);
        QTimer::singleShot(300, window, [window] { window->close(); });
        window->cmdMidiReceive->click();
        const int received = matrix().CountMatrixPatches();
        QVERIFY2(received > 0 && received < 128, qPrintable(QString::number(received)));
        QTRY_COMPARE(simSaid("request").size(), received);
        QVERIFY(shown().isEmpty());
        QCOMPARE(app->midi.MidiInIsOpen(), modMIDI::kClosed);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(window.isNull());
    }

    // A grid patch dropped on MIDI OUT goes only after Yes; an exported copy goes retargeted.
    void singlePatchesReachTheSynth() {
        QVERIFY(startSim());
        const PatchRecord pad = test::MakeRecord("Warm Pad", 0, 4, 21);
        app->librarian.place(At(1, 5), pad);
        app->context.dragOrigin = At("A-5");
        app->prompter.answers << false << true;
        for (DragSource source :
             {DragSource::Grid, DragSource::Grid, DragSource::Library, DragSource::Files})
            emit app->window.droppedOnMidiOut(source);
        QTRY_COMPARE(simSaid("stored"), QStringList{"stored A-005"});
        QCOMPARE(shown().size(), 2);  // library lines and files are not sent from here
        QCOMPARE(
            shown()[1].text,
            QStringLiteral("Do you want to send this matrix patch : \rBank A-005: Warm Pad ?"));
        QCOMPARE(shown()[1].title, QStringLiteral("Midi Send Patch"));
        QCOMPARE(shown()[1].icon, QMessageBox::Question);

        test::DoubleClickCell(test::Ui(app->window).FlexGrid1, At("A-5"));
        frmExport* window = FindExportWindow(app->window);
        QVERIFY(window->isVisible() && window->cmdSendToMidi->isEnabled());
        window->cmbBank->setCurrentIndex(6);
        window->cmbPatch->setCurrentIndex(99);
        window->cmdSendToMidi->click();
        QTRY_COMPARE(simSaid("stored"), QStringList({"stored A-005", "stored G-100"}));
        PatchRecord retargeted = pad;
        retargeted[8] = 6;
        retargeted[9] = 99;
        const QByteArray memory = savedMemory();
        QCOMPARE(SlotOf(memory, 1, 5), QByteArray::fromStdString(pad));
        QCOMPARE(SlotOf(memory, 7, 100), QByteArray::fromStdString(retargeted));
        QVERIFY(matrix().at(At("A-5")) == pad && matrix().isEmpty(At("G-100")));
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(TransfersJackTest)
#include "test_transfers_jack.moc"
