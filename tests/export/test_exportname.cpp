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
        QTest::newRow("plain") << "Warm Pad"
                               << "Warm Pad-C-005.syx";
        QTest::newRow("empty") << ""
                               << "-C-005.syx";
        QTest::newRow("climbing") << "../../x"
                                  << ".._.._x-C-005.syx";
        QTest::newRow("folder") << "a/b"
                                << "a_b-C-005.syx";
        QTest::newRow("backslash") << "..\\win"
                                   << ".._win-C-005.syx";
        QTest::newRow("refused") << "a:b*c?d\"e<f>g|h"
                                 << "a_b_c_d_e_f_g_h-C-005.syx";
        QTest::newRow("control") << QString::fromLatin1("t\tab\x7f") << "t_ab_-C-005.syx";
        QTest::newRow("dots") << ".."
                              << "_-C-005.syx";
        QTest::newRow("dot") << "."
                             << "_-C-005.syx";
        QTest::newRow("dotted") << "v1.2"
                                << "v1.2-C-005.syx";
        QTest::newRow("latin1") << QString::fromLatin1("Br\xfc")
                                << QString::fromLatin1("Br\xfc-C-005.syx");
    }
    void fileNames() {
        QFETCH(QString, name);
        QFETCH(QString, file);
        QCOMPARE(ExportFileName(name, QStringLiteral("C"), QStringLiteral("005")), file);
    }
};

QTEST_MAIN(ExportNameTest)
#include "test_exportname.moc"
