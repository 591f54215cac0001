// Choosing the page source the settings name, as the receiver settings chose the
// route on Windows: the built-in DVB decoder when `DVBQuelle` names a stream; a
// command when `MultiDec` and `VIADDE` are set (it stands where the DDE server
// stood); page files when `MultiDec` is set.
#pragma once

#include "acquisition/page_source.h"
#include "acquisition/reading_settings.h"
#include "base/interaction.h"

#include <QDate>
#include <memory>

namespace q {

enum class PageRoute { Dvb, Command, PageFiles, None };

PageRoute pageRoute(const ReadingSettings& settings);

// The receiver directory of the page files: `MultiDecPath` itself when it is a
// directory, else its directory; with "/" at the end.
QString receiverDir(const QString& multiDecPath);

// Opens the source of the route. `stream` overrides `DVBQuelle` (the DVB route is
// then taken whatever the settings say). For page files from MultiDec, MultiDec is
// prepared for page export first; its messages are told and the run goes on.
// Fails Invalid "Es ist kein Empfänger für Videotextseiten eingestellt …" when no
// route is set, and with readTransportStream()'s messages.
Result<std::unique_ptr<PageSource>> openPageSource(const ReadingSettings& settings, const QString& stream,
                                                   const QStringList& intradayPageNames, Interaction& ui, Progress& progress);

}  // namespace q
