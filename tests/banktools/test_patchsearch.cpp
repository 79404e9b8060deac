#include <QtTest>

#include "banktools/PatchSearch.h"
#include "support/Records.h"

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

    void linesInLibraryThenMatrixOrder() {
        test::TestLibrarian t;
        Librarian& librarian = t.librarian;
        librarian.apply({test::MakeRecord("Zed Bass", 0, 0, 1), test::MakeRecord("Air", 0, 0, 2),
                         test::MakeRecord("", 0, 0, 3), test::MakeRecord("bass drop", 0, 0, 4)},
                        LoadTarget::Library);
        librarian.deleteFromLibrary("Air");
        librarian.apply({test::MakeRecord("Sub BASS", 7, 127, 5),
                         test::MakeRecord("Bassline", 0, 0, 6), test::MakeRecord("", 2, 6, 7)},
                        LoadTarget::Matrix);

        const QStringList expected{
            QStringLiteral("Library : Zed Bass"), QStringLiteral("Library : bass drop"),
            QStringLiteral("Mx A-001: Bassline"), QStringLiteral("Mx H-128: Sub BASS")};
        QCOMPARE(SearchPatches(librarian, QStringLiteral("bAsS"), true, true), expected);
        QCOMPARE(SearchPatches(librarian, QStringLiteral("bass"), false, true), expected.mid(2));
        QCOMPARE(SearchPatches(librarian, QStringLiteral("bass"), true, false), expected.mid(0, 2));
        QVERIFY(SearchPatches(librarian, QString(), false, false).isEmpty());
        // The empty text lists every named patch and nothing else.
        QCOMPARE(SearchPatches(librarian, QString(), true, true), expected);
    }
};

QTEST_APPLESS_MAIN(PatchSearchTest)
#include "test_patchsearch.moc"
