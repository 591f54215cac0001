// What the measuring programs share: progress on stderr and their numeric arguments.
#pragma once

#include "base/interaction.h"

#include <QStringList>
#include <QTextStream>

namespace bench {

// "done/total" on stderr every `every` steps, on one line.
class PrintProgress final : public q::Progress {
public:
    explicit PrintProgress(int every) : m_every(every) {}
    void step(const QString&, qint64 done, qint64 total) override {
        if (total > 0 && done % m_every == 0) QTextStream(stderr) << "\r" << done << "/" << total << Qt::flush;
    }

private:
    int m_every;
};

// Argument `i` as a number, `fallback` when it is not given.
inline int arg(const QStringList& args, int i, int fallback) { return args.size() > i ? args[i].toInt() : fallback; }

}  // namespace bench
