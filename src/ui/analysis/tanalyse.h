// The analysis options dialog `TAnalyse` ("&Analyse-Parameter"): one sub-page per
// group of rules and indicators, each value with the range the dialog offers, and
// the presets "Standard", "Kurzfristig" and "Langfristig"; beside them the reading
// options ("Einlese-Optionen") and the backup options ("Sicherung"). Works on a copy:
// the caller takes edited() after OK; Cancel changes nothing.
#pragma once

#include "analysis/analysis_settings.h"
#include "base/interaction.h"
#include "settings/einstellungen.h"

#include <QDialog>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace q::ui {

class TAnalyse final : public QDialog {
    Q_OBJECT
public:
    // `values`: the settings in effect; `securityNames`: the names the reference index
    // box offers; `ui` answers the "…" buttons of the path fields (none: they do nothing).
    TAnalyse(const Einstellungen& values, const QStringList& securityNames, QWidget* parent = nullptr, Interaction* ui = nullptr);
    ~TAnalyse() override;

    // The analysis values of the controls.
    AnalysisSettings settings() const;
    // The settings given with every value of the dialog's pages set.
    Einstellungen edited() const;
    // Sets the preset's values in the controls.
    void preset(AnalysisPreset preset);
    QPushButton* presetButton(AnalysisPreset preset) const { return m_presets[static_cast<int>(preset)]; }
    QTabWidget* subPages() const { return m_pages; }

private:
    struct Binding;
    struct OptionBinding;
    void load(const AnalysisSettings& settings);
    void buildOptionPages(QTabWidget* top);

    Einstellungen m_values;
    std::vector<OptionBinding> m_options;
    AnalysisSettings m_base;  // what the dialog does not edit stays as it was
    std::vector<Binding> m_bindings;
    QTabWidget* m_pages = nullptr;
    QComboBox* m_kursIndex = nullptr;
    QPushButton* m_presets[3] = {};
    Interaction* m_ui = nullptr;
};

}  // namespace q::ui
