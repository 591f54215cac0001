#include "exchange/exchange_file.h"

#include "acquisition/text_import.h"
#include "base/clock.h"
#include "base/formats.h"

#include <QRegularExpression>

namespace q {

namespace {

struct ExchangeLine {
    QString name;
    QString priceText;
    double price = 0;
    QDate datum;
};

std::optional<ExchangeLine> parseExchangeLine(QString line) {
    line.remove(QLatin1Char('"'));
    const QStringList fields = line.split(QLatin1Char(';'));
    ExchangeLine l;
    l.name = fields.value(0).trimmed();
    l.priceText = fields.value(3).trimmed();
    const auto price = parsePriceText(l.priceText);
    if (l.name.isEmpty() || !price || *price == 0.0) return std::nullopt;
    l.price = *price;
    l.datum = std::min(exchangeDate(fields.value(4)).value_or(today()), today());
    return l;
}

}  // namespace

std::optional<QDate> exchangeDate(const QString& field) {
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{2}|\\d{4})$"));
    const auto m = re.match(field.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    int y = m.captured(3).toInt();
    // Only a two-digit year lacks its century; a written century stays as it is.
    if (m.captured(3).size() == 2) y += y < 90 ? 2000 : 1900;
    const QDate d(y, m.captured(2).toInt(), m.captured(1).toInt());
    if (!d.isValid() || dayNumber(d) <= 0) return std::nullopt;
    return d;
}

ReadReport importExchangeFile(Store& store, const QString& file, const ReadingSettings& settings, ReadingHooks& hooks, Progress& progress) {
    QuoteBook book(store, bookingRules(settings, QStringLiteral("ZDF")), hooks);
    return runTextFile(file, book, settings.workDir, progress, [&](const QString& text, const TextPlace& at, ReadReport& report) -> Status {
        const auto line = parseExchangeLine(text);
        if (!line) {
            ++report.counts.skipped;
            return Status::ok();
        }
        if (at.stepDue()) progress.step(formatDate(line->datum) + QStringLiteral("  ") + line->name + QStringLiteral("  ") + line->priceText, at.done, at.total);
        const QuoteLine quote{line->name, line->priceText, line->price, line->datum, std::nullopt, 0};
        if (listIfImpossible(quote, line->datum, {line->name, line->priceText, line->datum, QTime(), 0, std::nullopt, {}}, report))
            return Status::ok();
        Query byName;
        byName.order = QStringLiteral("IFirma");
        byName.equalNoCase.push_back({QStringLiteral("FirmenName"), line->name});
        auto found = book.firmaTable().first(byName);
        if (!found) return found.status();
        if (!found->has_value()) {
            auto added = book.takeUp(line->name, line->datum, line->price, QString(), QStringLiteral("Neue Aktie aufgenommen! Bitte überprüfen"));
            if (!added) return added.status();
            if (added->has_value()) {
                ++report.counts.newSecurities;
                ++report.counts.booked;
            } else {
                report.protocol.addUnmatched({line->name, line->priceText, line->datum, now().time(), 0, std::nullopt, {}});
                ++report.counts.unmatched;
            }
            return Status::ok();
        }
        const int firma = (*found)->value(QStringLiteral("Firma")).toInt();
        auto has = book.hasPrice(firma, line->datum);
        if (!has) return has.status();
        if (*has) {
            ++report.counts.already;
            return Status::ok();
        }
        Q_TRY(book.writePrice(firma, line->datum, line->price));
        ++report.counts.booked;
        return Status::ok();
    });
}

}  // namespace q
