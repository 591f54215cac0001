#include "acquisition/page_route.h"

#include "acquisition/intraday_prices.h"
#include "acquisition/mask.h"
#include "acquisition/page_config.h"
#include "acquisition/quote_line.h"
#include "acquisition/stations.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "news/news_table.h"
#include "store/firma_hooks.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace q {

namespace {

constexpr int kMaxSubpage = 99;
const QString kIntraday = QStringLiteral("Intraday.db");

// The identifier after "WKN:" in a news item (blanks, ";", "(" and ")" left out).
QString wknOf(const QString& text) {
    static const QRegularExpression re(QStringLiteral("WKN[\\s;()]*:[\\s;()]*([A-Za-z0-9]+)"));
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1) : QString();
}

class PageRun {
public:
    PageRun(Store& store, const ReadingSettings& settings, PageSource& source, const PageRunOptions& options, Interaction& ui,
            ReadingHooks& hooks, Progress& progress)
        : m_store(store), m_settings(settings), m_source(source), m_options(options), m_ui(ui), m_progress(progress),
          m_book(store, bookingRules(settings, pageStationColumn(settings.stations, settings.ddeSender)), hooks),
          m_separator(settings.multiDec ? QLatin1Char(';') : QLatin1Char('\t')) {}

    ReadReport run() {
        m_report.source = m_options.pageTable;
        m_report.status = prepare();
        if (m_report.status) m_report.status = walk();
        if (Status written = m_report.protocol.write(m_settings.workDir); !written && m_report.status) m_report.status = written;
        // The page text is a convenience copy; the prices do not depend on it.
        (void)writeTextLines(filePath(m_settings.installDir, QStringLiteral("Intraday.txt")), m_report.log);
        return m_report;
    }

private:
    Status prepare() {
        if (!m_store.ensure(kIntraday)) return Status::io(QStringLiteral("Konnte Intraday-Datenbank nicht anlegen"));
        auto intraday = m_store.table(kIntraday);
        if (!intraday) return Status::io(QStringLiteral("Konnte Intraday-Datenbank nicht anlegen"));
        m_intraday = *intraday;
        m_date = today();
        m_time = QTime(now().time().hour(), now().time().minute());
        return m_book.open();
    }

    Status walk() {
        auto pages = readPages(m_store, m_options.pageTable);
        if (!pages) return pages.status();
        for (size_t i = 0; i < pages->size(); ++i) {
            const PageEntry& page = (*pages)[i];
            auto mask = pageMask(page, m_settings.filterPath);
            if (!mask) return mask.status();
            const auto [first, last] = pageLoopSubpages(page.SeitenVon, page.Seitenbis);
            for (int sub = first; sub <= last; ++sub) {
                if (m_progress.cancelRequested()) return Status::cancelled(QStringLiteral("Einlesen abgebrochen"));
                m_progress.step(QStringLiteral("Seite %1/%2").arg(page.Seitename.trimmed(), twoDigitSubpage(sub)), qint64(i),
                                qint64(pages->size()));
                const PageRequest request = pageRequest(page, sub);
                auto text = m_source.fetch(request);
                if (!text) return text.status();
                if (!text->has_value()) {
                    ++m_report.counts.pagesMissing;
                    continue;
                }
                ++m_report.counts.pagesRead;
                const QStringList lines = applyMask(pageLines(**text), mask->has_value() ? &**mask : nullptr, m_separator);
                m_report.log << lines;
                if (page.isNews()) {
                    Q_TRY(news(lines, request.page));
                    continue;
                }
                for (const QString& line : lines) Q_TRY(bookLine(line));
            }
        }
        return Status::ok();
    }

    Status bookLine(const QString& text) {
        ++m_report.counts.lines;
        const ParsedLine line = parsePageLine(text, m_separator, today());
        switch (line.kind) {
        case LineKind::Time: m_time = *line.time; return Status::ok();
        case LineKind::Date:
            m_date = line.date;
            if (line.time) m_time = *line.time;
            return Status::ok();
        case LineKind::Skip: ++m_report.counts.skipped; return Status::ok();
        case LineKind::Quote: return quote(line.quote);
        }
        return Status::ok();
    }

    Status quote(const QuoteLine& q) {
        if (q.time) m_time = *q.time;
        ProtocolEntry entry{q.name, q.priceText, m_date, m_time, q.volume, std::nullopt, {}};
        if (listIfImpossible(q, m_date, entry, m_report)) return Status::ok();
        auto firma = m_book.match(q.name);
        if (!firma) return firma.status();
        if (!firma->has_value() && m_options.correctionMode) {
            firma = correct(q.name);
            if (!firma) return firma.status();
        }
        if (!firma->has_value()) {
            auto added = bookUnmatched(m_book, m_options.takeUpNew, q, entry, m_report);
            if (!added) return added.status();
            return added->has_value() ? intraday(**added, q, std::nullopt) : Status::ok();
        }
        const int id = **firma;
        // The start price carries the close before this quote, whatever it writes.
        auto before = m_book.lastPrice(id);
        if (!before) return before.status();
        auto implausible = listIfImplausible(m_book, id, q, entry, m_report);
        if (!implausible) return implausible.status();
        if (*implausible) return Status::ok();
        if (m_options.dailyPrices) {
            Q_TRY(m_book.writeQuote(id, m_date, q.price, q.volume));
        }
        ++m_report.counts.booked;
        return intraday(id, q, *before);
    }

