#include "cli/Cli.h"

#include <unistd.h>

#include <cstdio>
#include <set>

namespace zanq::cli {

namespace {

void Write(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

}  // namespace

void Print(const QString& line) {
    Write(stdout, line + QLatin1Char('\n'));
}

void Complain(const QString& message) {
    std::fflush(stdout);
    Write(stderr, QStringLiteral("zanq-cli: ") + message + QLatin1Char('\n'));
}

int Fail(const QString& message) {
    Complain(message);
    return kFailed;
}

bool ErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

QString PrintableName(const std::string& name) {
    QString text = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
    for (QChar& c : text)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            c = QLatin1Char('?');
    return text;
}

CommandLine::CommandLine(const char* command, const QString& usage, const QString& about)
    : command_(QString::fromLatin1(command)), usage_(usage), about_(about) {
    parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser_.addHelpOption();
}

void CommandLine::addFlag(const QString& name, const QString& description) {
    parser_.addOption(QCommandLineOption(name, description));
}

void CommandLine::addValue(const QString& name, const QString& valueName,
                           const QString& description) {
    parser_.addOption(QCommandLineOption(name, description, valueName));
}

void CommandLine::addForce(const QString& description) {
    addFlag(QStringLiteral("force"), description);
}

void CommandLine::addPort() {
    addValue(QStringLiteral("port"), QStringLiteral("TEXT"),
             QStringLiteral("Use the first MIDI ports whose name holds TEXT."));
}

void CommandLine::addBanks(const QString& description) {
    addValue(QStringLiteral("banks"), QStringLiteral("BANKS"), description);
}

std::optional<std::vector<Bank>> CommandLine::banks(const QString& fallback) const {
    const QString name = QStringLiteral("banks");
    auto banks = ParseBanks(isSet(name) ? value(name) : fallback);
    if (!banks)
        usageError(QStringLiteral("--banks takes letters A to H, like A-H or C,D"));
    return banks;
}

std::optional<int> CommandLine::parse(const QStringList& arguments) {
    if (!parser_.parse(QStringList{QStringLiteral("zanq-cli")} + arguments))
        return usageError(parser_.errorText());
    if (parser_.isSet(QStringLiteral("help"))) {
        // Qt's own text begins with a usage line naming the executable; ours names the command.
        const QString qt = parser_.helpText();
        const qsizetype options = qt.indexOf(QStringLiteral("Options:"));
        Print(QStringLiteral("Usage: zanq-cli ") + usage_ + QStringLiteral("\n\n") + about_ +
              QStringLiteral("\n\n") + qt.mid(options).trimmed());
        return kDone;
    }
    return std::nullopt;
}

int CommandLine::usageError(const QString& reason) const {
    Complain(command_ + QStringLiteral(": ") + reason);
    Complain(QStringLiteral("try 'zanq-cli %1 --help'").arg(command_));
    return kFailed;
}

std::optional<std::vector<Bank>> ParseBanks(const QString& text) {
    std::set<Bank> banks;
    for (const QString& part : text.split(QLatin1Char(','))) {
        const QStringList ends = part.trimmed().split(QLatin1Char('-'));
        if (ends.size() > 2)
            return std::nullopt;
        const auto first = Bank::fromLetter(ends.front().toStdString());
        const auto last = Bank::fromLetter(ends.back().toStdString());
        if (!first || !last || *last < *first)
            return std::nullopt;
        for (int b = first->byte(); b <= last->byte(); ++b)
            banks.insert(Bank::fromByte(b));
    }
    return std::vector<Bank>(banks.begin(), banks.end());
}

QString BanksText(const std::vector<Bank>& banks) {
    if (static_cast<int>(banks.size()) == Bank::kCount)
        return QStringLiteral("banks A-H");
    QStringList letters;
    for (Bank bank : banks)
        letters << QString(QLatin1Char(bank.letter()));
    return (letters.size() == 1 ? QStringLiteral("bank ") : QStringLiteral("banks ")) +
           letters.join(QStringLiteral(", "));
}

}  // namespace zanq::cli
