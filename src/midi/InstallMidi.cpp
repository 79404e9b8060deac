#include "midi/InstallMidi.h"

#include "midi/DeepMindDetector.h"
#include "midi/MidiLink.h"
#include "shell/AppContext.h"
#include "shell/frmMain.h"

namespace zanq {

namespace {

// "Operation: " + the failed step + CR LF + the MIDI system's text, cut at its first NUL and
// at 127 characters like the error text buffer of old.
QString MidiErrorMessage(const QString& operation, QString text) {
    constexpr qsizetype kErrorTextLength = 127;
    text.truncate(text.indexOf(QChar(0)) < 0 ? text.size() : text.indexOf(QChar(0)));
    text.truncate(kErrorTextLength);
    return QStringLiteral("Operation: ") + operation + kCR + QChar(0x0A) + text;
}

}  // namespace

DeepMindDetector* InstallMidi(frmMain& window, AppContext& context) {
    MidiLink* link = context.midi;
    if (!link)
        return nullptr;
    QObject::connect(
        link, &MidiLink::failed, &window,
        [&window, &prompter = context.prompter](const QString& operation, const QString& text) {
            prompter.tell(&window, MidiErrorMessage(operation, text), kAppTitle,
                          QMessageBox::NoIcon);
        });
    auto* detector = new DeepMindDetector(window, *link, context.librarian.dialect());
    detector->detectOnceShown();
    QObject::connect(&window, &frmMain::ticked, detector, &DeepMindDetector::DetectDeepMind);
    QObject::connect(&window, &frmMain::closing, detector, [link] { link->shutdown(); });
    return detector;
}

}  // namespace zanq
