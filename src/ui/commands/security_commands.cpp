#include "ui/commands/security_commands.h"

#include "store/firma_hooks.h"
#include "ui/dialogs/firmeneingabe.h"
#include "ui/dialogs/information.h"
#include "ui/dialogs/intraday_werte.h"
#include "ui/dialogs/wertwahl_form.h"
#include "ui/main_window.h"
#include "ui/securities_model.h"

#include <QAction>

namespace q::ui {

SecurityCommands::SecurityCommands(TAktienkurse& window) : QObject(&window), m_window(window) {
    m_anlegen = new QAction(QStringLiteral("Wertpapier &anlegen"), &window);
    m_bearbeiten = new QAction(QStringLiteral("Wertpapier bearbeiten"), &window);
    m_auswaehlen = new QAction(QStringLiteral("Wertpapier aus Liste wählen"), &window);
    m_info = new QAction(QStringLiteral("&Info"), &window);
    connect(m_anlegen, &QAction::triggered, this, &SecurityCommands::WertpapierAnlegen);
    connect(m_bearbeiten, &QAction::triggered, this, &SecurityCommands::WertpapierBearbeiten);
    connect(m_auswaehlen, &QAction::triggered, this, &SecurityCommands::WertpapierAuswaehlen);
    connect(m_info, &QAction::triggered, this, &SecurityCommands::Info);
}

int SecurityCommands::WertpapierAnlegen() { return editSecurity(true); }
int SecurityCommands::WertpapierBearbeiten() { return editSecurity(false); }

int SecurityCommands::editSecurity(bool isNew) {
    Session& s = m_window.session();
    auto table = s.store.table(QStringLiteral("Firma.db"));
    if (!table) {
        m_window.interaction().tell(table.status().message());
        return 0;
    }
    Record record = newSecurityRecord(**table, s.values.text(QStringLiteral("WaehrungsSymbol")));
    if (!isNew) {
        if (m_window.currentFirma() <= 0) return 0;
        auto found = (*table)->findKey({m_window.currentFirma()});
        if (!found || !found->has_value()) return 0;
        record = **found;
    }
    TFirmeneingabe editor(&m_window);
    editor.setWindowText(isNew ? QStringLiteral("Neues Wertpapier") : QStringLiteral("Wertpapier bearbeiten"));
    editor.setName(isNew ? QStringLiteral("Neues Wertpapier") : record.value(QStringLiteral("FirmenName")).toString());
    editor.bind(**table, record);
    editor.Fuellen(s.store);
    const int result = editor.exec();
    if (result == QDialog::Accepted) {
        m_window.reopenViews();
        m_window.selectFirma(editor.firma());
    }
    return result;
}

int SecurityCommands::IntradayWerte() {
    if (m_window.currentFirma() <= 0) return 0;
    TIntradayWerte list(&m_window);
    if (Status bound = list.bind(m_window.session().store, m_window.currentFirma(), m_window.currentFirmenName()); !bound) {
        m_window.interaction().tell(bound.message());
        return 0;
    }
    list.moveToLast();
    const int result = list.exec();
    if (result == QDialog::Accepted) m_window.showStatus(QStringLiteral("Intraday-Werte gespeichert"));
    return result;
}

int SecurityCommands::WertpapierAuswaehlen() {
    const SecuritiesModel* model = m_window.securitiesModel();
    QStringList names;
    for (const SecuritiesModel::Row& row : model->rows()) names << row.FirmenName;
    TWertWahlForm choice(&m_window);
    choice.setItems(names);
    choice.setItemIndex(model->rowOf(m_window.currentFirma()));
    const int result = choice.exec();
    // Anything but a confirmed line leaves the list where it was.
    if (result == QDialog::Accepted && choice.itemIndex() >= 0) m_window.selectFirma(model->firmaAt(choice.itemIndex()));
    return result;
}

void SecurityCommands::Info() {
    TInformation about(&m_window);
    about.exec();
}

}  // namespace q::ui
