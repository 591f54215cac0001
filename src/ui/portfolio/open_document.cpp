#include "ui/portfolio/open_document.h"

#include <QDesktopServices>
#include <QUrl>

namespace q::ui {

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
