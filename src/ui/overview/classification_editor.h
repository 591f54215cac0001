// The classification editor "Bearbeitung der Gruppen ": one dialog for the groups,
// branches and features. Every change is saved at once through the core; a failure
// shows its message and leaves the list as the table holds it.
#pragma once

#include "overview/classifications.h"

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace q::ui {

class TAktienkurse;

class TGruppenEdit final : public QDialog {
    Q_OBJECT
public:
    TGruppenEdit(TAktienkurse& window, Classification kind, QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    QLineEdit* nameEdit() const { return m_name; }

    // The buttons' work, also for tests.
    void Neu();
    void Umbenennen();
    void Loeschen();
    void Verschieben(bool up);

private:
    void reload(int select);
    bool report(const Status& status);

    TAktienkurse& m_window;
    Classification m_kind;
    QListWidget* m_list;
    QLineEdit* m_name;
};

}  // namespace q::ui
