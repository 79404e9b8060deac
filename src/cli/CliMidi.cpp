#include "cli/CliMidi.h"

#include <QEventLoop>
#include <QTimer>

#include "cli/Cli.h"
#include "midi/RtMidiBackend.h"
#include "midi/SynthPortChoice.h"
#include "model/SynthDialect.h"

namespace zanq::cli {

CliMidi::CliMidi(const SynthDialect& dialect)
    : dialect_(dialect), link_(std::make_unique<RtMidiBackend>("ZANQ CLI")) {
    QObject::connect(&link_, &MidiLink::failed, [](const QString& operation, const QString& text) {
        Complain(operation + QStringLiteral(": ") + text);
    });
}

std::optional<PortLists> CliMidi::list() {
    std::optional<PortLists> lists;
    QEventLoop loop;
    const auto listed = QObject::connect(
        &link_, &MidiLink::portsListed, &loop,
        [&](const std::vector<std::string>& outputs, const std::vector<std::string>& inputs) {
            lists = PortLists{outputs, inputs};
            loop.quit();
        });
    QTimer::singleShot(kListingWaitMs, &loop, &QEventLoop::quit);
    if (link_.listPorts())
        loop.exec();
    QObject::disconnect(listed);
    return lists;
}

std::optional<std::string> CliMidi::choose(const std::vector<std::string>& names,
                                           const QString& filter) const {
    if (filter.isEmpty())
        return ChooseSynthPort(names, dialect_);
    for (const std::string& name : names)
        if (QString::fromStdString(name).contains(filter, Qt::CaseInsensitive))
            return name;
    return std::nullopt;
}

bool CliMidi::aim(const QString& filter, bool input) {
    const std::optional<PortLists> lists = list();
    if (!lists) {
        Complain(QStringLiteral("the MIDI system did not list its ports"));
        return false;
    }
    const QString wanted = filter.isEmpty() ? QString::fromStdString(dialect_.modelName())
                                            : QStringLiteral("'%1'").arg(filter);
    const auto output = choose(lists->outputs, filter);
    const auto inputPort = input ? choose(lists->inputs, filter) : std::nullopt;
    if (!output || (input && !inputPort)) {
        Complain(QStringLiteral("no %1 MIDI %2 port found ('zanq-cli ports' lists the ports)")
                     .arg(wanted, output ? QStringLiteral("input") : QStringLiteral("output")));
        return false;
    }
    link_.setOutputPort(*output);
    if (inputPort)
        link_.setInputPort(*inputPort);
    return true;
}

}  // namespace zanq::cli
