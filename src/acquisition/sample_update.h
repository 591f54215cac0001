// The sample database update: the companion program in the installation's "bin"
// subdirectory fetches the sample securities' prices since the last stored day and
// writes them as a daily price file ("aktien.txt" in the installation directory),
// which the daily route then books.
#pragma once

#include "base/interaction.h"
#include "base/status.h"
#include "store/store.h"

#include <QDate>
#include <QStringList>

namespace q {

// The companion program's file name in "bin".
inline const QString kSampleProgram = QStringLiteral("beispielkurse");

// The companion program in `installDir` + "bin/" whatever its letter case; empty
// when it is missing.
QString sampleProgram(const QString& installDir);

// NotFound naming the missing program and where it was looked for.
Status sampleProgramMissing(const QString& installDir);

// The daily price file the companion writes: `installDir` + "aktien.txt".
QString sampleDailyFile(const QString& installDir);

// The newest day of any stored daily price; a null date when Aktien.db holds none.
Result<QDate> lastPriceDate(Store& store);

// The companion's command line: "/K" and the day of the last stored price (only
// "/K" when there is none, so the companion fetches its whole span).
QStringList sampleArguments(const QDate& lastPrice);

// Ok after a normal end with exit code 0; otherwise Io "… endete mit dem Fehlercode …".
Status sampleProgramEnded(const QString& program, int exitCode, bool normalExit);

// Runs the companion and waits for it, reporting through `progress` between short
// waits (the command-line job). Fails Io "Konnte … nicht starten!!" when it cannot
// be started, Io naming its exit code when it failed, Cancelled when progress asked
// to stop (the program is ended then).
Status runSampleProgram(const QString& program, const QStringList& arguments, Progress& progress);

}  // namespace q
