// Opening a report or text file with the desktop's program for it (the "open"
// action of the buttons with the hint "In Textverarbeitung öffnen"), and printing a
// report view under its title. Tests replace the opener so that nothing is started.
#pragma once

#include <QString>
#include <functional>

class QTextBrowser;
class QWidget;

namespace q::ui {

// The print dialog; on OK the view's report is printed under `title`.
void printReport(QWidget* parent, const QString& title, const QTextBrowser& view);

void openDocument(const QString& path);
// Replaces how documents are opened; an empty function restores the desktop's way.
void setDocumentOpener(std::function<void(const QString&)> opener);

}  // namespace q::ui
