// The intraday polling loop of the intraday tab and the "/A" job: a fetch run every
// N minutes (every 5 s with N = 0) from the chosen source, and the day change.
//
// Design notes. States: Stopped, Waiting (timer armed, with the minute counter),
// Running (a fetch run in progress, timer disarmed so ticks cannot overlap).
// Transitions:
//   Stopped  -> Waiting   start(): counter 0, first tick after 5000 ms.
//   Waiting  -> Waiting   tick() with counter >= 2: the counter is lowered by one.
//   Waiting  -> Running   tick() with counter < 2: the run starts (runOnce()).
//   Running  -> Waiting   end of the run: counter = N, period 60 000 ms (5000 ms
//                         when N = 0), timer armed again.
//   Running  -> Stopped   end of the run when stop() came during it.
//   Waiting  -> Stopped   stop(): timer disarmed.
// Every tick first asks whether the day changed: when the newest intraday price
// predates today (also after a long run, a sleep, or with N = 0), the day is
// archived before anything is fetched, once, and the next teletext run stores
// daily prices too. The loop polls while it is started, whatever the window shows.
// The clock and the timer are injected: a QTimer in the window, a fake in tests.
#pragma once

#include "base/status.h"

#include <QDateTime>
#include <functional>

namespace q {

enum class PollSource { Teletext, Internet, Network };

// The timer the loop arms: start() (re)arms it with a period, stop() disarms it.
class PollTimer {
public:
    virtual ~PollTimer() = default;
    virtual void start(int periodMs) = 0;
    virtual void stop() = 0;
};

class IntradayPoller {
public:
    enum class State { Stopped, Waiting, Running };

    struct Actions {
        // One fetch run from `source`; `dailyPrices`: the teletext run also books the
        // day's daily prices (the first run after a day change). Its status is kept
        // as lastStatus(); a failed run does not stop the loop.
        std::function<Status(PollSource source, bool dailyPrices)> fetch;
        // Archives the day's intraday prices when the newest one predates `today`;
        // true when it archived.
        std::function<Result<bool>(const QDate& today)> archiveStaleDay;
    };

    IntradayPoller(PollTimer& timer, std::function<QDateTime()> clock, Actions actions);

    // Interval N in minutes, 0 to 60 (clamped); takes effect at the end of the next run.
    void setInterval(int minutes);
    int interval() const { return m_interval; }
    void setSource(PollSource source) { m_source = source; }
    PollSource source() const { return m_source; }

    void start();
    // Stops the loop; a run in progress ends first (it is asked through stopRequested()).
    void stop();
    // The timer's tick.
    void tick();

    State state() const { return m_state; }
    int counter() const { return m_counter; }
    bool stopRequested() const { return m_stopRequested; }
    int runs() const { return m_runs; }
    const Status& lastStatus() const { return m_lastStatus; }

    static constexpr int kFirstTickMs = 5000;
    static constexpr int kMinuteMs = 60000;
    static constexpr int kFastMs = 5000;

private:
    void runOnce();

    PollTimer& m_timer;
    std::function<QDateTime()> m_clock;
    Actions m_actions;
    State m_state = State::Stopped;
    PollSource m_source = PollSource::Teletext;
    int m_interval = 1;
    int m_counter = 0;
    int m_runs = 0;
    bool m_stopRequested = false;
    bool m_dailyPricesNext = false;
    Status m_lastStatus;
};

}  // namespace q
