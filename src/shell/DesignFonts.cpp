#include "shell/DesignFonts.h"

#include <QFont>

namespace zanq {

void SubstituteDesignFonts() {
    // Metric-compatible pairs: Debian's fonts-crosextra-carlito and fonts-liberation2.
    QFont::insertSubstitution(QStringLiteral("Calibri"), QStringLiteral("Carlito"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

}  // namespace zanq
