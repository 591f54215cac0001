#include "ui/acquisition/intraday_charts.h"

#include "app/chart_sources.h"
#include "base/clock.h"
#include "base/formats.h"
#include "ui/main_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QSignalBlocker>

namespace q::ui {

namespace {
const QString kSettings[2] = {QStringLiteral("DDEAktie1"), QStringLiteral("DDEAktie2")};
}

IntradayCharts::IntradayCharts(TAktienkurse& window, QWidget* parent) : QWidget(parent), m_window(window) {
    setObjectName(QStringLiteral("intradayCharts"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 2; ++i) {
        m_boxes[i] = new QComboBox(this);
        m_boxes[i]->setEditable(false);
        m_charts[i] = new charts::IntradayPlot(this);
        connect(m_boxes[i], &QComboBox::currentTextChanged, this, [this, i](const QString& name) {
            m_window.session().values.set(kSettings[i], SettingValue::text(name));
            IntradayDiagramm();
        });
        layout->addWidget(m_boxes[i], 0, i);
        layout->addWidget(m_charts[i], 1, i);
    }
}

void IntradayCharts::refresh() {
    auto names = intradayNames(m_window.session());
    if (!names) {
        m_window.interaction().tell(names.status().message());
        return;
    }
    for (int i = 0; i < 2; ++i) {
        const QSignalBlocker quiet(m_boxes[i]);
        const QString chosen = m_window.session().values.text(kSettings[i]);
        m_boxes[i]->clear();
        m_boxes[i]->addItems(*names);
        m_boxes[i]->setCurrentText(chosen);
    }
    IntradayDiagramm();
}

void IntradayCharts::IntradayDiagramm() {
    for (int i = 0; i < 2; ++i) {
        const QString name = m_boxes[i]->currentText();
        auto ticks = name.isEmpty() ? Result<std::vector<IntradayTick>>(std::vector<IntradayTick>())
                                    : intradayOfName(m_window.session(), name);
        if (!ticks) {
            m_window.showStatus(ticks.status().message());
            continue;
        }
        const QDate day = ticks->empty() ? today() : dateFromDayNumber(ticks->back().zeit);
        m_charts[i]->show(name, day, *ticks, 15);
    }
}

}  // namespace q::ui
