#include "charts/chart_export.h"

#include "charts/custom_plot.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <algorithm>

namespace q::charts {

Status saveChart(QCustomPlot& plot, const QString& path, int width, int height) {
    const QString ext = QFileInfo(path).suffix().toLower();
    bool saved = false;
    if (ext == QLatin1String("png")) saved = plot.savePng(path, width, height);
    else if (ext == QLatin1String("pdf")) saved = plot.savePdf(path, width, height, QCP::epNoCosmetic, QStringLiteral("Quintara"));
    else return Status::invalid(QStringLiteral("Das Format .%1 wird nicht unterstützt (PNG oder PDF)").arg(ext));
    if (!saved) return Status::io(QStringLiteral("%1 kann nicht geschrieben werden").arg(path));
    return Status::ok();
}

void copyChart(QCustomPlot& plot) { QGuiApplication::clipboard()->setPixmap(plot.toPixmap()); }

void paintChart(QCustomPlot& plot, QPrinter& printer) {
    QCPPainter painter(&printer);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    // As wide as on screen, laid out anew as high as the page's shape allows (at
    // most three quarters of the width): a chart squeezed into a flat pane on screen
    // gets its height back on paper.
    const int width = std::max(1, plot.width());
    const int height = std::max(1, int(std::min(width * page.height() / std::max(1.0, page.width()), width * 0.75)));
    const double scale = std::min(page.width() / width, page.height() / height);
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.scale(scale, scale);
    plot.toPainter(&painter, width, height);
}

}  // namespace q::charts
