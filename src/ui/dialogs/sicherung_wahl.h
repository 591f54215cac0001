// The choice of the backup to restore: every set of copies in the backup directory,
// newest first, with its date and each table's rows; the newest is preselected.
#pragma once

#include "app/backup_sets.h"

#include <QDialog>

class QTreeWidget;

namespace q::ui {

class TSicherungWahl final : public QDialog {
    Q_OBJECT
public:
    TSicherungWahl(QWidget* owner, const std::vector<BackupSet>& sets);
    // The name of the chosen set.
    QString chosen() const;
    QTreeWidget* list() const { return m_list; }

private:
    QTreeWidget* m_list;
};

}  // namespace q::ui
