#pragma once
// The program's main window over a JACK server, through the RtMidi ports, with the simulated
// DeepMind: starting it with fault options, detection aimed at it even when another test's
// synth shares the server, its memory and what it said, and the run windows opened and run
// from their buttons. Other simulators may share the server, so the test's own runs under a
// client name of its own.

#include <QCheckBox>
#include <QtTest>

#include "midi/RtMidiBackend.h"
#include "support/DeepMindSim.h"
#include "support/MainRig.h"

namespace zanq::test {

struct JackRig {
    std::unique_ptr<MainRig> app =
        std::make_unique<MainRig>(kMidiWindows, std::make_unique<RtMidiBackend>("ZANQ Test"));
    DeepMindSim sim;

    ~JackRig() { sim.stop(); }

    Librarian& librarian() { return app->librarian; }
    QList<ShownPrompt>& shown() { return app->prompter.shown; }
    QString memoryFile() const { return app->dir.filePath(QStringLiteral("memory.syx")); }

    // Starts the synth (saving its memory to memoryFile()) and lets detection find it; then
    // aims at this synth's ports.
    bool startSim(QStringList options = {}) {
        const std::string client =
            "DeepMind12 t" + std::to_string(QCoreApplication::applicationPid());
        options << QStringLiteral("--save") << memoryFile() << QStringLiteral("--client")
                << QString::fromStdString(client);
        if (!sim.start(options))
            return false;
        std::vector<std::string> outputs, inputs;
        const auto listed =
            QObject::connect(app->link.get(), &MidiLink::portsListed,
                             [&](const auto& o, const auto& i) { outputs = o, inputs = i; });
        const bool detected = app->detect();
        QObject::disconnect(listed);
        const auto find = [&client](const std::vector<std::string>& names) {
            for (const auto& name : names)
                if (name.find(client) != std::string::npos)
                    return name;
            return std::string();
        };
        app->link->setOutputPort(find(outputs));
        app->link->setInputPort(find(inputs));
        return detected && app->ui.cmdMIDI_OUT->isEnabled() && app->ui.cmdMIDI_IN->isEnabled();
    }
    // The synth's memory, once it has written it (asked for while it runs, else on its exit).
    QByteArray savedMemory() {
        if (sim.running() && !sim.save())
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
    // Clicks the run window's button and waits until the run has ended.
    static bool run(QPushButton* button) {
        button->click();
        return QTest::qWaitFor([button] { return button->isEnabled(); }, 60000);
    }
    // Fills the banks with records that differ from what the synth holds.
    void fill(std::initializer_list<int> banks) {
        for (int b : banks)
            for (int p = 1; p <= Program::kCount; ++p)
                librarian().place(At(b, p), MakeRecord("Mine", b - 1, p - 1, b * 1000 + p));
    }
};

inline QByteArray SlotOf(const QByteArray& memory, Slot slot) {
    return memory.mid(slot.index() * 291, 291);
}

}  // namespace zanq::test
