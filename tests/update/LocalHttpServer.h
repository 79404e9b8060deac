#pragma once
// A one-file HTTP server on 127.0.0.1 for the update check: answers every GET with `body`,
// or, when `silent`, accepts the connection and never answers.

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace zanq::test {

class LocalHttpServer : public QObject {
public:
    QByteArray body;
    bool silent = false;
    int requests = 0;

    LocalHttpServer() {
        connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            }
        });
        server_.listen(QHostAddress::LocalHost);
    }

    QUrl url() const {
        return QUrl(
            QStringLiteral("http://127.0.0.1:%1/kelmo/zanq/version.txt").arg(server_.serverPort()));
    }
    // Stops listening: the address then refuses connections.
    void shutDown() { server_.close(); }

private:
    void serve(QTcpSocket* socket) {
        QByteArray& request = pending_[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        ++requests;
        if (silent)
            return;
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n");
        socket->write("Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n");
        socket->write(body);
        socket->disconnectFromHost();
        pending_.remove(socket);
    }

    QTcpServer server_;
    QHash<QTcpSocket*, QByteArray> pending_;
};

}  // namespace zanq::test
