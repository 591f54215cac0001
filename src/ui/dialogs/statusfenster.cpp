#include "ui/dialogs/statusfenster.h"

#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

namespace q::ui {

TStatusfenster::TStatusfenster(QWidget* owner) : QDialog(owner) {
    setModal(false);
    m_line = new QLabel(this);
    m_line->setWordWrap(true);
    m_line->setMinimumWidth(420);
    auto* bar = new QStatusBar(this);
    bar->setSizeGripEnabled(false);
    for (QLabel*& panel : m_panels) {
        panel = new QLabel(bar);
        panel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        bar->addWidget(panel, 1);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_line);
    layout->addStretch();
    layout->addWidget(bar);
}

void TStatusfenster::setLine(const QString& text) { m_line->setText(text); }

void TStatusfenster::setPanels(const QString& first, const QString& second) {
    m_panels[0]->setText(first);
    m_panels[1]->setText(second);
}

QString TStatusfenster::line() const { return m_line->text(); }
QString TStatusfenster::panel(int i) const { return i >= 0 && i < 2 ? m_panels[i]->text() : QString(); }

}  // namespace q::ui
