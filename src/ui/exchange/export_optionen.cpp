#include "ui/exchange/export_optionen.h"

#include "exchange/intraday_export.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace q::ui {

TExportOptionen::TExportOptionen(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Exportoptionen"));
    m_interval = new QComboBox(this);
    const QStringList intervals = {QStringLiteral("  5 Minuten"), QStringLiteral("10 Minuten"), QStringLiteral("15 Minuten"), QStringLiteral("30 Minuten"),
                                   QStringLiteral("1 Stunde"),    QStringLiteral("2 Stunde"),   QStringLiteral("6 Stunde"),   QStringLiteral("1 Tag")};
    for (int i = 0; i < intervals.size(); ++i) m_interval->addItem(intervals[i], intradayBarMinutes()[size_t(i)]);
    m_separator = new QComboBox(this);
    m_separator->addItem(QStringLiteral(" "), QChar(QLatin1Char(' ')));
    m_separator->addItem(QStringLiteral(","), QChar(QLatin1Char(',')));
    m_separator->addItem(QStringLiteral(";"), QChar(QLatin1Char(';')));
    m_separator->addItem(QStringLiteral("TAB"), QChar(QLatin1Char('\t')));
    m_date = new QComboBox(this);
    m_date->addItems(intradayDateFormats());
    m_time = new QComboBox(this);
    m_time->addItems(intradayTimeFormats());
    m_time->setCurrentText(QStringLiteral("hh:mm:ss"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Export-Intervall"), m_interval);
    form->addRow(QStringLiteral("Trennzeichen:"), m_separator);
    form->addRow(QStringLiteral("Datum-Format"), m_date);
    form->addRow(QStringLiteral("Zeit-Format"), m_time);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

int TExportOptionen::minutes() const { return m_interval->currentData().toInt(); }
QChar TExportOptionen::separator() const { return m_separator->currentData().value<QChar>(); }
QString TExportOptionen::dateFormat() const { return m_date->currentText(); }
QString TExportOptionen::timeFormat() const { return m_time->currentText(); }

}  // namespace q::ui
