// The commands of the menu "&Analyse": "&Analyse-Parameter" (the options dialog
// TAnalyse), "Intraday &Analyse" (the analysis table after a question) and
// "Kursd&ifferenz berechnen" (the second price view, `Kursdifferenz`).
#pragma once

#include "settings/einstellungen.h"

#include <QObject>

class QAction;

namespace q::ui {

class RatingPage;
class TAktienkurse;

class AnalysisCommands final : public QObject {
    Q_OBJECT
public:
    explicit AnalysisCommands(TAktienkurse& window);

    QAction* analyseParameter() const { return m_parameter; }
    QAction* intradayAnalyse() const { return m_intraday; }
    QAction* kursdifferenz() const { return m_differenz; }
    void setRatingPage(RatingPage* page) { m_page = page; }

    // Opens TAnalyse; on OK its values become the settings in effect (written when
    // the window closes) and the overview is filled again with them.
    void AnalyseParameter();
    // "Soll die Analyse-Datei neu berechnet werden?": on Yes the rating run writes
    // Analyse.db; after a good run the companion analysis program (kCompanionAnalysis
    // in the installation's "bin" folder) starts with "/A" and the window is
    // minimised, when that program is there.
    void IntradayAnalyse();
    static const QString kCompanionAnalysis;

    void applyValues(const Einstellungen& values);
    void storeValues(Einstellungen& values) const;

private:
    TAktienkurse& m_window;
    RatingPage* m_page = nullptr;
    QAction* m_parameter;
    QAction* m_intraday;
    QAction* m_differenz;
};

}  // namespace q::ui
