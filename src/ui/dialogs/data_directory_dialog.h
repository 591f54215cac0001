// The dialog of the command "Daten-Verzeichnis": the current data directory, a
// browse button for the price table, and the recently used directories.
#pragma once

#include <QDialog>

class QComboBox;

namespace q::ui {

class DataDirectoryDialog final : public QDialog {
    Q_OBJECT
public:
    DataDirectoryDialog(QWidget* owner, const QString& current, const QStringList& recent);
    // The chosen directory (as typed or picked).
    QString directory() const;
    QComboBox* directoryBox() const { return m_box; }

private:
    void browse();
    QComboBox* m_box;
};

}  // namespace q::ui
