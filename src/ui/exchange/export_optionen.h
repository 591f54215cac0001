// The options window of the intraday export ("Exportoptionen"): bar length,
// separator, date and time pattern, each preset to the first choice.
#pragma once

#include <QDialog>

class QComboBox;

namespace q::ui {

class TExportOptionen final : public QDialog {
    Q_OBJECT
public:
    explicit TExportOptionen(QWidget* parent = nullptr);

    int minutes() const;
    QChar separator() const;
    QString dateFormat() const;
    QString timeFormat() const;

    QComboBox* intervalBox() const { return m_interval; }
    QComboBox* separatorBox() const { return m_separator; }
    QComboBox* dateBox() const { return m_date; }
    QComboBox* timeBox() const { return m_time; }

private:
    QComboBox* m_interval;
    QComboBox* m_separator;
    QComboBox* m_date;
    QComboBox* m_time;
};

}  // namespace q::ui
