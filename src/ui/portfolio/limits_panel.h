// The "Limits" sub-page of the price page: the selected security's upper and lower
// limit, set by hand or from the selected price with the percentages `LimitanPlus`
// and `LimitanMinus`; "Speichern" and "Löschen" store them and redraw the chart's
// limit lines. The "L" scan and the menu entry "&Limits" live in LimitCommands.
#pragma once

#include "portfolio/limits.h"

#include <QObject>
#include <QWidget>
#include <functional>
#include <optional>

class QAction;
class QLineEdit;
class QSpinBox;

namespace q::ui {

class TAktienkurse;

class LimitsPanel final : public QWidget {
    Q_OBJECT
public:
    explicit LimitsPanel(TAktienkurse& window, QWidget* parent);

    // Shows the limits of `firma` (0: none selected).
    void showSecurity(int firma);
    // Where the buttons take the price from: the selected price row. Without it, or
    // while it gives none, the newest stored price.
    void setPriceSource(std::function<std::optional<double>()> source) { m_priceSource = std::move(source); }
    // The buttons beside the percentages: the limit from that price.
    void upperFromPrice();
    void lowerFromPrice();
    // "Speichern": the two fields stored; "Löschen": both set to 0.
    void save();
    void clear();

    QLineEdit* upperField() const { return m_upper; }
    QLineEdit* lowerField() const { return m_lower; }
    QSpinBox* plusPercent() const { return m_plus; }
    QSpinBox* minusPercent() const { return m_minus; }

Q_SIGNALS:
    // The stored limits changed: the chart redraws its lines.
    void limitsChanged(int firma);

private:
    std::optional<Limits> fieldLimits();
    double price();
    void store(const Limits& limits);

    TAktienkurse& m_window;
    int m_firma = 0;
    QLineEdit* m_upper = nullptr;
    QLineEdit* m_lower = nullptr;
    QSpinBox* m_plus = nullptr;
    QSpinBox* m_minus = nullptr;
    std::function<std::optional<double>()> m_priceSource;
};

// The tool button "L" (the limit scan) and the menu entry "&Limits".
class LimitCommands final : public QObject {
    Q_OBJECT
public:
    explicit LimitCommands(TAktienkurse& window);

    QAction* limits() const { return m_limits; }
    QAction* scan() const { return m_scan; }

    // "L": on, the scan runs (asking "Stop-Loss-Limit nachziehen?!" first, each breach
    // in the dialog) and the tab list shows the active securities with a limit;
    // off, the normal tab list comes back. Returns the scan's result when it ran.
    std::optional<LimitScanResult> toggleScan(bool on);

private:
    TAktienkurse& m_window;
    QAction* m_limits;
    QAction* m_scan;
};

}  // namespace q::ui
