// The dividend window in its three uses: "Eingang von Dividenden" (a dividend),
// "Wiederanlage eines Ertrages" (a reinvested distribution) and "Buchung im Depot
// eintragen" (a payment). Typing in one of "Anteile", "Betrag" and "Dividende"
// recomputes the others; "Eintragen" books through the core and closes with 1,
// "Abbrechen" closes without booking. The number fields take no letters.
#pragma once

#include "base/status.h"

#include <QDate>
#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace q::ui {

class TDividende final : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Dividend, Reinvestment, Payment };

    struct Entry {
        double anteile = 0;
        double betrag = 0;
        double dividende = 0;  // per share; the price per share of a reinvestment
        QDate datum;
        QString bezeichnung;
    };
    // Books the entry; its status is shown in the message label when it fails.
    using Booking = std::function<Status(const Entry&)>;

    TDividende(Kind kind, QWidget* owner);

    // The fields' start values.
    void setValues(double anteile, double betrag, double dividende, const QDate& datum, const QString& bezeichnung);
    void setBooking(Booking booking) { m_booking = std::move(booking); }

    QLineEdit* anteile() const { return m_anteile; }
    QLineEdit* betrag() const { return m_betrag; }
    QLineEdit* dividende() const { return m_dividende; }
    QLineEdit* datum() const { return m_datum; }
    QLineEdit* bezeichnung() const { return m_bezeichnung; }
    QLabel* message() const { return m_message; }
    QPushButton* eintragen() const { return m_eintragen; }
    QPushButton* abbrechen() const { return m_abbrechen; }

public Q_SLOTS:
    void Eintragen();

private:
    void betragEdited();
    void dividendeEdited();
    void anteileEdited();
    static std::optional<double> value(const QLineEdit* edit);
    static void setNumber(QLineEdit* edit, double value);

    Kind m_kind;
    Booking m_booking;
    QLineEdit* m_anteile;
    QLineEdit* m_betrag;
    QLineEdit* m_dividende;
    QLineEdit* m_datum;
    QLineEdit* m_bezeichnung;
    QLabel* m_message;
    QPushButton* m_eintragen;
    QPushButton* m_abbrechen;
};

}  // namespace q::ui
