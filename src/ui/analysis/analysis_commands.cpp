#include "ui/analysis/analysis_commands.h"

#include "app/analysis_binding.h"
#include "app/directories.h"
#include "app/option_binding.h"
#include "ui/analysis/rating_page.h"
#include "ui/analysis/tanalyse.h"
#include "ui/main_window.h"
#include "ui/overview/overview_page.h"
#include "ui/securities_model.h"

#include <QAction>
#include <QProcess>

namespace q::ui {

const QString AnalysisCommands::kCompanionAnalysis = QStringLiteral("analyse");

AnalysisCommands::AnalysisCommands(TAktienkurse& window)
    : QObject(&window),
      m_window(window),
      m_parameter(new QAction(QStringLiteral("&Analyse-Parameter"), this)),
      m_intraday(new QAction(QStringLiteral("Intraday &Analyse"), this)),
      m_differenz(new QAction(QStringLiteral("Kursd&ifferenz berechnen"), this)) {
    m_differenz->setCheckable(true);
    connect(m_parameter, &QAction::triggered, this, &AnalysisCommands::AnalyseParameter);
    connect(m_intraday, &QAction::triggered, this, &AnalysisCommands::IntradayAnalyse);
    connect(m_differenz, &QAction::toggled, this, [this](bool on) { m_window.overviewPage()->setDifferences(on); });
}

void AnalysisCommands::AnalyseParameter() {
    Session& session = m_window.session();
    QStringList names;
    for (const SecuritiesModel::Row& row : m_window.securitiesModel()->rows()) names << row.FirmenName;
    TAnalyse dialog(session.values, names, &m_window, &m_window.interaction());
    if (dialog.exec() != QDialog::Accepted) return;
    const Einstellungen edited = dialog.edited();
    setAnalysisSettings(session.values, analysisSettings(edited));
    if (Status applied = applyOptionSettings(session, edited); !applied) m_window.interaction().tell(applied.message());
    m_window.overviewPage()->showSecurity(m_window.currentFirma());
}

void AnalysisCommands::IntradayAnalyse() {
    if (m_window.interaction().ask(QStringLiteral("Analyse-Datei neu berechnen?"),
                                   QStringLiteral("Soll die Analyse-Datei neu berechnet werden?")) != Answer::Yes)
        return;
    if (!m_page || !m_page->Berechnen(true)) return;
    // The companion analysis program reads the fresh table; without it the table
    // simply waits for its next start.
    const QString program = companionProgram(m_window.session().dirs.install, kCompanionAnalysis);
    if (program.isEmpty() || !QProcess::startDetached(program, {QStringLiteral("/A")})) return;
    m_window.showMinimized();
}

void AnalysisCommands::applyValues(const Einstellungen& values) {
    m_differenz->setChecked(values.truth(QStringLiteral("Kursdifferenz")));
}

void AnalysisCommands::storeValues(Einstellungen& values) const {
    values.set(QStringLiteral("Kursdifferenz"), SettingValue::truth(m_differenz->isChecked()));
}

}  // namespace q::ui
