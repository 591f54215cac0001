// The further commands of "&Neue Kurse": the price text files, manual entry,
// Internet quotes, the daily exchange file and a security's price history.
#pragma once

#include "acquisition/read_report.h"

#include <QObject>
#include <optional>
#include <vector>

class QAction;

namespace q::ui {

class TAktienkurse;

class PriceSourceCommands final : public QObject {
    Q_OBJECT
public:
    explicit PriceSourceCommands(TAktienkurse& window);

    QAction* textdatei() const { return m_textdatei; }
    QAction* wknDatei() const { return m_wknDatei; }
    QAction* infobeat() const { return m_infobeat; }
    QAction* eingeben() const { return m_eingeben; }
    QAction* internet() const { return m_internet; }
    QAction* neuerMarkt() const { return m_neuerMarkt; }
    QAction* importWertpapiere() const { return m_importWertpapiere; }

    // Each asks for its file (nothing happens when the user cancels), reads it, shows
    // the result as every reading run does, and (the tab-separated files) offers to
    // delete the file. Returns the run's report.
    ReadReport WochenArchiv1Click();
    ReadReport KursemitwknClick();
    ReadReport Einlesen1Click();
    ReadReport NeuerMarkt1Click();
    // The Internet quotes of the list selector's current entry (with "nur Favoriten"
    // and the filter), after the question.
    ReadReport InternetKurse1Click();
    // The "/I" job: the Internet quotes of the selector entry named `list` (all
    // securities when empty), without a question.
    ReadReport internetJob(const QString& list);
    // The securities an Internet run reads: every security (nullopt), the main
    // window's current selection (an empty text) or the selector entry of that name
    // alone. Fails NotFound naming the list when it is unknown or empty.
    Result<std::vector<int>> internetSelection(const std::optional<QString>& list);
    // The manual entry form, from the security selected in the overview.
    int Eingabe1Click();
    // The price history of the selected security: start date, file, import.
    void ImportWertpapiere1Click();

private:
    ReadReport textFile(int layout);
    QString chooseFile(const QString& filter);
    ReadReport runInternet(const std::vector<int>& firmen);

    TAktienkurse& m_window;
    QAction* m_textdatei;
    QAction* m_wknDatei;
    QAction* m_infobeat;
    QAction* m_eingeben;
    QAction* m_internet;
    QAction* m_neuerMarkt;
    QAction* m_importWertpapiere;
};

}  // namespace q::ui
