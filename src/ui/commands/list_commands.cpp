#include "ui/commands/list_commands.h"

#include "app/watch_names.h"
#include "base/clock.h"
#include "overview/classifications.h"
#include "overview/price_reports.h"
#include "overview/security_master.h"
#include "overview/watch_lists.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui/news/news_window.h"
#include "ui/overview/classification_editor.h"
#include "ui/portfolio/open_document.h"
#include "ui/securities_model.h"

#include <QAction>

namespace q::ui {

ListCommands::ListCommands(TAktienkurse& window) : QObject(&window), m_window(window) {
    const auto action = [&](const QString& caption, auto slot) {
        auto* a = new QAction(caption, &window);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    m_favorit = action(QStringLiteral("&Favorit"), [this] { Favorit1Click(); });
    m_loeschen = action(QStringLiteral("Wertpapier &löschen"), [this] { WertpapierLoeschen(); });
    for (int k = 1; k <= 4; ++k) {
        m_zuordnen[size_t(k - 1)] = action(QStringLiteral("gewähltes &Wertpapier zuordnen"), [this, k] { WatchToggle(k); });
        m_alleZuordnen[size_t(k - 1)] = action(QStringLiteral("&alle Wertpapiere zuordnen"), [this, k] { WatchAddAll(k); });
        m_leeren[size_t(k - 1)] = action(QStringLiteral("Liste &löschen"), [this, k] { WatchClear(k); });
    }
    m_namen = action(QStringLiteral("Be&obachtungslisten"), [this] { WatchNames(); });
    m_gruppen = action(QStringLiteral("&Gruppen bearbeiten"), [this] { GruppenBearbeiten(int(Classification::Gruppen)); });
    m_branchen = action(QStringLiteral("B&ranchen bearbeiten"), [this] { GruppenBearbeiten(int(Classification::Branchen)); });
    m_merkmale = action(QStringLiteral("&Merkmal bearbeiten"), [this] { GruppenBearbeiten(int(Classification::Merkmale)); });
    m_fehlende = action(QStringLiteral("&Fehlende Kurswerte"), [this] { FehlendeKurswerte(); });
    m_news << action(QStringLiteral("&alle Meldungen anzeigen"), [this] { Nachrichten(NewsFilter{false, true, true, 0}); });
    m_news << action(QStringLiteral("&Unternehmens-Meldungen"), [this] { Nachrichten(NewsFilter{false, false, true, 0}); });
    m_news << action(QStringLiteral("vom aktuellen &Wertpapiers"),
                     [this] { Nachrichten(NewsFilter{false, false, true, m_window.currentFirma()}); });
    m_news << action(QStringLiteral("alte Nachrichten &löschen"), [this] { AlteNachrichtenLoeschen(); });
}

void ListCommands::Favorit1Click() {
    const int firma = m_window.currentFirma();
    if (firma <= 0) return;
    auto s = readSecurity(m_window.session().store, firma);
    if (!s) return m_window.interaction().tell(s.status().message());
    if (Status set = setFavourite(m_window.session().store, firma, !s->Aktiv); !set) return m_window.interaction().tell(set.message());
    m_window.refillSecurities();
}

void ListCommands::WatchToggle(int k) {
    const int firma = m_window.currentFirma();
    if (firma <= 0) return;
    auto on = toggleWatch(m_window.session().store, k, firma);
    if (!on) return m_window.interaction().tell(on.status().message());
    m_window.refillSecurities();
}

void ListCommands::WatchAddAll(int k) {
    auto firmen = resolveListNumbers(m_window.session().store, m_window.currentSelection());
    if (!firmen) return m_window.interaction().tell(firmen.status().message());
    auto added = addAllToWatch(m_window.session().store, k, *firmen);
    if (!added) return m_window.interaction().tell(added.status().message());
    m_window.showStatus(QStringLiteral("%1 Wertpapiere zu %2 hinzugefügt").arg(*added).arg(m_window.session().watchNames.value(k - 1)));
    m_window.refillSecurities();
}

void ListCommands::WatchClear(int k) {
    auto removed = clearWatch(m_window.session().store, k);
    if (!removed) return m_window.interaction().tell(removed.status().message());
    m_window.refillSecurities();
}

void ListCommands::WatchNames() {
    Session& s = m_window.session();
    for (int k = 1; k <= kWatchListCount; ++k) {
        auto name = m_window.interaction().input(QStringLiteral("Bezeichungen der Beobachtungslisten ändern"),
                                                 QStringLiteral("%1. Beobachtungsliste (leer: ausblenden)").arg(k));
        if (!name) return;
        if (Status stored = storeWatchListName(s, k, *name); !stored) return m_window.interaction().tell(stored.message());
    }
    m_window.menu().applyValues(s.values);
    m_window.reloadLists();
}

void ListCommands::GruppenBearbeiten(int kind) {
    TGruppenEdit editor(m_window, Classification(kind));
    editor.exec();
    m_window.reloadLists();
}

void ListCommands::WertpapierLoeschen() {
    const int firma = m_window.currentFirma();
    if (firma <= 0) return;
    auto rows = deleteSecurityAsked(m_window.session().store, firma, m_window.interaction());
    if (!rows && rows.status().category() != Category::Cancelled) m_window.interaction().tell(rows.status().message());
    m_window.refillSecurities();
}

QString ListCommands::FehlendeKurswerte() {
    Interaction& ui = m_window.interaction();
    if (ui.ask(QStringLiteral("Fehlende Kurswerte"),
               QStringLiteral("Wollen Sie in der Datenbank nach Kursen suchen die Heute noch nicht aktualisiert wurden?")) != Answer::Yes)
        return {};
    Session& s = m_window.session();
    auto list = resolveList(s.store, m_window.currentSelection());
    if (!list) {
        ui.tell(list.status().message());
        return {};
    }
    const QString path = s.store.dirs().work + kMissingPricesFile;
    auto written = writeMissingPrices(s.store, *list, today(), path);
    if (!written) {
        ui.tell(written.status().message());
        return {};
    }
    openDocument(path, ui);
    return path;
}

void ListCommands::Nachrichten(const NewsFilter& filter) {
    TNachrichten window(m_window, filter);
    window.exec();
}

void ListCommands::AlteNachrichtenLoeschen() {
    Session& s = m_window.session();
    const QString dir = s.values.text(QStringLiteral("NachrichtenPath"));
    auto purged = purgeOldNewsAsked(s.store, dir.isEmpty() ? s.dirs.install + QStringLiteral("Nachrichten/") : dir, today(),
                                    m_window.interaction());
    if (purged) m_window.showStatus(QStringLiteral("%1 Nachrichten gelöscht").arg(purged->items));
    else if (purged.status().category() != Category::Cancelled) m_window.interaction().tell(purged.status().message());
}

}  // namespace q::ui
