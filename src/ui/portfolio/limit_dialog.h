// The breach dialog of the limit scan ("Limit erreicht!!"): the security, its
// limits as editable fields, the price, the percentages with a button each to move
// a limit, the "Stop-Loss" box and the answers "&Weiter", no, "&Alle", "Abbrechen".
#pragma once

#include "portfolio/limits.h"

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace q::ui {

class TLimitDialog final : public QDialog {
    Q_OBJECT
public:
    explicit TLimitDialog(QWidget* parent, int decimals);

    // Shows `finding` and waits for the answer; edits go into `finding.after` and
    // `options`. Closing the window answers "Abbrechen".
    LimitAnswer ask(LimitFinding& finding, LimitScanOptions& options);
    // Fills the fields without showing the dialog (what ask() shows).
    void fill(const LimitFinding& finding, const LimitScanOptions& options);

    QLineEdit* lowerField() const { return m_lower; }
    QLineEdit* upperField() const { return m_upper; }
    QLabel* lowerLabel() const { return m_lowerLabel; }
    QLabel* upperLabel() const { return m_upperLabel; }
    QDoubleSpinBox* lowerPercent() const { return m_lowerPct; }
    QDoubleSpinBox* upperPercent() const { return m_upperPct; }
    QCheckBox* stopLoss() const { return m_stopLoss; }
    QPushButton* answerButton(LimitAnswer a) const { return m_answers[static_cast<int>(a)]; }
    // The limits as the fields show them (a field that is no number counts as before).
    Limits limits() const;

private:
    int m_decimals;
    double m_kurs = 0;
    Limits m_before;
    QLabel* m_name = nullptr;
    QLabel* m_price = nullptr;
    QLabel* m_lowerLabel = nullptr;
    QLabel* m_upperLabel = nullptr;
    QLineEdit* m_lower = nullptr;
    QLineEdit* m_upper = nullptr;
    QDoubleSpinBox* m_lowerPct = nullptr;
    QDoubleSpinBox* m_upperPct = nullptr;
    QCheckBox* m_stopLoss = nullptr;
    QPushButton* m_answers[4] = {};
    LimitAnswer m_answer = LimitAnswer::Abbrechen;
};

}  // namespace q::ui
