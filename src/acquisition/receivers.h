// The receiver programs of the Windows world, as far as files describe them: the
// detection of installed receivers by their install paths, the VTPlus path check,
// MultiDec's channel number in "Programm.set" and the rewriting of "MultiDec.ini"
// for page export. Pure functions over texts and an existence test, so that they
// hold on any system; the page-file source uses the MultiDec ones.
#pragma once

#include "base/status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace q {

// The receiver settings the detection reads and sets.
struct ReceiverSettings {
    QString multiDecPath;  // `MultiDecPath`
    QString winTvAufruf;   // `WinTVAufruf`
    QString vtPath;        // `VTPath`
    QString ddeServer;     // `DDESERVER`
    QString ddeTopic;      // `DDETopic`
    QString ddeItem;       // `DDEItem`
    bool viaDde = false;   // `VIADDE`
    bool multiDec = false;   // `MultiDec`
    bool multiDec2 = false;  // `MultiDec2`
};

using ExistsFn = std::function<bool(const QString& path)>;

// The start's probe of fixed install paths, run only when `MultiDecPath`,
// `WinTVAufruf` and `VTPath` are all empty: ProgDVB or MultiDec with the teletext
// plug-in, then DVBViewer, then WinTV with VTPlus; a later hit overrides an earlier.
ReceiverSettings detectReceivers(ReceiverSettings current, const ExistsFn& exists);
// `VTPath` when it names an existing file; else "\progra~1\vtplus\vtplus32.exe" when
// that exists, else the marker "INTERNET" (no VTPlus on this machine).
QString checkedVtPath(const QString& vtPath, const ExistsFn& exists);

// The channel number of `channel` in MultiDec's "Programm.set" (the whole file).
// Fails NotFound with "MultiDec Programmeinstellungen nicht gefunden" when the file
// is empty, and with "<name> ist im MultiDec noch nicht eingestellt!! …" when the
// first five characters of the name are not in it.
Result<int> multiDecChannelNumber(const QByteArray& programmSet, const QString& channel);

struct MultiDecIni {
    QStringList lines;
    QString pageDir;  // the "VT-BASE-DIR=" value with "/" at the end; empty when none
};
// "MultiDec.ini" set up for page export on `channel`: the last-programme, teletext,
// export and export-type lines replaced; each "Version 7" or "Version 8" line before
// the last-programme line lowers the channel by one (not below 0).
MultiDecIni rewriteMultiDecIni(const QStringList& lines, int channel);

// Prepares MultiDec in `receiverDir` for page export on `channel`: reads
// "Programm.set", rewrites "MultiDec.ini" (the new file replaces the old in one step)
// and returns MultiDec's page export directory (`receiverDir` when the ini names
// none). Fails with the messages of multiDecChannelNumber(); then the ini stays as it was.
Result<QString> MultiDecTest(const QString& receiverDir, const QString& channel);

// The channel MultiDec is set to: `DDESender`, or for "MEHR" the station part of the
// last intraday page name, "N-TV" when there is none.
QString multiDecChannel(const QString& ddeSender, const QStringList& intradayPageNames);

}  // namespace q
