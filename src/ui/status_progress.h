// Long work in the window: the wait cursor for its duration, and its progress in
// the status bar. The work runs on the window's thread; the sink repaints between
// steps (user input waits), so the window never looks frozen.
#pragma once

#include "base/interaction.h"

class QLabel;
class QProgressBar;

namespace q::ui {

// Shows the wait cursor from construction to destruction.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

class StatusBarProgress final : public Progress {
public:
    StatusBarProgress(QLabel* text, QProgressBar* bar) : m_text(text), m_bar(bar) {}
    void step(const QString& text, qint64 done, qint64 total) override;
    // Hides the bar after the work.
    void finish();

private:
    QLabel* m_text;
    QProgressBar* m_bar;
};

}  // namespace q::ui
