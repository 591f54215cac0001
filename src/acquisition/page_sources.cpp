#include "acquisition/page_sources.h"

#include "acquisition/command_source.h"
#include "acquisition/dvb_source.h"
#include "acquisition/page_file_source.h"
#include "acquisition/receivers.h"
#include "base/clock.h"
#include "base/text_files.h"

#include <QFileInfo>

namespace q {

QString twoDigitSubpage(int subpage) { return subpage < 10 ? QStringLiteral("0%1").arg(subpage) : QString::number(subpage); }

PageRoute pageRoute(const ReadingSettings& s) {
    if (!s.dvbQuelle.trimmed().isEmpty()) return PageRoute::Dvb;
    if (s.multiDec && s.viaDde) return PageRoute::Command;
    if (s.multiDec) return PageRoute::PageFiles;
    return PageRoute::None;
}

QString receiverDir(const QString& multiDecPath) {
    const QFileInfo info(multiDecPath);
    if (info.isDir()) return withSlash(multiDecPath);
    return withSlash(info.absolutePath());
}

Result<std::unique_ptr<PageSource>> openPageSource(const ReadingSettings& s, const QString& stream, const QStringList& intradayPageNames,
                                                   Interaction& ui, Progress& progress) {
    const PageRoute route = stream.isEmpty() ? pageRoute(s) : PageRoute::Dvb;
    switch (route) {
    case PageRoute::Dvb: {
        auto cache = readTransportStream(stream.isEmpty() ? s.dvbQuelle.trimmed() : stream, s.dvbSekunden, progress);
        if (!cache) return cache.status();
        return std::unique_ptr<PageSource>(new DvbPageSource(std::shared_ptr<const TeletextCache>(std::move(*cache)), s.dvbPid));
    }
    case PageRoute::Command:
        return std::unique_ptr<PageSource>(new CommandPageSource(s.ddeServer, s.ddeTopic, s.ddeItem, progress));
    case PageRoute::PageFiles: {
        QString dir = receiverDir(s.multiDecPath);
        if (s.multiDecPath.toUpper().contains(QLatin1String("MULTIDEC"))) {
            auto prepared = MultiDecTest(dir, multiDecChannel(s.ddeSender, intradayPageNames));
            if (prepared) dir = *prepared;
            else ui.tell(prepared.status().message());
        }
        return std::unique_ptr<PageSource>(new PageFileSource(dir, today()));
    }
    case PageRoute::None: break;
    }
    return Status::invalid(QStringLiteral("Es ist kein Empfänger für Videotextseiten eingestellt (Einlese-Optionen: DVB-Quelle, "
                                          "Befehl oder Seitendateien)"));
}

}  // namespace q
