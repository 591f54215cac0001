// The return planner window ("Rendite"): the table of holdings, realised gains and
// both together, the cash, depot value and capital return, the capital field, and
// the targets of the wished return, which a slider sets and a double-click on any
// target turns back into the wish. OK stores capital and wish in `Depot.ini`.
#pragma once

#include "portfolio/planner.h"

#include <QDialog>
#include <map>

class QLabel;
class QLineEdit;
class QSlider;

namespace q {
class Interaction;
}

namespace q::ui {

class TRendite final : public QDialog {
    Q_OBJECT
public:
    // `in` in the home currency (K the stored capital, or 0 for none: then the
    // minimum capital); `symbol` and `in.f` show the amounts.
    TRendite(QWidget* parent, Interaction& ui, const QString& caption, PlannerInputs in, std::optional<double> storedWish,
             const QString& depotDir, const QString& symbol, int decimals);

    double wish() const;
    // Moves the slider to the wish that gives `field` the value (the amount as shown,
    // or a percentage); says so where the wish stops at the slider's end.
    void reachTarget(PlannerTarget field, double shownValue);
    // Leaving "Kapital": an empty or unreadable entry becomes the minimum capital.
    void capitalEdited();
    // OK: `Depot.ini` written, the window closed.
    void save();

    QLineEdit* capitalField() const { return m_capital; }
    QSlider* slider() const { return m_slider; }
    // The label of a figure by its name ("Cash", "Depotwert", "GeplantesErgebnis",
    // the table cells as "Anlagen/Rendite", …).
    QLabel* figure(const QString& name) const;
    const PlannerInputs& inputs() const { return m_in; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void recompute();
    void showFigure(const QString& name, const std::optional<double>& value, bool percent);
    QLabel* addFigure(const QString& name);

    Interaction& m_ui;
    PlannerInputs m_in;
    QString m_depotDir;
    QString m_symbol;
    int m_decimals;
    QLineEdit* m_capital = nullptr;
    QSlider* m_slider = nullptr;
    std::map<QString, QLabel*> m_figures;
    std::map<QLabel*, PlannerTarget> m_targets;
};

}  // namespace q::ui
