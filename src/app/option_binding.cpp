#include "app/option_binding.h"

#include "base/text_files.h"

#include <QDir>

namespace q {

const QStringList& readingOptionNames() {
    static const QStringList names = {
        QStringLiteral("MinusProzent"), QStringLiteral("PlusProzent"),  QStringLiteral("Alle"),
        QStringLiteral("bestaetigen"),  QStringLiteral("StartKursEintragen"), QStringLiteral("AutoSplit"),
        QStringLiteral("VTDatei"),      QStringLiteral("MultiDec"),     QStringLiteral("MultiDecPath"),
        QStringLiteral("MultiDec2"),    QStringLiteral("VIADDE"),       QStringLiteral("DDESERVER"),
        QStringLiteral("DDETopic"),     QStringLiteral("DDEItem"),      QStringLiteral("DVBQuelle"),
        QStringLiteral("DVBSekunden"),  QStringLiteral("DVBPID"),       QStringLiteral("VTPath"),
        QStringLiteral("SCRIPT"),       QStringLiteral("DDESCRIPT"),    QStringLiteral("WinTVAufruf"),
        QStringLiteral("WinTVAktiv"),
    };
    return names;
}

const QStringList& backupOptionNames() {
    static const QStringList names = {QStringLiteral("TempPath"),      QStringLiteral("SicherPath"),
                                      QStringLiteral("IntraPath"),     QStringLiteral("AutoSpeichern"),
                                      QStringLiteral("SicherInterval"), QStringLiteral("SicherGenerationen")};
    return names;
}

Status applyOptionSettings(Session& s, const Einstellungen& edited) {
    for (const QString& name : readingOptionNames() + backupOptionNames()) {
        const auto value = edited.value(name);
        if (!value) continue;
        s.values.set(name, *value);
        if (readingOptionNames().contains(name)) s.settings.write(SettingsStore::kMainKey, name, *value);
    }
    Status saved = s.settings.save();
    for (auto [name, dir] : {std::pair{"SicherPath", &s.dirs.backup}, std::pair{"IntraPath", &s.dirs.intraday}}) {
        const QString path = withSlash(s.values.text(QLatin1String(name)));
        if (!QDir().mkpath(path)) return Status::io(QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden.").arg(path));
        *dir = path;
    }
    return saved;
}

}  // namespace q
