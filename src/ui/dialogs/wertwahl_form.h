// Securities choice list (TWertWahlForm): a list of security names the caller fills
// in its table's order. exec() == 1 with itemIndex() >= 0 means the caller moves to
// that security; otherwise it stays where it was.
#pragma once

#include <QDialog>

class QListWidget;

namespace q::ui {

class TWertWahlForm final : public QDialog {
    Q_OBJECT
public:
    explicit TWertWahlForm(QWidget* owner);

    void setWindowText(const QString& text) { setWindowTitle(text); }
    void setItems(const QStringList& firmenNamen);
    void setItemIndex(int index);
    // The selected line, -1 when none.
    int itemIndex() const;
    QListWidget* list() const { return m_list; }

private:
    QListWidget* m_list;
};

}  // namespace q::ui
