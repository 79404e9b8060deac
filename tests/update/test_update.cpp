// The update check against a one-file HTTP server on 127.0.0.1, and the windows' notices.

#include <QtTest>

#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "support/MainRig.h"
#include "update/InstallUpdate.h"
#include "update/VersionCheck.h"
#include "update/frmAbout.h"

using namespace zanq;

namespace {

// Answers every GET with `body`, or, when `silent`, takes the request and never answers. After
// close() the address refuses connections.
struct LocalHttpServer : QTcpServer {
    QByteArray body;
    bool silent = false;
    int requests = 0;

    LocalHttpServer() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
                    // The request stays buffered until its header has come in whole.
                    if (!socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
                        return;
                    socket->readAll();
                    if (++requests; silent)
                        return;
                    socket->write(
                        "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n"
                        "Connection: close\r\nContent-Length: " +
                        QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
        });
        listen(QHostAddress::LocalHost);
    }
    QUrl url() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/kelmo/zanq/version.txt").arg(serverPort()));
    }
};

// A main window with the update subsystem installed; the site opener only records.
struct Rig : test::MainRig {
    QList<QUrl> opened;
    std::unique_ptr<QSignalSpy> checks;

    explicit Rig(const UpdateSettings* settings) : MainRig({}) {
        context.openUrl = [this](const QUrl& url) { opened << url; };
        settings ? InstallUpdate(window, context, *settings) : InstallUpdate(window, context);
        checks = std::make_unique<QSignalSpy>(window.findChild<modWeb*>(), &modWeb::checked);
        window.show();
    }
    bool waitForChecks(int count) {
        return QTest::qWaitFor([&] { return checks->count() >= count; }, 15000);
    }
    frmAbout* about() const { return window.findChild<frmAbout*>(); }
};

// One check by a bare modWeb; returns the notice it announced.
QString CheckOnce(modWeb& web) {
    QSignalSpy checked(&web, &modWeb::checked);
    web.CheckForUpdate();
    return checked.wait(15000) ? checked.takeFirst().at(0).toString() : QStringLiteral("no check");
}

}  // namespace

class UpdateTest : public QObject {
    Q_OBJECT
    std::unique_ptr<LocalHttpServer> server;

private slots:
    void init() { server = std::make_unique<LocalHttpServer>(); }

    // One check after another: each version file served gives its notice, and a download that
    // fails or is too big keeps the last text fetched. Nothing of a download may land where
    // another user could have planted a link.
    void noticesFollowTheVersionFile() {
        QTemporaryDir temp;
        for (const char* variable : {"TMPDIR", "tmp", "temp"})
            qputenv(variable, temp.path().toLocal8Bit());
        const auto restore = qScopeGuard([] {
            for (const char* variable : {"TMPDIR", "tmp", "temp"})
                qunsetenv(variable);
        });
        const QString utf8 = QStringLiteral("v0.0.57-\u00e9t\u00e9 is available !");
        const std::pair<QByteArray, QString> served[] = {
            {"v0.0.56\n", ""},
            {" v0.0.57\r\n", "v0.0.57 is available !"},
            {"v0.0.56", ""},
            {"v0.0.9", "v0.0.9 is available !"},  // compared by character
            {"v0.0.57-\xc3\xa9t\xc3\xa9", utf8},
            {"v0.0.99" + QByteArray(1 << 20, 'x'), utf8},
            {"v0.0.57\xff", QStringLiteral("v0.0.57\ufffd is available !")},
        };
        modWeb web({server->url(), 300});
        for (const auto& [body, notice] : served) {
            server->body = body;
            QCOMPARE(CheckOnce(web), notice);
        }
        server->silent = true;  // takes the request, never answers
        QCOMPARE(CheckOnce(web), served[6].second);
        server->close();
        QCOMPARE(CheckOnce(web), served[6].second);
        QCOMPARE(server->requests, 8);
        QCOMPARE(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), {});
    }

    void noAddressNoCheckNoNotice() {
        const UpdateSettings none;
        Rig rig(&none);
        QVERIFY(!rig.window.findChild<QNetworkReply*>());  // no download was started
        QVERIFY(rig.ui.lblversion->isHidden());
        rig.ui.mnuAbout->trigger();
        QVERIFY(rig.about() && rig.about()->lblVersionWeb->isHidden());
        rig.about()->close();
    }

    void windowLinksAndAboutWindow() {
        server->body = "v0.0.57\n";
        qputenv("ZANQ_UPDATE_URL", server->url().toEncoded());
        Rig rig(nullptr);
        qunsetenv("ZANQ_UPDATE_URL");
        // The window is up and answers clicks before the start-up check has ended.
        QCOMPARE(rig.ui.lblversion->text(), QStringLiteral("---"));
        for (int panel : {0, 1, 2})
            QTest::mouseClick(rig.ui.StatusPanel[panel], Qt::LeftButton);
        QCOMPARE(rig.opened, QList<QUrl>{SiteUrl()});
        QVERIFY(!rig.about());
        QVERIFY(rig.waitForChecks(1));
        QCOMPARE(rig.ui.lblversion->text(), QStringLiteral("v0.0.57 is available !"));
        QCOMPARE(rig.ui.lblversion->textFormat(), Qt::PlainText);
        QTest::mouseClick(rig.ui.lblversion, Qt::LeftButton);
        QCOMPARE(rig.opened.size(), 2);

        // Each way opens About at once, modal, from its design state; its notice follows its own
        // check. By the last the release is current: both notices empty, and they take no clicks.
        const std::function<void()> opens[] = {
            [&] { QTest::mouseClick(rig.ui.StatusPanel[3], Qt::LeftButton); },
            [&] { rig.ui.mnuAbout->trigger(); },
            [&] { QTest::mouseClick(rig.ui.Image3, Qt::LeftButton); },
        };
        for (int i = 0; i < 3; ++i) {
            const bool current = i == 2;
            if (current) {
                server->body = "v0.0.56";
                rig.opened.clear();
            }
            opens[i]();
            QPointer<frmAbout> about = rig.about();
            QVERIFY(about && about->isVisible());
            QCOMPARE(about->windowModality(), Qt::ApplicationModal);
            QCOMPARE(about->lblversion->text(), QStringLiteral("version 0.0.56"));
            QCOMPARE(about->lblVersionWeb->text(), QStringLiteral("---"));
            QVERIFY(rig.waitForChecks(i + 2));
            QCOMPARE(about->lblVersionWeb->text(),
                     current ? QString() : QStringLiteral("v0.0.57 is available !"));
            if (current) {
                for (QWidget* label : {about->Label2, about->lblVersionWeb, rig.ui.lblversion})
                    QTest::mouseClick(label, Qt::LeftButton);
                QCOMPARE(rig.opened, QList<QUrl>{SiteUrl()});  // the credit line only
                QCOMPARE(rig.ui.lblversion->text(), QString());
            }
            QTest::mouseClick(about->cmdOK, Qt::LeftButton);
            QTRY_VERIFY(about.isNull());
        }
        QCOMPARE(server->requests, 4);
    }
};

QTEST_MAIN(UpdateTest)
#include "test_update.moc"
