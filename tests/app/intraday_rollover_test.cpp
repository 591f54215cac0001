#include "app/intraday_rollover.h"
#include "app/startup_fixture.h"
#include "base/formats.h"

#include <QFile>

using namespace q;

namespace {

class Rollover : public StartTest {
protected:
    void SetUp() override {
        StartTest::SetUp();
        ASSERT_TRUE(start(session, ui, false).isOk());
    }
    void addIntraday(int firma, const QDateTime& t, double kurs) {
        Table& intraday = **session.store.table("Intraday.db");
        Record r = intraday.newRecord();
        r.set("Firma", firma), r.set("ZEIT", timestampNumber(t)), r.set("Kurs", kurs), r.set("Volumen", 100);
        ASSERT_TRUE(intraday.append(r).isOk());
    }
    qint64 rowsIn(const QString& path, const QString& table) {
        auto t = Store::openFile(path, layoutFor(TableKind::Intraday, table));
        return t.isOk() ? *(*t)->count(Query()) : -1;
    }
    Session session;
    ScriptedInteraction ui;
};

}  // namespace

TEST_F(Rollover, EachDaysPricesGoToThatDaysArchive) {
    addIntraday(1, QDateTime(QDate(2026, 12, 2), QTime(9, 30)), 10.0);
    addIntraday(1, QDateTime(QDate(2026, 12, 2), QTime(17, 30)), 10.5);
    addIntraday(2, QDateTime(QDate(2026, 12, 3), QTime(9, 0)), 20.0);
    auto r = intradayRollover(session.dirs, session.store);
    ASSERT_TRUE(r.isOk()) << r.status().message().toStdString();
    EXPECT_EQ(r->rows, 3);
    const QString intra = session.dirs.intraday;
    EXPECT_EQ(rowsIn(intra + "02.12.2026.DB", "02.12.2026"), 2);
    EXPECT_EQ(rowsIn(intra + "03.12.2026.DB", "03.12.2026"), 1);
    EXPECT_EQ(*(*session.store.table("Intraday.db"))->count(Query()), 0);
}

TEST_F(Rollover, AnExistingArchiveIsMergedNeverReplaced) {
    addIntraday(1, QDateTime(QDate(2026, 12, 2), QTime(9, 30)), 10.0);
    ASSERT_TRUE(intradayRollover(session.dirs, session.store).isOk());
    addIntraday(1, QDateTime(QDate(2026, 12, 2), QTime(9, 30)), 10.0);  // read twice
    addIntraday(1, QDateTime(QDate(2026, 12, 2), QTime(12, 0)), 11.0);
    ASSERT_TRUE(intradayRollover(session.dirs, session.store).isOk());
    EXPECT_EQ(rowsIn(session.dirs.intraday + "02.12.2026.DB", "02.12.2026"), 2);
}

TEST_F(Rollover, WhenTheArchiveCannotBeWrittenNothingIsDeleted) {
    addIntraday(1, QDateTime(QDate(2026, 12, 2), QTime(9, 30)), 10.0);
    session.store.closeAll();
    Directories dirs = session.dirs;
    qtest::writeFile(tmp("blockiert"), "x");
    dirs.intraday = tmp("blockiert/Intraday/");
    auto r = intradayRollover(dirs, session.store);
    EXPECT_FALSE(r.isOk());
    EXPECT_EQ(*(*session.store.table("Intraday.db"))->count(Query()), 1);
}

TEST_F(Rollover, AMissingIntradayTableIsCreated) {
    session.store.closeAll();
    ASSERT_TRUE(QFile::remove(home + "Intraday.db"));
    ASSERT_TRUE(intradayRollover(session.dirs, session.store).isOk());
    EXPECT_TRUE(QFile::exists(home + "Intraday.db"));
}
