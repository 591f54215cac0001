#include "charts/date_ticker.h"

#include "base/formats.h"
#include "charts/chart_style.h"
#include "charts/custom_plot.h"

#include <QFontMetrics>
#include <cmath>

namespace q::charts {

namespace {

const char* const kMonthShort[] = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
const char* const kMonthLong[] = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                                  "Juli",   "August",  "September", "Oktober", "November", "Dezember"};

// Day 0 (30.12.1899) was a Saturday: day numbers of Mondays leave 2 when divided by 7.
constexpr int kMondayRest = 2;

class DateTicker : public QCPAxisTicker {
public:
    DateUnit unit = DateUnit::Day;
    QString format;
    int minorTicks = 0;
    QCPAxis* axis = nullptr;  // owns the ticker
    int labelWidth = 90;       // pixels a label takes with the room beside it
    bool empty = false;

protected:
    // The step in units (days, months, years): the smallest of the usual ones that
    // keeps the labels within maxLabels.
    double getTickStep(const QCPRange& range) override {
        // The width the plot has now (the margins are those of the last drawing).
        const QCPAxisRect* rect = axis->axisRect();
        const int width = axis->parentPlot()->viewport().width() - rect->margins().left() - rect->margins().right();
        const int maxLabels = std::max(1, width / labelWidth);
        const double days = range.size() / 86400.0;
        const double units = unit == DateUnit::Day ? days : unit == DateUnit::Month ? days / 30.44 : days / 365.25;
        static const std::vector<int> dayed{1, 2, 3, 7, 14, 28, 56};
        static const std::vector<int> monthly{1, 2, 3, 6, 12, 24};
        static const std::vector<int> yearly{1, 2, 5, 10, 20, 50, 100};
        const std::vector<int>& steps = unit == DateUnit::Day ? dayed : unit == DateUnit::Month ? monthly : yearly;
        for (int s : steps)
            if (units / s + 1 <= maxLabels) return s;
        return steps.back();
    }

    int getSubTickCount(double step) override { return unit == DateUnit::Year && step == 1 ? minorTicks : 0; }

    QVector<double> createTickVector(double step, const QCPRange& range) override {
        QVector<double> ticks;
        if (empty) return ticks;
        const int s = std::max(1, int(step));
        const double firstDay = std::floor(dayOfKey(range.lower));
        const double lastDay = std::ceil(dayOfKey(range.upper));
        if (unit == DateUnit::Day) {
            const int rest = s % 7 == 0 ? kMondayRest % s : 0;
            for (int d = int(firstDay) - s; d <= int(lastDay) + s; ++d)
                if (((d - rest) % s + s) % s == 0) ticks << keyOfDay(d);
            return ticks;
        }
        const QDate from = dateFromDayNumber(firstDay);
        const QDate to = dateFromDayNumber(lastDay);
        if (!from.isValid() || !to.isValid()) return ticks;
        if (unit == DateUnit::Month) {
            // Months counted from January of year 0, so that a step of 3 falls on quarters.
            int m = from.year() * 12 + from.month() - 1 - s;
            m -= ((m % s) + s) % s;
            for (; m <= to.year() * 12 + to.month() - 1 + s; m += s) ticks << keyOfDay(dayNumber(QDate(m / 12, m % 12 + 1, 1)));
            return ticks;
        }
        int y = from.year() - s;
        y -= ((y % s) + s) % s;
        for (; y <= to.year() + s; y += s) ticks << keyOfDay(dayNumber(QDate(y, 1, 1)));
        return ticks;
    }

    QString getTickLabel(double tick, const QLocale&, QChar, int) override {
        return formatAxisDate(dateFromDayNumber(std::round(dayOfKey(tick))), format);
    }
};

bool hasData(const QCPAxis& axis) {
    QCustomPlot* plot = axis.parentPlot();
    for (int i = 0; i < plot->plottableCount(); ++i) {
        QCPAbstractPlottable* p = plot->plottable(i);
        if (p->keyAxis() != &axis || !p->visible()) continue;
        if (const QCPPlottableInterface1D* data = p->interface1D(); data && data->dataCount() > 0) return true;
    }
    return false;
}

}  // namespace

QString formatAxisDate(const QDate& date, const QString& format) {
    if (!date.isValid()) return QString();
    QString out;
    for (int i = 0; i < format.size();) {
        auto run = [&](QChar c) {
            int n = 0;
            while (i + n < format.size() && format[i + n] == c) ++n;
            return n;
        };
        const QChar c = format[i];
        const int n = c == 'd' || c == 'M' || c == 'y' ? run(c) : 1;
        if (c == 'd') {
            out += n >= 2 ? QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0')) : QString::number(date.day());
        } else if (c == 'M') {
            const int m = date.month() - 1;
            out += n >= 4   ? QString::fromUtf8(kMonthLong[m])
                   : n == 3 ? QString::fromUtf8(kMonthShort[m])
                   : n == 2 ? QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'))
                            : QString::number(date.month());
        } else if (c == 'y') {
            out += n >= 4 ? QString::number(date.year()) : QStringLiteral("%1").arg(date.year() % 100, 2, 10, QLatin1Char('0'));
        } else {
            out += c;
        }
        i += n;
    }
    return out;
}

void setDateTicks(QCPAxis& axis, DateUnit unit, const QString& format, int minorTicks) {
    auto ticker = qSharedPointerDynamicCast<DateTicker>(axis.ticker());
    if (!ticker) {
        ticker.reset(new DateTicker);
        axis.setTicker(ticker);
    }
    ticker->unit = unit;
    ticker->format = format;
    ticker->minorTicks = minorTicks;
    ticker->axis = &axis;
    ticker->empty = !hasData(axis);
    // The widest label of the format (September, the 28th) with room on both sides.
    const QFontMetrics metrics(axis.tickLabelFont());
    ticker->labelWidth = metrics.horizontalAdvance(formatAxisDate(QDate(2026, 9, 28), format)) + 2 * metrics.averageCharWidth() + 8;
    axis.setSubTicks(minorTicks > 0);
}

}  // namespace q::charts
