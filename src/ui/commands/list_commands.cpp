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
#include "ui/overview/watch_names_dialog.h"
#include "ui/portfolio/open_document.h"
#include "ui/securities_model.h"

#include <QAction>
#include <QDesktopServices>
#include <QUrl>
#include <QMenu>

namespace q::ui {

namespace {

// The news site "Meldungen im &Internet" opens in the desktop's browser.
const QString kNewsSite = QStringLiteral("https://www.tagesschau.de/wirtschaft/");

}  // namespace

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
    m_newsSite = action(QStringLiteral("Meldungen im &Internet"), [] { QDesktopServices::openUrl(QUrl(kNewsSite)); });
    m_newsSite->setToolTip(QStringLiteral("Öffnet die Wirtschaftsnachrichten %1 im Browser").arg(kNewsSite));
    m_newsSite->setStatusTip(m_newsSite->toolTip());

    m_context = new QMenu(&window);
    m_contextFavourite = m_context->addAction(QStringLiteral("&Favorit"), this, [this] { Favorit1Click(); });
    m_contextFavourite->setCheckable(true);
    for (int k = 1; k <= 4; ++k) {
        QAction* a = m_context->addAction(QString(), this, [this, k] { WatchToggle(k); });
        a->setCheckable(true);
        m_contextWatch[size_t(k - 1)] = a;
    }
}

void ListCommands::updateContextChecks() {
    Store& store = m_window.session().store;
    const int firma = m_window.currentFirma();
    std::optional<SecurityRecord> security;
    if (firma > 0)
        if (auto read = readSecurity(store, firma)) security = std::move(*read);
    m_contextFavourite->setEnabled(security.has_value());
    m_contextFavourite->setChecked(security && security->Aktiv);
    for (int k = 1; k <= 4; ++k) {
        QAction* a = m_contextWatch[size_t(k - 1)];
        const QString name = m_window.session().watchNames.value(k - 1);
        a->setText(name);
        a->setVisible(!name.trimmed().isEmpty());
        a->setEnabled(security.has_value());
        a->setChecked(security && [&] {
            auto on = isOnWatch(store, k, firma);
            return on && *on;
        }());
    }
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
    TWatchNames dialog(m_window);
    if (dialog.exec() != QDialog::Accepted) return;
    m_window.menu().applyValues(m_window.session().values);
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
