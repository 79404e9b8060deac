#include <QtTest>

#include <QAction>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "LocalHttpServer.h"
#include "shell/ClickableLabel.h"
#include "shell/frmMain.h"
#include "support/ScriptedPrompter.h"
#include "update/InstallUpdate.h"
#include "update/VersionCheck.h"
#include "update/frmAbout.h"

using namespace zanq;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A main window with the update subsystem installed; the site opener only records.
struct Rig {
    PatchStores stores;
    test::ScriptedPrompter prompter;
    AppContext context{stores, prompter, QString()};
    QList<QUrl> opened;
    std::unique_ptr<frmMain> window;
    modWeb* web = nullptr;
    std::unique_ptr<QSignalSpy> checks;

    explicit Rig(const UpdateSettings* settings) {
        context.openUrl = [this](const QUrl& url) { opened << url; };
        window = std::make_unique<frmMain>(context);
        if (settings)
            InstallUpdate(*window, context, *settings);
        else
            InstallUpdate(*window, context);
        web = window->findChild<modWeb*>();
        checks = std::make_unique<QSignalSpy>(web, &modWeb::checked);
        window->show();
    }
    bool waitForChecks(int count) {
        return QTest::qWaitFor([&] { return checks->count() >= count; }, 15000);
    }
    frmAbout* about() const { return window->findChild<frmAbout*>(); }
};

}  // namespace

class UpdateTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> temp;
    std::unique_ptr<test::LocalHttpServer> server;
    UpdateSettings settings;

