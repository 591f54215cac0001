#include "ui/dialogs/datumwahl.h"

#include "base/formats.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace q::ui {

TDatumwahl::TDatumwahl(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Datum wählen"));
    m_question = new QLabel(this);
    m_question->setWordWrap(true);
    m_calendar = new QCalendarWidget(this);
    m_calendar->setLocale(QLocale(QLocale::German, QLocale::Germany));
    m_calendar->setFirstDayOfWeek(Qt::Monday);
    m_calendar->setGridVisible(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_calendar, &QCalendarWidget::activated, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_question);
    layout->addWidget(m_calendar);
    layout->addWidget(buttons);
}

void TDatumwahl::setWindowText(const QString& text) {
    setWindowTitle(text);
    m_question->setText(text);
}

void TDatumwahl::setQuestion(const QString& text) {
    m_question->setWordWrap(true);
    m_question->setText(text);
}

void TDatumwahl::setDatum(double dayNumber) { m_calendar->setSelectedDate(dateFromDayNumber(std::floor(dayNumber))); }

double TDatumwahl::datum() const { return dayNumber(m_calendar->selectedDate()); }

}  // namespace q::ui
