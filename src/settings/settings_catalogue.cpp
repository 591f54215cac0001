#include "settings/settings_catalogue.h"

#include "base/formats.h"

#include <QRegularExpression>

#include <algorithm>

namespace q {

namespace {

using T = ValueType;
using C = CloseStep;

class CatalogueBuilder {
public:
    QList<SettingEntry> list;

    void group(SettingGroup g) { m_group = g; }

    void none(const QString& name, T type, C step = C::Never) { add(name, type, DefaultKind::None, {}, false, step); }
    void design(const QString& name, T type, C step) { add(name, type, DefaultKind::Design, {}, false, step); }
    void fixed(const QString& name, const SettingValue& value, C step = C::Never) {
        add(name, value.type, DefaultKind::Fixed, value, false, step);
    }
    void fixedWritten(const QString& name, const SettingValue& value) {
        add(name, value.type, DefaultKind::Fixed, value, true, C::Never);
    }
    void computed(const QString& name, T type, C step = C::Never, bool written = false) {
        add(name, type, DefaultKind::Computed, {}, written, step);
    }
    void notReadAtStart() { list.last().readAtStart = false; }

private:
    void add(const QString& name, T type, DefaultKind kind, const SettingValue& def, bool written, C step) {
        SettingEntry s;
        s.name = name;
        s.type = type;
        s.defaultKind = kind;
        s.fixedDefault = def;
        s.writtenAtStart = written;
        s.group = m_group;
        s.closeStep = step;
        list.append(s);
    }
    SettingGroup m_group = SettingGroup::Locations;
};

QString numbered(const char* stem, int n) { return QLatin1String(stem) + QString::number(n); }

SettingValue text(const char* s) { return SettingValue::text(QString::fromUtf8(s)); }
SettingValue integer(int v) { return SettingValue::integer(v); }
SettingValue truth(bool v) { return SettingValue::truth(v); }
SettingValue number(double v) { return SettingValue::number(v); }

QList<SettingEntry> buildCatalogue() {
    CatalogueBuilder b;

    b.group(SettingGroup::Locations);
    b.computed("Datenpath", T::Text, C::Never, true);
    b.notReadAtStart();
    for (int i = 0; i <= 4; ++i) b.none(numbered("Datenpath", i), T::Text);
    b.computed("Depotpath", T::Text);
    for (int i = 0; i <= 9; ++i) b.none(numbered("Depotpath", i), T::Text);
    b.computed("TempPath", T::Text, C::PathsAndBackup);
    b.computed("SicherPath", T::Text, C::PathsAndBackup);
    b.computed("IntraPath", T::Text, C::PathsAndBackup);
    b.computed("NachrichtenPath", T::Text);
    b.computed("FilterPath", T::Text);
    // The PostgreSQL server holding the tables (a libpq connection string or URI);
    // empty: the table files in the data and depot directories.
    b.fixed("Datenbank", text(""));
    b.fixed("Msg_Datei", text("Message.DB"));
    b.computed("Msg_Path", T::Text);
    for (int i = 1; i <= 4; ++i)
        b.fixed(numbered("Watch", i), SettingValue::text(QString::number(i) + QStringLiteral(".Beobachtungsliste")));

    // Set in the dialog "Ländereinstellung", which writes them itself.
    b.group(SettingGroup::Currency);
    b.fixedWritten("WaehrungsSymbol", text("EUR"));
    b.fixedWritten("DezimalStellen", integer(2));
    b.none("Waehrung", T::Text);
    b.none("Wechselkurs", T::Double);
    b.fixedWritten("Spekulation", integer(365));
    b.fixedWritten("Spekulation_neu", integer(0));
    b.fixedWritten("Spekulation_ab", SettingValue::dateTime(dayNumber(QDate(2009, 1, 1))));

    // The reading options of their dialog are written by it; the DDE values of the
    // main window, the station selection and the thresholds by closing.
    b.group(SettingGroup::Reading);
    b.computed("SCRIPT", T::Text);
    b.computed("DDESCRIPT", T::Text);
    b.fixed("VTPath", text(""));
    b.computed("VTDatei", T::Text);
    b.fixed("MultiDecPath", text(""));
    b.fixed("WinTVAufruf", text(""));
    b.fixed("WinTVAktiv", truth(false));
    b.fixed("MultiDec", truth(false));
    b.fixed("MultiDec2", truth(false));
    b.fixed("VIADDE", truth(false));
    b.fixed("DDESERVER", text("MDTeleText"));
    b.fixed("DDETopic", text(""));
    b.fixed("DDEItem", text(""));
    b.fixed("DDEENDE", truth(false), C::Dde);
    b.fixed("DDETIME", text("22:32"), C::Dde);
    b.fixed("DDEMinuten", integer(1), C::Dde);
    b.design("DDEAktie1", T::Text, C::Dde);
    b.design("DDEAktie2", T::Text, C::Dde);
    b.fixed("DDESender", text("N-TV"), C::Stations);
    b.fixed("KursSender", text("ZDF"), C::Stations);
    b.fixed("Sender1", text("BSP"));
    b.fixed("Sender2", text("N-TV"));
    b.fixed("Sender3", text("ZDF"));
    b.fixed("Sender4", text("Sender4"));
    b.fixed("MinusProzent", number(-45.0), C::Thresholds);
    b.fixed("PlusProzent", number(50.0), C::Thresholds);
    b.fixedWritten("Alle", truth(false));
    b.fixedWritten("bestaetigen", truth(true));
    b.fixed("StartKursEintragen", truth(true));
    b.fixed("AutoSplit", truth(false));
    // The built-in DVB teletext decoder: the transport stream (a file, a DVB device's
    // DVR, "-" for standard input), how long a live stream is read, and the teletext
    // PID (0: found in the stream). Written where they are set, like the reading options.
    b.fixed("DVBQuelle", text(""));
    b.fixed("DVBSekunden", integer(60));
    b.fixed("DVBPID", integer(0));
    // The intraday tab's source (0 teletext, 1 Internet, 2 network folder), which the
    // automatic start polls too.
    b.fixed("IntradayQuelle", integer(0));

    b.group(SettingGroup::View);
    b.computed("Datum", T::DateTime, C::ViewAndDates);
    b.design("Favoriten", T::Bool, C::ViewAndDates);
    b.design("FavoritenTab", T::Bool, C::TabsAndSplitter);
    b.design("KursTab", T::Bool, C::TabsAndSplitter);
    b.design("Splitter2", T::Integer, C::TabsAndSplitter);
    b.design("Gruppe", T::Integer, C::ViewAndDates);
    b.fixed("AnlageninDM", truth(false), C::ViewAndDates);
    b.fixed("GewinninDM", truth(false), C::ViewAndDates);
    b.fixed("AnlageDetail", truth(true), C::ViewAndDates);
    b.fixed("GewinnDetail", truth(true), C::ViewAndDates);
    b.design("Depotvergleich", T::Bool, C::ViewAndDates);
    b.fixed("RechteAchse", truth(false), C::ViewAndDates);
    b.design("Kursdifferenz", T::Bool, C::ViewAndDates);
    b.design("Direkthilfe", T::Bool, C::ViewAndDates);
    b.design("LimitanPlus", T::Integer, C::ViewAndDates);
    b.design("LimitanMinus", T::Integer, C::ViewAndDates);
    for (int i = 1; i <= 5; ++i) b.design(numbered("Vergleich", i), T::Text, C::Comparison);
    b.fixed("ExportTyp", integer(3), C::ViewAndDates);
    b.fixed("Sprache", integer(0), C::Language);
    b.design("Vollbild", T::Bool, C::Window);
    for (const char* n : {"WindowWidth", "WindowHeight", "WindowLeft", "WindowTop"}) b.design(n, T::Integer, C::Window);
    // The news window and the buy and sell dialogs hold their own defaults and write
    // these values themselves.
    b.none("News_Width", T::Integer);
    b.none("News_Height", T::Integer);
    for (const char* n : {"Bank", "Clearing", "Makler"}) b.none(n, T::Double);

    b.group(SettingGroup::Analysis);
    const C a = C::Analysis;
    b.fixed("ErsterGL", integer(5), a);
    b.fixed("ZweiterGL", integer(100), a);
    b.fixed("StochastikTage", integer(15), a);
    b.fixed("Kaufwert", integer(80), a);
    b.fixed("KursIndex", text("Dow Jones"), a);
    // The analysis table's reference price: the day before's stored price when the
    // newest one is today's (set on the reading options page).
    b.fixed("IntradayVortageskurs", truth(false), a);
    b.fixed("AnaTage", integer(14), a);
    b.fixed("AnaVolumen", integer(500000), a);
    b.fixed("GUVZahl", integer(10), a);
    b.fixed("GUVTage", integer(1), a);
    b.fixed("BewertTage", integer(10), a);
    b.design("Candle_Tage", T::Integer, a);
    b.design("Candle2_Tage", T::Integer, a);
    for (const char* n : {"BewertGL", "BewertGL1", "BewertUmsatz", "BewertStochO", "BewertStochU", "BewertStochP",
                          "BewertStochM", "BewertBolling", "BewertMACD", "BewertMoment", "BewertTrend", "BewertRSIP",
                          "BewertRSIM"})
        b.fixed(n, truth(true), a);
    for (const char* n : {"BewertGLPunkt", "BewertGLPunkt1", "BewertUmsatzPunkt", "BewertStochPunktO",
                          "BewertStochPunktU", "BewertStochPunktP", "BewertStochPunktM", "BewertBollingPunkt",
                          "BewertMACDPunkt", "BewertMomentPunkt", "BewertTrendPunkt", "BewertRSIPunktP",
                          "BewertRSIPunktM"})
        b.fixed(n, integer(1), a);
    b.fixed("BewertStochWertP", integer(80), a);
    b.fixed("BewertStochWertM", integer(20), a);
    b.fixed("BewertRSIWertP", integer(70), a);
    b.fixed("BewertRSIWertM", integer(30), a);
    b.fixed("DividentenProzent", number(4.0), a);
    for (const char* n : {"DividentePlus", "GewinnPlus", "CashflowPlus", "MarktPlus", "HochTief"})
        b.fixed(n, truth(true), a);
    for (const char* n : {"DividentePunkte", "GewinnPunkte", "CashflowPunkte", "MarktPunkte"})
        b.fixed(n, integer(1), a);
    b.fixed("GewinnZahl", integer(15), a);
    b.fixed("CashflowZahl", integer(15), a);
    b.fixed("MarktZahl", integer(100), a);
    b.fixed("RenkoTrend", truth(true), a);
    b.fixed("RenkoProzent", integer(1), a);
    b.fixed("RenkoPunkte", integer(1), a);

    // Chart appearance kept in the main key; absent values leave the chart's design.
    // Colours are integers except the gradient's two 4-byte colours; font styles are
    // one byte.
    b.group(SettingGroup::ChartAppearance);
    const C c = C::ChartOptions;
    b.design("AnimatedZoom", T::Bool, c);
    b.design("AnimatedZoomSteps", T::Integer, c);
    b.design("StartColor", T::Bytes, c);
    b.design("EndColor", T::Bytes, c);
    b.design("Gradient", T::Bool, c);
    b.design("GradientDirection", T::Bytes, c);
    b.design("LegendVisible", T::Bool, c);
    // Written by the chart options dialog only.
    b.design("Series9BarWidthPercent", T::Integer, C::Never);
    b.design("Function1_Period", T::Integer, c);
    b.design("Function1_Deviation", T::Double, c);
    for (const char* n : {"Function4_Period", "Function5_Period", "Function6_Period", "Function8_Period",
                          "Function8_Period2", "Function9_Period", "Function10_Period", "Function11_Period",
                          "KerzenUpCloseColor", "KerzenDownCloseColor"})
        b.design(n, T::Integer, c);
    b.design("Chart1TitleTrans", T::Bool, c);
    b.design("Chart1LegendTrans", T::Bool, c);
    b.design("Chart1LegendWidth", T::Integer, c);
    b.design("Chart1TitleColor", T::Integer, c);
    b.design("Chart1TitleSize", T::Integer, c);
    b.design("Chart1TitleName", T::Text, c);
    b.design("Chart1TitleInterChar", T::Integer, c);
    b.design("Chart1TitleStyle", T::Bytes, c);
    for (const char* n : {"Chart1LegendHorizMargin", "Chart1LegendVertMargin", "Chart1MarginBottom", "Chart1MarginTop",
                          "Chart1MarginLeft", "Chart1MarginRight"})
        b.design(n, T::Integer, c);
    const auto axisFont = [&](const QString& prefix) {
        b.design(prefix + QStringLiteral("Color"), T::Integer, c);
        b.notReadAtStart();
        b.design(prefix + QStringLiteral("Size"), T::Integer, c);
        b.notReadAtStart();
        b.design(prefix + QStringLiteral("Name"), T::Text, c);
        b.notReadAtStart();
        b.design(prefix + QStringLiteral("Style"), T::Bytes, c);
        b.notReadAtStart();
    };
    for (const char* axis : {"Chart1LeftAxis", "Chart1RightAxis"}) {
        axisFont(QLatin1String(axis));
        axisFont(QLatin1String(axis) + QStringLiteral("Title"));
    }
    axisFont(QStringLiteral("Chart1BottomAxis"));

    b.group(SettingGroup::Backup);
    b.fixed("AutoSpeichern", truth(true), C::PathsAndBackup);
    b.fixed("SicherInterval", integer(5), C::PathsAndBackup);
    // Whole backups kept in dated folders beside the newest copies.
    b.fixed("SicherGenerationen", integer(5), C::PathsAndBackup);
    // The start counter: the start-up counts and writes it.
    b.fixed("Speichern", integer(0));

    // Read last, because the chosen period overrides the stored start date.
    b.group(SettingGroup::PriceFilter);
    b.computed("KursDatum", T::DateTime, C::ViewAndDates);
    b.design("FilterTage", T::Integer, C::ViewAndDates);
    b.fixed("Kursfilter", truth(false), C::ViewAndDates);

    return b.list;
}

struct ComputedDefault {
    const char* name;
    enum Base { Install, Data, DaysBack } base;
    const char* suffix;
    int days;
};

// Directories here use "/"; the Windows program appended "Daten\" and the like.
const ComputedDefault kComputed[] = {
    {"Datenpath", ComputedDefault::Install, "Daten/", 0},
    {"Depotpath", ComputedDefault::Data, "", 0},
    {"TempPath", ComputedDefault::Install, "Temp/", 0},
    {"SicherPath", ComputedDefault::Data, "", 0},
    {"IntraPath", ComputedDefault::Install, "Intraday/", 0},
    {"NachrichtenPath", ComputedDefault::Install, "Nachrichten/", 0},
    {"FilterPath", ComputedDefault::Install, "Filter/", 0},
    {"Msg_Path", ComputedDefault::Data, "", 0},
    {"SCRIPT", ComputedDefault::Install, "aktien.vts", 0},
    {"DDESCRIPT", ComputedDefault::Install, "dde.vts", 0},
    {"VTDatei", ComputedDefault::Install, "aktien.txt", 0},
    {"Datum", ComputedDefault::DaysBack, "", 30},
    {"KursDatum", ComputedDefault::DaysBack, "", 90},
};

}  // namespace

const QList<SettingEntry>& settingsCatalogue() {
    static const QList<SettingEntry> catalogue = buildCatalogue();
    return catalogue;
}

const SettingEntry* findSetting(const QString& name) {
    for (const SettingEntry& s : settingsCatalogue())
        if (s.name.compare(name, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

QList<const SettingEntry*> closeOrder() {
    QList<const SettingEntry*> order;
    for (const SettingEntry& s : settingsCatalogue())
        if (s.writtenOnClose()) order << &s;
    std::stable_sort(order.begin(), order.end(),
                     [](const SettingEntry* x, const SettingEntry* y) { return x->closeStep < y->closeStep; });
    return order;
}

std::optional<SettingValue> defaultValue(const SettingEntry& entry, const SettingsContext& ctx) {
    switch (entry.defaultKind) {
    case DefaultKind::None:
    case DefaultKind::Design: return std::nullopt;
    case DefaultKind::Fixed: return entry.fixedDefault;
    case DefaultKind::Computed: break;
    }
    for (const ComputedDefault& d : kComputed) {
        if (entry.name != QLatin1String(d.name)) continue;
        switch (d.base) {
        case ComputedDefault::Install: return SettingValue::text(ctx.installDir + QLatin1String(d.suffix));
        case ComputedDefault::Data: return SettingValue::text(ctx.dataDir + QLatin1String(d.suffix));
        case ComputedDefault::DaysBack: return SettingValue::dateTime(dayNumber(ctx.today.addDays(-d.days)));
        }
    }
    Q_ASSERT_X(false, "defaultValue", "computed default without a rule");
    return std::nullopt;
}

QString gridFontName(int grid, const QString& field) {
    return QStringLiteral("Grid") + QString::number(grid) + field;
}

QString gridColumnName(int grid, const QString& field, int column) {
    return QStringLiteral("Grid") + QString::number(grid) + field + QString::number(column);
}

QString DynamicSetting::name() const {
    switch (kind) {
    case DynamicKind::GridFont: return gridFontName(number, field);
    case DynamicKind::GridColumn: return gridColumnName(number, field, index);
    case DynamicKind::ToolBarBand:
        return QStringLiteral("CoolBar") + (number == 2 ? QStringLiteral("2") : QString()) + field +
               QString::number(index);
    }
    return {};
}

std::optional<DynamicSetting> matchDynamicSetting(const QString& name) {
    static const QRegularExpression gridFont(QStringLiteral("^Grid([12356])(FontName|FontColor|FontSize|FontStyle)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression gridColumn(QStringLiteral("^Grid([12356])(Width|Name|Title)(\\d{1,6})$"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression band(QStringLiteral("^CoolBar(2?)(Width|Break|Index|ID)(\\d{1,6})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    // The field as spelled in the program, whatever the case in the file.
    const auto canonical = [](const QString& field, std::initializer_list<const char*> fields) {
        for (const char* f : fields)
            if (field.compare(QLatin1String(f), Qt::CaseInsensitive) == 0) return QString::fromLatin1(f);
        return field;
    };

    DynamicSetting d;
    if (const auto m = gridFont.match(name); m.hasMatch()) {
        d.kind = DynamicKind::GridFont;
        d.number = m.captured(1).toInt();
        d.field = canonical(m.captured(2), {"FontName", "FontColor", "FontSize", "FontStyle"});
        d.type = d.field == QLatin1String("FontName")    ? T::Text
                 : d.field == QLatin1String("FontStyle") ? T::Bytes
                                                         : T::Integer;
        return d;
    }
    if (const auto m = gridColumn.match(name); m.hasMatch()) {
        d.kind = DynamicKind::GridColumn;
        d.number = m.captured(1).toInt();
        d.field = canonical(m.captured(2), {"Width", "Name", "Title"});
        d.index = m.captured(3).toInt();
        d.type = d.field == QLatin1String("Width") ? T::Integer : T::Text;
        return d;
    }
    if (const auto m = band.match(name); m.hasMatch()) {
        d.kind = DynamicKind::ToolBarBand;
        d.number = m.captured(1).isEmpty() ? 1 : 2;
        d.field = canonical(m.captured(2), {"Width", "Break", "Index", "ID"});
        d.index = m.captured(3).toInt();
        d.type = d.field == QLatin1String("Break") ? T::Bool : T::Integer;
        return d;
    }
    return std::nullopt;
}

}  // namespace q
