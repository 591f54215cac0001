#include "acquisition/http_fetch.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

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
        request.setTransferTimeout(m_limits.timeoutMs);
        request.setMaximumRedirectsAllowed(m_limits.maxRedirects);
        QNetworkReply* reply = m_manager.get(request);
        ++m_running;
        auto oversized = std::make_shared<bool>(false);
        auto refuseWhenTooLong = [this, reply, oversized] {
            const qint64 announced = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
            if (announced > m_limits.maxBytes || reply->bytesAvailable() > m_limits.maxBytes) {
                *oversized = true;
                reply->abort();
            }
        };
        QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, refuseWhenTooLong);
        QObject::connect(reply, &QNetworkReply::readyRead, reply, refuseWhenTooLong);
        QObject::connect(reply, &QNetworkReply::finished, reply, [this, reply, index, oversized] {
            finish(reply, index, *oversized);
        });
    }

    void finish(QNetworkReply* reply, size_t index, bool oversized) {
        FetchResult& r = m_results[index];
        r.httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (oversized) {
            r.error = QStringLiteral("Antwort größer als %1 Bytes").arg(m_limits.maxBytes);
        } else if (reply->error() == QNetworkReply::NoError && r.httpStatus < 400) {
            r.body = reply->readAll();
            if (r.body.size() > m_limits.maxBytes) {
                r.body.clear();
                r.error = QStringLiteral("Antwort größer als %1 Bytes").arg(m_limits.maxBytes);
            }
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
