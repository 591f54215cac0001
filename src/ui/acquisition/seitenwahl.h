// The page dialogs: "Script Erstellung für tägliches Einlesen der Kurse"
// (TTVSeitenwahl, daily pages in TVAktiv.DB) and "Script für das Einlesen der
// Intraday-Kurse" (TDEESeitenwahl, intraday pages in DDEAktiv.db). Both pick pages
// from the predefined pages (DDESeiten.db) into their active list, choose the
// station, and on closing store the station settings and offer to write the
// receiver script. The daily dialog also sets the DVB stream the built-in decoder
// captures from (the receiver script's place on Linux).
#pragma once

#include "acquisition/page_config.h"
#include "app/session.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimeEdit;

namespace q::ui {

class TSeitenwahl final : public QDialog {
    Q_OBJECT
public:
    // `programPath`: the window program, for the daily script's "EXEC" line.
    TSeitenwahl(PageDialog kind, Session& session, Interaction& ui, const QString& programPath, QWidget* owner);

    // Opens the page tables (creating them, rebuilding one of the old structure);
    // false when the dialog cannot open (the message was told).
    bool prepare();

    PageDialog kind() const { return m_kind; }
    QComboBox* station() const { return m_station; }
    QListWidget* predefinedList() const { return m_predefined; }
    QListWidget* activeList() const { return m_active; }
    QLineEdit* nameEdit() const { return m_name; }
    QSpinBox* fromEdit() const { return m_from; }
    QSpinBox* toEdit() const { return m_to; }
    QLineEdit* filterEdit() const { return m_filter; }
    QLineEdit* descriptionEdit() const { return m_description; }
    QCheckBox* alternativeBox() const { return m_alternative; }
    QLineEdit* alternativeEdit() const { return m_alternativeId; }
    QCheckBox* startAfterBox() const { return m_startAfter; }
    QLineEdit* streamEdit() const { return m_stream; }
    QCheckBox* endBox() const { return m_end; }
    QTimeEdit* endTime() const { return m_endTime; }

    // The buttons' work, callable by tests.
    void takeForEditing();        // the marked active page into the edit fields
    bool storeEdited();           // the edit fields as an active page; false on a failed check
    void removeMarked();          // the marked active page out of the list
    void copyToPredefined();      // intraday "<": the edited page into the predefined pages
    // Stores the station settings and, after the question, writes the script.
    void done(int result) override;

private:
    void fillLists();
    void showForEditing(const PageEntry& page);
    PageEntry edited() const;
    QString chosenStation() const;
    void tell(const Status& status);

    PageDialog m_kind;
    Session& m_session;
    Interaction& m_ui;
    QString m_programPath;
    QString m_file;  // the active page table
    std::vector<PageEntry> m_predefinedPages;
    std::vector<PageEntry> m_activePages;

    QComboBox* m_station;
    QListWidget* m_predefined;
    QListWidget* m_active;
    QLineEdit* m_name;
    QSpinBox* m_from;
    QSpinBox* m_to;
    QLineEdit* m_filter;
    QLineEdit* m_description;
    QCheckBox* m_alternative = nullptr;
    QLineEdit* m_alternativeId = nullptr;
    QCheckBox* m_startAfter = nullptr;
    QLineEdit* m_stream = nullptr;
    QSpinBox* m_seconds = nullptr;
    QCheckBox* m_end = nullptr;
    QTimeEdit* m_endTime = nullptr;
};

}  // namespace q::ui
