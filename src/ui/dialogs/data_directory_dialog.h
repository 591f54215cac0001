// The directory chooser: a combo box of the recently used directories with a browse
// button for the table that marks such a directory. The command "Daten-Verzeichnis"
// uses it for the data directory, the depot commands for a depot.
#pragma once

#include <QDialog>

class QComboBox;

namespace q::ui {

// The chooser's texts; the defaults are the data directory's.
struct DirectoryChoiceTexts {
    QString title = QStringLiteral("Wählen Sie das Verzeichnis der Datenbank");
    QString label = QStringLiteral("Verzeichnis der Datenbank:");
    QString browseTitle;   // empty: the title
    QString filter = QStringLiteral("Aktien Datenbank|aktien.db");
    QString proposedFile;  // the file name the browse dialog proposes (a depot may be new)
};

class DataDirectoryDialog final : public QDialog {
    Q_OBJECT
public:
    using Texts = DirectoryChoiceTexts;
    DataDirectoryDialog(QWidget* owner, const QString& current, const QStringList& recent, Texts texts = {});
    // The chosen directory (as typed or picked).
    QString directory() const;
    QComboBox* directoryBox() const { return m_box; }

private:
    void browse();
    QComboBox* m_box;
    Texts m_texts;
};

}  // namespace q::ui
