// Status form (Tstatusform): the non-modal progress window of the Internet price
// loader: a caption, the current step, a progress bar and a cancel button. It is
// also a Progress sink, so a core pass can report into it and be stopped from it.
#pragma once

#include "base/interaction.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace q::ui {

class Tstatusform final : public QDialog, public Progress {
    Q_OBJECT
public:
    explicit Tstatusform(QWidget* owner);

    void setWindowText(const QString& text) { setWindowTitle(text); }
    void setText(const QString& text);
    QString text() const;
    // done of total; total 0 shows a busy bar.
    void setProgress(qint64 done, qint64 total);
    int percent() const;

    void step(const QString& text, qint64 done, qint64 total) override;
    bool cancelRequested() override { return m_cancelled; }

private:
    QLabel* m_text;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    bool m_cancelled = false;
};

}  // namespace q::ui
