#include "acquisition/http_fetch.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace q {

namespace {

class FetchRun {
public:
    FetchRun(const std::vector<QUrl>& urls, const FetchLimits& limits, Progress& progress)
        : m_urls(urls), m_limits(limits), m_progress(progress), m_results(urls.size()) {
        m_manager.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    }

    std::vector<FetchResult> run() {
        if (m_urls.empty()) return {};
        for (int i = 0; i < std::max(1, m_limits.parallel); ++i) startNext();
        if (m_running > 0) m_loop.exec();
        return std::move(m_results);
    }

private:
    void startNext() {
        if (m_next >= m_urls.size()) return;
        const size_t index = m_next++;
        if (m_stopped) {
            m_results[index].error = QStringLiteral("abgebrochen");
            return startNext();
        }
        QNetworkRequest request(m_urls[index]);
        request.setMaximumRedirectsAllowed(m_limits.maxRedirects);
        QNetworkReply* reply = m_manager.get(request);
        // Qt reads from the socket only this far ahead of us, so a long answer
        // without a length (chunked) never lies in memory beyond the cap.
        reply->setReadBufferSize(std::min<qint64>(m_limits.maxBytes + 1, 64 * 1024));
        ++m_running;
        auto state = std::make_shared<Request>();
        // The limit is for the whole answer, from connecting to the last byte: a
        // transfer time-out would start again with every byte a slow server drips.
        state->deadline.setSingleShot(true);
        QObject::connect(&state->deadline, &QTimer::timeout, reply, [reply, state] {
            state->timedOut = true;
            reply->abort();
        });
        state->deadline.start(std::max(1, m_limits.timeoutMs));
        auto take = [this, reply, state] {
            if (state->oversized) return;
            const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
            if (announced <= m_limits.maxBytes) state->body += reply->read(m_limits.maxBytes + 1 - state->body.size());
            if (announced > m_limits.maxBytes || state->body.size() > m_limits.maxBytes) {
                state->oversized = true;
                state->body.clear();
                reply->abort();
            }
        };
        QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, take);
        QObject::connect(reply, &QNetworkReply::readyRead, reply, take);
        QObject::connect(reply, &QNetworkReply::finished, reply, [this, reply, index, state, take] {
            state->deadline.stop();
            if (reply->error() == QNetworkReply::NoError) take();
            finish(reply, index, *state);
        });
    }

    struct Request {
        QTimer deadline;
        QByteArray body;
        bool oversized = false;
        bool timedOut = false;
    };

    void finish(QNetworkReply* reply, size_t index, Request& state) {
        FetchResult& r = m_results[index];
        r.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (state.oversized) {
            r.error = QStringLiteral("Antwort größer als %1 Bytes").arg(m_limits.maxBytes);
        } else if (state.timedOut) {
            r.error = QStringLiteral("Zeitlimit von %1 s überschritten").arg(m_limits.timeoutMs / 1000.0);
        } else if (reply->error() == QNetworkReply::NoError && r.httpStatus < 400) {
            r.body = std::move(state.body);
        } else if (r.httpStatus >= 400) {
            r.error = QStringLiteral("HTTP %1").arg(r.httpStatus);
        } else {
            r.error = errorText(reply);
        }
        reply->deleteLater();
        --m_running;
        ++m_done;
        m_progress.step(m_urls[index].toString(), qint64(m_done), qint64(m_urls.size()));
        if (!m_stopped && m_progress.cancelRequested()) {
            m_stopped = true;
            for (QNetworkReply* open : m_manager.findChildren<QNetworkReply*>())
                if (open != reply && open->isRunning()) open->abort();
        }
        startNext();
        if (m_running == 0) m_loop.quit();
    }

    QString errorText(QNetworkReply* reply) const {
        switch (reply->error()) {
        case QNetworkReply::ConnectionRefusedError: return QStringLiteral("Verbindung abgelehnt");
        case QNetworkReply::HostNotFoundError: return QStringLiteral("Rechner nicht gefunden");
        case QNetworkReply::TooManyRedirectsError: return QStringLiteral("zu viele Weiterleitungen");
        case QNetworkReply::InsecureRedirectError: return QStringLiteral("Weiterleitung auf eine unsichere Adresse");
        case QNetworkReply::TimeoutError:
        case QNetworkReply::OperationCanceledError:
            return m_stopped ? QStringLiteral("abgebrochen") : QStringLiteral("Zeitlimit von %1 s überschritten").arg(m_limits.timeoutMs / 1000.0);
        default: return reply->errorString();
        }
    }

    const std::vector<QUrl>& m_urls;
    const FetchLimits& m_limits;
    Progress& m_progress;
    std::vector<FetchResult> m_results;
    QNetworkAccessManager m_manager;
    QEventLoop m_loop;
    size_t m_next = 0;
    size_t m_done = 0;
    int m_running = 0;
    bool m_stopped = false;
};

}  // namespace

std::vector<FetchResult> fetchAll(const std::vector<QUrl>& urls, const FetchLimits& limits, Progress& progress) {
    return FetchRun(urls, limits, progress).run();
}

}  // namespace q
