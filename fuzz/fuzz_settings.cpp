// Fuzz target: the settings reader on any file, in any encoding. Whatever it reads
// it must write back so that a second reading gives the very same keys and values.
#include "settings/settings_store.h"

#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace {

// Memory rather than disk: every run writes and flushes a file.
QString scratchDir() { return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath(); }

QString workFile() {
    static const QString path = [] {
        const QString dir = scratchDir() + QStringLiteral("/quintara-fuzz-settings-%1").arg(::getpid());
        QDir().mkpath(dir);
        return dir + QStringLiteral("/Quintara.conf");
    }();
    return path;
}

bool sameValues(const q::SettingsStore& a, const q::SettingsStore& b) {
    if (a.keyNames() != b.keyNames()) return false;
    for (const QString& key : a.keyNames()) {
        if (a.valueNames(key) != b.valueNames(key)) return false;
        for (const QString& name : a.valueNames(key))
            if (!(*a.value(key, name) == *b.value(key, name))) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = workFile();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return 0;
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    q::SettingsStore first;
    if (!first.load(path)) __builtin_trap();  // a readable file is never refused
    q::SettingsStore copy = first;
    if (!copy.save()) __builtin_trap();
    q::SettingsStore second;
    if (!second.load(path) || !second.notes().isEmpty()) __builtin_trap();
    if (!sameValues(first, second)) __builtin_trap();
    return 0;
}
