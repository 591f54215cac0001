#include "ui/acquisition/window_hooks.h"

#include "ui/dialogs/firmeneingabe.h"
#include "ui/main_window.h"
#include "ui/portfolio/portfolio_commands.h"

namespace q::ui {

void WindowHooks::reviewNewSecurity(Store& store, int firma, const QString& caption) {
    auto table = store.table(QStringLiteral("Firma.db"));
    if (!table) return;
    auto record = (*table)->findKey({firma});
    if (!record || !record->has_value()) return;
    TFirmeneingabe editor(&m_window);
    editor.setWindowText(caption);
    editor.setName((*record)->value(QStringLiteral("FirmenName")).toString());
    editor.bind(**table, **record);
    editor.Fuellen(store);
    editor.exec();
}

bool WindowHooks::offerSplit(Store&, int firma, const QString& caption, double lastPrice, int ratio) {
    return m_window.portfolio().offerSplit(firma, caption, lastPrice, ratio);
}

}  // namespace q::ui
