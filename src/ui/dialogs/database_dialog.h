// The dialog of the setting Datenbank: the connection to the PostgreSQL server that
// holds the tables, or empty for the table files, with a button that tries the
// connection before it is kept.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace q::ui {

class DatabaseDialog final : public QDialog {
    Q_OBJECT
public:
    DatabaseDialog(QWidget* owner, const QString& current);
    // The connection as typed, trimmed.
    QString uri() const;
    QLineEdit* uriEdit() const { return m_uri; }
    // Tries the connection now and shows the answer below the field.
    void check();
    QString checkResult() const;

private:
    QLineEdit* m_uri;
    QLabel* m_result;
};

}  // namespace q::ui
