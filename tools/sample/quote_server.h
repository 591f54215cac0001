// A small HTTP server on 127.0.0.1 (port chosen by the system) for the tests and the
// benchmark of the Internet source: each path answers with a fixed status and body,
// optionally after a delay, as a redirect, or never. Runs in the caller's event loop.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTcpServer>
#include <memory>

class QTcpSocket;

namespace sample {

struct Answer {
    Answer(int status = 200, QByteArray body = {}, QByteArray contentType = "text/plain", int delayMs = 0, QString location = {},
           bool never = false)
        : status(status), body(std::move(body)), contentType(std::move(contentType)), delayMs(delayMs), location(std::move(location)),
          never(never) {}
    int status;
    QByteArray body;
    QByteArray contentType;
    int delayMs;       // the answer is written this long after the request
    QString location;  // with a 3xx status: the Location header
    bool never;        // the request is read and never answered
    int dripMs = 0;    // > 0: the answer is written one byte each this many milliseconds
    bool chunked = false;  // the body goes in chunks of 1 KB without a length, `body` over and over until `chunkedBytes`
    qint64 chunkedBytes = 0;
};

class QuoteServer {
public:
    QuoteServer();
    ~QuoteServer();
    // False when no port could be bound.
    bool listen();
    quint16 port() const { return m_server.serverPort(); }
    QString url(const QString& path) const;

    // The answer to `path`; a path without one gets 404. `fallback`, when set,
    // answers every path without its own.
    void set(const QString& path, const Answer& answer) { m_answers.insert(path, answer); }
    void setFallback(const Answer& answer) { m_fallback = std::make_unique<Answer>(answer); }
    int requests() const { return m_requests; }
    // Stops accepting; connections already open stay.
    void close() { m_server.close(); }

private:
    void serve(QTcpSocket* socket);

    QTcpServer m_server;
    QMap<QString, Answer> m_answers;
    std::unique_ptr<Answer> m_fallback;
    int m_requests = 0;
};

}  // namespace sample
