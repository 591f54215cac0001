#include "ui/tool_bar_bands.h"

#include <QMainWindow>
#include <QToolBar>
#include <algorithm>

namespace q::ui {

namespace {

QString bandName(int bar, const char* field, int id) {
    return QStringLiteral("CoolBar%1%2%3").arg(bar == 2 ? QStringLiteral("2") : QString(), QLatin1String(field)).arg(id);
}

}  // namespace

void ToolBarBands::add(int bar, int id, QToolBar* band) { m_bands.push_back({bar, id, band}); }

void ToolBarBands::apply(const Einstellungen& values) {
    struct Placed {
        Band band;
        int index;
        bool lineBreak;
    };
    QList<Placed> placed;
    const int unstored = 1000;  // bands without values go after the stored ones
    for (int i = 0; i < m_bands.size(); ++i) {
        const Band& b = m_bands[i];
        const QString index = bandName(b.bar, "Index", b.id);
        placed.push_back({b, values.has(index) ? values.integer(index) : unstored + i,
                          values.truth(bandName(b.bar, "Break", b.id))});
    }
    std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
        return a.band.bar != b.band.bar ? a.band.bar < b.band.bar : a.index < b.index;
    });
    for (const Placed& p : placed) m_window.removeToolBar(p.band.toolBar);
    int lastBar = 0;
    for (const Placed& p : placed) {
        // The second tool bar always starts a line of its own.
        if ((p.lineBreak && lastBar != 0) || (lastBar != 0 && p.band.bar != lastBar)) m_window.addToolBarBreak();
        m_window.addToolBar(Qt::TopToolBarArea, p.band.toolBar);
        p.band.toolBar->show();
        lastBar = p.band.bar;
    }
}

void ToolBarBands::store(Einstellungen& values) const {
    QList<Band> ordered = m_bands;
    std::stable_sort(ordered.begin(), ordered.end(), [](const Band& a, const Band& b) {
        if (a.bar != b.bar) return a.bar < b.bar;
        const QPoint pa = a.toolBar->pos(), pb = b.toolBar->pos();
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    int index = 0, lastBar = 0;
    for (const Band& b : ordered) {
        if (b.bar != lastBar) index = 0;
        lastBar = b.bar;
        values.set(bandName(b.bar, "Width", b.id), SettingValue::integer(b.toolBar->width()));
        values.set(bandName(b.bar, "Break", b.id), SettingValue::truth(m_window.toolBarBreak(b.toolBar)));
        values.set(bandName(b.bar, "Index", b.id), SettingValue::integer(index++));
        values.set(bandName(b.bar, "ID", b.id), SettingValue::integer(b.id));
    }
}

}  // namespace q::ui
