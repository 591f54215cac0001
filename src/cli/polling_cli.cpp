#include "cli/polling_cli.h"
#include "cli/list_options.h"

#include "acquisition/intraday_commit.h"
#include "acquisition/internet_source.h"
#include "app/acquisition_binding.h"
#include "cli/read_outcome.h"
#include "app/intraday_job.h"
#include "base/clock.h"
#include "base/formats.h"
#include "store/firma_hooks.h"

#include <QElapsedTimer>
#include <QThread>
#include <csignal>

namespace q::cli {

namespace {

volatile std::sig_atomic_t g_terminate = 0;

extern "C" void onTerminate(int) { g_terminate = 1; }

// The job's progress, which also asks the run to end once SIGTERM came: the run
// stops after the quote it is booking.
class TerminableProgress final : public Progress {
public:
    explicit TerminableProgress(Progress& inner) : m_inner(inner) {}
    void step(const QString& text, qint64 done, qint64 total) override { m_inner.step(text, done, total); }
    bool cancelRequested() override { return g_terminate != 0 || m_inner.cancelRequested(); }

private:
    Progress& m_inner;
};

// The loop's timer on the command line. Without --now it waits in real time (in
// short slices, so SIGTERM is noticed); with --now the clock is simulated: it
// starts there and each wait moves it on without sleeping.
class CliTimer final : public PollTimer {
public:
    explicit CliTimer(std::optional<QDateTime> start) : m_simulated(start) { m_elapsed.start(); }
    void start(int periodMs) override { m_period = periodMs; }
    void stop() override { m_period = -1; }
    bool armed() const { return m_period >= 0; }
    // Waits one period; false when SIGTERM came meanwhile.
    bool wait() {
        if (m_simulated) {
            *m_simulated = m_simulated->addMSecs(m_period);
            return g_terminate == 0;
        }
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < m_period) {
            if (g_terminate) return false;
            QThread::msleep(std::min<qint64>(100, m_period - waited.elapsed()));
        }
        return g_terminate == 0;
    }
    QDateTime now() const { return m_simulated ? *m_simulated : q::now(); }

private:
    std::optional<QDateTime> m_simulated;
    QElapsedTimer m_elapsed;
    int m_period = -1;
};

}  // namespace

Outcome runInternet(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    std::vector<int> firmen;
    auto table = c.session.store.table(QStringLiteral("Firma.db"));
    if (!table) return failed(table.status());
    for (const QString& name : c.args.positional()) {
        auto firma = findSecurity(**table, name);
        if (!firma) return failed(firma.status());
        firmen.push_back(*firma);
    }
    if (firmen.empty() && c.args.has(QStringLiteral("--list"))) {
        auto listed = [&]() -> Result<std::vector<int>> {
            auto selection = listSelectionOf(c);
            if (!selection) return selection.status();
            return resolveListNumbers(c.session.store, *selection);
        }();
        if (!listed) return failed(listed.status());
        if (listed->empty())
            return failed(Status::notFound(QStringLiteral("Die Liste \"%1\" enthält keine Wertpapiere").arg(c.args.value(QStringLiteral("--list")))));
        firmen = *listed;
    }
    auto securities = internetSecurities(c.session.store, firmen, QString(), false);
    if (!securities) return failed(securities.status());
    ReadingSettings s = readingSettingsOf(c);
    s.bestaetigen = false;
    s.autoSplit = false;
    ReadingHooks hooks;
    const bool dryRun = c.args.has(QStringLiteral("--dry-run"));
    const InternetReport r = internetRun(c.session.store, *securities, s, internetSettings(c.session), InternetRunOptions{false, dryRun}, hooks,
                                         c.progress);
    QJsonArray quotes;
    QStringList dry;
    for (const InternetQuote& q : r.quotes) {
        QJsonObject o{{QStringLiteral("Firma"), q.security.Firma}, {QStringLiteral("FirmenName"), q.security.FirmenName},
                      {QStringLiteral("url"), q.url.toString()}, {QStringLiteral("status"), q.httpStatus}, {QStringLiteral("error"), q.error}};
        QString line = QStringLiteral("%1\t%2\tHTTP %3").arg(q.security.FirmenName, q.url.toString()).arg(q.httpStatus);
        if (q.picked) {
            o[QStringLiteral("Kurs")] = q.picked->kurs;
            o[QStringLiteral("Datum")] = q.picked->datum ? formatDate(*q.picked->datum) : QString();
            o[QStringLiteral("Zeit")] = q.picked->zeit ? formatTime(*q.picked->zeit) : QString();
            o[QStringLiteral("Volumen")] = q.picked->volumen;
            line += QStringLiteral("\tKurs %1\tDatum %2\tZeit %3\tVolumen %4")
                        .arg(formatGeneral(q.picked->kurs), q.picked->datum ? formatDate(*q.picked->datum) : QStringLiteral("-"),
                             q.picked->zeit ? formatTime(*q.picked->zeit) : QStringLiteral("-"))
                        .arg(q.picked->volumen);
        } else {
            line += QStringLiteral("\t") + kQuoteNotFound + QStringLiteral(" ") + q.error;
        }
        dry << line;
        quotes.append(o);
    }
    if (dryRun) {
        out.lines = dry;
        out.status = r.read.status;
    } else {
        describeReadReport(r.read, out);
        out.lines << r.read.log;
    }
    out.json[QStringLiteral("quotes")] = quotes;
    out.json[QStringLiteral("notFound")] = toJson(r.notFound);
    out.json[QStringLiteral("log")] = toJson(r.read.log);
    const bool anyValue = std::any_of(r.quotes.begin(), r.quotes.end(), [](const InternetQuote& q) { return q.picked.has_value(); });
    if (out.status && !anyValue)
        out.status = Status::notFound(kQuoteNotFound + QStringLiteral(" ") +
                                      (r.notFound.isEmpty() ? QStringLiteral("(keine Wertpapiere)") : r.notFound.join(QStringLiteral(", "))));
    return out;
}

