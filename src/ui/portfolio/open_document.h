// Opening a report or text file with the desktop's program for it (the "open"
// action of the buttons with the hint "In Textverarbeitung öffnen"). Tests replace
// the opener so that nothing is started.
#pragma once

#include <QString>
#include <functional>

namespace q::ui {

void openDocument(const QString& path);
// Replaces how documents are opened; an empty function restores the desktop's way.
void setDocumentOpener(std::function<void(const QString&)> opener);

}  // namespace q::ui
