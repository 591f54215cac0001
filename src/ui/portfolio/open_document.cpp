#include "ui/portfolio/open_document.h"

#include <QDesktopServices>
#include <QUrl>

#include <QPrintDialog>
#include <QPrinter>
#include <QTextBrowser>
#include <QTextDocument>

namespace q::ui {

void printReport(QWidget* parent, const QString& title, const QTextBrowser& view) {
    QPrinter printer;
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    QTextDocument doc;
    doc.setHtml(QStringLiteral("<h3>%1</h3>").arg(title.toHtmlEscaped()) + view.toHtml());
    doc.print(&printer);
}


namespace {
std::function<void(const QString&)>& opener() {
    static std::function<void(const QString&)> f;
    return f;
}
}  // namespace

void openDocument(const QString& path) {
    if (opener()) opener()(path);
    else QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setDocumentOpener(std::function<void(const QString&)> f) { opener() = std::move(f); }

}  // namespace q::ui
