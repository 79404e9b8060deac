#include "midi/PatchSend.h"

#include "midi/BankRuns.h"
#include "midi/VerifySetting.h"
#include "shell/Prompter.h"

namespace zanq {

void SendOnePatch(QWidget& window, MidiLink& link, const SynthDialect& dialect, Prompter& prompter,
                  Slot slot, std::string record) {
    auto* run = new BankSendRun(link, dialect, {{slot, std::move(record)}}, &window);
    const bool verify = VerifySends();
    run->setReadBack(verify);
    QObject::connect(run, &BankRun::finished, &window, [run, verify, &window, &prompter] {
        run->deleteLater();
        const RunReport& report = run->report();
        if (!verify)
            return;
        QStringList lines{report.summary()};
        lines << report.details();
        prompter.tell(&window, lines.join(kCR), QStringLiteral("Midi Send Patch"),
                      report.complete() ? QMessageBox::Information : QMessageBox::Warning);
    });
    run->start();
}

}  // namespace zanq
