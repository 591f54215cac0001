// The page tables in the installation directory: the predefined pages
// (DDESeiten.db, shared by both dialogs), the daily pages (TVAktiv.DB) and the
// intraday pages (DDEAktiv.db); each record one teletext page with its subpage
// range and mask file. The dialogs and the command line edit them through here.
#pragma once

#include "acquisition/mask.h"
#include "acquisition/page_source.h"
#include "base/interaction.h"
#include "store/store.h"

#include <vector>

namespace q {

inline const QString kPredefinedPages = QStringLiteral("DDESeiten.db");
inline const QString kDailyPages = QStringLiteral("TVAktiv.DB");
inline const QString kIntradayPages = QStringLiteral("DDEAktiv.db");

// Which dialog edits a table: the two word their messages differently.
enum class PageDialog { Daily, Intraday };

struct PageEntry {
    QString Beschreibung;  // "NACHRICHT" in it marks a news page
    QString Sender;        // the station identifier
    QString Seitename;     // identifier + three-digit page number
    int SeitenVon = 0;     // first subpage
    int Seitenbis = 0;     // last subpage
    QString Filter;        // the mask file
    qint64 rowid = -1;     // the record, for removing it

    bool isNews() const { return Beschreibung.contains(QLatin1String("NACHRICHT"), Qt::CaseInsensitive); }
};

// Opens the page table `file` for a dialog, creating it when missing. A table of
// the old structure (no field `Sender`) is rebuilt empty after the dialog's message
// ("Datenbank-Struktur muss geändert werden. …"). Fails with the store's message.
Status preparePageTable(Store& store, const QString& file, PageDialog dialog, Interaction& ui);

// The pages of `file` in table order; those of `station` only (its `Sender`), unless
// the station is empty or "MEHR". A missing table has no pages.
Result<std::vector<PageEntry>> readPages(Store& store, const QString& file, const QString& station = QString());

// The mask file a page's `Filter` names: the path itself, or the name in the
// mask directory `filterPath`, whatever its letter case; empty when there is none.
QString resolveMaskFile(const QString& filter, const QString& filterPath);

// The mask of a page: its mask file read, or nullopt when `Filter` names no file
// (then every character is taken). Fails with the file's message when it cannot be read.
Result<std::optional<MaskFile>> pageMask(const PageEntry& page, const QString& filterPath);
// The request for a subpage of a page: station and page number from its name.
PageRequest pageRequest(const PageEntry& page, int subpage);

// The checks before a page is stored in an active list: the mask file exists (" Filter
// existiert nicht " or, intraday, " Filter existiert nicht, überprüfen Sie die
// Einstellung des Filter-Pathes "), the first subpage is below the last (" erte Seite
// muß kleiner als letzte Seite sein ", intraday " erste Seite muß …"). Invalid with
// that message.
Status checkPage(const PageEntry& page, PageDialog dialog, const QString& filterPath);

// Appends the page (after checkPage() for active tables). Fails Invalid with the
// field's message (a name too long).
Status addPage(Store& store, const QString& file, const PageEntry& page);
// Removes the page read by readPages().
Status removePage(Store& store, const QString& file, const PageEntry& page);

// The distinct station identifiers of the predefined pages, "MEHR" left out.
Result<QStringList> predefinedStations(Store& store);

// Renames the station `from` to `to` in all three tables: each record whose `Sender`
// equals `from` (in DDESeiten.db compared upper-cased and trimmed) gets `Sender` =
// `to` and a page name of `to` + the old name without its first length(`from`)
// characters. Each table in one transaction. Returns the records changed.
Result<int> renameStation(Store& store, const QString& from, const QString& to);

}  // namespace q
