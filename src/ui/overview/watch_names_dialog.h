// The dialog "Bezeichungen der Beobachtungslisten ändern": the four watch list names
// in one form. OK stores every name through the core (an empty name hides its
// list); "Abbrechen" stores nothing.
#pragma once

#include <QDialog>
#include <array>

class QLineEdit;

namespace q::ui {

class TAktienkurse;

class TWatchNames final : public QDialog {
    Q_OBJECT
public:
    explicit TWatchNames(TAktienkurse& window, QWidget* parent = nullptr);

    QLineEdit* nameEdit(int k) const { return m_names[size_t(k - 1)]; }
    // OK: stores the four names; a failure is shown and the dialog stays open.
    void Uebernehmen();

private:
    TAktienkurse& m_window;
    std::array<QLineEdit*, 4> m_names{};
};

}  // namespace q::ui
