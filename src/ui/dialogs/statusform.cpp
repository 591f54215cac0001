#include "ui/dialogs/statusform.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace q::ui {

Tstatusform::Tstatusform(QWidget* owner) : QDialog(owner) {
    setModal(false);
    m_text = new QLabel(this);
    m_text->setMinimumWidth(360);
    m_bar = new QProgressBar(this);
    m_cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        m_cancel->setEnabled(false);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
}

void Tstatusform::setText(const QString& text) { m_text->setText(text); }
QString Tstatusform::text() const { return m_text->text(); }

void Tstatusform::setProgress(qint64 done, qint64 total) {
    // The bar counts in per mille so that totals beyond int range still fit.
    m_bar->setRange(0, total > 0 ? 1000 : 0);
    m_bar->setValue(total > 0 ? int(done * 1000 / total) : 0);
}

int Tstatusform::percent() const { return m_bar->maximum() > 0 ? m_bar->value() / 10 : 0; }

void Tstatusform::step(const QString& text, qint64 done, qint64 total) {
    setText(text);
    setProgress(done, total);
    // Keeps the window painted and its cancel button alive while the pass runs.
    QCoreApplication::processEvents();
}

}  // namespace q::ui
