// File names of exported patches: the plain form, and names from foreign files made safe by the
// rule that the Save window's names follow too.

#include <QtTest>

#include "export/ExportFileName.h"

using namespace zanq;

class ExportNameTest : public QObject {
    Q_OBJECT

private slots:
    void fileNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("file");
        const auto row = [](const char* tag, const QString& name, const QString& file) {
            QTest::newRow(tag) << name << file;
        };
        row("plain", "Warm Pad", "Warm Pad-C-005.syx");
        row("empty", "", "-C-005.syx");
        // The safe-name rule of every file name the program builds from foreign text.
        row("climbing", "../../x", ".._.._x-C-005.syx");
        row("dots", "..", "_-C-005.syx");
        row("latin1", QString::fromLatin1("Br\xfc"), QString::fromLatin1("Br\xfc-C-005.syx"));
    }
    void fileNames() {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QCOMPARE(ExportFileName(name, QStringLiteral("C"), QStringLiteral("005")), file);
    }
};

QTEST_MAIN(ExportNameTest)
#include "test_exportname.moc"
