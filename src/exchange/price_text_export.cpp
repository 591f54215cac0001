#include "exchange/price_text_export.h"

#include "base/formats.h"
#include "base/text_files.h"
#include "exchange/export_file.h"
#include "exchange/security_export.h"

#include <QHash>
#include <map>

namespace q {

namespace {

// The groups of the plain layout: the numbers of the program's own group list.
constexpr int kLastPlainGroup = 100;

struct Security {
    int firma = 0;
    QString name;  // the text the line starts with
    QString kennung;
};

}  // namespace

QString priceTextFileName(const QDate& from) { return from.toString(QStringLiteral("ddMMyyyy")) + QStringLiteral(".txt"); }

Result<PriceTextReport> exportPriceText(Store& store, const QString& file, const PriceTextOptions& options, Progress& progress) {
    auto firmen = store.table(QStringLiteral("Firma.db"));
    if (!firmen) return firmen.status();
    const Layout& l = (*firmen)->layout();
    const int iFirma = l.fieldIndex(QStringLiteral("Firma"));
    const int iName = l.fieldIndex(QStringLiteral("FirmenName"));
    const int iKennung = l.fieldIndex(QStringLiteral("Kennung"));
    const int iZdf = l.fieldIndex(QStringLiteral("ZDF"));
    const int iGruppe = l.fieldIndex(QStringLiteral("Gruppe"));
    std::map<qint64, std::vector<Security>> groups;  // by group number, each in the master's order
    Q_TRY((*firmen)->forEach(Query{}, [&](const Record& r) {
        const QVariantList& v = r.values();
        auto text = [&](int i) { return i >= 0 ? v[i].toString().trimmed() : QString(); };
        // A security without a group stands in group 0, where the window lists it.
        const qint64 gruppe = iGruppe >= 0 && !v[iGruppe].isNull() ? v[iGruppe].toLongLong() : 0;
        if (!options.extended && (gruppe < 0 || gruppe > kLastPlainGroup)) return true;
        const QString zdf = text(iZdf);
        Security s{v[iFirma].toInt(), text(iName), text(iKennung)};
        if (options.extended) {
            if (s.kennung.isEmpty()) s.kennung = zdf;
        } else if (!zdf.isEmpty()) {
            s.name = zdf;
        }
        groups[gruppe].push_back(s);
        return true;
    }));
    auto out = ExportFile::open(file);
    if (!out) return out.status();
    PriceTextReport report;
    report.file = file;
    qint64 total = 0, done = 0;
    for (const auto& [g, list] : groups) total += qint64(list.size());
    auto reader = PriceRowReader::open(store, options.extended);
    if (!reader) return reader.status();
    std::vector<ExportRow> rows;
    QHash<int, QByteArray> dateTexts;
    QByteArray text;
    text.reserve(128);
    for (const auto& [gruppe, list] : groups) {
        for (const Security& s : list) {
            if (progress.cancelRequested()) return Status::cancelled(QStringLiteral("Der Export wurde abgebrochen"));
            if (done % kStepLines == 0) progress.step(s.name, done, total);
            ++done;
            Q_TRY(reader->read(s.firma, options.from, options.to, rows));
            if (!rows.empty()) ++report.securities;
            // Each name is encoded once, each day's date text made once for the whole
            // file; the lines are put together as bytes in one buffer (resize(0)
            // keeps it, clear() would free it for every line).
            const auto [name, nameReplaced] = encodeCounted(s.name);
            const auto [kennung, kennungReplaced] = encodeCounted(s.kennung);
            const qint64 replaced = options.extended ? nameReplaced + kennungReplaced : nameReplaced;
            for (const ExportRow& r : rows) {
                auto date = dateTexts.constFind(r.Datum);
                if (date == dateTexts.constEnd()) {
                    QByteArray t;
                    appendDate(t, dateFromDayNumber(r.Datum));
                    date = dateTexts.insert(r.Datum, t);
                }
                (*out)->encodedLine(*date);
                text.resize(0);
                text.append(name.constData(), name.size());
                text.append('\t');
                if (options.extended) {
                    text.append(kennung.constData(), kennung.size());
                    text.append('\t');
                }
                appendFixedPrice(text, r.Kurs, options.decimals);
                if (options.extended) {
                    text.append('\t');
                    text.append(QByteArray::number(r.Volumen.value_or(0)));
                }
                (*out)->encodedLine(text, replaced);
                ++report.prices;
            }
        }
    }
    Q_TRY((*out)->commit());
    report.lines = (*out)->lines();
    report.replaced = (*out)->replaced();
    return report;
}

Result<PriceTextReport> runPriceTextJob(Store& store, const QDate& from, const QDate& today, const QString& dir, int decimals, Progress& progress) {
    PriceTextOptions options;
    options.from = from;
    options.to = today;
    options.decimals = decimals;
    return exportPriceText(store, withSlash(dir) + priceTextFileName(from), options, progress);
}

}  // namespace q
