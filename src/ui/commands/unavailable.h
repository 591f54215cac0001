// Commands whose subsystem is not built yet: present in menus and tool bars so the
// user finds them, but disabled, with the tool tip "Noch nicht verfügbar".
#pragma once

#include <QKeySequence>
#include <QString>

class QAction;
class QObject;

namespace q::ui {

inline const QString kNotAvailable = QStringLiteral("Noch nicht verfügbar");

// A disabled action with that caption, owned by `owner`.
QAction* unavailableAction(QObject* owner, const QString& caption, const QKeySequence& shortcut = {});

}  // namespace q::ui
