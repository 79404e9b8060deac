// The main window over JACK and the RtMidi ports with the simulated DeepMind misbehaving: the
// run windows report what really arrived. Other simulators may share the server, so this test's
// runs under a client name of its own.

#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

#include "midi/RtMidiBackend.h"
#include "midi/VerifySetting.h"
#include "support/DeepMindSim.h"
#include "support/MainRig.h"

using namespace zanq;
using test::At;

namespace {

// The report a run window shows: its summary, then its list.
QStringList ShownReport(BankRunDialog* window) {
    QStringList lines{window->lblRunSummary->text()};
    if (const QString list = window->txtRunReport->toPlainText(); !list.isEmpty())
        lines << list.split(QLatin1Char('\n'));
    return lines;
}

}  // namespace

class JackTest : public QObject {
    Q_OBJECT
    std::unique_ptr<test::MainRig> app;
    test::DeepMindSim sim;
    const std::string client = "DeepMind12 t" + std::to_string(QCoreApplication::applicationPid());

    Librarian& librarian() { return app->librarian; }
    QList<test::ShownPrompt>& shown() { return app->prompter.shown; }
    QStringList simSaid(const QString& start) {
        return sim.lines().filter(QRegularExpression("^" + start));
    }
    // Starts the synth, saving its memory to memory.syx; detection finds it and is aimed at its
    // ports.
    bool startSim(QStringList options = {}) {
        if (!sim.start(options << "--save" << app->dir.filePath("memory.syx") << "--client"
                               << QString::fromStdString(client)))
            return false;
        std::vector<std::string> outputs, inputs;
        const auto listed = connect(app->link.get(), &MidiLink::portsListed,
                                    [&](const auto& o, const auto& i) { outputs = o, inputs = i; });
        const bool detected = app->detect();
        disconnect(listed);
        const auto find = [this](const std::vector<std::string>& names) {
            for (const auto& name : names)
                if (name.find(client) != std::string::npos)
                    return name;
            return std::string();
        };
        app->link->setOutputPort(find(outputs));
        app->link->setInputPort(find(inputs));
        return detected && app->ui.StatusPanel[2]->text() == "DEEPMIND DETECTED";
    }
    // The run window that ran these banks to the end.
    frmMidiReceive* receive(std::initializer_list<int> banks) {
        auto* window = app->opens<frmMidiReceive>(app->ui.cmdMIDI_IN);
        return window && test::RunBanks(window, window->cmdMidiReceive, banks) ? window : nullptr;
    }
    frmBankSend* send(std::initializer_list<int> banks, bool verify = false) {
        auto* window = app->opens<frmBankSend>(app->ui.cmdMIDI_OUT);
        if (window)
            window->chkVerify->setChecked(verify);
        return window && test::RunBanks(window, window->cmdMidiSend, banks) ? window : nullptr;
    }
    // Fills the banks with records that differ from what the synth holds.
    void fill(std::initializer_list<int> banks) {
        for (int b : banks)
            for (int p = 1; p <= Program::kCount; ++p)
                librarian().place(At(b, p), test::MakeRecord("Mine", b - 1, p - 1, b * 1000 + p));
    }

private slots:
    void initTestCase() {
        ZANQ_NEED_JACK_SERVER();
        QStandardPaths::setTestModeEnabled(true);
    }
    void init() {
        SetVerifySends(false);
        app = std::make_unique<test::MainRig>(test::kMidiWindows,
                                              std::make_unique<RtMidiBackend>("ZANQ Test"));
    }
    void cleanup() {
        sim.stop();
        app.reset();
    }

    void aReceiveMeetsGarbledDroppedAndLongReplies() {
        QVERIFY(startSim({"--garble-every", "5", "--drop-replies", "40"}));
        auto* window = receive({2});
        QVERIFY(window);
        QCOMPARE(ShownReport(window), QStringList{"Received 128 of 128"});
        QCOMPARE(librarian().matrix().CountBankPatches(Bank::fromNumber(2)), 128);
        QVERIFY(simSaid("garbled").size() >= 25);
        QCOMPARE(simSaid("dropped").size(), 1);
        window->close();

        // A reply longer than the buffer is cut there, and not stored.
        QVERIFY(startSim({"--fault", "long"}));
        QSignalSpy replies(app->link.get(), &MidiLink::replyReceived);
        test::DoubleClickCell(app->ui.FlexGrid1, At("E-10"));
        QVERIFY(replies.wait());
        const QByteArray reply = replies[0][2].toByteArray();
        QCOMPARE(reply.size(), 300);
        QCOMPARE(reply.mid(265, 9), QByteArray("SIM E-010"));
        QTRY_VERIFY(!app->link->requesting());
        QVERIFY(librarian().isEmpty(At("E-10")));
        QVERIFY(shown().isEmpty());
    }

