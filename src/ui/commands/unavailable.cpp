#include "ui/commands/unavailable.h"

#include <QAction>

namespace q::ui {

QAction* unavailableAction(QObject* owner, const QString& caption, const QKeySequence& shortcut) {
    auto* action = new QAction(caption, owner);
    action->setEnabled(false);
    action->setToolTip(kNotAvailable);
    action->setStatusTip(kNotAvailable);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

}  // namespace q::ui
