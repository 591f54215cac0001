#include "app/acquisition_binding.h"

#include "base/text_files.h"

#include <algorithm>

namespace q {

ReadingSettings readingSettings(const Session& s, const QString& programPath) {
    const Einstellungen& v = s.values;
    ReadingSettings r;
    r.vtDatei = v.text(QStringLiteral("VTDatei"));
    r.script = v.text(QStringLiteral("SCRIPT"));
    r.ddeScript = v.text(QStringLiteral("DDESCRIPT"));
    r.vtPath = v.text(QStringLiteral("VTPath"));
    r.multiDecPath = v.text(QStringLiteral("MultiDecPath"));
    r.winTvAufruf = v.text(QStringLiteral("WinTVAufruf"));
    r.winTvAktiv = v.truth(QStringLiteral("WinTVAktiv"));
    r.workDir = s.dirs.work;
    r.installDir = s.dirs.install;
    const QString filters = v.text(QStringLiteral("FilterPath"));
    r.filterPath = filters.isEmpty() ? QString() : withSlash(filters);
    const QString news = v.text(QStringLiteral("NachrichtenPath"));
    r.nachrichtenPath = news.isEmpty() ? QString() : withSlash(news);
    r.programPath = programPath;
    r.multiDec = v.truth(QStringLiteral("MultiDec"));
    r.multiDec2 = v.truth(QStringLiteral("MultiDec2"));
    r.viaDde = v.truth(QStringLiteral("VIADDE"));
    r.ddeServer = v.text(QStringLiteral("DDESERVER"));
    r.ddeTopic = v.text(QStringLiteral("DDETopic"));
    r.ddeItem = v.text(QStringLiteral("DDEItem"));
    r.dvbQuelle = v.text(QStringLiteral("DVBQuelle"));
    r.dvbSekunden = v.integer(QStringLiteral("DVBSekunden"));
    r.dvbPid = v.integer(QStringLiteral("DVBPID"));
    r.ddeSender = v.text(QStringLiteral("DDESender"));
    r.kursSender = v.text(QStringLiteral("KursSender"));
    r.stations = s.stations;
    r.ddeEnde = v.truth(QStringLiteral("DDEENDE"));
    r.ddeTime = v.text(QStringLiteral("DDETIME"));
    r.minusProzent = v.number(QStringLiteral("MinusProzent"));
    r.plusProzent = v.number(QStringLiteral("PlusProzent"));
    r.alle = v.truth(QStringLiteral("Alle"));
    r.bestaetigen = v.truth(QStringLiteral("bestaetigen"));
    r.startKursEintragen = v.truth(QStringLiteral("StartKursEintragen"));
    r.autoSplit = v.truth(QStringLiteral("AutoSplit"));
    r.waehrungsSymbol = v.text(QStringLiteral("WaehrungsSymbol"));
    return r;
}

InternetSettings internetSettings(const Session& s) {
    InternetSettings r;
    const SettingsStore& store = s.settings;
    auto text = [&](const char* name, QString& into) {
        if (auto v = store.readText(kInternetKey, QLatin1String(name))) into = *v;
    };
    auto integer = [&](const char* name, auto& into, qint64 low, qint64 high) {
        if (auto v = store.readInteger(kInternetKey, QLatin1String(name))) into = std::clamp<qint64>(*v, low, high);
    };
    text("URL", r.url);
    text("Kurs", r.kurs);
    text("Datum", r.datum);
    text("Zeit", r.zeit);
    text("Volumen", r.volumen);
    QString mark;
    text("Dezimalzeichen", mark);
    if (mark.trimmed() == QLatin1String(",")) r.dezimalzeichen = QLatin1Char(',');
    integer("Zeitlimit", r.zeitlimit, 1, 120);
    integer("MaxBytes", r.maxBytes, 1024, 64 * 1024 * 1024);
    integer("Parallel", r.parallel, 1, 16);
    return r;
}

Status storeDvbSource(Session& s, const QString& source, int seconds, int pid) {
    const SettingValue values[] = {SettingValue::text(source), SettingValue::integer(seconds), SettingValue::integer(pid)};
    const char* names[] = {"DVBQuelle", "DVBSekunden", "DVBPID"};
    for (int i = 0; i < 3; ++i) {
        s.values.set(QLatin1String(names[i]), values[i]);
        s.settings.write(SettingsStore::kMainKey, QLatin1String(names[i]), values[i]);
    }
    return s.settings.save();
}

Status storeSetting(Session& s, const QString& name, const SettingValue& value) {
    s.values.set(name, value);
    s.settings.write(SettingsStore::kMainKey, name, value);
    return s.settings.save();
}

Status storeDailyFile(Session& s, const QString& file) { return storeSetting(s, QStringLiteral("VTDatei"), SettingValue::text(file)); }

Status storeStations(Session& s, const QStringList& identifiers) {
    for (int i = 0; i < 3 && i < identifiers.size(); ++i) {
        const QString id = identifiers[i].trimmed();
        if (id.isEmpty()) continue;
        const QString name = QStringLiteral("Sender%1").arg(i + 1);
        s.stations[i] = id;
        s.values.set(name, SettingValue::text(id));
        s.settings.writeText(SettingsStore::kMainKey, name, id);
    }
    return s.settings.save();
}

}  // namespace q
