// The date axis of every chart: ticks on whole days, months or years (as the
// visible range's labelling says), as many as fit the axis without two labels
// touching, never the same label twice, and none at all on an empty chart.
// Keys are day numbers as charts::keyOfDay() makes them (UTC seconds).
#pragma once

#include <QDate>
#include <QString>

class QCPAxis;
class QCPAxisTicker;

namespace q::charts {

enum class DateUnit { Day, Month, Year };

// `date` written with the tokens dd, MM, MMM (German abbreviation without a dot:
// "Mär"), MMMM (full name), yy and yyyy; other characters stay.
QString formatAxisDate(const QDate& date, const QString& format);

// Puts a date ticker on `axis` (or reuses the one there) for labels of `unit` in
// `format`; `minorTicks` between two yearly labels. The labels that fit are counted
// at each drawing from the plot's width and the axis's font. Call it again after
// the data changed: a chart without data shows no dates.
void setDateTicks(QCPAxis& axis, DateUnit unit, const QString& format, int minorTicks);

}  // namespace q::charts
