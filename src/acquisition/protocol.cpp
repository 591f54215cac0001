#include "acquisition/protocol.h"

#include "base/formats.h"
#include "base/text_files.h"

#include <cmath>

namespace q {

namespace {

QString when(const ProtocolEntry& e) { return formatDate(e.date) + QLatin1Char(' ') + formatTime(e.time); }

}  // namespace

int splitRatio(double change) {
    const double rest = 100.0 + change;
    if (change >= 0 || rest <= 0) return 0;
    const double ratio = std::trunc(100.0 / rest);
    return ratio > 1e6 ? 0 : static_cast<int>(ratio);
}

QString unmatchedLine(const ProtocolEntry& e) {
    return QStringList{e.name, e.priceText, when(e)}.join(QLatin1Char('\t'));
}

QString implausibleLine(const ProtocolEntry& e) {
    if (!e.reason.isEmpty()) return QStringList{e.name, e.priceText, e.reason, when(e)}.join(QLatin1Char('\t'));
    const double change = e.change.value_or(0.0);
    QString line = QStringList{e.name, e.priceText, formatAmount(change, 2) + QLatin1Char('%'), when(e)}.join(QLatin1Char('\t'));
    const int ratio = splitRatio(change);
    if (ratio >= 2 && ratio <= 20) line += QStringLiteral("\tKurs 1:%1 gesplittet?").arg(ratio);
    return line;
}

void ProtocolLists::addUnmatched(ProtocolEntry e) {
    if (unmatched.size() < kProtocolEntriesKept) unmatched.push_back(std::move(e));
    else ++leftOut;
}

void ProtocolLists::addImplausible(ProtocolEntry e) {
    if (implausible.size() < kProtocolEntriesKept) implausible.push_back(std::move(e));
    else ++leftOut;
}

QStringList ProtocolLists::unmatchedLines() const {
    QStringList out;
    for (const ProtocolEntry& e : unmatched) out << unmatchedLine(e);
    return out;
}

QStringList ProtocolLists::implausibleLines() const {
    QStringList out;
    for (const ProtocolEntry& e : implausible) out << implausibleLine(e);
    return out;
}

Status ProtocolLists::write(const QString& workDir) const {
    if (empty()) return Status::ok();
    Q_TRY(writeTextLines(filePath(workDir, kUnmatchedFile), unmatchedLines()));
    return writeTextLines(filePath(workDir, kImplausibleFile), implausibleLines());
}

QStringList dailyLinesOf(const std::vector<ProtocolEntry>& entries) {
    QStringList out;
    for (const ProtocolEntry& e : entries) {
        QStringList fields{e.name, e.priceText, formatDate(e.date)};
        if (e.volume > 0) fields << QString::number(e.volume);
        out << fields.join(QLatin1Char('\t'));
    }
    return out;
}

}  // namespace q
