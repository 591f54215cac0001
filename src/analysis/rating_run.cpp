#include "analysis/rating_run.h"

#include "analysis/analysis_record.h"
#include "base/formats.h"
#include "base/report_rtf.h"
#include "overview/fill_maintenance.h"
#include "overview/trend_index.h"
#include "portfolio/holdings_report.h"

#include <cmath>

namespace q {

namespace {

constexpr double kEmptyWinner = -100000;
constexpr double kEmptyLoser = 100000;

RatingEntry entryOf(const SecurityAnalysis& a, const QDate& today) {
    const FillResult& f = a.fill;
    RatingEntry e;
    e.name = f.security.FirmenName.left(30);
    e.firma = f.security.Firma;
    e.price = f.lastPrice;
    e.index = a.rating->index;
    e.priceDate = f.lastDate;
    e.runDate = today;
    e.low = f.windowLow;
    e.high = f.windowHigh;
    e.stoch = f.stoch;
    e.currency = f.security.Waehrung.left(11);
    return e;
}

Status writeList(Store& store, const QString& file, const std::vector<RatingEntry>& entries) {
    std::vector<Row> rows;
    for (const RatingEntry& e : entries) rows.push_back({e.firma});
    return store.recreate(file, rows);
}

}  // namespace

ListKeeper::ListKeeper(int slots, int kaufwert)
    : m_winners(slots, kEmptyWinner, true), m_losers(slots, kEmptyLoser, false), m_kaufwert(kaufwert) {}

void ListKeeper::add(const RatingEntry& e) {
    m_winners.add(e.index, e);
    m_losers.add(e.index, e);
}

RankedLists ListKeeper::lists() const {
    RankedLists out;
    for (const auto& [index, entry] : m_winners.bestFirst())
        if (m_kaufwert <= index) out.buys.push_back(entry);
    for (const auto& [index, entry] : m_losers.bestFirst())
        if (m_kaufwert > index) out.cautions.push_back(entry);
    return out;
}

Result<RatingRunResult> ANALYSEBERECHNUNG(Store& store, const AnalysisSettings& settings, const RatingRunOptions& o,
                                          Progress& progress) {
    RatingRunResult run;
    auto indexChange = TrendIndexaktuell(store, settings.KursIndex);
    if (!indexChange) return indexChange.status();
    auto list = resolveList(store, o.list);
    if (!list) return list.status();
    run.total = static_cast<int>(list->size());

    run.analysisTable = o.analysisTable;
    if (run.analysisTable) {
        if (Status made = store.recreate(QStringLiteral("Analyse.db")); !made.isOk()) {
            run.analysisTable = false;
            run.notes << QStringLiteral("Analyse.db konnte nicht angelegt werden (%1): es wird eine Empfehlung berechnet")
                             .arg(made.message());
        }
    }

    ListKeeper keeper(settings.BewertTage, settings.Kaufwert);
    std::vector<Row> records;
    const QDate volumesFrom = displayStartOf(settings.fill, o.today);
    int i = 0;
    for (const SecurityRecord& security : *list) {
        ++i;
        if (progress.cancelRequested()) return Status::cancelled(QStringLiteral("Bewertung abgebrochen"));
        progress.step(QStringLiteral("Berechne %1 von %2").arg(i).arg(run.total), i, run.total);
        auto input = readFillInput(store, security, volumesFrom);
        if (!input) return input.status();
        const SecurityAnalysis a = analyseSecurity(*input, settings, o.today, *indexChange, true);
        // The run repeats the overview's fill pass, its clean-up of the price table too.
        Q_TRY(applyFillMaintenance(store, security.Firma, a.fill.maintenance));
        if (!a.rating) continue;
        ++run.rated;
        if (run.analysisTable) {
            records.push_back(analysisRecord(a, settings, o.today));
            continue;
        }
        if (settings.Kaufwert <= a.rating->index) ++run.buyCount;
        else ++run.sellCount;
        keeper.add(entryOf(a, o.today));
    }

    if (run.analysisTable) {
        Q_TRY(store.recreate(QStringLiteral("Analyse.db"), records));
        store.close(QStringLiteral("Analyse.db"));
        return run;
    }
    RankedLists lists = keeper.lists();
    run.buys = std::move(lists.buys);
    run.cautions = std::move(lists.cautions);
    Q_TRY(writeList(store, QStringLiteral("Gewinner.db"), run.buys));
    Q_TRY(writeList(store, QStringLiteral("Verlierer.db"), run.cautions));
    run.report = recommendationReport(run, o);
    Q_TRY(report::writeRtf(run.report, store.dirs().work + kRecommendationReport));
    return run;
}

report::Document recommendationReport(const RatingRunResult& run, const RatingRunOptions& o) {
    using report::Style;
    enum { kBlack, kBlue, kRed };
    report::Document doc;
    doc.title = QStringLiteral("Quintara Wertpapierbewertung vom ") + formatDate(o.today);
    doc.colours = {{0, 0, 0}, {0, 0, 255}, {255, 0, 0}};
    // Tab stops in tenths of a millimetre: 1 mm is 1440 ÷ 25.4 twips.
    for (int stop : {100, 170, 250, 330, 410, 450, 480})
        doc.tabs.push_back({static_cast<int>(std::lround(stop * 144.0 / 25.4))});

    const Style header{16, true, false, kBlack};
    report::Paragraph& head = doc.paragraph();
    head.heading = true;
    bool firstCell = true;
    for (const char* caption : {"Aktie", "Datum", "Kurs", "Min.Kurs", "Max.Kurs", "Stoch.", "Bewert."}) {
        if (!firstCell) head.tab();
        head.add(QString::fromUtf8(caption), header);
        firstCell = false;
    }
    doc.paragraph();

    const auto block = [&](const QString& caption, int tabs, int count, int colour, const std::vector<RatingEntry>& entries) {
        report::Paragraph& title = doc.paragraph();
        title.heading = true;
        const Style style{20, true, true, colour};
        title.add(caption, style);
        for (int t = 0; t < tabs; ++t) title.tab();
        title.add(QString::number(count), style);
        const Style line{20, true, false, kBlack};
        for (const RatingEntry& e : entries) {
            const QString symbol = e.currency.isEmpty() ? o.homeSymbol : e.currency;
            report::Paragraph& p = doc.paragraph();
            p.add(e.name, line).tab().add(formatDate(e.priceDate), line);
            for (double money : {e.price, e.low, e.high}) p.tab().add(reportMoney(money, 6, o.decimals, symbol), line);
            p.tab().add(formatSignificant(e.stoch, 18, 0), line);
            p.tab().add(formatSignificant(e.index, 18, 2), line);
        }
    };
    block(QStringLiteral("Diese Aktien könnten Sie kaufen"), 5, run.buyCount, kBlue, run.buys);
    doc.paragraph();
    block(QStringLiteral("Vorsicht bei diesen Aktien im Augenblick"), 4, run.sellCount, kRed, run.cautions);
    doc.paragraph();
    doc.paragraph().add(
        QStringLiteral("Es gibt natürlich keinerlei Garantie für Kursgewinne. Diese Tipps sind nur charttechnische Analysen!"),
        Style{16, false, false, kBlack});
    return doc;
}

}  // namespace q
