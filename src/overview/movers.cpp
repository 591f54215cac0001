#include "overview/movers.h"

#include "base/formats.h"
#include "base/report_rtf.h"
#include "overview/top_slots.h"
#include "portfolio/holdings_report.h"

#include <optional>

namespace q {

namespace {

// Seeds of the slots that every real entry beats: a fall is at most −100 %, and a
// loser needs a change below 0.
constexpr double kEmptyWinner = -1000;
constexpr double kEmptyLoser = 1000;
// A first price up to this many days after the period start still counts (a
// weekend and a holiday).
constexpr int kLateStartDays = 4;

}  // namespace

QDate moversStart(const QDate& today, int days) {
    if (days != 1) return today.addDays(-days);
    switch (today.dayOfWeek()) {
    case Qt::Monday:
    case Qt::Sunday: return today.addDays(-3);
    case Qt::Saturday: return today.addDays(-2);
    default: return today.addDays(-1);
    }
}

QString moverChangeText(double change) { return formatSignificant(change, 4, 2) + QLatin1Char('%'); }

Result<MoversResult> computeMovers(Store& store, const std::vector<SecurityRecord>& list, const MoversOptions& o) {
    if (o.count < 5 || o.count > 1000)
        return Status::invalid(QStringLiteral("Die Zahl der Gewinner und Verlierer muss zwischen 5 und 1000 liegen, nicht %1").arg(o.count));
    Q_ASSERT(o.from.isValid());
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    MoversResult result;
    TopSlots<MoverEntry> winners(o.count, kEmptyWinner, true);
    TopSlots<MoverEntry> losers(o.count, kEmptyLoser, false);
    const QDate latestFirst = o.from.addDays(kLateStartDays);
    for (const SecurityRecord& s : list) {
        Query q = Query::detailOf(s.Firma);
        q.rangeField = QStringLiteral("Datum");
        q.from = dayNumber(o.from);
        if (o.to.isValid()) q.to = dayNumber(o.to);
        // One walk over the period's rows: a second look-up for the last row would
        // cost a statement of its own per security.
        std::optional<Record> first, last;
        Q_TRY((*aktien)->forEach(q, [&](const Record& r) {
            if (!first) first = r;
            last = r;
            return true;
        }));
        if (!first) continue;
        MoverEntry e;
        e.firma = s.Firma;
        e.name = s.FirmenName;
        e.currency = s.Waehrung.isEmpty() ? o.homeSymbol : s.Waehrung;
        e.firstDate = dateFromDayNumber(first->value(QStringLiteral("Datum")).toDouble());
        e.firstPrice = first->value(QStringLiteral("Kurs")).toDouble();
        e.lastDate = dateFromDayNumber(last->value(QStringLiteral("Datum")).toDouble());
        e.lastPrice = last->value(QStringLiteral("Kurs")).toDouble();
        if (e.firstDate > latestFirst || e.firstPrice == 0) continue;
        e.change = e.lastPrice * 100 / e.firstPrice - 100;
        if (e.change >= 0) ++result.up;
        else ++result.down;
        winners.add(e.change, e);
        losers.add(e.change, e);
    }
    for (const auto& [change, e] : winners.bestFirst())
        if (change >= 0) result.winners.push_back(e);
    for (const auto& [change, e] : losers.bestFirst())
        if (change < 0) result.losers.push_back(e);
    result.report = moversReport(result, o);
    return result;
}

report::Document moversReport(const MoversResult& r, const MoversOptions& o) {
    using report::Style;
    enum { kBlack, kBlue, kRed };
    report::Document doc;
    doc.title = QStringLiteral("Gewinner & Verlierer seit dem ") + formatDate(o.from);
    doc.colours = {{0, 0, 0}, {0, 0, 255}, {255, 0, 0}};
    for (int twips : {2300, 3800, 5200, 6700, 8200}) doc.tabs.push_back({twips});

    const Style header{16, true, false, kBlack};
    report::Paragraph& head = doc.paragraph();
    head.heading = true;
    bool firstCell = true;
    for (const char* caption : {"Aktie", "Datum", "Kurs", "Datum", "Kurs", "Differenz"}) {
        if (!firstCell) head.tab();
        head.add(QString::fromLatin1(caption), header);
        firstCell = false;
    }
    doc.paragraph();

    const auto block = [&](const QString& caption, int count, int colour, const std::vector<MoverEntry>& entries) {
        report::Paragraph& title = doc.paragraph();
        title.heading = true;
        const Style style{22, true, true, colour};
        title.add(caption, style);
        for (int t = 0; t < 5; ++t) title.tab();
        title.add(QString::number(count), style);
        doc.paragraph();
        const Style line{20, true, false, colour};
        for (const MoverEntry& e : entries) {
            report::Paragraph& p = doc.paragraph();
            p.add(e.name, line).tab().add(formatDate(e.firstDate), line);
            p.tab().add(reportMoney(e.firstPrice, 6, o.decimals, e.currency), line);
            p.tab().add(formatDate(e.lastDate), line);
            p.tab().add(reportMoney(e.lastPrice, 6, o.decimals, e.currency), line);
            p.tab().add(moverChangeText(e.change), line);
        }
    };
    block(QStringLiteral("Gewinner"), r.up, kBlue, r.winners);
    block(QStringLiteral("Verlierer"), r.down, kRed, r.losers);
    doc.paragraph().add(QString(), Style{16, false, false, kBlack});
    return doc;
}

Result<MoversResult> writeMoversReport(Store& store, const std::vector<SecurityRecord>& list, const MoversOptions& options) {
    auto result = computeMovers(store, list, options);
    if (!result) return result;
    Q_TRY(report::writeRtf(result->report, store.dirs().work + kMoversReport));
    return result;
}

}  // namespace q
