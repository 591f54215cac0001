// Intraday trend window (TIntradayTrend): created once at start and shown
// non-modally by the intraday page's "Statistik" button. Its labels carry the
// counters of the reading runs, which the polling loop sets.
#pragma once

#include <QDateTime>
#include <QDialog>

class QLabel;

namespace q::ui {

class TIntradayTrend final : public QDialog {
    Q_OBJECT
public:
    explicit TIntradayTrend(QWidget* owner);

    // Runs so far, prices read, pages that could not be read, and the time of the
    // last run (invalid: none yet).
    void setCounters(int runs, int prices, int failures, const QDateTime& lastRun);
    QString counterText(int i) const;

private:
    QLabel* m_counters[4];
};

}  // namespace q::ui
