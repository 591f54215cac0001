#include "overview/intraday_day.h"

#include "base/formats.h"
#include "base/text_files.h"
#include "store/catalogue.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace q {

namespace {

const QString kLive = QStringLiteral("Intraday.db");

// The ticks of `firma` on `day`, in time order (the table's key order: Firma, ZEIT).
Status readTicks(Table& table, int firma, const QDate& day, std::vector<IntradayTick>& ticks) {
    Query q = Query::detailOf(firma);
    q.rangeField = QStringLiteral("ZEIT");
    q.from = double(dayNumber(day));
    q.to = double(dayNumber(day)) + 0.99999999;
    const int z = table.layout().fieldIndex(QStringLiteral("ZEIT"));
    const int k = table.layout().fieldIndex(QStringLiteral("Kurs"));
    Q_TRY(table.forEach(q, [&](const Record& r) {
        ticks.push_back({r.values()[z].toDouble(), r.values()[k].toDouble()});
        return true;
    }));
    return Status::ok();
}

// Reads the ticks from where `source` says: the live table or the day's `archive` file.
Status readDay(Store& store, const QString& archive, IntradaySource source, int firma, const QDate& day, std::vector<IntradayTick>& ticks) {
    if (source == IntradaySource::Live) {
        auto table = store.table(kLive);
        if (!table) return table.status();
        return readTicks(**table, firma, day, ticks);
    }
    if (source == IntradaySource::Archive) {
        auto table = Store::openFile(archive, layoutFor(TableKind::Intraday, tableNameOf(intradayArchiveName(day))));
        if (!table) return table.status();
        return readTicks(**table, firma, day, ticks);
    }
    return Status::ok();
}

// The start of the interval of `minutes` that holds `zeit`, counted from midnight.
double intervalStart(double zeit, int minutes) {
    const double timeOfDay = zeit - std::floor(zeit);
    const long long m = std::llround(timeOfDay * 1440) % minutes;
    return zeit - double(m) / 1440;
}

}  // namespace

IntradaySource intradaySourceFor(const QDate& day, const QDate& today, bool archiveExists, bool liveExists) {
    if (archiveExists) return IntradaySource::Archive;
    if (!liveExists) return IntradaySource::None;
    const bool live = day == today || (today.dayOfWeek() == Qt::Monday && day.addDays(3) == today) ||
                      (today.dayOfWeek() == Qt::Saturday && day.addDays(1) == today);
    return live ? IntradaySource::Live : IntradaySource::None;
}

Result<IntradayDay> readIntradayDay(Store& store, const QString& intradayDir, int firma, const QDate& day, const QDate& today) {
    IntradayDay result;
    const QString archive = filePath(intradayDir, intradayArchiveName(day));
    result.source = intradaySourceFor(day, today, QFileInfo::exists(archive), store.exists(kLive));
    Q_TRY(readDay(store, archive, result.source, firma, day, result.ticks));
    return result;
}

std::vector<Candle> intradayCandles(const std::vector<IntradayTick>& ticks, int minutes) {
    std::vector<Candle> candles;
    if (minutes < 1 || ticks.empty()) return candles;
    const double length = double(minutes) / 1440;
    double start = intervalStart(ticks.front().zeit, minutes);
    Candle c{start + length / 2, ticks.front().kurs, ticks.front().kurs, ticks.front().kurs, ticks.front().kurs};
    for (const IntradayTick& t : ticks) {
        if (t.zeit > start + length) {
            candles.push_back(c);
            start = intervalStart(t.zeit, minutes);
            c = {start + length / 2, t.kurs, t.kurs, t.kurs, t.kurs};
        }
        c.high = std::max(c.high, t.kurs);
        c.low = std::min(c.low, t.kurs);
        c.close = t.kurs;
    }
    candles.push_back(c);
    return candles;
}

std::optional<Candle> dayCandle(const std::vector<IntradayTick>& ticks, int day) {
    if (ticks.empty()) return std::nullopt;
    Candle c{double(day), ticks.front().kurs, ticks.front().kurs, ticks.front().kurs, ticks.back().kurs};
    for (const IntradayTick& t : ticks) {
        c.high = std::max(c.high, t.kurs);
        c.low = std::min(c.low, t.kurs);
    }
    return c;
}

Result<std::vector<Candle>> intradayDayCandles(Store& store, const QString& intradayDir, int firma, std::span<const int> days,
                                               const QDate& today) {
    std::vector<Candle> candles;
    const bool live = store.exists(kLive);
    for (const int d : days) {
        const QDate day = dateFromDayNumber(d);
        // Only today reads the live table here; an archive is looked for on every day.
        const QString archive = filePath(intradayDir, intradayArchiveName(day));
        const IntradaySource source = intradaySourceFor(day, day, QFileInfo::exists(archive), live && day == today);
        if (source == IntradaySource::None) continue;
        std::vector<IntradayTick> ticks;
        Q_TRY(readDay(store, archive, source, firma, day, ticks));
        if (auto c = dayCandle(ticks, d)) candles.push_back(*c);
    }
    return candles;
}

std::optional<double> dailyCloseFromIntraday(const QDate& rowDate, double rowKurs, const IntradayDay& day) {
    if (day.source != IntradaySource::Live || day.ticks.empty()) return std::nullopt;
    const IntradayTick& last = day.ticks.back();
    if (last.kurs <= 0 || last.kurs == rowKurs) return std::nullopt;
    if (dateFromDayNumber(last.zeit) != rowDate) return std::nullopt;
    return last.kurs;
}

Result<int> deleteIntradayArchives(const QString& intradayDir, const std::vector<QDate>& days) {
    int deleted = 0;
    for (const QDate& day : days) {
        const QString path = filePath(intradayDir, intradayArchiveName(day));
        if (!QFileInfo::exists(path)) continue;
        if (!QFile::remove(path)) return Status::io(QStringLiteral("%1 kann nicht gelöscht werden").arg(path));
        ++deleted;
    }
    return deleted;
}

}  // namespace q
