#include "exchange/intraday_export.h"

#include "base/formats.h"
#include "base/text_files.h"
#include "exchange/export_file.h"
#include "overview/intraday_day.h"
#include "store/catalogue.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace q {

namespace {

constexpr int kSecondsPerDay = 86400;

QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

// The ticks of `firma` on `day` in `table`, in time order (the key order Firma, ZEIT).
Status readTicks(Table& table, int firma, const QDate& day, std::vector<IntradayTickV>& ticks) {
    Query q = Query::detailOf(firma);
    q.rangeField = QStringLiteral("ZEIT");
    q.from = double(dayNumber(day));
    q.to = double(dayNumber(day)) + 0.99999999;
    const int z = table.layout().fieldIndex(QStringLiteral("ZEIT"));
    const int k = table.layout().fieldIndex(QStringLiteral("Kurs"));
    const int v = table.layout().fieldIndex(QStringLiteral("Volumen"));  // an old archive may have none
    return table.forEach(q, [&](const Record& r) {
        const double zeit = r.values()[z].toDouble();
        const int second = int(std::llround((zeit - std::floor(zeit)) * kSecondsPerDay));
        ticks.push_back({std::min(second, kSecondsPerDay - 1), r.values()[k].toDouble(), v >= 0 ? r.values()[v].toLongLong() : 0});
        return true;
    });
}

}  // namespace

std::vector<IntradayBar> intradayBars(const std::vector<IntradayTickV>& ticks, int minutes) {
    Q_ASSERT(minutes > 0);
    std::vector<IntradayBar> bars;
    if (ticks.empty() || minutes <= 0) return bars;
    const int length = minutes * 60;
    qint64 running = 0;     // the day's running volume so far
    qint64 barStart = 0;    // its value before the open bar
    IntradayBar bar;
    auto open = [&](const IntradayTickV& t) {
        bar = IntradayBar{t.second - t.second % length + length, t.kurs, t.kurs, t.kurs, t.kurs, 0};
    };
    open(ticks.front());
    for (size_t i = 0; i < ticks.size(); ++i) {
        const IntradayTickV& t = ticks[i];
        if (i > 0 && t.second > bar.end) {
            bar.volumen = running - barStart;
            bars.push_back(bar);
            barStart = running;
            open(t);
        } else if (i > 0) {
            bar.high = std::max(bar.high, t.kurs);
            bar.low = std::min(bar.low, t.kurs);
            bar.close = t.kurs;
        }
        // A tick without a volume (or a lower one after a correction) adds nothing.
        running = std::max(running, t.volumen);
    }
    bar.volumen = running - barStart;
    bar.end = ticks.back().second;
    bars.push_back(bar);
    return bars;
}

QString formatDatePattern(const QDateTime& moment, const QString& pattern) {
    const QDate d = moment.date();
    const QTime t = moment.time();
    QString out;
    bool afterHour = false;
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern[i].toLower();
        int run = 1;
        while (i + run < pattern.size() && pattern[i + run].toLower() == c) ++run;
        switch (c.unicode()) {
        case 'd': out += run >= 2 ? twoDigits(d.day()) : QString::number(d.day()); break;
        case 'm':
            if (afterHour) out += run >= 2 ? twoDigits(t.minute()) : QString::number(t.minute());
            else out += run >= 2 ? twoDigits(d.month()) : QString::number(d.month());
            break;
        case 'y': out += run >= 3 ? QString::number(d.year()) : twoDigits(d.year() % 100); break;
        case 'h': out += run >= 2 ? twoDigits(t.hour()) : QString::number(t.hour()); break;
        case 'n': out += run >= 2 ? twoDigits(t.minute()) : QString::number(t.minute()); break;
        case 's': out += run >= 2 ? twoDigits(t.second()) : QString::number(t.second()); break;
        case '/': out += QString(run, QLatin1Char('.')); break;  // the date separator of the regional formats
        default: out += pattern.mid(i, run); break;
        }
        if (QStringLiteral("dmyhns").contains(c)) afterHour = c == QLatin1Char('h');
        i += run;
    }
    return out;
}

