#include "acquisition/receivers.h"

#include "acquisition/stations.h"
#include "base/text_files.h"

#include <QFile>

namespace q {

namespace {

QString firstExisting(const QStringList& paths, const ExistsFn& exists) {
    for (const QString& p : paths)
        if (exists(p)) return p;
    return {};
}

void clearDde(ReceiverSettings& s) {
    s.ddeServer.clear();
    s.ddeTopic.clear();
    s.ddeItem.clear();
}

}  // namespace

ReceiverSettings detectReceivers(ReceiverSettings s, const ExistsFn& exists) {
    if (!s.multiDecPath.isEmpty() || !s.winTvAufruf.isEmpty() || !s.vtPath.isEmpty()) return s;

    const QStringList progDvb = {QStringLiteral("c:\\programme\\progdvb\\progdvbnet.exe"), QStringLiteral("c:\\programme\\multidec\\multidec.exe"),
                                 QStringLiteral("c:\\program files\\multidec\\multidec.exe"),
                                 QStringLiteral("c:\\program files\\progdvb\\progdvbnet.exe")};
    const QStringList plugin = {QStringLiteral("c:\\programme\\progdvb\\plugins\\goldenTTX.dll"),
                                QStringLiteral("c:\\program files\\progdvb\\plugins\\goldenTTX.dll")};
    if (!firstExisting(progDvb, exists).isEmpty() && !firstExisting(plugin, exists).isEmpty()) {
        for (const char* p : {"c:\\programme\\MultiDec\\MultiDec.exe", "c:\\program files\\MultiDec\\MultiDec.exe",
                              "c:\\programme\\progdvb\\progdvbnet.exe", "c:\\program files\\progdvb\\progdvbnet.exe"})
            if (exists(QLatin1String(p))) s.multiDecPath = QLatin1String(p);
        s.ddeServer = QStringLiteral("MDTeleText");
        s.ddeTopic = QStringLiteral("[Seite]:00[Unter]");
        s.ddeItem = QStringLiteral("page");
        s.viaDde = true;
        s.multiDec = true;
    }

    const QList<QStringList> viewers = {
        {QStringLiteral("c:\\programme\\dvbviewer demo\\dvbviewerdemo.exe"), QStringLiteral("c:\\program files\\dvbviewer demo\\dvbviewerdemo.exe")},
        {QStringLiteral("c:\\program files (x86)\\dvbviewer demo\\dvbviewerdemo.exe")},
        {QStringLiteral("c:\\programme\\dvbviewer\\dvbviewer.exe"), QStringLiteral("c:\\program files\\dvbviewer\\dvbviewer.exe")},
        {QStringLiteral("c:\\program files (x86)\\dvbviewer\\dvbviewer.exe")}};
    for (const QStringList& group : viewers) {
        const QString hit = firstExisting(group, exists);
        if (hit.isEmpty()) continue;
        s.multiDecPath = hit;
        clearDde(s);
        s.viaDde = false;
        s.multiDec = true;
        s.multiDec2 = true;
    }

    const std::pair<const char*, const char*> winTv[] = {
        {"c:\\programme\\wintv\\wintv.exe", "c:\\programme\\vtpuls\\vtplus32.exe"},
        {"c:\\program files\\wintv\\wintv.exe", "c:\\program files\\vtpuls\\vtplus32.exe"}};
    for (const auto& [tuner, vtplus] : winTv) {
        if (!exists(QLatin1String(tuner))) continue;
        s.winTvAufruf = QLatin1String(tuner);
        s.vtPath = QLatin1String(vtplus);
        clearDde(s);
        s.viaDde = false;
        s.multiDec = false;
        s.multiDec2 = false;
    }
    return s;
}

QString checkedVtPath(const QString& vtPath, const ExistsFn& exists) {
    if (!vtPath.isEmpty() && exists(vtPath)) return vtPath;
    const QString fallback = QStringLiteral("\\progra~1\\vtplus\\vtplus32.exe");
    return exists(fallback) ? fallback : QStringLiteral("INTERNET");
}

Result<int> multiDecChannelNumber(const QByteArray& text, const QString& channel) {
    if (text.isEmpty()) return Status::notFound(QStringLiteral("MultiDec Programmeinstellungen nicht gefunden"));
    const qsizetype found = text.indexOf(toWindows1252(channel.left(5)));
    if (found < 0 || channel.isEmpty())
        return Status::notFound(channel + QStringLiteral(" ist im MultiDec noch nicht eingestellt!! Verwenden die diese Bezeichnung in "
                                                         "der Senderliste des MultiDec"));
    // The record layouts of the MultiDec versions; positions count from 1.
    const qsizetype p = found + 1;
    qsizetype number = 0;
    if (text.contains("Dec 8.2")) {
        number = (p - 788) / 804 + 1;
    } else if (text.contains("Dec 9.")) {
        const QByteArray run(16, char(0xFF));
        for (qsizetype from = 0;;) {
            const qsizetype at = text.indexOf(run, from);
            if (at < 0 || at + 1 >= p) break;
            ++number;
            from = at + 20;
        }
    } else {
        number = (p - 276) / 276;
    }
    return int(std::max<qsizetype>(0, number));
}

MultiDecIni rewriteMultiDecIni(const QStringList& lines, int channel) {
    MultiDecIni out;
    for (const QString& line : lines) {
        if (line.contains(QLatin1String("Version 7")) || line.contains(QLatin1String("Version 8"))) channel = std::max(0, channel - 1);
        if (line.contains(QLatin1String("LETZTES_PROGRAMM="))) {
            out.lines << QStringLiteral("LETZTES_PROGRAMM=%1;").arg(channel);
        } else if (line.contains(QLatin1String("VT-ALWAYS-EXPORT="))) {
            out.lines << QStringLiteral("VT-ALWAYS-EXPORT=TRUE;");
        } else if (line.contains(QLatin1String("VT-EXPORT-TYP="))) {
            out.lines << QStringLiteral("VT-EXPORT-TYP=2;");
        } else if (line.contains(QLatin1String("VBI_VT="))) {
            out.lines << QStringLiteral("VBI_VT=TRUE;");
        } else {
            out.lines << line;
            const int key = line.indexOf(QLatin1String("VT-BASE-DIR="));
            if (key >= 0) {
                QString value = line.mid(key + 12);
                const int end = value.indexOf(QLatin1Char(';'));
                if (end >= 0) value.truncate(end);
                value.replace(QLatin1Char('\\'), QLatin1Char('/'));
                if (!value.trimmed().isEmpty()) out.pageDir = withSlash(value.trimmed());
            }
        }
    }
    return out;
}

Result<QString> MultiDecTest(const QString& receiverDir, const QString& channel) {
    QFile set(findFile(receiverDir, QStringLiteral("Programm.set")));
    QByteArray text;
    if (!set.fileName().isEmpty() && set.open(QIODevice::ReadOnly)) text = set.readAll();
    auto number = multiDecChannelNumber(text, channel);
    if (!number) return number.status();
    const QString ini = filePath(receiverDir, QStringLiteral("MultiDec.ini"));
    auto lines = readTextLines(ini);
    if (!lines) return lines.status();
    const MultiDecIni rewritten = rewriteMultiDecIni(*lines, *number);
    Q_TRY(writeTextLines(ini, rewritten.lines));
    return rewritten.pageDir.isEmpty() ? withSlash(receiverDir) : rewritten.pageDir;
}

QString multiDecChannel(const QString& ddeSender, const QStringList& intradayPageNames) {
    if (ddeSender != kSeveralStations) return ddeSender;
    if (intradayPageNames.isEmpty()) return QStringLiteral("N-TV");
    return stationOfPageName(intradayPageNames.last());
}

}  // namespace q
