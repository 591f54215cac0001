#include "acquisition/intraday_poller.h"

#include <algorithm>

namespace q {

IntradayPoller::IntradayPoller(PollTimer& timer, std::function<QDateTime()> clock, Actions actions)
    : m_timer(timer), m_clock(std::move(clock)), m_actions(std::move(actions)) {}

void IntradayPoller::setInterval(int minutes) { m_interval = std::clamp(minutes, 0, 60); }

void IntradayPoller::start() {
    if (m_state != State::Stopped) return;
    m_stopRequested = false;
    m_counter = 0;
    m_state = State::Waiting;
    m_timer.start(kFirstTickMs);
}

void IntradayPoller::stop() {
    m_stopRequested = true;
    if (m_state == State::Running) return;  // runOnce() ends in Stopped
    m_state = State::Stopped;
    m_timer.stop();
}

void IntradayPoller::tick() {
    if (m_state != State::Waiting) return;
    if (m_actions.archiveStaleDay) {
        auto archived = m_actions.archiveStaleDay(m_clock().date());
        if (!archived) m_lastStatus = archived.status();
        else if (*archived) m_dailyPricesNext = true;
    }
    if (m_counter < 2) runOnce();
    else --m_counter;
}

void IntradayPoller::runOnce() {
    m_timer.stop();
    m_state = State::Running;
    m_counter = m_interval;
    const bool daily = m_dailyPricesNext && m_source == PollSource::Teletext;
    if (m_source == PollSource::Teletext) m_dailyPricesNext = false;
    m_lastStatus = m_actions.fetch ? m_actions.fetch(m_source, daily) : Status::ok();
    ++m_runs;
    if (m_stopRequested) {
        m_state = State::Stopped;
        return;
    }
    m_state = State::Waiting;
    m_timer.start(m_interval == 0 ? kFastMs : kMinuteMs);
}

}  // namespace q
