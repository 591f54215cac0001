#include "acquisition/stations.h"

namespace q {

const QStringList& stationNames() {
    static const QStringList names = {QStringLiteral("ZDF"), QStringLiteral("N-TV"), QStringLiteral("SF1"), kSeveralStations};
    return names;
}

QString stationColumn(const QString& fixedName) {
    for (int i = 0; i < 3; ++i)
        if (fixedName == stationNames()[i]) return fixedName;
    return QStringLiteral("Sender4");
}

QString pageStationColumn(const QStringList& identifiers, const QString& ddeSender) {
    for (int i = 0; i < identifiers.size() && i < 4; ++i)
        if (identifiers[i] == ddeSender) return stationColumn(stationNames()[i]);
    return QStringLiteral("Sender4");
}

bool isSeveralStations(const QStringList& identifiers, const QString& identifier) {
    return identifier == kSeveralStations || (identifiers.size() >= 4 && identifier == identifiers[3]);
}

QString dailyStationIdentifier(const QStringList& identifiers, const QString& kursSender) {
    for (int i = 0; i < 3 && i < identifiers.size(); ++i)
        if (stationNames()[i] == kursSender) return identifiers[i];
    return kSeveralStations;
}

QString stationOfPageName(const QString& seitenname) {
    const QString t = seitenname.trimmed();
    return t.left(std::max<qsizetype>(0, t.size() - 3));
}

QString pageOfPageName(const QString& seitenname) { return seitenname.trimmed().right(3); }

}  // namespace q
