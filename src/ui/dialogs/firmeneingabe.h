// Securities editor (TFirmeneingabe): edits one record of the securities master.
// The caller sets the window text and the security's name, binds the editor to its
// securities table and the record (an existing one, or newSecurityRecord() for a new
// security), calls Fuellen() and shows it modally. Confirming writes the record into
// Firma.db through postSecurity()/appendSecurity(); a cancel writes nothing. The
// caller reads the result from the table (firma() names the record written).
#pragma once

#include "base/status.h"
#include "store/list_tables.h"

#include <QDialog>
#include <QHash>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

namespace q::ui {

class TFirmeneingabe final : public QDialog {
    Q_OBJECT
public:
    explicit TFirmeneingabe(QWidget* owner);

    void setWindowText(const QString& text) { setWindowTitle(text); }
    // The security in question, shown as the heading.
    void setName(const QString& name);
    // Binds the editor to `firma` (Firma.db) and the record to edit. A record
    // without a `Firma` number is appended on confirmation. The table must outlive
    // the dialog. The fundamentals page is shown when the table has `Aktienzahl`.
    void bind(Table& firma, const Record& record);
    // Fills the group, branch, feature and currency lists from their tables and
    // selects the record's entries. A list whose table is missing stays empty.
    void Fuellen(Store& store);

    // The number of the security written on confirmation (0 before).
    int firma() const { return m_written; }
    bool fundamentalsVisible() const;

    // The edit of a field, for callers that preset a value (an importer's name).
    QLineEdit* edit(const QString& field) const { return m_edits.value(field); }
    QComboBox* list(const QString& field) const { return m_lists.value(field); }

public Q_SLOTS:
    void accept() override;

private:
    Result<Record> edited() const;

    Table* m_table = nullptr;
    Record m_before;
    int m_written = 0;
    QLabel* m_heading;
    QTabWidget* m_pages;
    QWidget* m_fundamentals;
    QCheckBox* m_aktiv;
    QPlainTextEdit* m_memo;
    QHash<QString, QLineEdit*> m_edits;   // by field name
    QHash<QString, QComboBox*> m_lists;   // Gruppe, Branche, Merkmal, Waehrung
};

}  // namespace q::ui
