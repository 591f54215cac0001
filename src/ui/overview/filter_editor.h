// The filter editor "Filtereditor": builds the text "(Feld Vergleich 'Wert') AND …"
// from the fields of the securities master. OK takes the text only when the core
// parses it; otherwise the message names the spot and the filter stays as it was.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace q::ui {

class TAktienkurse;

class TFilterEditor final : public QDialog {
    Q_OBJECT
public:
    TFilterEditor(TAktienkurse& window, const QString& filter, QWidget* parent = nullptr);

    // The accepted text (the one given until OK succeeds).
    QString filter() const { return m_accepted; }

    QListWidget* fields() const { return m_fields; }
    QLineEdit* field() const { return m_field; }
    QComboBox* comparison() const { return m_op; }
    QComboBox* combination() const { return m_combination; }
    QLineEdit* value() const { return m_value; }
    QPlainTextEdit* text() const { return m_text; }

    void FeldUebernehmen();
    void BedingungEinfuegen();
    // Parses the text; accepts the dialog when it parses, else tells the message.
    void Uebernehmen();

private:
    TAktienkurse& m_window;
    QString m_accepted;
    QListWidget* m_fields;
    QLineEdit* m_field;
    QComboBox* m_op;
    QComboBox* m_combination;
    QLineEdit* m_value;
    QPlainTextEdit* m_text;
};

}  // namespace q::ui
