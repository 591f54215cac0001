#include "ui/printing.h"

#include "charts/chart_export.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

namespace q::ui {

namespace {
QString& printFile() {
    static QString path;
    return path;
}
}  // namespace

void setPrintFile(const QString& path) { printFile() = path; }

bool choosePrinter(QPrinter& printer, QWidget* parent) {
    if (!printFile().isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printFile());
        return true;
    }
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void printReport(QWidget* parent, const QString& title, const QTextBrowser& view) {
    // The report's column widths are screen pixels: at the printer's own resolution
    // they would shrink to a few millimetres. The text stays vector type on paper.
    QPrinter printer(QPrinter::ScreenResolution);
    if (!choosePrinter(printer, parent)) return;
    // The view's own document, its formats as laid out on screen (written out as
    // HTML and read again, the table's columns lose their widths), under the title.
    std::unique_ptr<QTextDocument> doc(view.document()->clone());
    QTextCursor start(doc.get());
    start.movePosition(QTextCursor::Start);
    start.insertBlock();
    start.movePosition(QTextCursor::Start);
    start.insertHtml(QStringLiteral("<h3>%1</h3>").arg(title.toHtmlEscaped()));
    doc->print(&printer);
}

void printChart(QWidget* parent, QCustomPlot& plot) {
    // At the screen's resolution the chart's fonts keep their size beside its pixel
    // measures; the page stays vector graphics, sharp at any printer's resolution.
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (choosePrinter(printer, parent)) charts::paintChart(plot, printer);
}

void paintWidget(QPrinter& printer, QWidget& widget, PageFit fit) {
    QPainter painter(&printer);
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    // On the screen's scale a pixel of the widget is as wide on paper as on the
    // monitor; scaled to the width, the widget fills the page from edge to edge.
    const double scale = fit == PageFit::Width ? page.width() / std::max(1, widget.width())
                                               : double(printer.logicalDpiX()) / std::max(1, widget.logicalDpiX());
    painter.scale(scale, scale);
    painter.setClipRect(QRectF(0, 0, page.width() / scale, page.height() / scale));
    widget.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
}

}  // namespace q::ui
