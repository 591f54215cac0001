// The chart appearance kept in the settings subkey `Chart`: per chart the series
// (colour, on/off, pen width, title, legend, axes), the tools and the axes, under
// value names built as prefix + part + suffix:
//
//   Kurs1_Series1_color       hex:ff000000   colour, 4 bytes (red, green, blue, 0)
//   Kurs1_Series1_Active      1
//   Kurs1_Series1_LinePen     2              pen width
//   Kurs1_Series1_Title       "Kurswerte"
//   Kurs1_Series1_Legend      1              shown in the legend
//   Kurs1_Series1_CVertAxis   0              index of the custom axis
//   Kurs1_Series1_VertAxis    hex:02         the vertical axis (VertAxis)
//   Kurs1_Series18_VertSize   3              mark size (the two mark series)
//   Kurs1_ChartTool_3_Active  1              tools by index from 0
//   Kurs1_Axis0_Visible       1              axes by index from 0 (axisNames())
//
// Prefixes: "Kurs1_" the price chart, "KursDB_" the intraday chart, "Kurs5_" the
// comparison chart (series values only). The subkey is removed and written anew
// whenever the window closes; at start, values that are there replace the defaults.
// Colours here are 0xRRGGBB.
#pragma once

#include "settings/settings_store.h"

#include <QList>
#include <QString>

namespace q {

// Where a series is drawn. Stored: never renumber.
enum class VertAxis { Left = 0, Right = 1, LeftAndRight = 2, Custom = 3 };

enum class SeriesKind { Line, Points, Candles, Bars };
enum class LineStyle { Solid, Dot, DashDot, DashDotDot };

struct SeriesStyle {
    QString name;        // "Series1"
    SeriesKind kind = SeriesKind::Line;
    QString title;       // "Kurswerte"
    quint32 color = 0;   // 0xRRGGBB
    bool active = true;
    int penWidth = 1;
    bool legend = true;
    VertAxis axis = VertAxis::LeftAndRight;
    int customAxis = -1; // with VertAxis::Custom: 0 momentum, 1 stochastic, 2 currency
    LineStyle style = LineStyle::Solid;
    int markSize = 3;    // points only
};

struct ToolStyle {
    QString name;        // "Cursor", "Linien", "Oberes Limit", … (for the dialog)
    bool active = true;
    int penWidth = 1;
    quint32 color = 0;
};

struct AxisStyle {
    QString name;        // "Links", "Rechts", "Unten", "Momentum", …
    QString title;
    bool visible = true;
    bool grid = true;
    bool automatic = true;
    double minimum = 0;
    double maximum = 0;
};

struct ChartAppearance {
    QString prefix;  // "Kurs1_"
    QList<SeriesStyle> series;
    QList<ToolStyle> tools;
    QList<AxisStyle> axes;

    SeriesStyle* find(const QString& name);
    const SeriesStyle* find(const QString& name) const;
};

// The designs of the three charts: the series, tools and axes as the program ships
// them.
ChartAppearance priceChartDesign();
ChartAppearance intradayChartDesign();
ChartAppearance comparisonChartDesign();

// Replaces the design's values with those the `Chart` subkey of `store` holds; a
// value of the wrong type is skipped.
void readChartAppearance(const SettingsStore& store, ChartAppearance& chart);

// Removes the `Chart` subkey and writes every value of `charts` anew (in memory; the
// caller saves).
void writeChartAppearance(SettingsStore& store, const QList<const ChartAppearance*>& charts);

}  // namespace q
