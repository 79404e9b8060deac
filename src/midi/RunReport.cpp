#include "midi/RunReport.h"

#include <algorithm>

namespace zanq {

namespace {

// How many spans of slots a summary names before it says how many more there are.
constexpr int kSpansInSummary = 8;

QString SlotText(Slot slot) {
    return QString::fromStdString(slot.text());
}

QString Patches(int count) {
    return QString::number(count) +
           (count == 1 ? QStringLiteral(" patch") : QStringLiteral(" patches"));
}

// Joins spans of neighbouring slots for a summary: "B-005, B-010 to B-012 and 3 more".
QString Listed(const std::vector<std::pair<Slot, Slot>>& spans, QString (*span)(Slot, Slot)) {
    QStringList names;
    for (std::size_t i = 0; i < spans.size() && i < kSpansInSummary; ++i)
        names << span(spans[i].first, spans[i].second);
    QString text = names.join(QStringLiteral(", "));
    if (spans.size() > kSpansInSummary)
        text += QStringLiteral(" and %1 more").arg(spans.size() - kSpansInSummary);
    return text;
}

}  // namespace

RunReport::RunReport(RunKind kind, std::string synth)
    : kind_(kind), synth_(QString::fromStdString(synth)) {}

void RunReport::plan(std::vector<Slot> asked) {
    planned_ = std::move(asked);
}

void RunReport::record(Slot slot, SlotResult result, std::optional<Slot> elsewhere) {
    Outcome& outcome = outcomes_[slot];
    switch (result) {
        case SlotResult::Matched:
        case SlotResult::Differs:
        case SlotResult::NotReadBack:
            outcome.readBack = result;
            break;
        default:
            outcome.result = result;
            outcome.elsewhere = elsewhere;
            break;
    }
}

void RunReport::end(RunEnd end, std::optional<Slot> last) {
    end_ = end;
    last_ = last;
}

int RunReport::done() const {
    return static_cast<int>(std::count_if(outcomes_.begin(), outcomes_.end(), [](const auto& o) {
        return o.second.result == SlotResult::Done;
    }));
}

bool RunReport::complete() const {
    return std::all_of(planned_.begin(), planned_.end(), [this](Slot slot) {
        const auto it = outcomes_.find(slot);
        return it != outcomes_.end() && it->second.result == SlotResult::Done &&
               (!readBack_ || it->second.readBack == SlotResult::Matched);
    });
}

QString RunReport::span(Slot first, Slot last) {
    return first == last ? SlotText(first)
                         : SlotText(first) + QStringLiteral(" to ") + SlotText(last);
}

QString RunReport::problem(Slot slot) const {
    const auto it = outcomes_.find(slot);
    if (it == outcomes_.end()) {
        if (!end_)
            return {};  // not reached yet
        return kind_ == RunKind::Send ? QStringLiteral("not sent")
                                      : QStringLiteral("not requested");
    }
    const Outcome& o = it->second;
    switch (o.result) {
        case SlotResult::NoReply:
            return QStringLiteral("no reply");
        case SlotResult::Garbled:
            return QStringLiteral("garbled reply");
        case SlotResult::Elsewhere:
            return QStringLiteral("the reply was for %1 and was stored there")
                .arg(o.elsewhere ? SlotText(*o.elsewhere) : QStringLiteral("another slot"));
        case SlotResult::NotSent:
            return QStringLiteral("not sent");
        default:
            break;
    }
    if (!readBack_ || o.readBack == SlotResult::Matched || (!o.readBack && !end_))
        return {};
    return o.readBack == SlotResult::Differs ? QStringLiteral("read back different")
                                             : QStringLiteral("not read back");
}

QStringList RunReport::details() const {
    QStringList lines;
    std::optional<Slot> first, last;
    QString current;
    const auto flush = [&] {
        if (first && !current.isEmpty())
            lines << span(*first, *last) + QStringLiteral(": ") + current;
        first.reset();
    };
    for (Slot slot : planned_) {
        const QString why = problem(slot);
        const bool continues = first && why == current && last->index() + 1 == slot.index();
        if (!continues) {
            flush();
            first = slot;
            current = why;
        }
        last = slot;
    }
    flush();
    return lines;
}

QString RunReport::tally() const {
    const int count = done();
    std::vector<std::pair<Slot, Slot>> missing;
    for (Slot slot : planned_) {
        const auto it = outcomes_.find(slot);
        if (it == outcomes_.end() || it->second.result == SlotResult::Done)
            continue;
        if (!missing.empty() && missing.back().second.index() + 1 == slot.index())
            missing.back().second = slot;
        else
            missing.push_back({slot, slot});
    }
    if (kind_ == RunKind::Send) {
        QString text = count == asked()
                           ? QStringLiteral("Sent ") + Patches(count)
                           : QStringLiteral("Sent %1 of %2").arg(count).arg(Patches(asked()));
        return text + QStringLiteral(" to the ") + synth_;
    }
    QString text = QStringLiteral("Received %1 of %2").arg(count).arg(asked());
    if (!missing.empty())
        text += QStringLiteral(". Not received: ") + Listed(missing, &RunReport::span);
    return text;
}

QString RunReport::readBackTally() const {
    int matched = 0, checked = 0;
    std::vector<std::pair<Slot, Slot>> differ;
    for (Slot slot : planned_) {
        const auto it = outcomes_.find(slot);
        if (it == outcomes_.end() || !it->second.readBack)
            continue;
        ++checked;
        if (it->second.readBack == SlotResult::Matched) {
            ++matched;
            continue;
        }
        if (!differ.empty() && differ.back().second.index() + 1 == slot.index())
            differ.back().second = slot;
        else
            differ.push_back({slot, slot});
    }
    QString text = QStringLiteral("Read back: %1 of %2 matched").arg(matched).arg(checked);
    if (!differ.empty())
        text += QStringLiteral(". Did not match: ") + Listed(differ, &RunReport::span);
    return text;
}

QString RunReport::summary() const {
    QString text;
    if (end_ && *end_ != RunEnd::Completed) {
        text = last_ ? QStringLiteral("Stopped after ") + SlotText(*last_)
                     : QStringLiteral("Stopped before the first ") +
                           (kind_ == RunKind::Send ? QStringLiteral("patch")
                                                   : QStringLiteral("program"));
        switch (*end_) {
            case RunEnd::Stopped:
                text += QStringLiteral(" at the user's request");
                break;
            case RunEnd::NoReply:
                text += QStringLiteral(": the ") + synth_ + QStringLiteral(" stopped answering");
                break;
            case RunEnd::PortUnavailable:
                text += QStringLiteral(": the ") + synth_ + QStringLiteral("'s port went away");
                break;
            case RunEnd::SendFailed:
                text += QStringLiteral(": a message to the ") + synth_ + QStringLiteral(" failed");
                break;
            case RunEnd::Completed:
                break;
        }
        text += QStringLiteral(". ");
    }
    text += tally();
    if (readBack_ && std::any_of(outcomes_.begin(), outcomes_.end(),
                                 [](const auto& o) { return o.second.readBack.has_value(); }))
        text += QStringLiteral(". ") + readBackTally();
    return text;
}

}  // namespace zanq
