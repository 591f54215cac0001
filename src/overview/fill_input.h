// What the fill pass reads of one security: its record of the securities master, its
// daily prices (with the stored long average `GlD` where the price table has that
// field), its volumes and its lots in the current depot. Read in one pass per table;
// the fill pass itself (fuellen.h) then works on these rows alone.
#pragma once

#include "portfolio/lot.h"
#include "store/store.h"

#include <optional>
#include <vector>

namespace q {

// What the overview, the rating and the analysis record use of `Firma.db`. Empty
// fields (NULL in a table another program wrote) read as 0 and "".
struct SecurityRecord {
    int Firma = 0;
    QString FirmenName;
    bool Aktiv = false;
    QString Kennung;
    QString ISIN;
    QString Ticker;
    QString ZDF;
    QString Waehrung;
    int Gruppe = 0;
    int Branche = 0;
    int Merkmal = 0;
    double Dividende = 0;
    double Gewinn = 0;      // earnings per share
    double CashFlow = 0;    // cash flow per share
    double Aktienzahl = 0;  // shares issued
    double Oberes_Limit = 0;
    double Unteres_Limit = 0;
    QString Internet;
    QString Memo;
    // The master carries the fundamentals fields (an old one may not): only then are
    // "KGV", "KCV" and the market capitalisation shown.
    bool hasFundamentals = true;
};

SecurityRecord securityFromRecord(const Record& record);

// securityFromRecord() for many records of one table: the fields are looked up
// once, in the layout the reader is made for.
class SecurityReader {
public:
    explicit SecurityReader(const Layout& layout);
    SecurityRecord read(const Record& record) const;

private:
    std::vector<int> m_index;
};
// The security with that number. Fails NotFound "Wertpapier <n> nicht gefunden", or
// with the store's message.
Result<SecurityRecord> readSecurity(Store& store, int firma);

struct PriceRow {
    int datum = 0;      // day number; 0 in a broken row
    double kurs = 0;
    double gld = 0;     // the stored long average; 0 when empty or without the field
};

struct VolumeRow {
    int datum = 0;      // day number
    qint64 volumen = 0;
};

struct FillInput {
    SecurityRecord security;
    std::vector<PriceRow> prices;    // every stored row in date order, broken ones too
    bool hasGlD = false;             // the price table has the field `GlD`
    std::vector<VolumeRow> volumes;  // in date order, dated on or after volumesFrom
    std::vector<Lot> lots;           // the security's lots in the current depot
};

// Reads the prices of `security` (all of them), its volumes dated on or after
// `volumesFrom` (all when invalid) and its lots. A depot without Transaktionen.db
// counts as one without lots. Fails with the store's message.
Result<FillInput> readFillInput(Store& store, const SecurityRecord& security, const QDate& volumesFrom);

}  // namespace q