    void aSendMeetsPatchesTheSynthDoesNotKeep() {
        QVERIFY(startSim({"--refuse-dumps", "5,6"}));
        fill({3});
        auto* window = send({3}, true);
        QVERIFY(window);
        QCOMPARE(ShownReport(window),
                 QStringList({"Sent 128 patches to the DeepMind. Read back: 126 of 128 matched. "
                              "Did not match: C-005 to C-006",
                              "C-005 to C-006: read back different"}));
        QVERIFY(VerifySends());  // the box's state is the setting the single sends follow
        window->close();

        // Export's "Send to DM" goes retargeted, and reads back too.
        app->context.dragOrigin = At("C-10");
        test::DoubleClickCell(app->ui.FlexGrid1, At("C-10"));
        frmExport* exporter = FindExportWindow(app->window);
        QVERIFY(exporter->isVisible() && exporter->chkVerify->isChecked());
        exporter->cmbBank->setCurrentIndex(6);
        exporter->cmbPatch->setCurrentIndex(99);
        exporter->cmdSendToMidi->click();
        QTRY_COMPARE(shown().size(), 1);
        QCOMPARE(shown()[0].text,
                 QStringLiteral("Sent 1 patch to the DeepMind. Read back: 1 of 1 matched"));
        QVERIFY(!exporter->isVisible());
        QCOMPARE(sim.memory().mid(At("G-100").index() * kRecordLength, kRecordLength).toStdString(),
                 test::Moved(librarian().at(At("C-10")), At("G-100")));
        QVERIFY(librarian().isEmpty(At("G-100")));
    }

    void theSynthGoesAwayAndComesBack() {
        // Gone after three replies: the receive and then the send say so.
        QVERIFY(startSim({"--vanish-after", "3"}));
        auto* receiving = receive({1});
        QVERIFY(receiving);
        QVERIFY(sim.waitForLine(QStringLiteral("vanished")));
        QCOMPARE(librarian().matrix().CountMatrixPatches(), 3);
        QCOMPARE(shown().size(), 3);  // A-004 went unanswered; asked again, the ports were gone
        QVERIFY(shown()[0].text.startsWith(QStringLiteral("Operation: MIDI IN OPEN\r\n")));
        QCOMPARE(shown()[2].text, kNoMidiDataMessage);
        QVERIFY(receiving->lblRunSummary->text().startsWith(
            QStringLiteral("Stopped after A-004: the DeepMind stopped answering. Received 3 of "
                           "128. Not received: A-004")));
        receiving->close();
        shown().clear();
        auto* sending = send({1});
        QVERIFY(sending);
        QCOMPARE(shown().size(), 1);
        QVERIFY2(shown()[0].text.startsWith(QStringLiteral("Operation: MIDI OUT OPEN\r\n")),
                 qPrintable(shown()[0].text));
        sending->close();

        // Gone in the middle of a send: nothing the synth stored is missing from what the
        // report calls sent.
        shown().clear();
        QVERIFY(startSim({"--vanish-after-dumps", "512"}));
        fill({1, 2, 3, 4, 5, 6, 7, 8});
        sending = send({1, 2, 3, 4, 5, 6, 7, 8});
        QVERIFY(sending);
        QVERIFY(sim.waitForLine(QStringLiteral("vanished")));
        const QStringList report = ShownReport(sending);
        QVERIFY2(report[0].startsWith(QStringLiteral("Stopped after ")), qPrintable(report[0]));
        QVERIFY2(report.last().endsWith(QStringLiteral(" to H-128: not sent")),
                 qPrintable(report.last()));
        QCOMPARE(simSaid("stored").last(), QStringLiteral("stored D-128"));
        QVERIFY2(At(report[0].mid(14, 5).toStdString()) >= At("D-128"), qPrintable(report[0]));
        QVERIFY(!shown().isEmpty());
        QPointer<frmBankSend> closed = sending;
        sending->close();
        QTRY_VERIFY(closed.isNull());

        // Plugged in again: the next send delivers every patch, the first one included.
        shown().clear();
        QVERIFY(startSim());
        sending = send({8});
        QVERIFY(sending);
        QCOMPARE(ShownReport(sending), QStringList{"Sent 128 patches to the DeepMind"});
        QTRY_COMPARE(simSaid("stored").size(), 128);
        QCOMPARE(simSaid("stored").first(), QStringLiteral("stored H-001"));
        QVERIFY(shown().isEmpty());

        // Unplugged: detection follows, unless another test's synth is on the server.
        sim.stop();
        QVERIFY(app->detect());
        if (app->ui.StatusPanel[2]->text() == QStringLiteral("DEEPMIND DETECTED"))
            QSKIP("another simulated DeepMind is on the JACK server");
        QVERIFY(!app->ui.cmdMIDI_OUT->isEnabled() && !app->ui.cmdMIDI_IN->isEnabled());
    }
};

QTEST_MAIN(JackTest)
#include "test_jack.moc"
