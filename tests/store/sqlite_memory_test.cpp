#include "store/database.h"
#include "store/sqlite_memory.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace q;

namespace {

// A text of `n` characters that differs from every other length.
QString textOf(int n) {
    QString t(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i) t[i] = QChar(u'a' + (i * 7 + n) % 26);
    return t;
}

}  // namespace

// SQLite takes the memory of its caches and values from blocks of page size kept
// by the program, everything else from the heap; values growing across those sizes
// move between the two. Every length from below a page to beyond two, in files of
// 4 KB and 8 KB pages, comes back as written.
TEST(SqliteMemory, ValuesOfEverySizeComeBackAsWritten) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    for (int pageSize : {4096, 8192}) {
        const QString path = tmp.path() + QStringLiteral("/werte%1.db").arg(pageSize);
        QList<int> lengths;
        for (int n = 3900; n <= 9400; n += 7) lengths << n;
        lengths << 1 << 100 << 20000 << 70000;
        {
            auto db = Database::open(path, Database::Mode::CreateIfMissing);
            ASSERT_TRUE(db.isOk()) << db.status().message().toStdString();
            ASSERT_TRUE(sqliteUsesPageMemory());
            ASSERT_TRUE((*db)->exec(QStringLiteral("PRAGMA page_size=%1").arg(pageSize)).isOk());
            ASSERT_TRUE((*db)->exec("CREATE TABLE Werte (n INTEGER PRIMARY KEY, t TEXT NOT NULL)").isOk());
            Transaction tx(**db);
            ASSERT_TRUE(tx.begin().isOk());
            auto insert = (*db)->prepare("INSERT INTO Werte VALUES (?, ?)");
            ASSERT_TRUE(insert.isOk());
            for (int n : lengths) {
                insert->bind(1, n);
                insert->bind(2, textOf(n));
                ASSERT_TRUE(insert->run().isOk());
                insert->reset();
            }
            ASSERT_TRUE(tx.commit().isOk());
        }
        auto db = Database::open(path, Database::Mode::OpenExisting);
        ASSERT_TRUE(db.isOk());
        auto select = (*db)->prepare("SELECT n, t || t FROM Werte ORDER BY n");
        ASSERT_TRUE(select.isOk());
        int rows = 0;
        for (;;) {
            auto row = select->step();
            ASSERT_TRUE(row.isOk());
            if (!*row) break;
            const int n = int(select->columnInt(0));
            ASSERT_EQ(select->columnText(1), textOf(n) + textOf(n)) << "Länge " << n << ", Seiten " << pageSize;
            ++rows;
        }
        EXPECT_EQ(rows, lengths.size());
        auto check = (*db)->prepare("PRAGMA integrity_check");
        ASSERT_TRUE(check.isOk());
        ASSERT_TRUE(*check->step());
        EXPECT_EQ(check->columnText(0), "ok");
    }
}
