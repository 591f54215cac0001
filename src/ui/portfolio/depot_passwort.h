// The dialog "Passwort für Depot festlegen": the new password twice, hidden. OK with
// two different entries says "Passwort stimmt nicht überein" and stays open; both
// empty means no password.
#pragma once

#include "base/interaction.h"

#include <QDialog>

class QLineEdit;

namespace q::ui {

class TDepotPasswort final : public QDialog {
    Q_OBJECT
public:
    TDepotPasswort(QWidget* parent, Interaction& ui);
    QString password() const;
    QLineEdit* first() const { return m_first; }
    QLineEdit* second() const { return m_second; }
    void accept() override;

private:
    Interaction& m_ui;
    QLineEdit* m_first;
    QLineEdit* m_second;
};

}  // namespace q::ui
