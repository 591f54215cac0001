#include "ui/portfolio/open_document.h"

#include "base/interaction.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace q::ui {

namespace {
std::function<bool(const QUrl&)>& opener() {
    static std::function<bool(const QUrl&)> f;
    return f;
}
}  // namespace

void openDocument(const QString& path, Interaction& ui) {
    const QUrl url = QUrl::fromLocalFile(path);
    const bool opened = opener() ? opener()(url) : QDesktopServices::openUrl(url);
    if (!opened)
        ui.tell(QStringLiteral("%1 kann nicht geöffnet werden: kein Programm für diese Datei eingerichtet").arg(QDir::toNativeSeparators(path)));
}

void setDocumentOpener(std::function<bool(const QUrl&)> f) { opener() = std::move(f); }

}  // namespace q::ui
