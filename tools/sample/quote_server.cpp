#include "quote_server.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

namespace sample {

QuoteServer::QuoteServer() {
    QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            auto buffer = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer] {
                *buffer += socket->readAll();
                if (!buffer->contains("\r\n\r\n")) return;
                const QList<QByteArray> requestLine = buffer->left(buffer->indexOf("\r\n")).split(' ');
                buffer->clear();
                socket->setProperty("path", QString::fromLatin1(requestLine.value(1)));
                serve(socket);
            });
        }
    });
}

QuoteServer::~QuoteServer() { m_server.close(); }

bool QuoteServer::listen() { return m_server.listen(QHostAddress::LocalHost, 0); }

QString QuoteServer::url(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path); }

void QuoteServer::serve(QTcpSocket* socket) {
    ++m_requests;
    const QString path = socket->property("path").toString();
    Answer a;
    if (m_answers.contains(path)) a = m_answers.value(path);
    else if (m_fallback) a = *m_fallback;
    else a = Answer{404, "nicht gefunden", "text/plain", 0, QString(), false};
    if (a.never) return;
    QByteArray response = "HTTP/1.1 " + QByteArray::number(a.status) + " X\r\nContent-Type: " + a.contentType + "\r\n";
    if (a.chunked) response += "Transfer-Encoding: chunked\r\nConnection: close\r\n";
    else response += "Content-Length: " + QByteArray::number(a.body.size()) + "\r\nConnection: close\r\n";
    if (!a.location.isEmpty()) response += "Location: " + a.location.toUtf8() + "\r\n";
    response += "\r\n";
    QPointer<QTcpSocket> alive(socket);
    if (a.chunked) {
        // Written as the client reads: a client that stops reading stops the server too.
        alive->write(response);
        auto sent = std::make_shared<qint64>(0);
        const QByteArray piece = a.body.isEmpty() ? QByteArray(1024, 'x') : a.body;
        auto more = [alive, sent, piece, total = a.chunkedBytes] {
            if (!alive) return;
            if (alive->bytesToWrite() > 64 * 1024) return;
            if (*sent >= total) {
                alive->write("0\r\n\r\n");
                alive->disconnectFromHost();
                return;
            }
            alive->write(QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n");
            *sent += piece.size();
        };
        auto timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket, more);
        timer->start(0);
        return;
    }
    response += a.body;
    if (a.dripMs > 0) {
        auto at = std::make_shared<qsizetype>(0);
        auto timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket, [alive, response, at, timer] {
            if (!alive) return;
            if (*at >= response.size()) {
                timer->stop();
                alive->disconnectFromHost();
                return;
            }
            alive->write(response.mid(*at, 1));
            ++*at;
        });
        timer->start(a.dripMs);
        return;
    }
    auto send = [alive, response] {
        if (!alive) return;
        alive->write(response);
        alive->disconnectFromHost();
    };
    if (a.delayMs > 0) QTimer::singleShot(a.delayMs, socket, send);
    else send();
}

}  // namespace sample
