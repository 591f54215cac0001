// Opening a report or text file with the desktop's program for it (the "open"
// action of the buttons with the hint "In Textverarbeitung öffnen"). Tests replace
// the opener so that nothing is started.
#pragma once

#include <QString>
#include <functional>

class QUrl;

namespace q {
class Interaction;
}

namespace q::ui {

// Hands the file URL of `path` to the desktop's program for its type. When none takes
// it, `ui` is told "<path> kann nicht geöffnet werden: kein Programm für diese Datei
// eingerichtet".
void openDocument(const QString& path, Interaction& ui);
// Replaces the desktop's opener (it gets the file URL and says whether a program took
// it); an empty function restores the desktop's way.
void setDocumentOpener(std::function<bool(const QUrl&)> opener);

}  // namespace q::ui
