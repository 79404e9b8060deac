// Which patch names a search text matches: case folded as Qt folds it, as a plain substring.

#include <QtTest>

#include "banktools/PatchSearch.h"

using namespace zanq;

class PatchSearchTest : public QObject {
    Q_OBJECT
private slots:
    void foldingAgreesWithQtForEverySingleByte() {
        // Every Latin-1 name byte against every Latin-1 text letter, plus letters outside
        // Latin-1 that fold onto it (Greek mu, Kelvin sign, long s).
        QString texts = QStringLiteral("\u03BC\u212A\u017F");
        for (int c = 1; c < 256; ++c)
            texts.append(QChar(c));
        for (int b = 1; b < 256; ++b) {
            const std::string name(1, static_cast<char>(b));
            for (QChar t : texts)
                if (PatchNameMatcher(QString(t)).matches(name) !=
                    QString::fromLatin1(name).contains(t, Qt::CaseInsensitive))
                    QFAIL(qPrintable(QStringLiteral("byte %1 text U+%2")
                                         .arg(b)
                                         .arg(t.unicode(), 4, 16, QLatin1Char('0'))));
        }
    }

    void substringRules() {
        QVERIFY(PatchNameMatcher(QStringLiteral("pad")).matches("Warm PAD"));
        QVERIFY(PatchNameMatcher(QStringLiteral("RM P")).matches("Warm PAD"));
        QVERIFY(PatchNameMatcher(QString::fromUtf8("ÉTÉ")).matches("\xe9t\xe9 Pad"));
        QVERIFY(!PatchNameMatcher(QStringLiteral("pads")).matches("Warm PAD"));
        QVERIFY(!PatchNameMatcher(QStringLiteral("warm  pad")).matches("Warm PAD"));
        QVERIFY(!PatchNameMatcher(QStringLiteral("*")).matches("Warm PAD"));
        QVERIFY(PatchNameMatcher(QString()).matches("x"));
        QVERIFY(!PatchNameMatcher(QString()).matches(""));
        QVERIFY(!PatchNameMatcher(QStringLiteral(" ")).matches(""));
    }
};

QTEST_APPLESS_MAIN(PatchSearchTest)
#include "test_patchsearch.moc"
