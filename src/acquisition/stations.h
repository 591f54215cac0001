// The four station slots: each has an identifier the user chooses (settings
// `Sender1` … `Sender4`) and a fixed name ("ZDF", "N-TV", "SF1", "MEHR"), which also
// names the securities master's column with the match texts of that station.
#pragma once

#include <QString>
#include <QStringList>

namespace q {

// "ZDF", "N-TV", "SF1", "MEHR".
const QStringList& stationNames();
// "MEHR": the slot that reads pages of several stations.
inline const QString kSeveralStations = QStringLiteral("MEHR");

// The match column of a slot's fixed name: "ZDF", "N-TV", "SF1", else "Sender4".
QString stationColumn(const QString& fixedName);
// The column the daily route matches on: that of `KursSender` (a fixed name).
inline QString dailyStationColumn(const QString& kursSender) { return stationColumn(kursSender); }
// The column the page route matches on: that of the slot whose identifier (one of
// `identifiers`, slot 1 first) equals `ddeSender`; "Sender4" when none does.
QString pageStationColumn(const QStringList& identifiers, const QString& ddeSender);

// True when `identifier` stands for several stations: "MEHR", or the identifier of
// the fourth slot, whose fixed name is "MEHR".
bool isSeveralStations(const QStringList& identifiers, const QString& identifier);
// The station a daily script is written for: the identifier of the slot whose fixed
// name is `kursSender`, or "MEHR" for the fourth slot.
QString dailyStationIdentifier(const QStringList& identifiers, const QString& kursSender);

// The station part and the page number of a page name "ZDF200": all but the last
// three characters, and those three.
QString stationOfPageName(const QString& seitenname);
QString pageOfPageName(const QString& seitenname);

}  // namespace q
