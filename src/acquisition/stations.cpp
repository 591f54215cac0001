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

QString stationOfPageName(const QString& seitenname) {
    const QString t = seitenname.trimmed();
    return t.left(std::max<qsizetype>(0, t.size() - 3));
}

QString pageOfPageName(const QString& seitenname) { return seitenname.trimmed().right(3); }

}  // namespace q
