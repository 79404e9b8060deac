// File names of exported patches: the plain form, and names from foreign files that must not
// leave the program's folder or use characters a file system refuses.

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
        row("climbing", "../../x", ".._.._x-C-005.syx");
        row("folder", "a/b", "a_b-C-005.syx");
        row("backslash", "..\\win", ".._win-C-005.syx");
        row("refused", "a:b*c?d\"e<f>g|h", "a_b_c_d_e_f_g_h-C-005.syx");
        row("control", QString::fromLatin1("t\tab\x7f"), "t_ab_-C-005.syx");
        row("dots", "..", "_-C-005.syx");
        row("dot", ".", "_-C-005.syx");
        row("dotted", "v1.2", "v1.2-C-005.syx");
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
