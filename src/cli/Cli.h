#pragma once
// What every zanq-cli command shares: the exit statuses, how it prints, how it reads its own
// options (with --help), and the bank and slot names users type.

#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "model/Slot.h"

namespace zanq {
class SynthDialect;
}

namespace zanq::cli {

// Exit statuses, as the manual page lists them.
enum Exit : int {
    kDone = 0,        // everything asked for was done
    kIncomplete = 1,  // some patches were not sent or received, or MIDI did not answer
    kFailed = 2,      // bad usage, or a file that cannot be read or written
};

// One command: its name, the line the general help shows, and what runs it with the
// arguments that follow its name.
struct Command {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& arguments, const SynthDialect& dialect);
};

// A line on standard output, and a message on standard error that starts with the program's
// name. Text is written in the locale's encoding.
void Print(const QString& line);
void Complain(const QString& message);
// Complains and returns kFailed, for the many places that give up on a bad file or argument.
int Fail(const QString& message);
// True when standard error is a terminal (progress lines go there only then).
bool ErrorIsTerminal();

// A patch name as text fit for one line of a terminal: control characters become "?".
QString PrintableName(const std::string& name);

// One command's options. parse() answers an exit status when the command is done already:
// after --help (kDone) or after bad usage (kFailed, with the reason and a pointer to --help).
class CommandLine {
public:
    // usage: what follows "zanq-cli" ("list [--json] FILE..."); about: what the command does.
    CommandLine(const char* command, const QString& usage, const QString& about);

    QCommandLineParser& parser() { return parser_; }
    void addFlag(const QString& name, const QString& description);
    void addValue(const QString& name, const QString& valueName, const QString& description);
    // The options several commands share: --force, --port TEXT, and --banks BANKS.
    void addForce(const QString& description = QStringLiteral("Replace the output file."));
    void addPort();
    void addBanks(const QString& description);
    bool force() const { return isSet(QStringLiteral("force")); }
    QString port() const { return value(QStringLiteral("port")); }
    // The banks --banks names, or those of fallback when it is not given; nothing, after a
    // usage error, when the text is malformed.
    std::optional<std::vector<Bank>> banks(const QString& fallback) const;
    std::optional<int> parse(const QStringList& arguments);

    QStringList positional() const { return parser_.positionalArguments(); }
    bool isSet(const QString& name) const { return parser_.isSet(name); }
    QString value(const QString& name) const { return parser_.value(name); }

    // Reports bad usage as parse() does: the reason and a pointer to this command's --help.
    int usageError(const QString& reason) const;

private:
    QString command_;
    QString usage_;
    QString about_;
    QCommandLineParser parser_;
};

// "A-H", "C,D", "a,c-e": the banks named, each once, in order A..H; nothing when malformed.
std::optional<std::vector<Bank>> ParseBanks(const QString& text);
// "banks A-H", "banks C, D", "bank C": how reports name the banks of a run.
QString BanksText(const std::vector<Bank>& banks);

}  // namespace zanq::cli
