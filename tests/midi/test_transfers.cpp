// The bank windows and the main window's MIDI commands over fake ports with a synth behind
// them: each run's captions as it goes, its button disabled meanwhile, the messages it shows,
// a window closed mid-run, and the double click's fetch and its own message.

#include <QtTest>

#include "support/FakeMidiPorts.h"
#include "support/GridClicks.h"
#include "support/MainUi.h"

using namespace zanq;

namespace {

Slot At(int bank, int program) {
    return {Bank::fromNumber(bank), Program::fromNumber(program)};
}

std::string FromMemory(Slot s) {
    return test::MakeRecord("Got " + s.text(), s.bank.byte(), s.program.byte(), s.index());
}

}  // namespace

class TransfersTest : public QObject {
    Q_OBJECT
    test::FakeMidiPorts* ports = nullptr;
    std::unique_ptr<test::WiredMain> app;
    bool synthAnswers = true;

    QList<test::ShownPrompt>& shown() { return app->prompter.shown; }
    template <typename Window>
    Window* openedWindow(QPushButton* button) {
        button->click();
        auto* window = app->window.findChild<Window*>();
        return window && window->isVisible() && window->isModal() ? window : nullptr;
    }
    QStringList captions;
    QPointer<QPushButton> watched;

private slots:
    void init() {
        ports = new test::FakeMidiPorts;
        ports->setPorts({"Midi Through", "DeepMind12 MIDI in"}, {"DeepMind12 MIDI out"});
        synthAnswers = true;
        captions.clear();
        ports->onSend = [this](std::string_view m) {
            // The run's button while a message goes out: disabled, naming it.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (watched)
                        captions << watched->text() + (watched->isEnabled() ? " (enabled)" : "");
                },
                Qt::BlockingQueuedConnection);
            if (synthAnswers && m.size() == 10)
                ports->deliver(FromMemory({Bank::fromByte(m[7]), Program::fromByte(m[8])}));
        };
        app =
            std::make_unique<test::WiredMain>(std::unique_ptr<MidiPorts>(ports), QDir::tempPath());
        QVERIFY(app->detect());
    }
    void cleanup() { app.reset(); }

    void bankSendNamesEachPatchAndStopsWithoutAPort() {
        for (Slot s : {At(1, 6), At(1, 7), At(1, 128), At(2, 1), At(3, 17)})
            app->librarian.place(s, FromMemory(s));
        auto* window = openedWindow<frmBankSend>(test::Ui(app->window).cmdMIDI_OUT);
        QVERIFY(window);
        QPushButton* button = watched = window->cmdMidiSend;
        QCOMPARE(window->windowTitle(), QStringLiteral("Midi Bank Send"));
        window->chkBank[1]->setChecked(true);
        window->chkBank[3]->setChecked(true);
        button->click();
        QTRY_VERIFY(button->isEnabled());
        QCOMPARE(captions, QStringList({"Sending Bank A-006 ...", "Sending Bank A-007 ...",
                                        "Sending Bank A-128 ...", "Sending Bank C-017 ..."}));
        QCOMPARE(button->text(), QStringLiteral("SEND"));
        QCOMPARE(ports->sent().size(), std::size_t(4));
        QVERIFY(shown().isEmpty());

        // The synth's port went away: one message, one attempt.
        ports->setPorts({"Midi Through"}, {});
        button->click();
        QTRY_VERIFY(button->isEnabled());
        QCOMPARE(shown().size(), 1);
        QCOMPARE(shown()[0].text, QStringLiteral("Operation: MIDI OUT OPEN\r\nno port "
                                                 "DeepMind12 MIDI in"));
        QCOMPARE(shown()[0].title, QStringLiteral("Zanq"));
        QCOMPARE(shown()[0].icon, QMessageBox::NoIcon);
    }

    void bankSendWindowClosedMidRunStopsAfterTheMessage() {
        for (int p = 1; p <= 20; ++p)
            app->librarian.place(At(1, p), FromMemory(At(1, p)));
        QPointer<frmBankSend> window = openedWindow<frmBankSend>(test::Ui(app->window).cmdMIDI_OUT);
        QVERIFY(window);
        ports->onSend = [window](std::string_view) {  // posted before the send's own result
            QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
        };
        window->chkBank[1]->setChecked(true);
        window->cmdMidiSend->click();
        QTRY_VERIFY(window.isNull());
        QCOMPARE(ports->sent().size(), std::size_t(1));
    }

    void bankReceiveNamesEachProgramAndStopsWhereNothingCame() {
        auto* window = openedWindow<frmMidiReceive>(test::Ui(app->window).cmdMIDI_IN);
        QVERIFY(window);
        QPushButton* button = watched = window->cmdMidiReceive;
        QCOMPARE(window->windowTitle(), QStringLiteral("MIDI Receive"));
        window->chkBank[2]->setChecked(true);
        button->click();
        QTRY_VERIFY(button->isEnabled());
        QCOMPARE(captions.size(), 128);
        QCOMPARE(captions.front(), QStringLiteral("RECEIVING Bank B - 001"));
        QCOMPARE(captions.back(), QStringLiteral("RECEIVING Bank B - 128"));
        QCOMPARE(button->text(), QStringLiteral("RECEIVE"));
        QCOMPARE(app->librarian.matrix().CountBankPatches(Bank::fromNumber(2)), 128);
        QVERIFY(shown().isEmpty());

        synthAnswers = false;
        window->chkBank[1]->setChecked(true);
        button->click();
        QTRY_VERIFY(button->isEnabled());
        QCOMPARE(ports->sent().size(), std::size_t(129));  // A-001 only
        QCOMPARE(shown().size(), 1);
        QCOMPARE(shown()[0].text, kNoMidiDataMessage);
        QCOMPARE(shown()[0].title, QStringLiteral("Zanq"));
        QCOMPARE(shown()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(button->text(), QStringLiteral("RECEIVE"));
    }

    void doubleClickFetchesAnEmptySlotOrSaysNothingCame() {
        test::DoubleClickCell(test::Ui(app->window).FlexGrid1, At(5, 10));
        QTRY_VERIFY(app->librarian.at(At(5, 10)) == FromMemory(At(5, 10)));
        QVERIFY(!FindExportWindow(app->window)->isVisible());

        synthAnswers = false;
        test::DoubleClickCell(test::Ui(app->window).FlexGrid1, At(5, 11));
        QTRY_COMPARE(shown().size(), 1);
        QCOMPARE(shown()[0].text, kNoMidiDataMessage);
        QCOMPARE(shown()[0].icon, QMessageBox::Information);
        QVERIFY(app->librarian.isEmpty(At(5, 11)));
    }
};

QTEST_MAIN(TransfersTest)
#include "test_transfers.moc"
