#include "cli/read_outcome.h"

#include "app/acquisition_binding.h"

#include <QCoreApplication>

namespace q::cli {

void describeReadReport(const ReadReport& r, Outcome& out) {
    const ReadCounts& n = r.counts;
    out.lines << QStringLiteral("Quelle: %1").arg(r.source);
    out.lines << QStringLiteral("Gebucht: %1").arg(n.booked) << QStringLiteral("Neue Wertpapiere: %1").arg(n.newSecurities)
              << QStringLiteral("Nicht zugeordnet: %1").arg(n.unmatched) << QStringLiteral("Unplausibel: %1").arg(n.implausible)
              << QStringLiteral("Schon vorhanden: %1").arg(n.already) << QStringLiteral("Übersprungen: %1").arg(n.skipped);
    if (n.pagesRead + n.pagesMissing > 0)
        out.lines << QStringLiteral("Seiten gelesen: %1, nicht vorhanden: %2, Nachrichten: %3").arg(n.pagesRead).arg(n.pagesMissing).arg(n.news);
    for (const QString& l : r.protocol.unmatchedLines()) out.lines << QStringLiteral("Nicht aufgenommen: ") + l;
    for (const QString& l : r.protocol.implausibleLines()) out.lines << QStringLiteral("Zu extrem: ") + l;
    for (const QString& l : r.notes) out.lines << QStringLiteral("Hinweis: ") + l;
    out.json[QStringLiteral("source")] = r.source;
    out.json[QStringLiteral("booked")] = n.booked;
    out.json[QStringLiteral("newSecurities")] = n.newSecurities;
    out.json[QStringLiteral("unmatched")] = n.unmatched;
    out.json[QStringLiteral("implausible")] = n.implausible;
    out.json[QStringLiteral("skipped")] = n.skipped;
    out.json[QStringLiteral("already")] = n.already;
    out.json[QStringLiteral("pagesRead")] = n.pagesRead;
    out.json[QStringLiteral("pagesMissing")] = n.pagesMissing;
    out.json[QStringLiteral("news")] = n.news;
    out.json[QStringLiteral("unmatchedLines")] = toJson(r.protocol.unmatchedLines());
    out.json[QStringLiteral("implausibleLines")] = toJson(r.protocol.implausibleLines());
    out.json[QStringLiteral("notes")] = toJson(r.notes);
    out.status = r.status;
}

ReadingSettings readingSettingsOf(Context& c) { return readingSettings(c.session, QCoreApplication::applicationDirPath() + QStringLiteral("/quintara")); }

}  // namespace q::cli
