#include "midi/VerifySetting.h"

#include <QSettings>

namespace zanq {

namespace {
const QString kKey = QStringLiteral("Midi/verifySends");
}  // namespace

bool VerifySends() {
    return QSettings().value(kKey, false).toBool();
}

void SetVerifySends(bool on) {
    QSettings().setValue(kKey, on);
}

}  // namespace zanq
