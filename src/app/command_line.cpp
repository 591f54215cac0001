#include "app/command_line.h"

#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"

namespace q {

namespace {

bool is(const QString& upper, std::initializer_list<const char*> spellings) {
    for (const char* s : spellings)
        if (upper == QLatin1String(s)) return true;
    return false;
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine c;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString arg = arguments[i].toUpper();
        const bool hasNext = i + 1 < arguments.size();
        if (is(arg, {"--HOME"}) && hasNext) {
            c.homeDir = arguments[++i];
        } else if (is(arg, {"--SETTINGS"}) && hasNext) {
            c.settingsPath = arguments[++i];
        } else if (is(arg, {"/I", "-I"})) {
            if (hasNext) c.listEntry = arguments[++i];
            c.unattended = true;
            c.delayedStart = true;
        } else if (is(arg, {"/A", "AUTO", "--AUTO"})) {
            c.delayedStart = true;
        } else if (is(arg, {"/F", "FAVORITEN", "--FAVORITEN"})) {
            c.favouritesOff = true;
        } else if (is(arg, {"/V", "VTEINLESEN", "--VTEINLESEN"})) {
            c.reading = false;
            c.unattended = false;
            c.delayedStart = true;
        } else if (is(arg, {"/E", "EXPORT", "--EXPORT"})) {
            c.reading = false;
            c.unattended = true;
            c.delayedStart = true;
            const auto date = hasNext ? parseDate(arguments[i + 1]) : std::nullopt;
            c.exportDate = date ? *date : today();
            if (!date) c.exportDateUnread = hasNext ? arguments[i + 1] : QStringLiteral("(kein Datum)");
            if (i + 2 < arguments.size() && !arguments[i + 2].isEmpty()) c.exportDir = withSlash(arguments[i + 2]);
            break;
        } else if (is(arg, {"/N", "NEU", "--NEU"})) {
            c.rollover = true;
        } else if (is(arg, {"--VERSION"})) {
            c.version = true;
        } else if (is(arg, {"--HELP", "-H", "/?"})) {
            c.help = true;
        }
    }
    return c;
}

const std::vector<SwitchHelp>& commandLineSwitches() {
    static const std::vector<SwitchHelp> list = {
        {"/I, -I", "EINTRAG", "Internet-Kurse einlesen, ohne Fragen, für den Eintrag der Listenauswahl"},
        {"/A, AUTO, --auto", "", "Intraday-Kurse einlesen, danach minimieren"},
        {"/V, VTEINLESEN, --vteinlesen", "", "VideoText einlesen"},
        {"/E, EXPORT, --export", "DATUM [VERZ]", "Kurse des Tages (sonst heute) als Text exportieren, ohne Fragen"},
        {"/F, FAVORITEN, --favoriten", "", "alle Wertpapiere statt der Favoriten zeigen"},
        {"/N, NEU, --neu", "", "Intraday-Kurse beim Start in die Tageskurse übernehmen"},
        {"--home", "VERZ", "Installationsverzeichnis"},
        {"--settings", "DATEI", "Einstellungsdatei (sonst ~/.config/Morvane/Quintara.conf)"},
        {"--version", "", "Programmname und Version"},
        {"--help", "", "diese Hilfe"},
    };
    return list;
}

QString commandLineHelp() {
    QString text = QStringLiteral("Aufruf: quintara [SCHALTER]\n\n");
    for (const SwitchHelp& s : commandLineSwitches()) {
        QString left = QString::fromLatin1(s.spellings);
        if (*s.value) left += QLatin1Char(' ') + QString::fromLatin1(s.value);
        text += QStringLiteral("  %1%2\n").arg(left, -38).arg(QString::fromUtf8(s.meaning));
    }
    return text;
}

DelayedJob delayedJob(bool reading, bool unattended) {
    if (reading) return unattended ? DelayedJob::InternetUpdate : DelayedJob::DdeReading;
    return unattended ? DelayedJob::PriceTextExport : DelayedJob::TeletextReading;
}

QString delayedJobName(DelayedJob job) {
    switch (job) {
    case DelayedJob::InternetUpdate: return QStringLiteral("Internet-Kurse einlesen");
    case DelayedJob::DdeReading: return QStringLiteral("Intraday-Kurse einlesen");
    case DelayedJob::PriceTextExport: return QStringLiteral("Export Kurse -> Text");
    case DelayedJob::TeletextReading: return QStringLiteral("VideoText einlesen");
    }
    return {};
}

}  // namespace q
