#include "store/wal_checkpoint.h"

#include "store/database.h"
#include "store/sqlite_memory.h"

#include <QStringList>
#include <condition_variable>
#include <mutex>
#include <sqlite3.h>
#include <thread>

namespace q {

namespace {

void checkpoint(const QString& path) {
    sqlite3* db = nullptr;
    if (openSqlite(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX) == SQLITE_OK) {
        sqlite3_busy_timeout(db, busyTimeout());
        // A fresh connection knows of the log only after it has read the file.
        sqlite3_exec(db, "PRAGMA schema_version", nullptr, nullptr, nullptr);
        sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    }
    sqlite3_close_v2(db);
}

// One worker for the process, started with the first request; its destructor at
// the program's exit lets the queue run dry.
class Checkpointer {
public:
    static Checkpointer& instance() {
        static Checkpointer c;
        return c;
    }

    void request(const QString& path) {
        std::lock_guard lock(m_mutex);
        if (!m_queue.contains(path)) m_queue << path;
        if (!m_thread.joinable()) m_thread = std::thread([this] { run(); });
        m_wake.notify_all();
    }

    void wait() {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return m_queue.isEmpty() && !m_busy; });
    }

    ~Checkpointer() {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
            m_wake.notify_all();
        }
        if (m_thread.joinable()) m_thread.join();
    }

private:
    Checkpointer() = default;

    void run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_stop || !m_queue.isEmpty(); });
            if (m_queue.isEmpty()) return;  // stopping, nothing left
            const QString path = m_queue.takeFirst();
            m_busy = true;
            lock.unlock();
            checkpoint(path);
            lock.lock();
            m_busy = false;
            if (m_queue.isEmpty()) m_idle.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    QStringList m_queue;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace

void checkpointLater(const QString& path) { Checkpointer::instance().request(path); }

void waitForCheckpoints() { Checkpointer::instance().wait(); }

}  // namespace q
