// The controls of the intraday tab ("&Intraday"): the polling loop with its start
// button, interval and source selector, "neu" (archive the day), "akt. Kurse in
// Datenbank eintragen", the toggles for new securities and favourites, and the log
// of the last run. The loop runs on a QTimer while it is started, whichever page
// the window shows.
#pragma once

#include "acquisition/intraday_poller.h"

#include <QTimer>
#include <QWidget>
#include <memory>

class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace q::ui {

class TAktienkurse;

class IntradayPage final : public QWidget {
    Q_OBJECT
public:
    IntradayPage(TAktienkurse& window, QWidget* parent);
    ~IntradayPage() override;

    IntradayPoller& poller() { return *m_poller; }
    bool polling() const { return m_poller->state() != IntradayPoller::State::Stopped; }
    QPlainTextEdit* log() const { return m_log; }
    QSpinBox* interval() const { return m_interval; }

    // "Start" / "Stop".
    void Start();
    void Stop();
    // The automatic start of "/A": no new securities are taken up, then Start.
    void startAutomatically();
    // The source button: shows the next source and sets the interval to 0.
    void nextSource();
    // "neu": after the question, the day's intraday prices are archived.
    void Neu();
    // "akt. Kurse in Datenbank eintragen": after the question.
    void Eintragen();
    // The timer's tick (public for the tests).
    void tick() { m_poller->tick(); }

private:
    class Timer;
    Status fetch(PollSource source, bool dailyPrices);
    void showState();

    TAktienkurse& m_window;
    std::unique_ptr<Timer> m_timer;
    std::unique_ptr<IntradayPoller> m_poller;
    QPushButton* m_start;
    QToolButton* m_source;
    QToolButton* m_newSecurities;
    QToolButton* m_correction;
    QToolButton* m_favourites;
    QSpinBox* m_interval;
    QPlainTextEdit* m_log;
};

}  // namespace q::ui
