// The one way the window prints: the print dialog chooses the printer (its "Als PDF
// speichern" writes a file where no printer is installed), then a report, a chart or
// a widget is painted on the pages. A test names a PDF file instead, and nothing is
// asked.
#pragma once

#include <QString>

class QCustomPlot;
class QPrinter;
class QTextBrowser;
class QWidget;

namespace q::ui {

// Shows the print dialog for `printer`; true when the user chose to print. While a
// print file is set, the printer writes that PDF file instead and no dialog shows.
[[nodiscard]] bool choosePrinter(QPrinter& printer, QWidget* parent);

// Every print goes into the PDF file `path` without the dialog; an empty path brings
// the dialog back.
void setPrintFile(const QString& path);

// The report of `view` under the heading `title`, as many pages as it takes.
void printReport(QWidget* parent, const QString& title, const QTextBrowser& view);

// The chart as large as one landscape page allows, its lines clipped to the plot area.
void printChart(QWidget* parent, QCustomPlot& plot);

// How a widget is laid on the page: scaled to the page width, or at the size it has on
// the screen (cut at the page's edge).
enum class PageFit { Width, Screen };

// Paints the widget as the screen shows it on one page of `printer` (set up by
// choosePrinter).
void paintWidget(QPrinter& printer, QWidget& widget, PageFit fit);

}  // namespace q::ui
