// A chart as a picture: saved as PNG or PDF (by the file's extension), copied to the
// clipboard, painted on a printer's page.
#pragma once

#include "base/status.h"

class QCustomPlot;
class QPrinter;

namespace q::charts {

// Writes the chart, `width` × `height` pixels (0: its current size), to `path`: PNG
// for ".png", PDF for ".pdf". Fails Invalid "Das Format .<ext> wird nicht unterstützt
// (PNG oder PDF)" for any other extension (SVG included), Io "<path> kann nicht
// geschrieben werden" when writing fails.
Status saveChart(QCustomPlot& plot, const QString& path, int width = 0, int height = 0);

// "Diagramm &kopieren (BMP)": the chart as a picture on the clipboard.
void copyChart(QCustomPlot& plot);

// Paints the chart on one page of `printer`, as large as the page allows and with its
// proportions kept; lines end at the plot area's edge. Requires: the printer is set up
// (the window's print dialog chose it).
void paintChart(QCustomPlot& plot, QPrinter& printer);

}  // namespace q::charts
