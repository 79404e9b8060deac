// zanq-cli ports: the MIDI ports seen, with the ones the program would use for the synth
// marked.

#include "cli/Cli.h"
#include "cli/CliMidi.h"
#include "cli/Commands.h"
#include "model/SynthDialect.h"

namespace zanq::cli {

namespace {

// Prints one direction; answers whether a port was marked.
bool PrintPorts(const QString& direction, const std::vector<std::string>& names,
                const std::optional<std::string>& chosen) {
    for (const std::string& name : names)
        Print(QStringLiteral("%1 %2 %3")
                  .arg(direction, -6)
                  .arg(chosen == name ? QLatin1Char('*') : QLatin1Char(' '))
                  .arg(QString::fromStdString(name)));
    return chosen.has_value();
}

}  // namespace

int RunPorts(const QStringList& arguments, const SynthDialect& dialect) {
    CommandLine command(
        "ports", QStringLiteral("ports [--port TEXT]"),
        QStringLiteral(
            "Lists the MIDI output and input ports of the ALSA sequencer and of JACK, one a\n"
            "line, and marks with * the ports that receive and send would use: the first whose\n"
            "name holds \"deepmind\" in any letter case, or TEXT when --port is given."));
    command.addValue(QStringLiteral("port"), QStringLiteral("TEXT"),
                     QStringLiteral("Mark the first ports whose name holds TEXT instead."));
    if (const auto done = command.parse(arguments))
        return *done;
    if (!command.positional().isEmpty())
        return command.usageError(QStringLiteral("ports takes no FILE"));

    CliMidi midi(dialect);
    const auto lists = midi.list();
    if (!lists) {
        Complain(QStringLiteral("the MIDI system did not list its ports"));
        return kIncomplete;
    }
    const QString filter = command.port();
    const bool output =
        PrintPorts(QStringLiteral("output"), lists->outputs, midi.choose(lists->outputs, filter));
    const bool input =
        PrintPorts(QStringLiteral("input"), lists->inputs, midi.choose(lists->inputs, filter));
    if (!output || !input)
        Complain(QStringLiteral("no %1 port found for %2")
                     .arg(!output ? QStringLiteral("output") : QStringLiteral("input"),
                          filter.isEmpty()
                              ? QStringLiteral("the ") + QString::fromStdString(dialect.modelName())
                              : QStringLiteral("'%1'").arg(filter)));
    return kDone;
}

}  // namespace zanq::cli
