// The split dialog ("Aktiensplit " + name): the ratio X, a preview of the selected
// price divided by X, and "LOS", which asks the end date ("Enddatum des Kurssplit")
// and splits the prices and lots through the core.
#pragma once

#include "portfolio/splits.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace q::ui {

class TAktiensplit final : public QDialog {
    Q_OBJECT
public:
    TAktiensplit(Store& store, int firma, const QString& name, QWidget* owner);

    // The price the preview divides and the proposed end date (the selected price row).
    void setSelectedPrice(double kurs, const QDate& datum);
    void setRatio(double x);

    QLineEdit* ratio() const { return m_ratio; }
    QLabel* preview() const { return m_preview; }
    QPushButton* los() const { return m_los; }
    // What the last "LOS" did; empty before.
    const std::optional<SplitResult>& result() const { return m_result; }

public Q_SLOTS:
    // Asks the end date and splits; the dialog then closes with 1. A failure is shown
    // and the dialog stays open.
    void LOS();

private:
    void ratioChanged();

    Store& m_store;
    int m_firma;
    double m_kurs = 0;
    QDate m_datum;
    std::optional<SplitResult> m_result;
    QLineEdit* m_ratio;
    QLabel* m_preview;
    QLabel* m_message;
    QPushButton* m_los;
};

}  // namespace q::ui
