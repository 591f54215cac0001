// The regional settings dialog ("Wählen Sie für Ländereinstellung"): the second
// currency and its rate (or one of the euro area's fixed rates from the list), the
// currency decimals, the home currency and the two speculation periods. OK writes
// them through the core (settings and the second currency's record).
#pragma once

#include "app/portfolio_binding.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace q::ui {

class TLaendereinstellung final : public QDialog {
    Q_OBJECT
public:
    TLaendereinstellung(Session& session, QWidget* owner);

    QLineEdit* zweiteWaehrung() const { return m_second; }
    QLineEdit* wechselkurs() const { return m_rate; }
    QSpinBox* dezimalstellen() const { return m_decimals; }
    QLineEdit* standardWaehrung() const { return m_home; }
    QSpinBox* spekulation() const { return m_tage; }
    QSpinBox* spekulationNeu() const { return m_tageNeu; }
    QLineEdit* spekulationAb() const { return m_ab; }
    QListWidget* euroKurse() const { return m_euro; }
    QLabel* message() const { return m_message; }

    void accept() override;

private:
    Session& m_session;
    QLineEdit* m_second;
    QLineEdit* m_rate;
    QSpinBox* m_decimals;
    QLineEdit* m_home;
    QSpinBox* m_tage;
    QSpinBox* m_tageNeu;
    QLineEdit* m_ab;
    QListWidget* m_euro;
    QLabel* m_message;
};

}  // namespace q::ui