Outcome runPoll(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    const auto source = c.args.has(QStringLiteral("--source")) ? pollSourceNamed(c.args.value(QStringLiteral("--source")))
                                                               : std::optional(storedPollSource(c.session));
    if (!source) return failed(Status::invalid(QStringLiteral("--source muss teletext, internet oder network sein")));
    auto interval = c.args.integer(QStringLiteral("--interval"));
    if (!interval) return failed(interval.status());
    const int minutes = int(interval->value_or(c.session.values.integer(QStringLiteral("DDEMinuten"))));
    if (minutes < 0 || minutes > 60) return failed(Status::invalid(QStringLiteral("--interval muss zwischen 0 und 60 liegen")));
    auto runs = c.args.integer(QStringLiteral("--runs"));
    if (!runs) return failed(runs.status());
    if (runs->has_value() && **runs < 1) return failed(Status::invalid(QStringLiteral("--runs muss mindestens 1 sein")));
    std::optional<QTime> until;
    if (c.args.has(QStringLiteral("--until"))) {
        until = parseTime(c.args.value(QStringLiteral("--until")));
        if (!until) return failed(Status::invalid(QStringLiteral("--until erwartet hh:nn, nicht %1").arg(c.args.value(QStringLiteral("--until")))));
    }
    std::optional<QDateTime> start;
    if (c.args.has(QStringLiteral("--now"))) {
        const QString text = c.args.value(QStringLiteral("--now")).trimmed();
        const auto day = parseDate(text.section(QLatin1Char(' '), 0, 0));
        const auto time = parseTime(text.section(QLatin1Char(' '), 1, 1));
        if (!day || !time) return failed(Status::invalid(QStringLiteral("--now erwartet \"TT.MM.JJJJ hh:nn\", nicht %1").arg(text)));
        start = QDateTime(*day, *time);
    }
    const PollOptions options{c.args.value(QStringLiteral("--list")), c.args.has(QStringLiteral("--new-securities")),
                              c.args.has(QStringLiteral("--favourites")), QString()};
    g_terminate = 0;
    std::signal(SIGTERM, onTerminate);
    CliTimer timer(start);
    TerminableProgress progress(c.progress);
    ReadingHooks hooks;
    QJsonArray runList;
    ReadCounts total;
    Status lastFailure;
    int archived = 0;
    IntradayPoller::Actions actions;
    actions.archiveStaleDay = [&](const QDate& today) -> Result<bool> {
        auto done = archiveStaleIntraday(c.session, today);
        if (done && *done) {
            ++archived;
            out.lines << QStringLiteral("Tageswechsel: Intraday-Kurse archiviert");
        }
        return done;
    };
    actions.fetch = [&](PollSource from, bool daily) {
        setToday(timer.now().date());
        const ReadReport r = pollFetch(c.session, from, daily, options, c.ui, hooks, progress);
        total.booked += r.counts.booked;
        total.unmatched += r.counts.unmatched;
        total.implausible += r.counts.implausible;
        total.skipped += r.counts.skipped;
        total.lines += r.counts.lines;
        if (!r.status && r.status.category() != Category::Cancelled) lastFailure = r.status;
        out.lines << QStringLiteral("Lauf %1: %2, gebucht %3, nicht zugeordnet %4, unplausibel %5, übersprungen %6")
                         .arg(runList.size() + 1)
                         .arg(formatDateTime(timer.now()))
                         .arg(r.counts.booked)
                         .arg(r.counts.unmatched)
                         .arg(r.counts.implausible)
                         .arg(r.counts.skipped);
        if (!r.status) out.lines << QStringLiteral("  ") + r.status.message();
        runList.append(QJsonObject{{QStringLiteral("time"), formatDateTime(timer.now())}, {QStringLiteral("booked"), r.counts.booked},
                                   {QStringLiteral("unmatched"), r.counts.unmatched}, {QStringLiteral("implausible"), r.counts.implausible},
                                   {QStringLiteral("skipped"), r.counts.skipped}, {QStringLiteral("log"), toJson(r.log)},
                                   {QStringLiteral("error"), r.status ? QString() : r.status.message()}});
        return r.status;
    };
    IntradayPoller poller(timer, [&timer] { return timer.now(); }, actions);
    poller.setSource(*source);
    poller.setInterval(minutes);
    if (start) setToday(start->date());
    poller.start();
    while (timer.armed() && !g_terminate) {
        if (!timer.wait()) break;
        if (until && timer.now().time() >= *until) break;
        poller.tick();
        if (runs->has_value() && poller.runs() >= **runs) break;
    }
    poller.stop();
    std::signal(SIGTERM, SIG_DFL);
    out.lines << QStringLiteral("Läufe: %1").arg(poller.runs()) << QStringLiteral("Gebucht: %1").arg(total.booked)
              << QStringLiteral("Nicht zugeordnet: %1").arg(total.unmatched) << QStringLiteral("Unplausibel: %1").arg(total.implausible)
              << QStringLiteral("Übersprungen: %1").arg(total.skipped);
    out.json[QStringLiteral("runs")] = runList;
    out.json[QStringLiteral("booked")] = total.booked;
    out.json[QStringLiteral("unmatched")] = total.unmatched;
    out.json[QStringLiteral("implausible")] = total.implausible;
    out.json[QStringLiteral("skipped")] = total.skipped;
    out.json[QStringLiteral("archived")] = archived;
    out.json[QStringLiteral("terminated")] = bool(g_terminate);
    // Nothing read and nothing archived: the job failed (the last reason says why).
    if (total.lines == 0 && archived == 0 && !lastFailure.isOk()) out.status = lastFailure;
    return out;
}

Outcome runIntradayCommit(Context& c) {
    Outcome out;
    if (!startForJob(c, out, true)) return out;
    auto report = commitIntradayPrices(c.session.store);
    if (!report) return failed(report.status());
    out.lines << QStringLiteral("Wertpapiere: %1").arg(report->securities) << QStringLiteral("Gebucht: %1").arg(report->written)
              << QStringLiteral("Volumen: %1").arg(report->volumes);
    out.json[QStringLiteral("securities")] = report->securities;
    out.json[QStringLiteral("booked")] = report->written;
    out.json[QStringLiteral("volumes")] = report->volumes;
    out.json[QStringLiteral("unmatched")] = 0;
    out.json[QStringLiteral("implausible")] = 0;
    out.json[QStringLiteral("skipped")] = 0;
    return out;
}

}  // namespace q::cli