    Status intraday(int firma, const QuoteLine& q, const std::optional<LastPrice>& lastDaily) {
        if (m_date > today()) return Status::ok();
        const std::optional<double> start = m_settings.startKursEintragen && lastDaily ? std::optional<double>(lastDaily->kurs) : std::nullopt;
        return appendIntradayPrice(*m_intraday, firma, QDateTime(m_date, m_time), q.price, q.volume, start);
    }

    // The "K" correction mode: the nearest match text on the station's index, when it
    // has the same correction key, is offered for renaming to `name`.
    Result<std::optional<int>> correct(const QString& name) {
        const QString column = m_book.rules().stationColumn;
        Table& firmen = m_book.firmaTable();
        std::optional<Record> nearest;
        Query q;
        q.order = QStringLiteral("I") + column;
        Q_TRY(firmen.forEach(q, [&](const Record& r) {
            if (compareNoCase(r.value(column).toString(), name) < 0) return true;
            nearest = r;
            return false;
        }));
        if (!nearest) return std::optional<int>();
        const QString old = nearest->value(column).toString();
        if (correctionKey(old) != correctionKey(name)) return std::optional<int>();
        const int id = nearest->value(QStringLiteral("Firma")).toInt();
        auto last = m_book.lastPrice(id);
        if (!last) return last.status();
        const QString question = QStringLiteral("Gefunden ") + nearest->value(QStringLiteral("FirmenName")).toString() +
                                 QStringLiteral(" mit der alten Kennung \"") + old + QStringLiteral("\" neue Kennung :\"") + name +
                                 QStringLiteral("\"  der letzte Wert ist vom ") + (last->has_value() ? formatDate((*last)->datum) : QString());
        if (m_ui.ask(QStringLiteral("Neue Kennung?"), question, Answer::No) != Answer::Yes) return std::optional<int>();
        Record after = *nearest;
        after.set(column, name);
        Q_TRY(postSecurity(firmen, *nearest, after));
        m_book.forget();
        m_report.log << name + QStringLiteral(" Kennung geändert von \"") + old + QStringLiteral("\" nach \"") + name + QLatin1Char('"');
        return std::optional<int>(id);
    }

    Status news(const QStringList& lines, const QString& page) {
        if (lines.isEmpty()) return Status::ok();
        const QDateTime at(m_date, m_time);
        // The number keeps the month's leading zero in the file name only.
        const QString number = at.toString(QStringLiteral("MMddhh")) + page;
        const QString dir = m_settings.nachrichtenPath.isEmpty() ? m_settings.installDir + QStringLiteral("Nachrichten/")
                                                                 : m_settings.nachrichtenPath;
        const QString file = filePath(dir, number + QStringLiteral(".TXT"));
        if (QFileInfo::exists(file)) return Status::ok();
        NewsItem item;
        item.Nummer = number.toLongLong();
        item.Zeit = at;
        item.Nachricht = lines[0].trimmed() + (lines.size() > 2 ? QLatin1Char(' ') + lines[1] : QString());
        if (const QString wkn = wknOf(lines.join(QLatin1Char('\n'))); !wkn.isEmpty()) {
            Query q;
            q.order = QStringLiteral("IWKN");
            q.equalNoCase.push_back({QStringLiteral("Kennung"), wkn});
            auto found = m_book.firmaTable().first(q);
            if (!found) return found.status();
            if (found->has_value()) item.Firma = (*found)->value(QStringLiteral("Firma")).toInt();
        }
        Q_TRY(saveNewsItem(m_store, item));
        QDir().mkpath(dir);
        Q_TRY(writeTextLines(file, lines));
        ++m_report.counts.news;
        m_report.log << formatTime(m_time) + QStringLiteral(" +++ ") + item.Nachricht + QStringLiteral(" (") + page + QLatin1Char(')');
        return Status::ok();
    }

    Store& m_store;
    const ReadingSettings& m_settings;
    PageSource& m_source;
    const PageRunOptions& m_options;
    Interaction& m_ui;
    Progress& m_progress;
    QuoteBook m_book;
    QChar m_separator;
    Table* m_intraday = nullptr;
    QDate m_date;
    QTime m_time;
    ReadReport m_report;
};

}  // namespace

std::pair<int, int> pageLoopSubpages(int seitenVon, int seitenbis) {
    const int first = seitenVon == 1 ? 0 : std::max(0, seitenVon);
    const int last = seitenbis > 0 ? seitenbis - 1 : seitenbis;
    return {first, std::min(last, kMaxSubpage)};
}

QString correctionKey(const QString& name) {
    QString key = (name.left(3) + name.mid(18)).toUpper();
    for (const QChar c : {QLatin1Char('.'), QLatin1Char('+'), QLatin1Char('&')}) {
        const int at = key.indexOf(c);
        if (at >= 0) key.remove(at, 1);
    }
    for (int i = 0; i < 2; ++i) {
        const int at = key.indexOf(QLatin1Char(' '));
        if (at >= 0) key.remove(at, 1);
    }
    return key;
}

ReadReport Kurseladen(Store& store, const ReadingSettings& settings, PageSource& source, const PageRunOptions& options,
                      Interaction& ui, ReadingHooks& hooks, Progress& progress) {
    return PageRun(store, settings, source, options, ui, hooks, progress).run();
}

}  // namespace q
