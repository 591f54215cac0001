#include "ui/portfolio/wertentwicklung.h"

#include "portfolio/value_development.h"

#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace q::ui {

namespace {

QLabel* lineIn(QWidget* parent, QVBoxLayout* layout, const QString& title, const QString& name) {
    auto* box = new QGroupBox(title, parent);
    auto* label = new QLabel(QStringLiteral(" "), box);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    (new QVBoxLayout(box))->addWidget(label);
    layout->addWidget(box);
    return label;
}

void showLine(QLabel* label, const ValueDevelopmentLine& line) {
    label->setText(line.text);
    label->setStyleSheet(line.red ? QStringLiteral("color: red") : QString());
}

}  // namespace

Wertentwicklung::Wertentwicklung(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Wertentwicklung"));
    setWindowTitle(QStringLiteral("Wertentwicklung"));
    auto* layout = new QVBoxLayout(this);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(kValueSliderMin, kValueSliderMax);
    m_slider->setTickInterval(kValueSliderTick);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setValue(0);
    layout->addWidget(m_slider);
    m_gainLabel = lineIn(this, layout, QStringLiteral("Gewinnentwicklung für bestehende Anlage"), QStringLiteral("gainLine"));
    m_currentLabel = lineIn(this, layout, QStringLiteral("Prozent zum aktuellen Kurs"), QStringLiteral("currentLine"));
    connect(m_slider, &QSlider::valueChanged, this, &Wertentwicklung::showLines);
    resize(520, 160);
}

void Wertentwicklung::setSecurity(const QString& caption, double shares, double meanBuy, double current, int position) {
    setWindowTitle(caption);
    m_shares = shares;
    m_meanBuy = meanBuy;
    m_current = current;
    QSignalBlocker block(m_slider);
    m_slider->setValue(position);
    showLines(m_slider->value());
}

void Wertentwicklung::setCurrentPrice(double current) {
    m_current = current;
    showLines(m_slider->value());
}

void Wertentwicklung::showLines(int position) {
    const ValueDevelopment v = valueDevelopment(m_shares, m_meanBuy, m_current, position);
    showLine(m_gainLabel, v.gain);
    showLine(m_currentLabel, v.current);
}

}  // namespace q::ui
