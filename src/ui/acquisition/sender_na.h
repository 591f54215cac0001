// The station identifier dialog (TSenderNa, "Anpassung der Senderkennungen"): the
// identifiers of slots 1 to 3 chosen from the predefined pages' stations, and
// "Umbenennen" to rename an identifier in all page tables.
#pragma once

#include "app/session.h"
#include "base/interaction.h"

#include <QDialog>

class QComboBox;
class QPushButton;

namespace q::ui {

class TSenderNa final : public QDialog {
    Q_OBJECT
public:
    TSenderNa(Session& session, Interaction& ui, QWidget* owner);

    QComboBox* choice(int row) const { return m_choices[row]; }
    QPushButton* renameButton(int row) const { return m_rename[row]; }
    // "Umbenennen" of row 0 … 2: asks for the new name and renames the identifier in
    // the page tables.
    void rename(int row);
    // On OK the chosen identifiers become `Sender1` … `Sender3` (an empty choice keeps
    // the slot's identifier).
    void accept() override;

private:
    Session& m_session;
    Interaction& m_ui;
    QComboBox* m_choices[3];
    QPushButton* m_rename[3];
};

}  // namespace q::ui
