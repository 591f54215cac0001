#include "acquisition/internet_source.h"

#include "acquisition/http_fetch.h"
#include "acquisition/intraday_prices.h"
#include "base/clock.h"
#include "base/formats.h"
#include "store/list_tables.h"

namespace q {

namespace {

InternetSecurity securityOf(const Record& r) {
    auto text = [&](const char* field) { return r.has(QLatin1String(field)) ? r.value(QLatin1String(field)).toString().trimmed() : QString(); };
    return {r.value(QStringLiteral("Firma")).toInt(), text("FirmenName"), text("Kennung"), text("ISIN"), text("Ticker"), text("Internet")};
}

QString logLine(const InternetSecurity& s, const PickedQuote& p, const QDateTime& at) {
    return s.FirmenName + QLatin1Char('\t') + formatAmount(p.kurs, 2) + QLatin1Char('\t') + QString::number(p.volumen) + QLatin1Char('\t') +
           formatDateTime(at);
}

class InternetBooking {
public:
    InternetBooking(Store& store, const ReadingSettings& settings, const InternetRunOptions& options, ReadingHooks& hooks, InternetReport& report)
        : m_store(store), m_settings(settings), m_options(options), m_book(store, bookingRules(settings, QStringLiteral("ZDF")), hooks),
          m_report(report) {}

    Status open() {
        Q_TRY(m_book.open());
        if (!m_options.intraday) return Status::ok();
        if (!m_store.ensure(QStringLiteral("Intraday.db"))) return Status::io(QStringLiteral("Konnte Intraday-Datenbank nicht anlegen"));
        auto t = m_store.table(QStringLiteral("Intraday.db"));
        if (!t) return Status::io(QStringLiteral("Konnte Intraday-Datenbank nicht anlegen"));
        m_intraday = *t;
        return Status::ok();
    }

    Status book(const InternetSecurity& s, const PickedQuote& p) {
        const QDate datum = std::min(p.datum.value_or(today()), today());
        const QTime zeit = p.zeit.value_or(now().time());
        const QuoteLine quote{s.FirmenName, formatGeneral(p.kurs), p.kurs, datum, zeit, p.volumen};
        ReadCounts& n = m_report.read.counts;
        const int implausibleBefore = n.implausible;
        auto before = m_book.lastPrice(s.Firma);
        if (!before) return before.status();
        Q_TRY(bookDailyQuote(m_book, quote, s.Firma, datum, false, m_report.read));
        if (n.implausible != implausibleBefore || !m_intraday) return Status::ok();
        const std::optional<double> start =
            m_settings.startKursEintragen && before->has_value() ? std::optional<double>((*before)->kurs) : std::nullopt;
        return appendIntradayPrice(*m_intraday, s.Firma, QDateTime(datum, QTime(zeit.hour(), zeit.minute())), p.kurs, p.volumen, start);
    }

private:
    Store& m_store;
    const ReadingSettings& m_settings;
    const InternetRunOptions& m_options;
    QuoteBook m_book;
    InternetReport& m_report;
    Table* m_intraday = nullptr;
};

}  // namespace

Result<std::vector<InternetSecurity>> internetSecurities(Store& store, const std::vector<int>& firmen, const QString& gruppe, bool favouritesOnly) {
    auto firma = store.table(QStringLiteral("Firma.db"));
    if (!firma) return firma.status();
    std::optional<int> gruppenIndex;
    if (firmen.empty() && !gruppe.trimmed().isEmpty()) {
        auto groups = readListTable(store, QStringLiteral("Gruppen.db"));
        if (!groups) return groups.status();
        for (const ListEntry& g : *groups)
            if (g.GruppenName.trimmed().compare(gruppe.trimmed(), Qt::CaseInsensitive) == 0) gruppenIndex = g.GruppenIndex;
        if (!gruppenIndex) return Status::notFound(QStringLiteral("Die Gruppe \"%1\" gibt es nicht").arg(gruppe));
    }
    std::vector<InternetSecurity> out;
    Q_TRY((*firma)->forEach(Query(), [&](const Record& r) {
        const int number = r.value(QStringLiteral("Firma")).toInt();
        if (number <= 0) return true;
        if (!firmen.empty() && std::find(firmen.begin(), firmen.end(), number) == firmen.end()) return true;
        if (gruppenIndex && r.value(QStringLiteral("Gruppe")).toInt() != *gruppenIndex) return true;
        if (favouritesOnly && !r.value(QStringLiteral("Aktiv")).toBool()) return true;
        out.push_back(securityOf(r));
        return true;
    }));
    return out;
}

InternetReport internetRun(Store& store, const std::vector<InternetSecurity>& securities, const ReadingSettings& settings,
                           const InternetSettings& internet, const InternetRunOptions& options, ReadingHooks& hooks, Progress& progress) {
    InternetReport report;
    report.read.source = QStringLiteral("Internet");
    QStringList& log = report.read.log;
    std::vector<QUrl> urls;
    std::vector<QString> pickers;
    for (const InternetSecurity& s : securities) {
        auto request = internetRequest(s, internet);
        if (!request) {
            ++report.read.counts.skipped;
            if (request.status().category() == Category::NotFound) {
                log << request.status().message();
            } else {
                log << s.FirmenName + QStringLiteral(": ") + kQuoteNotFound + QStringLiteral(" (") + request.status().message() + QLatin1Char(')');
                report.notFound << s.FirmenName;
            }
            continue;
        }
        report.quotes.push_back({s, request->url, 0, QString(), std::nullopt});
        urls.push_back(request->url);
        pickers.push_back(request->kursPicker);
    }
    const FetchLimits limits{internet.zeitlimit * 1000, internet.maxBytes, internet.parallel, 5};
    const std::vector<FetchResult> answers = fetchAll(urls, limits, progress);
    InternetBooking booking(store, settings, options, hooks, report);
    if (!options.dryRun) report.read.status = booking.open();
    for (size_t i = 0; i < report.quotes.size() && report.read.status; ++i) {
        InternetQuote& quote = report.quotes[i];
        const FetchResult& answer = answers[i];
        quote.httpStatus = answer.httpStatus;
        quote.error = answer.error;
        if (quote.error.isEmpty()) {
            auto picked = pickQuote(answer.body, pickers[i], internet);
            if (picked) quote.picked = *picked;
            else quote.error = picked.status().message();
        }
        ++report.read.counts.lines;
        if (!quote.picked) {
            ++report.read.counts.skipped;
            report.notFound << quote.security.FirmenName;
            log << quote.security.FirmenName + QStringLiteral(": ") + kQuoteNotFound + QStringLiteral(" (") + quote.error + QLatin1Char(')');
            continue;
        }
        const PickedQuote& p = *quote.picked;
        log << logLine(quote.security, p, QDateTime(std::min(p.datum.value_or(today()), today()), p.zeit.value_or(now().time())));
        if (!options.dryRun) report.read.status = booking.book(quote.security, p);
    }
    if (progress.cancelRequested() && report.read.status) report.read.status = Status::cancelled(QStringLiteral("Einlesen abgebrochen"));
    if (Status written = report.read.protocol.write(settings.workDir); !written && report.read.status) report.read.status = written;
    return report;
}

}  // namespace q
