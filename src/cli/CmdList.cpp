// zanq-cli list: every record candidate of each file in the loader's order, with its slot,
// name and validity, and what the loader would skip.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/Cli.h"
#include "cli/CliFiles.h"
#include "cli/Commands.h"
#include "model/PatchName.h"
#include "model/SynthDialect.h"

namespace zanq::cli {

namespace {

QString Plural(std::size_t n, const QString& one, const QString& many) {
    return QString::number(n) + QLatin1Char(' ') + (n == 1 ? one : many);
}

QString SummaryLine(const SyxSurvey& survey) {
    return Plural(survey.validRecords, QStringLiteral("record"), QStringLiteral("records")) +
           QStringLiteral(", ") +
           Plural(survey.invalidPieces, QStringLiteral("invalid piece"),
                  QStringLiteral("invalid pieces")) +
           QStringLiteral(", ") +
           Plural(static_cast<std::size_t>(survey.ignoredBytes), QStringLiteral("ignored byte"),
                  QStringLiteral("ignored bytes"));
}

void PrintText(const SyxSurvey& survey, const SynthDialect& dialect) {
    for (std::size_t i = 0; i < survey.candidates.size(); ++i) {
        const PatchRecord& record = survey.candidates[i];
        const QString slot = survey.valid[i] ? QString::fromStdString(dialect.slotOf(record).text())
                                             : QStringLiteral("?");
        Print(QStringLiteral("%1  %2  %3")
                  .arg(slot, -5)
                  .arg(PrintableName(dialect.patchName(record)), -17)
                  .arg(survey.valid[i] ? QStringLiteral("valid") : QStringLiteral("invalid")));
    }
    Print(SummaryLine(survey));
}

QJsonObject Json(const QString& path, const SyxSurvey& survey, const SynthDialect& dialect) {
    QJsonArray records;
    for (std::size_t i = 0; i < survey.candidates.size(); ++i) {
        const PatchRecord& record = survey.candidates[i];
        records.append(QJsonObject{
            {QStringLiteral("slot"),
             survey.valid[i] ? QJsonValue(QString::fromStdString(dialect.slotOf(record).text()))
                             : QJsonValue()},
            {QStringLiteral("name"), NameText(dialect.patchName(record))},
            {QStringLiteral("valid"), bool(survey.valid[i])},
        });
    }
    return QJsonObject{
        {QStringLiteral("file"), path},
        {QStringLiteral("records"), records},
        {QStringLiteral("summary"),
         QJsonObject{
             {QStringLiteral("records"), static_cast<qint64>(survey.validRecords)},
             {QStringLiteral("invalidPieces"), static_cast<qint64>(survey.invalidPieces)},
             {QStringLiteral("ignoredBytes"), survey.ignoredBytes},
         }},
    };
}

}  // namespace

int RunList(const QStringList& arguments, const SynthDialect& dialect) {
    CommandLine command(
        "list", QStringLiteral("list [--json] FILE..."),
        QStringLiteral(
            "Lists the records of each .syx file in the order a load reads them: the slot a\n"
            "record names, its name and whether it is valid, then a line with the number of\n"
            "valid records, of pieces that are not, and of the bytes those pieces hold."));
    command.addFlag(QStringLiteral("json"), QStringLiteral("Print the same as JSON."));
    if (const auto done = command.parse(arguments))
        return *done;
    const QStringList files = command.positional();
    if (files.isEmpty())
        return command.usageError(QStringLiteral("no file to list"));

    const bool json = command.isSet(QStringLiteral("json"));
    QJsonArray listed;
    int status = kDone;
    for (const QString& path : files) {
        const SyxSurvey survey = SurveyFile(path, dialect);
        if (!survey.error.isEmpty()) {
            status = Fail(QStringLiteral("cannot read %1: %2").arg(path, survey.error));
            continue;
        }
        if (json) {
            listed.append(Json(path, survey, dialect));
            continue;
        }
        if (files.size() > 1)
            Print(path + QLatin1Char(':'));
        PrintText(survey, dialect);
    }
    if (json)
        Print(QString::fromUtf8(QJsonDocument(listed).toJson(QJsonDocument::Indented)).trimmed());
    return status;
}

}  // namespace zanq::cli
