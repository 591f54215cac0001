// Where the program's directories are: the installation directory it starts from,
// and the data, depot, work, backup and intraday directories the settings name.
// Every directory text ends with "/".
#pragma once

#include <QString>

namespace q {

struct Directories {
    QString install;
    QString data;
    QString depot;
    QString work;
    QString backup;
    QString intraday;
};

// The installation directory for a program in `programDir`: that directory with a
// trailing "bin/" removed (letter case kept: Linux names are case-sensitive). When
// it cannot be written to (a system-wide install), the per-user data home
// `$XDG_DATA_HOME/Quintara/` (default ~/.local/share/Quintara/) plays its part.
QString installationDir(const QString& programDir);

// The companion program `name` in the "bin" subdirectory of `installDir`, both
// found whatever their letter case; empty when there is no such executable file.
QString companionProgram(const QString& installDir, const QString& name);

// How a directory setting stores `dir`: relative to the installation `install`
// when it lies inside it ("Daten/"), so that a copied installation started with
// --home uses its own directories; absolute otherwise. Both end with "/".
QString storedPath(const QString& install, const QString& dir);
// The directory a setting names: a relative text lies inside `install`; an absolute
// one is taken as it is.
QString installationPath(const QString& install, const QString& setting);

// True when the two directories name the same place (letter case ignored, as the
// window caption compares them).
bool sameDir(const QString& a, const QString& b);

// The caption: "Quintara", or "Quintara - " + the depot directory's folder name when
// the depot lies elsewhere than the data.
QString windowCaption(const QString& dataDir, const QString& depotDir);

}  // namespace q
