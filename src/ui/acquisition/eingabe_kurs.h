// Manual price entry (`TEingabeKurs`, caption "neuen Kurs eingeben"): walks through
// the securities from the one selected in the overview and offers a new daily price
// for each. A second price for a day is stored only after the user agreed to
// replace the first.
#pragma once

#include "acquisition/internet_answer.h"
#include "app/session.h"
#include "base/interaction.h"

#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace q::ui {

class TEingabeKurs final : public QDialog {
    Q_OBJECT
public:
    TEingabeKurs(Session& session, Interaction& ui, int startFirma, QWidget* owner);

    int currentFirma() const;
    int stored() const { return m_stored; }
    QLineEdit* kursEdit() const { return m_kurs; }
    QDateEdit* datumEdit() const { return m_datum; }

    // The buttons, by their hints.
    void weiter();              // "Eingabe des Kurses für das nächste Wertpapier"
    void weiterOhneEingabe();   // "weiter ohne Eingabe"
    void zurueck();             // "Eingabe Abbrechen und zurück"
    void nochEinKurs();         // "nächsten Kurs zu diesem Wertpapier eingeben"
    void abbrechen();           // "Kurs nicht speichern und Eingabe abbrechen"

private:
    // Stores the price shown; false (with the message told) when it was not stored.
    bool store();
    void showSecurity(int index);

    Session& m_session;
    Interaction& m_ui;
    std::vector<InternetSecurity> m_securities;
    int m_index = 0;
    int m_stored = 0;
    QLabel* m_name;
    QDateEdit* m_datum;
    QLineEdit* m_kurs;
};

}  // namespace q::ui
