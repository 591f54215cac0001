#include "ui/dialogs/intraday_trend.h"

#include "base/formats.h"

#include <QFormLayout>
#include <QLabel>

namespace q::ui {

TIntradayTrend::TIntradayTrend(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Intraday-Statistik"));
    setModal(false);
    auto* form = new QFormLayout(this);
    const char* titles[] = {"Abfragen:", "Eingelesene Kurse:", "Nicht gelesene Seiten:", "Letzte Abfrage:"};
    for (int i = 0; i < 4; ++i) {
        m_counters[i] = new QLabel(this);
        form->addRow(QString::fromUtf8(titles[i]), m_counters[i]);
    }
    setCounters(0, 0, 0, QDateTime());
}

void TIntradayTrend::setCounters(int runs, int prices, int failures, const QDateTime& lastRun) {
    m_counters[0]->setText(QString::number(runs));
    m_counters[1]->setText(QString::number(prices));
    m_counters[2]->setText(QString::number(failures));
    m_counters[3]->setText(lastRun.isValid() ? formatDateTime(lastRun) : QStringLiteral("noch keine"));
}

QString TIntradayTrend::counterText(int i) const { return i >= 0 && i < 4 ? m_counters[i]->text() : QString(); }

}  // namespace q::ui
