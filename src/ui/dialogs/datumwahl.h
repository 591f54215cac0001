// Date choice (TDatumwahl): a question and one date on a calendar. The caller sets
// the window text and the date (a day number), shows it modally and reads datum()
// only when exec() returned 1.
#pragma once

#include <QDialog>

class QCalendarWidget;
class QLabel;

namespace q::ui {

class TDatumwahl final : public QDialog {
    Q_OBJECT
public:
    explicit TDatumwahl(QWidget* owner);

    // The question, shown as the window's caption and above the calendar.
    void setWindowText(const QString& text);
    // A longer question above the calendar (after setWindowText(), which sets both).
    void setQuestion(const QString& text);
    // Day number from 30.12.1899; a fraction (time of day) is ignored.
    void setDatum(double dayNumber);
    double datum() const;

    QCalendarWidget* calendar() const { return m_calendar; }

private:
    QLabel* m_question;
    QCalendarWidget* m_calendar;
};

}  // namespace q::ui
