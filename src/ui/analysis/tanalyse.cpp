#include "ui/analysis/tanalyse.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <map>

namespace q::ui {

namespace {

enum class Kind { Switch, Integer, Decimal };

// One control of the dialog: its sub-page, caption, range and the value it edits.
struct Row {
    const char* page;
    const char* caption;
    Kind kind;
    int min = 0;
    int max = 0;
    int step = 1;
    bool* (*flag)(AnalysisSettings&) = nullptr;
    int* (*integer)(AnalysisSettings&) = nullptr;
    double* (*decimal)(AnalysisSettings&) = nullptr;
};

#define Q_AT(path) [](AnalysisSettings& a) { return &a.path; }
Row on(const char* page, const char* caption, bool* (*at)(AnalysisSettings&)) { return {page, caption, Kind::Switch, 0, 0, 1, at}; }
Row number(const char* page, const char* caption, int min, int max, int* (*at)(AnalysisSettings&), int step = 1) {
    return {page, caption, Kind::Integer, min, max, step, nullptr, at};
}
Row points(const char* page, int* (*at)(AnalysisSettings&)) { return number(page, "Punkte", 1, 10, at); }

const std::vector<Row>& rows() {
    static const std::vector<Row> list = {
        number("Allgemein", "Wie groß sollte der Index sein?(50-200)", 50, 200, Q_AT(Kaufwert), 10),
        number("Gleitende Durchschnitte", "1. Durchschnitt grüne Linie in Tagen (1-40):", 1, 40, Q_AT(fill.ErsterGL)),
        number("Gleitende Durchschnitte", "2. Durchschnitt hellblaue Linie in Tagen (1-200):", 1, 200, Q_AT(fill.ZweiterGL)),
        on("Gleitende Durchschnitte", "Ab-/Aufwertung bei Schnittpunkt", Q_AT(rating.BewertGL)),
        points("Gleitende Durchschnitte", Q_AT(rating.BewertGLPunkt)),
        on("Gleitende Durchschnitte", "Ab-/Aufwertung Kurs kleiner/größer 1.GlD", Q_AT(rating.BewertGL1)),
        points("Gleitende Durchschnitte", Q_AT(rating.BewertGLPunkt1)),
        number("Gleitende Durchschnitte", "3. Gl. Durchschnitt autom. berechnet:", 2, 1000, Q_AT(periods.Function5_Period)),
        number("Stochastik", "Tage für Stochastikberechnung (3-90):", 3, 90, Q_AT(fill.StochastikTage)),
        on("Stochastik", "Abwertung", Q_AT(rating.BewertStochP)),
        number("Stochastik", "Stochastik>", 0, 100, Q_AT(rating.BewertStochWertP)),
        points("Stochastik", Q_AT(rating.BewertStochPunktP)),
        on("Stochastik", "Aufwertung", Q_AT(rating.BewertStochM)),
        number("Stochastik", "Stochastik<", 0, 100, Q_AT(rating.BewertStochWertM)),
        points("Stochastik", Q_AT(rating.BewertStochPunktM)),
        on("Stochastik", "Abwertung bei Erreichen von 100", Q_AT(rating.BewertStochO)),
        points("Stochastik", Q_AT(rating.BewertStochPunktO)),
        on("Stochastik", "Aufwerten bei Anstieg von Null", Q_AT(rating.BewertStochU)),
        points("Stochastik", Q_AT(rating.BewertStochPunktU)),
        number("Min-Max", "Für wieviele Tage Max. und Min. berechnen", 2, 730, Q_AT(fill.AnaTage)),
        on("Min-Max", "Höchst- und Tiefstkurse mit einbeziehen", Q_AT(rating.HochTief)),
        number("Umsatz", "Welchen Umsatz sollte der Kurs haben", 0, 10000000, Q_AT(rating.AnaVolumen), 100000),
        on("Umsatz", "Abwertung bei geringerem Umsatz", Q_AT(rating.BewertUmsatz)),
        points("Umsatz", Q_AT(rating.BewertUmsatzPunkt)),
        number("Bollinger Bänder", "Tage für Berechnung der Bänder (2-90):", 3, 90, Q_AT(periods.Function1_Period)),
        {"Bollinger Bänder", "Faktor der Verschiebung", Kind::Decimal, 1, 30, 1, nullptr, nullptr, Q_AT(periods.Function1_Deviation)},
        on("Bollinger Bänder", "Ab-/Aufwertung bei Schnittpunkt", Q_AT(rating.BewertBolling)),
        points("Bollinger Bänder", Q_AT(rating.BewertBollingPunkt)),
        number("R.S.I.", "Tage für R.S.I. Berechnung(3-90):", 3, 90, Q_AT(periods.Function4_Period)),
        on("R.S.I.", "Abwertung", Q_AT(rating.BewertRSIP)),
        number("R.S.I.", "R.S.I.>", 0, 100, Q_AT(rating.BewertRSIWertP)),
        points("R.S.I.", Q_AT(rating.BewertRSIPunktP)),
        on("R.S.I.", "Aufwertung", Q_AT(rating.BewertRSIM)),
        number("R.S.I.", "R.S.I.<", 0, 100, Q_AT(rating.BewertRSIWertM)),
        points("R.S.I.", Q_AT(rating.BewertRSIPunktM)),
        number("MACD", "Tage für Berechnung des GD1:", 3, 720, Q_AT(periods.Function8_Period)),
        number("MACD", "Tage für Berechnung des GD2:", 1, 720, Q_AT(periods.Function8_Period2)),
        on("MACD", "Ab-/Aufwertung bei Schnittpunkt mit Kurs", Q_AT(rating.BewertMACD)),
        points("MACD", Q_AT(rating.BewertMACDPunkt)),
        number("ADX", "Werte aus denen der ADX berechnet wird:", 3, 90, Q_AT(periods.Function11_Period)),
        number("ADX", "Tage für die Kerzenberechnung (1 =>Intraday):", 3, 90, Q_AT(fill.Candle_Tage)),
        number("Momentum", "Tage für Momentum Berechnung(3-90):", 3, 90, Q_AT(periods.Function10_Period)),
        on("Momentum", "Ab-/Aufwertung unter/überschreiten der Mittellinie", Q_AT(rating.BewertMoment)),
        points("Momentum", Q_AT(rating.BewertMomentPunkt)),
        number("Trend-Linie", "Tage für Trend-Linien Berechnung(3-90):", 3, 90, Q_AT(periods.Function6_Period)),
        on("Trend-Linie", "Ab-/Aufwertung bei fallender/seigernder Trendlinie", Q_AT(rating.BewertTrend)),
        points("Trend-Linie", Q_AT(rating.BewertTrendPunkt)),
        number("Renko", "Ein Ziegel bei jeweilig X % Kuranstieg(1-10):", 1, 10, Q_AT(fill.RenkoProzent)),
        on("Renko", "Ab-/Aufwertung bei Trenderkennung", Q_AT(rating.RenkoTrend)),
        points("Renko", Q_AT(rating.RenkoPunkte)),
        on("Fundamental", "Dividendenrendite größer als", Q_AT(rating.DividentePlus)),
        {"Fundamental", "Prozent", Kind::Decimal, 0, 100, 1, nullptr, nullptr, Q_AT(rating.DividentenProzent)},
        points("Fundamental", Q_AT(rating.DividentePunkte)),
        on("Fundamental", "Kurse/Gewinn Verhältnis kleiner", Q_AT(rating.GewinnPlus)),
        number("Fundamental", "Verhältnis", 1, 1000, Q_AT(rating.GewinnZahl)),
        points("Fundamental", Q_AT(rating.GewinnPunkte)),
        on("Fundamental", "Kurse/Cash-Flow Verhältnis <", Q_AT(rating.CashFlowPlus)),
        number("Fundamental", "Verhältnis", 1, 1000, Q_AT(rating.CashFlowZahl)),
        points("Fundamental", Q_AT(rating.CashFlowPunkte)),
        on("Fundamental", "Marktkapitalisierung kleiner als (Mio.)", Q_AT(rating.MarktPlus)),
        number("Fundamental", "Millionen", 10, 10000, Q_AT(rating.MarktZahl), 10),
        points("Fundamental", Q_AT(rating.MarktPunkte)),
    };
    return list;
}
#undef Q_AT

const char* const kPages[] = {"Allgemein", "Gleitende Durchschnitte", "Stochastik", "Min-Max", "Umsatz", "Bollinger Bänder", "R.S.I.",
                              "MACD", "ADX", "Momentum", "Trend-Linie", "Renko", "Fundamental"};

}  // namespace

struct TAnalyse::Binding {
    const Row* row;
    QCheckBox* check = nullptr;
    QSpinBox* spin = nullptr;
    QDoubleSpinBox* decimal = nullptr;
};

TAnalyse::TAnalyse(const AnalysisSettings& settings, const QStringList& securityNames, QWidget* parent)
    : QDialog(parent), m_base(settings) {
    setObjectName(QStringLiteral("TAnalyse"));
    setWindowTitle(QStringLiteral("Analyse-Parameter"));
    auto* top = new QTabWidget(this);
    auto* analyse = new QWidget(top);
    m_pages = new QTabWidget(analyse);
    m_pages->setUsesScrollButtons(true);
    std::map<QString, QFormLayout*> forms;
    for (const char* name : kPages) {
        auto* page = new QWidget(m_pages);
        forms[QString::fromUtf8(name)] = new QFormLayout(page);
        m_pages->addTab(page, QString::fromUtf8(name));
    }
    m_kursIndex = new QComboBox(analyse);
    m_kursIndex->setEditable(true);
    m_kursIndex->addItems(securityNames);
    forms[QStringLiteral("Allgemein")]->addRow(QStringLiteral("Kurs der als Trend dient (Future/Index)"), m_kursIndex);

    for (const Row& row : rows()) {
        Binding b{&row};
        QFormLayout* form = forms[QString::fromUtf8(row.page)];
        const QString caption = QString::fromUtf8(row.caption);
        switch (row.kind) {
        case Kind::Switch:
            b.check = new QCheckBox(caption, analyse);
            form->addRow(b.check);
            break;
        case Kind::Integer:
            b.spin = new QSpinBox(analyse);
            b.spin->setRange(row.min, row.max);
            b.spin->setSingleStep(row.step);
            b.spin->setGroupSeparatorShown(row.max >= 100000);
            form->addRow(caption, b.spin);
            break;
        case Kind::Decimal:
            b.decimal = new QDoubleSpinBox(analyse);
            b.decimal->setRange(row.min, row.max);
            b.decimal->setDecimals(1);
            form->addRow(caption, b.decimal);
            break;
        }
        m_bindings.push_back(b);
    }

    auto* presets = new QHBoxLayout;
    presets->addWidget(new QLabel(QStringLiteral("Voreinstellungen:"), analyse));
    const char* names[] = {"Standard", "Kurzfristig", "Langfristig"};
    for (int i = 0; i < 3; ++i) {
        m_presets[i] = new QPushButton(QString::fromUtf8(names[i]), analyse);
        presets->addWidget(m_presets[i]);
        connect(m_presets[i], &QPushButton::clicked, this, [this, i] { preset(static_cast<AnalysisPreset>(i)); });
    }
    presets->addStretch();
    auto* analyseLayout = new QVBoxLayout(analyse);
    analyseLayout->addWidget(m_pages, 1);
    analyseLayout->addLayout(presets);
    top->addTab(analyse, QStringLiteral("Analyse"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(top, 1);
    layout->addWidget(buttons);
    load(settings);
}

TAnalyse::~TAnalyse() = default;

void TAnalyse::load(const AnalysisSettings& settings) {
    AnalysisSettings s = settings;
    m_kursIndex->setCurrentText(s.KursIndex);
    for (const Binding& b : m_bindings) {
        if (b.check) b.check->setChecked(*b.row->flag(s));
        if (b.spin) b.spin->setValue(*b.row->integer(s));
        if (b.decimal) b.decimal->setValue(*b.row->decimal(s));
    }
}

AnalysisSettings TAnalyse::settings() const {
    AnalysisSettings s = m_base;
    s.KursIndex = m_kursIndex->currentText().trimmed();
    for (const Binding& b : m_bindings) {
        if (b.check) *b.row->flag(s) = b.check->isChecked();
        if (b.spin) *b.row->integer(s) = b.spin->value();
        if (b.decimal) *b.row->decimal(s) = b.decimal->value();
    }
    return s;
}

void TAnalyse::preset(AnalysisPreset p) {
    AnalysisSettings s = settings();
    applyPreset(s, p);
    load(s);
}

}  // namespace q::ui
