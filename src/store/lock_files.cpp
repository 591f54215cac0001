#include "store/lock_files.h"

#include "base/text_files.h"

#include <QFile>

namespace q {

namespace {

int removeIn(const QString& dir, std::initializer_list<const char*> names) {
    if (dir.isEmpty()) return 0;
    int removed = 0;
    for (const char* name : names) {
        const QString path = findFile(dir, QString::fromLatin1(name));
        if (!path.isEmpty() && QFile::remove(path)) ++removed;
    }
    return removed;
}

}  // namespace

int removeStaleLockFiles(const QString& depotDir, const QString& installDir, const QString& dataDir) {
    int n = removeIn(depotDir, {"PARADOX.NET", "PARADOX.LCK", "PDOXUSRS.LCK"});
    const QString temp = findFile(installDir, QStringLiteral("Temp"));
    if (!temp.isEmpty()) n += removeIn(temp, {"PARADOX.LCK", "PDOXUSRS.LCK"});
    n += removeIn(dataDir, {"PARADOX.LCK", "PDOXUSRS.LCK", "PARADOX.NET"});
    n += removeIn(installDir, {"PARADOX.LCK", "PDOXUSRS.LCK", "PARADOX.NET"});
    return n;
}

int removeLateLockFiles(const QString& intradayDir, const QString& depotDir, const QString& workDir) {
    return removeIn(intradayDir, {"PARADOX.LCK", "PDOXUSRS.LCK"}) + removeIn(depotDir, {"PARADOX.LCK", "PDOXUSRS.LCK"}) +
           removeIn(workDir, {"PARADOX.LCK", "PDOXUSRS.LCK"});
}

}  // namespace q