const std::vector<int>& intradayBarMinutes() {
    static const std::vector<int> minutes = {5, 10, 15, 30, 60, 120, 720, 1440};
    return minutes;
}

const QStringList& intradayDateFormats() {
    static const QStringList formats = {"ddmmyy", "mmddyy", "yymmdd", "dd.mm.yy", "mm/dd/yy", "dd.mm.yyyy", "dd/mm/yyyy", "mm/dd/yyyy"};
    return formats;
}

const QStringList& intradayTimeFormats() {
    static const QStringList formats = {"h:m", "hh:mm", "hh:mm:ss", "hhmm", "hhmmss"};
    return formats;
}

Result<IntradayExportReport> exportIntraday(Store& store, int firma, const QString& file, const IntradayExportOptions& options) {
    const auto& offered = intradayBarMinutes();
    if (std::find(offered.begin(), offered.end(), options.minutes) == offered.end())
        return Status::invalid(QStringLiteral("Das Export-Intervall %1 Minuten gibt es nicht (5, 10, 15, 30, 60, 120, 720 oder 1440)").arg(options.minutes));
    auto aktien = store.table(QStringLiteral("Aktien.db"));
    if (!aktien) return aktien.status();
    Query q = Query::detailOf(firma);
    q.rangeField = QStringLiteral("Datum");
    q.from = dayNumber(options.from);
    q.to = dayNumber(options.to);
    std::vector<int> days;
    const int datum = (*aktien)->layout().fieldIndex(QStringLiteral("Datum"));
    Q_TRY((*aktien)->forEach(q, [&](const Record& r) {
        days.push_back(r.values()[datum].toInt());
        return true;
    }));
    auto out = ExportFile::open(file);
    if (!out) return out.status();
    const QChar s = options.separator;
    (*out)->line(QStringList{"Datum", "Zeit", "Open", "High", "Low", "Close", "Volumen", "Last"}.join(s));
    IntradayExportReport report;
    const bool liveExists = store.exists(QStringLiteral("Intraday.db"));
    for (const int dayNo : days) {
        const QDate day = dateFromDayNumber(dayNo);
        ++report.days;
        const QString archive = filePath(options.intradayDir, intradayArchiveName(day));
        std::vector<IntradayTickV> ticks;
        switch (intradaySourceFor(day, options.today, QFileInfo::exists(archive), liveExists)) {
        case IntradaySource::Archive: {
            auto table = Store::openFile(archive, layoutFor(TableKind::Intraday, tableNameOf(intradayArchiveName(day))));
            if (!table) return table.status();
            Q_TRY(readTicks(**table, firma, day, ticks));
            break;
        }
        case IntradaySource::Live: {
            auto table = store.table(QStringLiteral("Intraday.db"));
            if (!table) return table.status();
            Q_TRY(readTicks(**table, firma, day, ticks));
            break;
        }
        case IntradaySource::None: break;
        }
        for (const IntradayBar& b : intradayBars(ticks, options.minutes)) {
            const QDateTime end = QDateTime(day, QTime(0, 0)).addSecs(b.end);
            (*out)->line(QStringList{formatDatePattern(end, options.dateFormat), formatDatePattern(end, options.timeFormat),
                                     fixedPriceText(b.open, 3, QLatin1Char('.')), fixedPriceText(b.high, 3, QLatin1Char('.')),
                                     fixedPriceText(b.low, 3, QLatin1Char('.')), fixedPriceText(b.close, 3, QLatin1Char('.')),
                                     QString::number(b.volumen), fixedPriceText(b.close, options.decimals, QLatin1Char('.'))}
                             .join(s));
            ++report.bars;
        }
    }
    Q_TRY((*out)->commit());
    return report;
}

}  // namespace q
