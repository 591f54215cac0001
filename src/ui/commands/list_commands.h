// The menu commands on lists: the favourite flag, the four watch lists and their
// names, the group, branch and feature editors, deleting a security, the missing
// prices report "&Fehlende Kurswerte" and the news entries of "Na&chrichten".
#pragma once

#include "news/news_store.h"

#include <QObject>
#include <array>

class QAction;
class QMenu;

namespace q::ui {

class TAktienkurse;

class ListCommands final : public QObject {
    Q_OBJECT
public:
    explicit ListCommands(TAktienkurse& window);

    QAction* favorit() const { return m_favorit; }
    QAction* loeschen() const { return m_loeschen; }
    QAction* zuordnen(int k) const { return m_zuordnen[size_t(k - 1)]; }
    QAction* alleZuordnen(int k) const { return m_alleZuordnen[size_t(k - 1)]; }
    QAction* leeren(int k) const { return m_leeren[size_t(k - 1)]; }
    QAction* namen() const { return m_namen; }
    QAction* gruppen() const { return m_gruppen; }
    QAction* branchen() const { return m_branchen; }
    QAction* merkmale() const { return m_merkmale; }
    QAction* fehlende() const { return m_fehlende; }
    QList<QAction*> newsActions() const { return m_news; }
    // "Meldungen im &Internet": a news site in the desktop's browser.
    QAction* newsSite() const { return m_newsSite; }
    // The securities list's context menu: "&Favorit" and the four watch lists (their
    // names as captions, hidden when empty), checked while the current security is
    // marked. Call updateContextChecks() before showing it.
    QMenu* contextMenu() const { return m_context; }
    QAction* contextFavourite() const { return m_contextFavourite; }
    QAction* contextWatch(int k) const { return m_contextWatch[size_t(k - 1)]; }
    // Sets the captions and the check marks from the stored state.
    void updateContextChecks();

    void Favorit1Click();
    void WatchToggle(int k);
    // Adds the securities of the current list that list k lacks; tells how many.
    void WatchAddAll(int k);
    void WatchClear(int k);
    void WatchNames();
    void GruppenBearbeiten(int kind);  // Classification as int
    void WertpapierLoeschen();
    // Asks, writes Wasfehlt.txt and shows it; returns the path written (empty: none).
    QString FehlendeKurswerte();
    // Opens the news window with the switches of the entry.
    void Nachrichten(const NewsFilter& filter);
    void AlteNachrichtenLoeschen();

private:
    TAktienkurse& m_window;
    QAction* m_favorit;
    QAction* m_loeschen;
    std::array<QAction*, 4> m_zuordnen{};
    std::array<QAction*, 4> m_alleZuordnen{};
    std::array<QAction*, 4> m_leeren{};
    QAction* m_namen;
    QAction* m_gruppen;
    QAction* m_branchen;
    QAction* m_merkmale;
    QAction* m_fehlende;
    QList<QAction*> m_news;
    QAction* m_newsSite;
    QMenu* m_context;
    QAction* m_contextFavourite;
    std::array<QAction*, 4> m_contextWatch{};
};

}  // namespace q::ui
