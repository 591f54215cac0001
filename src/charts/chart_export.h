// A chart as a picture: saved as PNG or PDF (by the file's extension), copied to the
// clipboard, printed.
#pragma once

#include "base/status.h"

class QCustomPlot;
class QWidget;

namespace q::charts {

// Writes the chart, `width` × `height` pixels (0: its current size), to `path`: PNG
// for ".png", PDF for ".pdf". Fails Invalid "Das Format .<ext> wird nicht unterstützt
// (PNG oder PDF)" for any other extension (SVG included), Io "<path> kann nicht
// geschrieben werden" when writing fails.
Status saveChart(QCustomPlot& plot, const QString& path, int width = 0, int height = 0);

// "Diagramm &kopieren (BMP)": the chart as a picture on the clipboard.
void copyChart(QCustomPlot& plot);

// Prints the chart on a printer the user chooses, as large as the page allows.
void printChart(QCustomPlot& plot, QWidget* parent);

}  // namespace q::charts
