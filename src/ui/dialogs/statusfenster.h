// Status window (TStatusfenster): a small non-modal window shown during one long
// step (a file copy): a caption, one line of text and two status panels. It carries
// no result; the caller hides and frees it right after the step.
#pragma once

#include <QDialog>

class QLabel;

namespace q::ui {

class TStatusfenster final : public QDialog {
    Q_OBJECT
public:
    explicit TStatusfenster(QWidget* owner);

    void setWindowText(const QString& text) { setWindowTitle(text); }
    void setLine(const QString& text);
    void setPanels(const QString& first, const QString& second);

    QString line() const;
    QString panel(int i) const;

private:
    QLabel* m_line;
    QLabel* m_panels[2];
};

}  // namespace q::ui
