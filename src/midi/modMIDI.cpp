#include "midi/modMIDI.h"

#include "shell/Prompter.h"

namespace zanq {

namespace {
// The platform's error text fills a 128-character buffer, NUL included.
constexpr std::size_t kErrorTextLength = 127;
}  // namespace

modMIDI::modMIDI(MidiBackend& backend, Prompter& prompter)
    : backend_(backend), prompter_(prompter) {}

modMIDI::~modMIDI() {
    // The port's thread must not write into the buffer once it is gone.
    if (inOpen_ == kOpen)
        backend_.resetInput();
}

bool modMIDI::SendSysex(std::string_view message) {
    if (message.empty() || message.size() > kMaxMessage)
        return false;
    if (const MidiCode code = backend_.openOutput(outDevice_)) {
        ReportMidiError(QStringLiteral("MIDI OUT OPEN"), code);
        return false;
    }
    outOpen_ = kOpen;
    SendLongMessage(message);
    return true;
}

void modMIDI::SendLongMessage(std::string_view message) {
    // The buffer stays ours until the header is given back.
    outBuffer_.assign(message.data(), message.size());
    if (const MidiCode code = backend_.prepareOutputHeader()) {
        ReportMidiError(QStringLiteral("MIDI OUT PREPARE HEADER"), code);
        return;
    }
    if (const MidiCode code = backend_.sendLongMessage(outBuffer_)) {
        ReportMidiError(QStringLiteral("MIDI OUT LONG MESSAGE"), code);
        return;
    }
    CloseMidiOut();
}

void modMIDI::CloseMidiOut() {
    if (const MidiCode code = backend_.unprepareOutputHeader()) {
        ReportMidiError(QStringLiteral("MIDI OUT UNPREPARE HEADER"), code);
        return;
    }
    if (const MidiCode code = backend_.closeOutput()) {
        ReportMidiError(QStringLiteral("MIDI OUT CLOSE"), code);
        return;
    }
    outOpen_ = kClosed;
}

void modMIDI::OpenMidiIn() {
    // Cleared first, so that a failed open leaves nothing that looks received.
    capture_.clear();
    if (const MidiCode code = backend_.openInput(inDevice_)) {
        ReportMidiError(QStringLiteral("MIDI IN OPEN"), code);
        return;
    }
    inOpen_ = kOpen;
    if (const MidiCode code = backend_.prepareInputHeader()) {
        ReportMidiError(QStringLiteral("MIDI IN PREPARE HEADER"), code);
        return;
    }
    if (const MidiCode code = backend_.addInputBuffer(capture_)) {
        ReportMidiError(QStringLiteral("MIDI IN ADD BUFFER"), code);
        return;
    }
    if (const MidiCode code = backend_.startInput()) {
        ReportMidiError(QStringLiteral("MIDI IN START"), code);
        return;
    }
}

void modMIDI::CloseMidiIn() {
    if (const MidiCode code = backend_.resetInput()) {
        ReportMidiError(QStringLiteral("MIDI IN RESET"), code);
        return;
    }
    if (const MidiCode code = backend_.unprepareInputHeader()) {
        ReportMidiError(QStringLiteral("MIDI IN UNPREPARE HEADER"), code);
        return;
    }
    if (const MidiCode code = backend_.closeInput()) {
        ReportMidiError(QStringLiteral("MIDI IN CLOSE"), code);
        return;
    }
    inOpen_ = kClosed;
}

void modMIDI::CloseMidiInIfOpen() {
    if (inOpen_ == kOpen)
        CloseMidiIn();
}

void modMIDI::ReportMidiError(const QString& operation, MidiCode code) {
    std::string text = backend_.errorText(code);
    text = text.substr(0, text.find('\0'));
    if (text.size() > kErrorTextLength)
        text.resize(kErrorTextLength);
    const QString message = QStringLiteral("Operation: ") + operation + kCR + QChar(0x0A) +
                            QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    prompter_.tell(parent_, message, kAppTitle, QMessageBox::NoIcon);
}

void modMIDI::Shutdown() {
    if (inOpen_ == kOpen) {
        CloseMidiIn();
        inOpen_ = kClosed;
    }
    if (outOpen_ == kOpen) {
        CloseMidiOut();
        outOpen_ = kClosed;
    }
}

}  // namespace zanq
