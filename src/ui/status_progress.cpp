#include "ui/status_progress.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>

namespace q::ui {

WaitCursor::WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
WaitCursor::~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }

void StatusBarProgress::step(const QString& text, qint64 done, qint64 total) {
    m_text->setText(text);
    m_bar->setRange(0, total > 0 ? 1000 : 0);
    m_bar->setValue(total > 0 ? int(done * 1000 / total) : 0);
    m_bar->show();
    // Paint only: a click during the work must not start a second command.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void StatusBarProgress::finish() {
    m_bar->hide();
    m_text->clear();
}

}  // namespace q::ui
