#include "acquisition/intraday_poller.h"

#include <gtest/gtest.h>

using namespace q;

namespace {

// A timer that only remembers its period; the test moves the clock by it and ticks.
class FakeTimer final : public PollTimer {
public:
    void start(int periodMs) override { period = periodMs; }
    void stop() override { period = -1; }
    int period = -1;
};

// Drives the loop from `start` and writes what happened as "seconds:event" items:
// "R" a run (with "d" when it stores daily prices), "A" an archived day, a digit
// the counter after a tick that only counted.
class Timeline {
public:
    explicit Timeline(const QDateTime& start, int interval) : m_start(start), m_now(start) {
        IntradayPoller::Actions actions;
        actions.fetch = [this](PollSource, bool daily) {
            m_events << QStringLiteral("%1:R%2").arg(seconds()).arg(daily ? "d" : "");
            if (onRun) onRun();
            return Status::ok();
        };
        actions.archiveStaleDay = [this](const QDate& today) -> Result<bool> {
            if (m_newest >= today) return false;
            m_newest = today;
            m_events << QStringLiteral("%1:A").arg(seconds());
            return true;
        };
        poller = std::make_unique<IntradayPoller>(timer, [this] { return m_now; }, actions);
        poller->setInterval(interval);
        m_newest = start.date();
    }
    // Ticks until `count` ticks have passed or the timer is disarmed.
    QStringList ticks(int count) {
        for (int i = 0; i < count && timer.period >= 0; ++i) {
            m_now = m_now.addMSecs(timer.period);
            const int runs = poller->runs();
            poller->tick();
            if (poller->runs() == runs) m_events << QStringLiteral("%1:%2").arg(seconds()).arg(poller->counter());
        }
        return m_events;
    }
    qint64 seconds() const { return m_start.secsTo(m_now); }

    FakeTimer timer;
    std::unique_ptr<IntradayPoller> poller;
    std::function<void()> onRun;

private:
    QDateTime m_start;
    QDateTime m_now;
    QDate m_newest;
    QStringList m_events;
};

const QDateTime kMorning(QDate(2026, 2, 3), QTime(9, 0));

}  // namespace

TEST(IntradayPoller, IntervalZeroFetchesEveryFiveSeconds) {
    Timeline t(kMorning, 0);
    t.poller->start();
    EXPECT_EQ(t.timer.period, 5000);
    EXPECT_EQ(t.ticks(3), (QStringList{"5:R", "10:R", "15:R"}));
    EXPECT_EQ(t.poller->state(), IntradayPoller::State::Waiting);
}

TEST(IntradayPoller, IntervalOneFetchesEveryMinuteAfterTheFirstFiveSeconds) {
    Timeline t(kMorning, 1);
    t.poller->start();
    EXPECT_EQ(t.ticks(3), (QStringList{"5:R", "65:R", "125:R"}));
    EXPECT_EQ(t.timer.period, 60000);
}

TEST(IntradayPoller, IntervalThreeCountsDownTwoTicksBetweenRuns) {
    Timeline t(kMorning, 3);
    t.poller->start();
    EXPECT_EQ(t.ticks(5), (QStringList{"5:R", "65:2", "125:1", "185:R", "245:2"}));
}

TEST(IntradayPoller, StopDuringARunEndsTheLoopAfterIt) {
    Timeline t(kMorning, 0);
    t.onRun = [&t] {
        EXPECT_EQ(t.poller->state(), IntradayPoller::State::Running);
        EXPECT_EQ(t.timer.period, -1) << "no tick while a run is in progress";
        if (t.poller->runs() == 1) t.poller->stop();
    };
    t.poller->start();
    EXPECT_EQ(t.ticks(5), (QStringList{"5:R", "10:R"}));
    EXPECT_EQ(t.poller->state(), IntradayPoller::State::Stopped);
    EXPECT_EQ(t.timer.period, -1);
    t.poller->tick();
    EXPECT_EQ(t.poller->runs(), 2) << "a stopped loop ignores a late tick";
}

TEST(IntradayPoller, MidnightArchivesOnceAndTheNextRunStoresDailyPrices) {
    // Interval 5 from 23:58: the runs at 23:58:05 and 00:03:05; the day changes on the
    // tick at 23:59:05 + 60 s, however long after midnight that is.
    Timeline t(QDateTime(QDate(2026, 2, 2), QTime(23, 58)), 5);
    t.poller->start();
    EXPECT_EQ(t.ticks(6), (QStringList{"5:R", "65:4", "125:A", "125:3", "185:2", "245:1", "305:Rd"}));
}

TEST(IntradayPoller, IntervalZeroStillSeesTheDayChange) {
    Timeline t(QDateTime(QDate(2026, 2, 2), QTime(23, 59, 50)), 0);
    t.poller->start();
    EXPECT_EQ(t.ticks(3), (QStringList{"5:R", "10:A", "10:Rd", "15:R"}));
}
