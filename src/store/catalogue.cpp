#include "store/catalogue.h"

#include "base/formats.h"
#include "base/text_files.h"

#include <QFileInfo>

namespace q {

namespace {

Field alpha(const char* name, int size, bool required = false) { return {QString::fromUtf8(name), FieldType::Alpha, size, required}; }
Field f(const char* name, FieldType type, bool required = false) { return {QString::fromUtf8(name), type, 0, required}; }

Layout firma(const QString& table) {
    Layout l;
    l.table = table;
    l.fields = {f("Firma", FieldType::Long, true), alpha("FirmenName", 30, true), f("Aktiv", FieldType::Logical, true),
                alpha("Kennung", 16), f("Gruppe", FieldType::Short), f("Branche", FieldType::Short),
                f("Merkmal", FieldType::Short), alpha("Waehrung", 6), f("Dividende", FieldType::Money),
                alpha("ZDF", 20), alpha("N-TV", 20), alpha("SF1", 20), alpha("Sender4", 20), f("Memo", FieldType::Memo),
                alpha("Internet", 255), f("Unteres_Limit", FieldType::Number), f("Oberes_Limit", FieldType::Number),
                f("Aktienzahl", FieldType::Number), f("Gewinn", FieldType::Number), f("CashFlow", FieldType::Number),
                alpha("ISIN", 16), alpha("Ticker", 20)};
    l.primaryName = QStringLiteral("Firma");
    l.primaryFields = {QStringLiteral("Firma")};
    l.autoNumberKey = true;
    const char* idx[][2] = {{"IFirma", "FirmenName"}, {"IZDF", "ZDF"},         {"IN-TV", "N-TV"},
                            {"ISF1", "SF1"},          {"ISender4", "Sender4"}, {"IWKN", "Kennung"},
                            {"IISIN", "ISIN"},        {"ITicker", "Ticker"}};
    for (auto& i : idx) l.indexes.push_back({QString::fromUtf8(i[0]), {QString::fromUtf8(i[1])}, IndexKind::CaseInsensitive});
    return l;
}

Layout priceLike(const QString& table, const QString& primary, const char* valueField, FieldType valueType) {
    Layout l;
    l.table = table;
    l.fields = {f("Firma", FieldType::Long, true), f("Datum", FieldType::Date, true), f(valueField, valueType, true)};
    l.primaryName = primary;
    l.primaryFields = {QStringLiteral("Firma"), QStringLiteral("Datum")};
    return l;
}

Layout analyse(const QString& table) {
    Layout l;
    l.table = table;
    const FieldType N = FieldType::Number;
    l.fields = {f("Firma", FieldType::Long, true), f("Gruppe", FieldType::Short, true), f("Branche", FieldType::Short, true),
                f("Merkmal", FieldType::Short, true), f("Favorit", FieldType::Logical, true), alpha("Wertpapier", 30, true),
                alpha("Kennung", 14, true), f("Kurs", N, true), f("KursMax", N, true), f("KursMin", N, true),
                f("MinProzent", N, true), f("MaxProzent", N, true), f("MaxDifferenz", N), f("GlD1", N, true),
                f("GlD1Minus1", N, true), f("GlD2", N, true), f("GlD2Minus1", N, true), f("Stochastik", N, true),
                f("Bewertung", N, true), f("Prozent", N, true), f("Differenz", N), f("Index", N, true),
                f("Indikator1", N), f("Indikator2", N), f("Indikator3", N), f("Indikator4", N), f("AktKurs", N),
                f("zuletzt", N), f("LimitPlus", N), f("LimitMinus", N), f("Volumen", FieldType::Long),
                f("AktVolumen", FieldType::Long), f("DiffVolumen", FieldType::Long), f("TrendVolumen", N),
                f("Umsatz", FieldType::Long), f("TarnFaktor", N), f("TarnRate", N), f("GlD3", N),
                f("Datum", FieldType::Timestamp), f("Gewinn", N), f("CashFlow", N), f("Marktkap", N), f("High", N),
                f("Low", N), f("Open", N), f("Close", N), f("Pivot", N), f("PivotR1", N), f("PivotR2", N),
                f("PivotS1", N), f("PivotS2", N), f("Gewinnschwelle", N)};
    for (int line = 0; line <= 4; ++line)
        for (const char* part : {"LinieBeginnX", "LinieBeginnY", "LinieEndeX", "LinieEndeY"})
            l.fields.push_back({QString::fromUtf8(part) + QString::number(line), N, 0, false});
    l.primaryName = QStringLiteral("Analyse");
    l.primaryFields = {QStringLiteral("Firma")};
    const char* pairs[][2] = {{"IFirma", "Wertpapier"}, {"IProz", "Prozent"},       {"IBewert", "Bewertung"},
                              {"IIndex", "Index"},       {"IMax", "KursMax"},        {"IMin", "KursMin"},
                              {"IMaxProz", "MaxProzent"}, {"IMinProz", "MinProzent"}, {"ISto", "Stochastik"},
                              {"IIndik", "Indikator1;Indikator2;Indikator3"},         {"IUmsatz", "Umsatz"},
                              {"ITVol", "TrendVolumen"}, {"IZeit", "Datum"},         {"IGewinn", "Gewinn"},
                              {"ICash", "CashFlow"},     {"IMarkt", "Marktkap"}};
    for (auto& p : pairs) {
        const QStringList fields = QString::fromUtf8(p[1]).split(QLatin1Char(';'));
        l.indexes.push_back({QString::fromUtf8(p[0]) + QStringLiteral("Plus"), fields, IndexKind::Descending});
        l.indexes.push_back({QString::fromUtf8(p[0]) + QStringLiteral("Minus"), fields, IndexKind::CaseInsensitive});
    }
    return l;
}

}  // namespace

const std::vector<CatalogueEntry>& catalogue() {
    static const std::vector<CatalogueEntry> entries = {
        {QStringLiteral("Firma.db"), DirKind::Data, TableKind::Firma},
        {QStringLiteral("Aktien.db"), DirKind::Data, TableKind::Aktien},
        {QStringLiteral("Volumen.db"), DirKind::Data, TableKind::Volumen},
        {QStringLiteral("Intraday.db"), DirKind::Data, TableKind::Intraday},
        {QStringLiteral("Waehrung.db"), DirKind::Data, TableKind::Waehrung},
        {QStringLiteral("Gruppen.db"), DirKind::Data, TableKind::Gruppen},
        {QStringLiteral("Branchen.db"), DirKind::Data, TableKind::Branchen},
        {QStringLiteral("Merkmal.db"), DirKind::Data, TableKind::Merkmal},
        {QStringLiteral("Watch.db"), DirKind::Data, TableKind::Watch},
        {QStringLiteral("Watch2.db"), DirKind::Data, TableKind::Watch},
        {QStringLiteral("Watch3.db"), DirKind::Data, TableKind::Watch},
        {QStringLiteral("Watch4.db"), DirKind::Data, TableKind::Watch},
        {QStringLiteral("Nachrichten.db"), DirKind::Data, TableKind::Nachrichten},
        {QStringLiteral("Transaktionen.db"), DirKind::Depot, TableKind::Transaktionen},
        {QStringLiteral("Anlagen.DB"), DirKind::Depot, TableKind::Anlagen},
        {QStringLiteral("Analyse.db"), DirKind::Work, TableKind::Analyse},
        {QStringLiteral("Gewinner.db"), DirKind::Work, TableKind::Watch},
        {QStringLiteral("Verlierer.db"), DirKind::Work, TableKind::Watch},
        {QStringLiteral("DDESeiten.db"), DirKind::Install, TableKind::Seiten},
        {QStringLiteral("DDEAktiv.db"), DirKind::Install, TableKind::Seiten},
        {QStringLiteral("TVAktiv.DB"), DirKind::Install, TableKind::Seiten},
    };
    return entries;
}

const CatalogueEntry* catalogueEntry(const QString& file) {
    for (const auto& e : catalogue())
        if (e.file.compare(file, Qt::CaseInsensitive) == 0) return &e;
    return nullptr;
}

QString tableNameOf(const QString& file) { return QFileInfo(file).completeBaseName(); }

QString intradayArchiveName(const QDate& day) { return formatDate(day) + QStringLiteral(".DB"); }

Layout layoutForFile(const QString& file) {
    const CatalogueEntry* e = catalogueEntry(file);
    Q_ASSERT(e);
    return layoutFor(e ? e->kind : TableKind::Firma, tableNameOf(file));
}

Layout layoutFor(TableKind kind, const QString& table) {
    Layout l;
    l.table = table;
    switch (kind) {
    case TableKind::Firma: return firma(table);
    case TableKind::Aktien: {
        Layout a = priceLike(table, QStringLiteral("Aktien"), "Kurs", FieldType::Money);
        a.indexes.push_back({QStringLiteral("IDatum"), {QStringLiteral("Datum")}, IndexKind::CaseInsensitive});
        return a;
    }
    case TableKind::Volumen: return priceLike(table, QStringLiteral("Volumen"), "Volumen", FieldType::Long);
    case TableKind::Intraday:
        l.fields = {f("Firma", FieldType::Long, true), f("ZEIT", FieldType::Timestamp, true), f("Kurs", FieldType::Money, true),
                    f("Volumen", FieldType::Long)};
        l.primaryName = QStringLiteral("INTRADAY");
        l.primaryFields = {QStringLiteral("Firma"), QStringLiteral("ZEIT")};
        return l;
    case TableKind::Waehrung:
        // The empty symbol is the entry without currency: a key value, never NULL.
        l.fields = {{QStringLiteral("Symbol"), FieldType::Alpha, 5, false, true}, alpha("Name", 40, true),
                    f("Faktor", FieldType::Number, true),
                    f("Multiplikator", FieldType::Logical, true), f("Einheit", FieldType::Number, true)};
        l.primaryName = QStringLiteral("Wahrung");
        l.primaryFields = {QStringLiteral("Symbol")};
        return l;
    case TableKind::Gruppen:
    case TableKind::Branchen:
    case TableKind::Merkmal:
        l.fields = {f("GruppenIndex", FieldType::Long, true),
                    alpha("GruppenName", kind == TableKind::Gruppen ? 20 : 40, true)};
        return l;
    case TableKind::Watch:
        l.fields = {f("Firma", FieldType::Long, true)};
        l.primaryName = QStringLiteral("Watch");
        l.primaryFields = {QStringLiteral("Firma")};
        return l;
    case TableKind::Nachrichten:
        l.fields = {f("Nummer", FieldType::Long, true), f("ZEIT", FieldType::Timestamp, true), alpha("Nachricht", 255),
                    f("Firma", FieldType::Long), f("Aktiv", FieldType::Logical)};
        l.primaryName = QStringLiteral("Nachricht");
        l.primaryFields = {QStringLiteral("Nummer")};
        l.indexes = {{QStringLiteral("News"), {QStringLiteral("ZEIT")}, IndexKind::Descending},
                     {QStringLiteral("Firma"), {QStringLiteral("Firma"), QStringLiteral("ZEIT")}, IndexKind::Descending}};
        return l;
    case TableKind::Transaktionen:
        l.fields = {f("Firma", FieldType::Long, true),    f("Datum", FieldType::Date, true),
                    f("Anteile", FieldType::Number, true), f("Ankauf", FieldType::Money, true),
                    f("Verkauf", FieldType::Date),        f("Erloes", FieldType::Money), alpha("FirmenName", 30)};
        // Every booking is a row of its own (its rowid): two equal purchases on one day
        // are two lots. The primary order by security and purchase date stays, as an
        // index that does not make the lots unique.
        l.primaryName = QStringLiteral("Transaktionen");
        l.primaryFields = {QStringLiteral("Firma"),  QStringLiteral("Datum"),  QStringLiteral("Anteile"), QStringLiteral("Ankauf"),
                           QStringLiteral("Verkauf"), QStringLiteral("Erloes"), QStringLiteral("FirmenName")};
        l.primaryUnique = false;
        l.indexes = {{QStringLiteral("Angekauft"), {QStringLiteral("Datum")}, IndexKind::Descending}};
        return l;
    case TableKind::Anlagen:
        l.fields = {f("DATUM", FieldType::Timestamp, true), f("Anteile", FieldType::Number, true),
                    f("KursKauf", FieldType::Money, true), f("KursIst", FieldType::Money, true)};
        l.primaryName = QStringLiteral("ANLAGEN");
        l.primaryFields = {QStringLiteral("DATUM")};
        return l;
    case TableKind::Analyse: return analyse(table);
    case TableKind::Seiten:
        l.fields = {alpha("Beschreibung", 30), alpha("Sender", 6), alpha("Seitename", 12), f("SeitenVon", FieldType::Short),
                    f("Seitenbis", FieldType::Short), alpha("Filter", 255)};
        return l;
    }
    return l;
}

std::vector<Row> seedRows(TableKind kind, const QString& file, const QString& dataDir) {
    std::vector<Row> rows;
    auto numbered = [&rows](const QStringList& names) {
        for (int i = 0; i < names.size(); ++i) rows.push_back({i, names[i]});
    };
    switch (kind) {
    case TableKind::Waehrung:
        rows.push_back({QString(), QString::fromUtf8("keine Währung"), 1.0, true, 1.0});
        break;
    case TableKind::Gruppen: {
        const QString txt = findFile(dataDir, QStringLiteral("Gruppen.txt"));
        if (!txt.isEmpty()) {
            if (auto lines = readTextLines(txt); lines.isOk()) {
                // Group names are at most 20 characters; a longer line is cut, not lost.
                QStringList names;
                for (const QString& line : *lines) names << line.left(20);
                numbered(names);
                break;
            }
        }
        numbered({QStringLiteral("alle Gruppen"), QStringLiteral("DAX"), QStringLiteral("Neuer Markt"),
                  QStringLiteral("MDAX"), QStringLiteral("SDAX"), QStringLiteral("weitere dt.Aktien"),
                  QStringLiteral("intern.Aktien"), QStringLiteral("Devisen"), QStringLiteral("Indizes"),
                  QStringLiteral("Fonds")});
        break;
    }
    case TableKind::Branchen:
    case TableKind::Merkmal:
        // One creation serves both lists: the branch rows for Branchen.db, the
        // region rows for any other name.
        if (tableNameOf(file).compare(QStringLiteral("Branchen"), Qt::CaseInsensitive) == 0)
            numbered({QStringLiteral("alle Branchen"), QStringLiteral("Automobil"), QStringLiteral("Finanzen"),
                      QStringLiteral("Pharma"), QStringLiteral("Versorger"), QStringLiteral("Chemie"),
                      QStringLiteral("Biotechnik"), QStringLiteral("Software"), QStringLiteral("Internet"),
                      QStringLiteral("Technologie"), QStringLiteral("Maschinenbau"), QStringLiteral("Medien")});
        else
            numbered({QStringLiteral("Weltweit"), QStringLiteral("Amerika"), QStringLiteral("Europa"),
                      QStringLiteral("Asien"), QStringLiteral("Afrika")});
        break;
    default:
        break;
    }
    return rows;
}

QStringList startupTableOrder() {
    return {QStringLiteral("Firma.db"),    QStringLiteral("Aktien.db"),  QStringLiteral("Volumen.db"),
            QStringLiteral("Waehrung.db"), QStringLiteral("Transaktionen.db"), QStringLiteral("Watch.db"),
            QStringLiteral("Watch2.db"),   QStringLiteral("Watch3.db"),  QStringLiteral("Watch4.db"),
            QStringLiteral("Intraday.db"), QStringLiteral("Gruppen.db"), QStringLiteral("Branchen.db"),
            QStringLiteral("Merkmal.db")};
}

}  // namespace q
