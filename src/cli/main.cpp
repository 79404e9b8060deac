// zanq-cli: the librarian's .syx tools and bank transfers from a command line, on the same core
// as the window and without any window. The first argument names the command.

#include <QCoreApplication>
#include <array>

#include "BuildConfig.h"
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/NativeNames.h"
#include "model/DeepMindDialect.h"

namespace {

using zanq::cli::Command;

constexpr std::array kCommands{
    Command{"list", "list the records of .syx files", &zanq::cli::RunList},
    Command{"split", "write each record of a file to a file of its own", &zanq::cli::RunSplit},
    Command{"merge", "write the records of several files to one", &zanq::cli::RunMerge},
    Command{"retarget", "make a patch name another bank and program", &zanq::cli::RunRetarget},
    Command{"ports", "list the MIDI ports, the synth's marked", &zanq::cli::RunPorts},
    Command{"receive", "fetch banks from the synth into a file", &zanq::cli::RunReceive},
    Command{"send", "send the patches of a file to the synth", &zanq::cli::RunSend},
};

void PrintHelp() {
    QString text = QStringLiteral(
        "Usage: zanq-cli COMMAND [options] [arguments]\n\n"
        "The DeepMind librarian's .syx tools and bank transfers, without a window.\n\n"
        "Commands:\n");
    for (const Command& command : kCommands)
        text += QStringLiteral("  %1 %2\n")
                    .arg(QLatin1String(command.name), -9)
                    .arg(QLatin1String(command.summary));
    text += QStringLiteral(
        "\n'zanq-cli COMMAND --help' describes a command. Exit status: 0 when everything\n"
        "asked for was done, 1 when some patches were not sent or received, 2 for bad usage\n"
        "or a file that cannot be read or written.");
    zanq::cli::Print(text);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zanq-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                                .arg(zanq::build::kVersionMajor)
                                                .arg(zanq::build::kVersionMinor)
                                                .arg(zanq::build::kVersionRevision));
    QStringList arguments = zanq::cli::DecodedArguments(argc, argv);
    if (arguments.isEmpty())
        return zanq::cli::Fail(QStringLiteral("no command; 'zanq-cli --help' lists them"));
    const QString name = arguments.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        PrintHelp();
        return zanq::cli::kDone;
    }
    if (name == QLatin1String("--version")) {
        zanq::cli::Print(QStringLiteral("zanq-cli ") + QCoreApplication::applicationVersion());
        return zanq::cli::kDone;
    }
    const zanq::DeepMindDialect dialect;
    for (const Command& command : kCommands)
        if (name == QLatin1String(command.name))
            return command.run(arguments, dialect);
    return zanq::cli::Fail(
        QStringLiteral("'%1' is not a command; 'zanq-cli --help' lists them").arg(name));
}
