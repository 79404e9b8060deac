#include <QtTest>

#include <QAction>
#include <QPushButton>
#include <QTemporaryDir>
#include <memory>

#include "LocalHttpServer.h"
#include "model/DeepMindDialect.h"
#include "shell/ClickableLabel.h"
#include "shell/frmMain.h"
#include "support/ScriptedPrompter.h"
#include "update/InstallUpdate.h"
#include "update/VersionCheck.h"
#include "update/frmAbout.h"

using namespace zanq;

namespace {

// A main window with the update subsystem installed; the site opener only records.
struct Rig {
    DeepMindDialect dialect;
    Librarian librarian{dialect};
    test::ScriptedPrompter prompter;
    AppContext context{librarian, prompter, QString()};
    QList<QUrl> opened;
    std::unique_ptr<frmMain> window;
    std::unique_ptr<QSignalSpy> checks;

    explicit Rig(const UpdateSettings* settings) {
        context.openUrl = [this](const QUrl& url) { opened << url; };
        window = std::make_unique<frmMain>(context);
        settings ? InstallUpdate(*window, context, *settings) : InstallUpdate(*window, context);
        checks = std::make_unique<QSignalSpy>(window->findChild<modWeb*>(), &modWeb::checked);
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

    void versionOrderAndLimits() {
        for (const char* older : {"v0.0.100", "v0.0.5", "V0.0.57", ""})
            QVERIFY2(!IsNewerRelease(VersionText(), older), older);
        QVERIFY(IsNewerRelease(VersionText(), "v0.0.5\xe9"));  // a byte above 127 sorts high
        // A copy left oversized by someone else is read only up to the limit.
        QVERIFY(
            ReplaceLocalCopy(settings.localCopyPath, QByteArray(3 * kMaxVersionFileBytes, 'v')));
        QCOMPARE(ReadLocalCopy(settings.localCopyPath).size(), kMaxVersionFileBytes);
    }

    void startUpCheck_data() {
        QTest::addColumn<QByteArray>("served");   // null: the server is down
        QTest::addColumn<QByteArray>("earlier");  // the local copy before the check
        QTest::addColumn<bool>("kept");           // the download leaves the copy as it was
        QTest::addColumn<QString>("notice");
        QTest::addColumn<bool>("silent");  // accepts the request and never answers
        const QByteArray none, v56("v0.0.56"), v57("v0.0.57"), v60("v0.0.60");
        const QByteArray markup = v57 + "<a href=\"http://x/\"><b>get</b></a>";
        QTest::newRow("newer") << v57 << none << false << "v0.0.57 is available !" << false;
        QTest::newRow("equal") << v56 << v60 << false << "" << false;
        QTest::newRow("equal, line break") << v56 + '\n'
                                           << none << false << "v0.0.56\n is available !" << false;
        QTest::newRow("v0.0.9") << QByteArray("v0.0.9") << none << false << "v0.0.9 is available !"
                                << false;
        QTest::newRow("markup") << markup << none << false << QString(markup + " is available !")
                                << false;
        QTest::newRow("down, no copy") << none << none << true << "" << false;
        QTest::newRow("down, old copy") << none << v60 << true << "v0.0.60 is available !" << false;
        QTest::newRow("1 MB") << "v0.0.99" + QByteArray(1 << 20, 'x') << v56 << true << "" << false;
        QTest::newRow("never answers") << v57 << none << true << "" << true;
    }

    void startUpCheck() {
        QFETCH(QByteArray, served);
        QFETCH(QByteArray, earlier);
        QFETCH(bool, kept);
        QFETCH(QString, notice);
        QFETCH(bool, silent);
        QVERIFY(earlier.isNull() || ReplaceLocalCopy(settings.localCopyPath, earlier));
        if (served.isNull())
            server->close();
        server->body = served;
        server->silent = silent;
        settings.timeoutMs = silent ? 300 : 10000;
        Rig rig(&settings);
        // The window is up and answers clicks before the download has ended.
        QCOMPARE(rig.checks->count(), 0);
        QCOMPARE(rig.window->lblversion->text(), QStringLiteral("---"));
        QTest::mouseClick(rig.window->StatusPanel[0], Qt::LeftButton);
        QCOMPARE(rig.opened, QList<QUrl>{SiteUrl()});
        QVERIFY(rig.waitForChecks(1));
        QCOMPARE(server->requests, served.isNull() ? 0 : 1);
        QCOMPARE(ReadLocalCopy(settings.localCopyPath), kept ? earlier : served);
        QCOMPARE(rig.window->lblversion->text(), notice);
        QCOMPARE(rig.window->lblversion->textFormat(), Qt::PlainText);
        QCOMPARE(rig.window->lblversion->isEnabled(), !notice.isEmpty());
        QVERIFY(rig.prompter.shown.isEmpty());
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
            QCOMPARE(ReadLocalCopy(temp->filePath(QStringLiteral("v.txt"))), QByteArray("v0.0.58"));
            QCOMPARE(rig.window->lblversion->text(), QStringLiteral("v0.0.58 is available !"));
        }
        qputenv("tmp", other.path().toLocal8Bit());
        QCOMPARE(UpdateSettingsFromEnvironment().localCopyPath, other.filePath("v.txt"));
    }

    void routesAndAboutWindow() {
        server->body = "v0.0.57";
        Rig rig(&settings);
        QVERIFY(rig.waitForChecks(1));
        QTest::mouseClick(rig.window->StatusPanel[1], Qt::LeftButton);
        QTest::mouseClick(rig.window->StatusPanel[2], Qt::LeftButton);
        QVERIFY(rig.opened.isEmpty() && !rig.about());
        QTest::mouseClick(rig.window->lblversion, Qt::LeftButton);
        QCOMPARE(rig.opened, QList<QUrl>{SiteUrl()});

        const std::function<void()> opens[] = {
            [&] { QTest::mouseClick(rig.window->StatusPanel[3], Qt::LeftButton); },
            [&] { rig.window->mnuAbout->trigger(); },
            [&] { QTest::mouseClick(rig.window->Image3, Qt::LeftButton); },
        };
        for (const auto& open : opens) {
            open();
            QPointer<frmAbout> about = rig.about();
            // Opens at once from its design state, before its own check has ended.
            QVERIFY(about && about->isVisible());
            QCOMPARE(about->windowModality(), Qt::ApplicationModal);
            QCOMPARE(about->windowTitle(), QStringLiteral("About"));
            QCOMPARE(about->lblversion->text(), QStringLiteral("version 0.0.56"));
            QCOMPARE(about->Label4->text(), QStringLiteral("- SYSEX LIBRARIAN -"));
            QCOMPARE(about->cmdOK->text(), QStringLiteral("OK"));
            QCOMPARE(about->lblVersionWeb->text(), QStringLiteral("---"));

            QVERIFY(rig.waitForChecks(rig.checks->count() + 1));
            QCOMPARE(server->requests, rig.checks->count());
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

        // The release became current: both notices empty and take no clicks.
        server->body = "v0.0.56";
        rig.opened.clear();
        rig.window->mnuAbout->trigger();
        QVERIFY(rig.waitForChecks(5));
        QCOMPARE(rig.about()->lblVersionWeb->text(), QString());
        QCOMPARE(rig.window->lblversion->text(), QString());
        QTest::mouseClick(rig.window->lblversion, Qt::LeftButton);
        QTest::mouseClick(rig.about()->lblVersionWeb, Qt::LeftButton);
        QVERIFY(rig.opened.isEmpty());
        rig.about()->close();
    }
};

QTEST_MAIN(UpdateTest)
#include "test_update.moc"
