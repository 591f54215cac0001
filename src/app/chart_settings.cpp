#include "app/chart_settings.h"

namespace q {

namespace {

constexpr quint32 kBlue = 0x0000FF, kLime = 0x00FF00, kAqua = 0x00FFFF, kRed = 0xFF0000, kBlack = 0x000000,
                  kGreen = 0x008000, kGrey = 0x808080, kPurple = 0x800080, kYellow = 0xFFFF00, kLightBlue = 0x8080FF,
                  kSlate = 0x8080C0;

SeriesStyle line(const char* name, const char* title, quint32 color, bool active, VertAxis axis, int custom = -1,
                 LineStyle style = LineStyle::Solid, int pen = 1) {
    SeriesStyle s;
    s.name = QString::fromLatin1(name);
    s.title = QString::fromUtf8(title);
    s.color = color;
    s.active = active;
    s.axis = axis;
    s.customAxis = custom;
    s.style = style;
    s.penWidth = pen;
    return s;
}

SeriesStyle of(SeriesKind kind, SeriesStyle s) {
    s.kind = kind;
    return s;
}

AxisStyle axis(const char* name, const char* title, bool grid = true) {
    AxisStyle a;
    a.name = QString::fromUtf8(name);
    a.title = QString::fromUtf8(title);
    a.grid = grid;
    return a;
}

// Colours as the Windows program stored them: red, green, blue, 0.
QByteArray colorBytes(quint32 rgb) {
    QByteArray b(4, '\0');
    b[0] = char((rgb >> 16) & 0xFF);
    b[1] = char((rgb >> 8) & 0xFF);
    b[2] = char(rgb & 0xFF);
    return b;
}

std::optional<quint32> colorOf(const QByteArray& b) {
    if (b.size() < 3) return std::nullopt;
    return (quint32(quint8(b[0])) << 16) | (quint32(quint8(b[1])) << 8) | quint32(quint8(b[2]));
}

// Typed reads of one value; absent or of another type leaves `target` as it is.
template <typename T, typename Read>
void take(const SettingsStore& s, const QString& name, T& target, Read read) {
    auto v = read(SettingsStore::kChartKey, name);
    if (v) target = static_cast<T>(*v);
}

}  // namespace

SeriesStyle* ChartAppearance::find(const QString& name) {
    for (SeriesStyle& s : series)
        if (s.name == name) return &s;
    return nullptr;
}

const SeriesStyle* ChartAppearance::find(const QString& name) const {
    return const_cast<ChartAppearance*>(this)->find(name);
}

ChartAppearance priceChartDesign() {
    using V = VertAxis;
    using L = LineStyle;
    ChartAppearance c;
    c.prefix = QStringLiteral("Kurs1_");
    c.series = {
        line("Series1", "Kurswerte", kBlue, true, V::LeftAndRight, -1, L::Solid, 2),
        line("Series7", "1. Gl.Durchschn.", kLime, false, V::LeftAndRight),
        line("Series8", "2. Gl.Durchschn.", kAqua, false, V::LeftAndRight),
        of(SeriesKind::Points, line("Series18", "Kaufen", kLime, true, V::LeftAndRight)),
        of(SeriesKind::Points, line("Series21", "Verkauf", kRed, true, V::LeftAndRight)),
        of(SeriesKind::Candles, line("Series19", "Kerzen", kRed, true, V::LeftAndRight)),
        of(SeriesKind::Candles, line("RenkoReihe", "Renko", kRed, false, V::Left)),
        of(SeriesKind::Bars, line("Series9", "Volumen", kAqua, false, V::Right)),
        line("Series11", "Stochastik", kRed, true, V::Custom, 1),
        line("Series27", "Fast Stochastik %K", kBlack, false, V::Left, -1, L::Dot),
        line("Series28", "Slow Stochastik", kLightBlue, false, V::Left),
        line("Series29", "Fast Stochastik %D", kRed, false, V::Left),
        line("Series30", "Waehrungsbereinigt", kLightBlue, false, V::Custom, 2),
        line("Series14", "Trend", kGreen, true, V::LeftAndRight, -1, L::DashDotDot),
        line("Series20", "Momentum", kGrey, true, V::Custom, 0),
        line("Series10", "Mittelwert", kBlue, true, V::LeftAndRight, -1, L::DashDotDot),
        line("Series12", "Standardabw.", kBlue, false, V::Custom, 0, L::DashDot),
        line("Series16", "Trend+Std.Abw.", kGreen, false, V::LeftAndRight, -1, L::DashDot),
        line("Series15", "Trend-Std.Abw.", kGreen, false, V::LeftAndRight, -1, L::DashDot),
        line("Series13", "Bollinger Bänder", kGreen, false, V::LeftAndRight),
        line("Series23", "R.S.I.", kGreen, false, V::Custom, 1),
        line("Series25", "MACD", kPurple, false, V::Custom, 0),
        line("Series24", "3. Gl.Durchschnitt", kGreen, false, V::Left),
        line("Series26", "ADX", kSlate, false, V::Custom, 1),
    };
    c.tools = {{QStringLiteral("Fadenkreuz"), true, 1, kBlack},
               {QStringLiteral("Notiz"), false, 1, kBlack},
               {QStringLiteral("Linien zeichnen"), false, 1, kBlack},
               {QStringLiteral("Oberes Limit"), true, 2, kGreen},
               {QStringLiteral("Unteres Limit"), true, 2, kGreen}};
    c.axes = {axis("Links", "Kurs"),          axis("Rechts", "Kurs"),           axis("Unten", ""),
              axis("Momentum", "Momentum"),   axis("Stochastik", "Stochastik", false), axis("Währung", "")};
    return c;
}

ChartAppearance intradayChartDesign() {
    ChartAppearance c;
    c.prefix = QStringLiteral("KursDB_");
    c.series = {line("Series1", "Intraday", kRed, true, VertAxis::Left),
                of(SeriesKind::Candles, line("Series2", "Intraday-Kerzen", kGreen, false, VertAxis::Left))};
    c.tools = {{QStringLiteral("Fadenkreuz"), true, 1, kBlack}};
    c.axes = {axis("Links", "Kurs"), axis("Unten", "")};
    return c;
}

ChartAppearance comparisonChartDesign() {
    ChartAppearance c;
    c.prefix = QStringLiteral("Kurs5_");
    const quint32 colours[] = {kRed, kBlue, kLime, kYellow, kAqua};
    for (int i = 0; i < 5; ++i)
        c.series << line(qPrintable(QStringLiteral("Vergleich%1").arg(i + 1)), "", colours[i], true, VertAxis::Left, -1,
                         LineStyle::Solid, 2);
    c.series << line("DepotVergleich", "Depot", kBlack, false, VertAxis::Left, -1, LineStyle::Solid, 2);
    return c;
}

void readChartAppearance(const SettingsStore& s, ChartAppearance& c) {
    const auto readInt = [&s](const QString& k, const QString& n) { return s.readInteger(k, n); };
    const auto readBool = [&s](const QString& k, const QString& n) { return s.readBool(k, n); };
    const auto readText = [&s](const QString& k, const QString& n) { return s.readText(k, n); };
    const auto readDouble = [&s](const QString& k, const QString& n) { return s.readDouble(k, n); };
    for (SeriesStyle& x : c.series) {
        const QString p = c.prefix + x.name;
        if (auto b = s.readBytes(SettingsStore::kChartKey, p + QStringLiteral("_color")))
            if (auto rgb = colorOf(*b)) x.color = *rgb;
        take(s, p + QStringLiteral("_Active"), x.active, readBool);
        take(s, p + QStringLiteral("_LinePen"), x.penWidth, readInt);
        take(s, p + QStringLiteral("_Title"), x.title, readText);
        take(s, p + QStringLiteral("_Legend"), x.legend, readBool);
        if (c.prefix == QLatin1String("Kurs5_")) continue;
        take(s, p + QStringLiteral("_CVertAxis"), x.customAxis, readInt);
        if (auto b = s.readBytes(SettingsStore::kChartKey, p + QStringLiteral("_VertAxis")); b && !b->isEmpty() && quint8(b->at(0)) <= 3)
            x.axis = VertAxis(quint8(b->at(0)));
        if (x.kind == SeriesKind::Points) take(s, p + QStringLiteral("_VertSize"), x.markSize, readInt);
    }
    for (int i = 0; i < c.tools.size(); ++i) {
        const QString p = c.prefix + QStringLiteral("ChartTool_%1").arg(i);
        take(s, p + QStringLiteral("_Active"), c.tools[i].active, readBool);
        take(s, p + QStringLiteral("_PenWidth"), c.tools[i].penWidth, readInt);
        take(s, p + QStringLiteral("_color"), c.tools[i].color, readInt);
    }
    for (int i = 0; i < c.axes.size(); ++i) {
        const QString p = c.prefix + QStringLiteral("Axis%1").arg(i);
        AxisStyle& a = c.axes[i];
        take(s, p + QStringLiteral("_TitleText"), a.title, readText);
        take(s, p + QStringLiteral("_Visible"), a.visible, readBool);
        take(s, p + QStringLiteral("_GridVisible"), a.grid, readBool);
        take(s, p + QStringLiteral("_Automatic"), a.automatic, readBool);
        take(s, p + QStringLiteral("_Minimum"), a.minimum, readDouble);
        take(s, p + QStringLiteral("_Maximum"), a.maximum, readDouble);
    }
}

void writeChartAppearance(SettingsStore& s, const QList<const ChartAppearance*>& charts) {
    const QString key = SettingsStore::kChartKey;
    s.removeKey(key);
    for (const ChartAppearance* c : charts) {
        for (const SeriesStyle& x : c->series) {
            const QString p = c->prefix + x.name;
            s.writeBytes(key, p + QStringLiteral("_color"), colorBytes(x.color));
            s.writeBool(key, p + QStringLiteral("_Active"), x.active);
            s.writeInteger(key, p + QStringLiteral("_LinePen"), x.penWidth);
            s.writeText(key, p + QStringLiteral("_Title"), x.title);
            s.writeBool(key, p + QStringLiteral("_Legend"), x.legend);
            if (c->prefix == QLatin1String("Kurs5_")) continue;
            s.writeInteger(key, p + QStringLiteral("_CVertAxis"), x.customAxis);
            s.writeInteger(key, p + QStringLiteral("_CHorizAxis"), -1);
            s.writeBytes(key, p + QStringLiteral("_VertAxis"), QByteArray(1, char(x.axis)));
            s.writeBytes(key, p + QStringLiteral("_HorizAxis"), QByteArray(1, '\1'));  // the bottom axis
            if (x.kind == SeriesKind::Points) {
                s.writeInteger(key, p + QStringLiteral("_VertSize"), x.markSize);
                s.writeInteger(key, p + QStringLiteral("_HorzSize"), x.markSize);
            }
        }
        for (int i = 0; i < c->tools.size(); ++i) {
            const QString p = c->prefix + QStringLiteral("ChartTool_%1").arg(i);
            s.writeBool(key, p + QStringLiteral("_Active"), c->tools[i].active);
            s.writeInteger(key, p + QStringLiteral("_PenWidth"), c->tools[i].penWidth);
            s.writeInteger(key, p + QStringLiteral("_color"), int(c->tools[i].color));
        }
        for (int i = 0; i < c->axes.size(); ++i) {
            const QString p = c->prefix + QStringLiteral("Axis%1").arg(i);
            const AxisStyle& a = c->axes[i];
            s.writeText(key, p + QStringLiteral("_TitleText"), a.title);
            s.writeBool(key, p + QStringLiteral("_Visible"), a.visible);
            s.writeBool(key, p + QStringLiteral("_GridVisible"), a.grid);
            s.writeBool(key, p + QStringLiteral("_Automatic"), a.automatic);
            s.writeDouble(key, p + QStringLiteral("_Minimum"), a.minimum);
            s.writeDouble(key, p + QStringLiteral("_Maximum"), a.maximum);
        }
    }
}

}  // namespace q
