#include "acquisition/scripts.h"

#include "acquisition/stations.h"
#include "base/formats.h"
#include "base/text_files.h"

#include <QDir>
#include <QFileInfo>

namespace q {

namespace {

// The receiver's script language handles at most this many stations in one script.
constexpr int kMaxStations = 21;

QString exportLine(const QString& name, const PageEntry& p, const QString& file) {
    return QStringLiteral("EXPORT  %1 FILE=%2 FIRST=%3 LAST=%4 APPEND=YES FILTER=%5 QUALITY=TEXT")
        .arg(name, file)
        .arg(p.SeitenVon)
        .arg(p.Seitenbis)
        .arg(p.Filter);
}

}  // namespace

QStringList dailyScriptLines(const std::vector<PageEntry>& pages, const DailyScriptOptions& o) {
    QStringList s{QStringLiteral("VTPLUS SCRIPT")};
    if (o.station != kSeveralStations) {
        const QString station = o.alternative ? o.alternativeId : o.station;
        const auto nameOf = [&](const PageEntry& p) {
            const QString name = p.Seitename.trimmed();
            return o.alternative ? o.alternativeId + pageOfPageName(name) : name;
        };
        s << QStringLiteral("Set Multichannel=YES") << QStringLiteral("TVSTATION ") + station;
        for (const PageEntry& p : pages) s << QStringLiteral("GET ") + nameOf(p);
        s << QStringLiteral("Window Tile") << QStringLiteral("Wait AllPages");
        for (const PageEntry& p : pages) s << exportLine(nameOf(p), p, o.exportFile);
    } else {
        s << QStringLiteral("Set Multichannel=No");
        QStringList stations;
        for (const PageEntry& p : pages) {
            const QString st = stationOfPageName(p.Seitename);
            if (!stations.contains(st) && stations.size() < kMaxStations) stations << st;
        }
        for (const QString& st : stations) {
            std::vector<PageEntry> own;
            for (const PageEntry& p : pages) {
                const QString name = p.Seitename.trimmed();
                if (name >= st + QStringLiteral("000") && name <= st + QStringLiteral("999")) own.push_back(p);
            }
            s << QStringLiteral("TVSTATION ") + st;
            for (const PageEntry& p : own) s << QStringLiteral("GET ") + p.Seitename.trimmed();
            s << QStringLiteral("Window Tile") << QStringLiteral("Wait AllPages");
            for (const PageEntry& p : own)
                s << exportLine(p.Seitename.trimmed(), p, o.exportFile) << QStringLiteral("CLOSE ") + p.Seitename.trimmed();
        }
    }
    s << (o.receiverMultiChannel ? QStringLiteral("Set Multichannel=Yes") : QStringLiteral("Set Multichannel=No"));
    if (o.startAfter)
        s << QStringLiteral("EXEC FILE=\"%1 /V\"").arg(o.programPath);
    else
        s << QStringLiteral("MSGBOX TEXT=\"Das Einlesen der Kurse ist beendet. Starten Sie [VT einlesen] erneut\"");
    s << QStringLiteral("EXITAPPL");
    return s;
}

QStringList intradayScriptLines(const std::vector<PageEntry>& pages, const QString& station, bool endReading, const QTime& end) {
    QStringList s{QStringLiteral("VTPLUS SCRIPT"), QStringLiteral("Set Multichannel=Yes")};
    if (station != kSeveralStations) s << QStringLiteral("TVSTATION ") + station;
    for (const PageEntry& p : pages) s << QStringLiteral("GET ") + p.Seitename.trimmed() + QStringLiteral(" REPEAT=YES");
    s << QStringLiteral("Window Tile");
    if (endReading) s << QStringLiteral("WAIT TIME=") + formatTime(end) << QStringLiteral("EXITAPPL");
    return s;
}

bool receiverMultiChannel(const QString& iniText) {
    bool inSection = false;
    for (const QString& raw : splitLines(iniText)) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inSection = line.compare(QLatin1String("[vtplus]"), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection) continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || line.left(eq).trimmed().compare(QLatin1String("MultiChannel"), Qt::CaseInsensitive) != 0) continue;
        const QString v = line.mid(eq + 1).trimmed().toLower();
        return v == QLatin1String("1") || v == QLatin1String("yes") || v == QLatin1String("true") || v == QLatin1String("ja");
    }
    return false;
}

Status writeScript(const QString& file, const QStringList& lines) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (!writeTextLines(file, lines)) return Status::io(QStringLiteral("Konnte Datei %1 nicht anlegen!").arg(file));
    return Status::ok();
}

Status writeDailyScript(Store& store, const ReadingSettings& settings, DailyScriptOptions options) {
    auto pages = readPages(store, kDailyPages);
    if (!pages) return pages.status();
    options.exportFile = settings.vtDatei;
    if (options.programPath.isEmpty()) options.programPath = settings.programPath;
    const QString ini = settings.vtPath.isEmpty() ? QString() : findFile(QFileInfo(settings.vtPath).absolutePath(), QStringLiteral("VTPlus.ini"));
    if (!ini.isEmpty()) {
        auto lines = readTextLinesAnyEncoding(ini);
        if (lines) options.receiverMultiChannel = receiverMultiChannel(lines->join(QLatin1Char('\n')));
    }
    return writeScript(settings.script, dailyScriptLines(*pages, options));
}

Status writeIntradayScript(Store& store, const ReadingSettings& settings, const QString& station, bool endReading, const QTime& end) {
    auto pages = readPages(store, kIntradayPages);
    if (!pages) return pages.status();
    return writeScript(settings.ddeScript, intradayScriptLines(*pages, station, endReading, end));
}

}  // namespace q
