// The protocol window (TProtKurs): the quotes of the last reading run that matched
// no security and those whose change was implausible. "Aufnehmen" takes the chosen
// unmatched quotes up as new securities, "Splitten" reads the chosen implausible
// quotes again (after a split was corrected); the owner runs both.
#pragma once

#include "acquisition/protocol.h"

#include <QDialog>

class QListWidget;
class QPushButton;

namespace q::ui {

class TProtKurs final : public QDialog {
    Q_OBJECT
public:
    explicit TProtKurs(QWidget* owner);

    // Shows the lists of a run (replacing those shown).
    void setLists(const ProtocolLists& lists);
    const ProtocolLists& lists() const { return m_lists; }

    QListWidget* unmatchedList() const { return m_unmatched; }
    QListWidget* implausibleList() const { return m_implausible; }
    QPushButton* aufnehmenButton() const { return m_aufnehmen; }
    QPushButton* splittenButton() const { return m_splitten; }

    // The entries of the selected lines.
    std::vector<ProtocolEntry> selectedUnmatched() const;
    std::vector<ProtocolEntry> selectedImplausible() const;

Q_SIGNALS:
    void aufnehmen(const std::vector<ProtocolEntry>& entries);
    void splitten(const std::vector<ProtocolEntry>& entries);

private:
    ProtocolLists m_lists;
    QListWidget* m_unmatched;
    QListWidget* m_implausible;
    QPushButton* m_aufnehmen;
    QPushButton* m_splitten;
};

}  // namespace q::ui
