// Charts without a window, for `quintara-cli chart`: the chart drawn as the window
// draws it, with the stored chart settings, into a picture file.
#pragma once

#include "app/session.h"

#include <QCoreApplication>
#include <QDate>
#include <memory>

namespace q::charts {

// Stored: the price chart as its settings draw it; Line, Candle and Renko: the price
// as that one drawing only.
enum class ChartType { Stored, Line, Candle, Renko, Compare, Intraday };

struct ChartRequest {
    int firma = 0;
    ChartType type = ChartType::Stored;
    QString out;            // .png or .pdf
    QDate from, to;         // the days shown (price chart); `from` the comparison's start
    QDate day;              // the intraday chart's day (today when invalid)
    QStringList compare;    // comparison names (else `Vergleich1` … `Vergleich5`)
    int width = 1200;
    int height = 700;
};

// What was drawn, for the report.
struct ChartRendered {
    QString title;
    int points = 0;          // points of the main line(s)
    QStringList notices;
};

// Draws the chart `request` asks for into request.out. Fails Invalid for an
// unknown file type or a day without intraday prices, or with the store's message.
// Needs the application of chartApplication().
Result<ChartRendered> renderChart(Session& session, const ChartRequest& request, const QDate& today);

// The application a chart can be drawn in (a widget application); without a display
// (neither DISPLAY nor WAYLAND_DISPLAY set) on the offscreen platform.
std::unique_ptr<QCoreApplication> chartApplication(int& argc, char** argv);

}  // namespace q::charts
