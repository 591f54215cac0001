#include "acquisition/capture.h"

#include "acquisition/mask.h"
#include "acquisition/page_config.h"
#include "acquisition/stations.h"
#include "base/text_files.h"

#include <QDir>
#include <QFileInfo>

namespace q {

namespace {
// A wild subpage range must not make the loop run for ages; teletext pages rotate
// through far fewer subpages.
constexpr int kMaxSubpages = 100;
}  // namespace

std::pair<int, int> capturedSubpages(int seitenVon, int seitenbis) {
    return {std::max(seitenVon, 1) - 1, std::min(std::max(seitenbis, 1), kMaxSubpages) - 1};
}

Result<CaptureReport> captureDailyPages(Store& store, const ReadingSettings& settings, PageSource& source, Progress& progress) {
    CaptureReport report;
    report.file = settings.vtDatei;
    if (report.file.isEmpty()) return Status::invalid(QStringLiteral("Rufen Sie zuerst Einstellungen->Einlese-Optionen auf"));
    auto pages = readPages(store, kDailyPages);
    if (!pages) return pages.status();
    if (pages->empty()) return Status::invalid(QStringLiteral("Es sind keine Tagesseiten eingestellt"));

    QStringList lines;
    for (size_t i = 0; i < pages->size(); ++i) {
        const PageEntry& page = (*pages)[i];
        auto mask = pageMask(page, settings.filterPath);
        if (!mask) return mask.status();
        const auto [first, last] = capturedSubpages(page.SeitenVon, page.Seitenbis);
        for (int sub = first; sub <= last; ++sub) {
            if (progress.cancelRequested()) return Status::cancelled(QStringLiteral("Aufnahme abgebrochen"));
            progress.step(QStringLiteral("Seite %1").arg(page.Seitename), qint64(i), qint64(pages->size()));
            const PageRequest request = pageRequest(page, sub);
            auto text = source.fetch(request);
            if (!text) return text.status();
            if (!text->has_value()) {
                ++report.pagesMissing;
                continue;
            }
            ++report.pages;
            const QStringList masked = applyMask(pageLines(**text), mask->has_value() ? &**mask : nullptr, QLatin1Char('\t'));
            lines << masked;
        }
    }
    if (report.pages == 0) return Status::notFound(QStringLiteral("Keine der Tagesseiten wurde gefunden"));
    // The script exports with APPEND=YES: a file not yet read keeps its lines.
    QStringList all;
    if (QFileInfo::exists(report.file)) {
        auto old = readTextLinesAnyEncoding(report.file);
        if (!old) return old.status();
        all = *old;
    }
    all << lines;
    QDir().mkpath(QFileInfo(report.file).absolutePath());
    Q_TRY(writeTextLines(report.file, all));
    report.lines = int(lines.size());
    return report;
}

}  // namespace q