private slots:
    void init() {
        temp = std::make_unique<QTemporaryDir>();
        server = std::make_unique<test::LocalHttpServer>();
        settings = {server->url(), temp->filePath(QStringLiteral("v.txt")), 10000};
    }

    void versionOrder_data() {
        QTest::addColumn<QByteArray>("latest");
        QTest::addColumn<bool>("newer");
        QTest::newRow("older") << QByteArray("v0.0.100") << false;
        QTest::newRow("shorter prefix") << QByteArray("v0.0.5") << false;
        QTest::newRow("case counts") << QByteArray("V0.0.57") << false;
        QTest::newRow("byte above 127") << QByteArray("v0.0.5\xe9") << true;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void versionOrder() {
        QFETCH(QByteArray, latest);
        QFETCH(bool, newer);
        QCOMPARE(IsNewerRelease(VersionText(), latest), newer);
    }

    void startUpCheck_data() {
        QTest::addColumn<QByteArray>("served");
        QTest::addColumn<QString>("notice");
        QTest::newRow("newer") << QByteArray("v0.0.57") << "v0.0.57 is available !";
        QTest::newRow("equal") << QByteArray("v0.0.56") << "";
        QTest::newRow("equal plus line break")
            << QByteArray("v0.0.56\n") << "v0.0.56\n is available !";
        QTest::newRow("v0.0.9") << QByteArray("v0.0.9") << "v0.0.9 is available !";
        QTest::newRow("markup") << QByteArray("v0.0.57<a href=\"http://x/\"><b>get</b></a>")
                                << "v0.0.57<a href=\"http://x/\"><b>get</b></a> is available !";
    }
    void startUpCheck() {
        QFETCH(QByteArray, served);
        QFETCH(QString, notice);
        server->body = served;
        Rig rig(&settings);
        // The window is up before the download has ended.
        QCOMPARE(rig.checks->count(), 0);
        QCOMPARE(rig.window->lblversion->text(), QStringLiteral("---"));
        QVERIFY(rig.waitForChecks(1));
        QCOMPARE(ReadAll(settings.localCopyPath), served);
        QCOMPARE(rig.window->lblversion->text(), notice);
        QCOMPARE(rig.window->lblversion->textFormat(), Qt::PlainText);
        QCOMPARE(rig.window->lblversion->isEnabled(), !notice.isEmpty());
        QVERIFY(rig.prompter.shown.isEmpty());
    }

    void failedDownloadUsesEarlierCopy_data() {
        QTest::addColumn<QByteArray>("earlier");
        QTest::addColumn<QString>("notice");
        QTest::newRow("no copy") << QByteArray() << "";
        QTest::newRow("old copy") << QByteArray("v0.0.60") << "v0.0.60 is available !";
    }
    void failedDownloadUsesEarlierCopy() {
        QFETCH(QByteArray, earlier);
        QFETCH(QString, notice);
        if (!earlier.isEmpty())
            WriteAll(settings.localCopyPath, earlier);
        server->shutDown();
        Rig rig(&settings);
        QVERIFY(rig.waitForChecks(1));
        QCOMPARE(rig.window->lblversion->text(), notice);
        QCOMPARE(rig.window->lblversion->isEnabled(), !notice.isEmpty());
        QCOMPARE(ReadAll(settings.localCopyPath), earlier);
        QVERIFY(rig.prompter.shown.isEmpty());
    }

    void oversizedAnswerIsRefused() {
        WriteAll(settings.localCopyPath, "v0.0.56");
        server->body = "v0.0.99" + QByteArray(1024 * 1024, 'x');
        Rig rig(&settings);
        QVERIFY(rig.waitForChecks(1));
        QCOMPARE(ReadAll(settings.localCopyPath), QByteArray("v0.0.56"));
        QCOMPARE(rig.window->lblversion->text(), QString());
        QVERIFY(!rig.window->lblversion->isEnabled());
        // A copy left oversized by someone else is read only up to the limit.
        WriteAll(settings.localCopyPath, QByteArray(3 * kMaxVersionFileBytes, 'v'));
        QCOMPARE(ReadLocalCopy(settings.localCopyPath).size(), kMaxVersionFileBytes);
    }

    void silentServerTimesOut() {
        server->silent = true;
        settings.timeoutMs = 300;
        Rig rig(&settings);
        QTRY_COMPARE(server->requests, 1);
        // While the download hangs the window still answers clicks.
        QTest::mouseClick(rig.window->StatusPanel[0], Qt::LeftButton);
        QCOMPARE(rig.opened.size(), 1);
        QCOMPARE(rig.checks->count(), 0);
        QVERIFY(rig.waitForChecks(1));
        QCOMPARE(rig.window->lblversion->text(), QString());
        QVERIFY(!rig.window->lblversion->isEnabled());
        QVERIFY(!QFile::exists(settings.localCopyPath));
    }

    void environmentChoosesFolderAndAddress() {
        QTemporaryDir other;
        server->body = "v0.0.58";
        qputenv("ZANQ_UPDATE_URL", server->url().toEncoded());
        qputenv("tmp", "");
        qputenv("temp", temp->path().toLocal8Bit());
        const auto restore = qScopeGuard([] {
            qunsetenv("ZANQ_UPDATE_URL");
            qunsetenv("tmp");
            qunsetenv("temp");
        });
        {
            Rig rig(nullptr);
            QVERIFY(rig.waitForChecks(1));
            QCOMPARE(ReadAll(temp->filePath(QStringLiteral("v.txt"))), QByteArray("v0.0.58"));
            QCOMPARE(rig.window->lblversion->text(), QStringLiteral("v0.0.58 is available !"));
        }
        qputenv("tmp", other.path().toLocal8Bit());
        QCOMPARE(UpdateSettingsFromEnvironment().localCopyPath, other.filePath("v.txt"));
        QCOMPARE(TemporaryFolder("", "", "/fallback"), QStringLiteral("/fallback"));
    }

    void statusPanelsAndLinks() {
        server->body = "v0.0.57";
        Rig rig(&settings);
        QVERIFY(rig.waitForChecks(1));
        QTest::mouseClick(rig.window->StatusPanel[1], Qt::LeftButton);
        QTest::mouseClick(rig.window->StatusPanel[2], Qt::LeftButton);
        QVERIFY(rig.opened.isEmpty());
        QVERIFY(!rig.about());
        QCOMPARE(server->requests, 1);

        QTest::mouseClick(rig.window->StatusPanel[0], Qt::LeftButton);
        QTest::mouseClick(rig.window->lblversion, Qt::LeftButton);
        QCOMPARE(rig.opened, (QList<QUrl>{SiteUrl(), SiteUrl()}));
    }

    void aboutWindow() {
        server->body = "v0.0.57";
        Rig rig(&settings);
        QVERIFY(rig.waitForChecks(1));
        const std::function<void()> opens[] = {
            [&] { QTest::mouseClick(rig.window->StatusPanel[3], Qt::LeftButton); },
            [&] { rig.window->mnuAbout->trigger(); },
            [&] { QTest::mouseClick(rig.window->Image3, Qt::LeftButton); },
        };
        int opening = 0;
        for (const auto& open : opens) {
            ++opening;
            open();
            QPointer<frmAbout> about = rig.about();
            QVERIFY(about);
            // Opens at once from its design state, before its own check has ended.
            QVERIFY(about->isVisible());
            QCOMPARE(about->windowModality(), Qt::ApplicationModal);
            QCOMPARE(about->windowTitle(), QStringLiteral("About"));
            QCOMPARE(about->lblversion->text(), QStringLiteral("version 0.0.56"));
            QCOMPARE(about->Label4->text(), QStringLiteral("- SYSEX LIBRARIAN -"));
            QCOMPARE(about->cmdOK->text(), QStringLiteral("OK"));
            QCOMPARE(about->lblVersionWeb->text(), QStringLiteral("---"));

            QVERIFY(rig.waitForChecks(1 + opening));
            QCOMPARE(server->requests, 1 + opening);
            QCOMPARE(about->lblVersionWeb->text(), QStringLiteral("v0.0.57 is available !"));
            QVERIFY(about->lblVersionWeb->isEnabled());
            QCOMPARE(about->lblVersionWeb->textFormat(), Qt::PlainText);

            rig.opened.clear();
            QTest::mouseClick(about->lblVersionWeb, Qt::LeftButton);
            QTest::mouseClick(about->Label2, Qt::LeftButton);
            QCOMPARE(rig.opened, (QList<QUrl>{SiteUrl(), SiteUrl()}));

            QTest::mouseClick(about->cmdOK, Qt::LeftButton);
            QTRY_VERIFY(about.isNull());
        }
    }

    void aboutNoticeEmptiesWhenReleaseIsCurrent() {
        server->body = "v0.0.57";
        Rig rig(&settings);
        QVERIFY(rig.waitForChecks(1));
        server->body = "v0.0.56";
        rig.window->mnuAbout->trigger();
        QVERIFY(rig.waitForChecks(2));
        QCOMPARE(rig.about()->lblVersionWeb->text(), QString());
        QVERIFY(!rig.about()->lblVersionWeb->isEnabled());
        QCOMPARE(rig.window->lblversion->text(), QString());
        // A disabled notice takes no clicks.
        QTest::mouseClick(rig.window->lblversion, Qt::LeftButton);
        QTest::mouseClick(rig.about()->lblVersionWeb, Qt::LeftButton);
        QVERIFY(rig.opened.isEmpty());
        rig.about()->close();
    }
};

QTEST_MAIN(UpdateTest)
#include "test_update.moc"
