#pragma once
// A one-file HTTP server on 127.0.0.1 for the update check: answers every GET with `body`, or,
// when `silent`, accepts the connection and never answers. After close() the address refuses
// connections.

#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace zanq::test {

class LocalHttpServer : public QTcpServer {
public:
    QByteArray body;
    bool silent = false;
    int requests = 0;

    LocalHttpServer() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
        listen(QHostAddress::LocalHost);
    }

    QUrl url() const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1/kelmo/zanq/version.txt").arg(serverPort()));
    }

private:
    void serve(QTcpSocket* socket) {
        // The request stays buffered until its header has come in whole.
        if (!socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
            return;
        socket->readAll();
        ++requests;
        if (silent)
            return;
        socket->write(
            "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n"
            "Content-Length: " +
            QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }
};

}  // namespace zanq::test
