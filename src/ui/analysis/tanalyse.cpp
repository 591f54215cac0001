#include "ui/analysis/tanalyse.h"

#include "app/analysis_binding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <map>

namespace q::ui {

namespace {

// File and Folder: a text with a "…" button that asks for a file or a directory.
enum class Kind { Switch, Integer, Decimal, Text, File, Folder };

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

// One control of the reading and backup pages: the setting it edits by name.
struct OptionRow {
    const char* top;
    const char* page;  // nullptr: the top page itself
    const char* caption;
    const char* name;
    Kind kind;
    int min = 0;
    int max = 0;
};

const std::vector<OptionRow>& optionRows() {
    static const char* const kReading = "Einlese-Optionen";
    static const std::vector<OptionRow> list = {
        {kReading, "Allgemein", "Größter erlaubter Kursverlust in %", "MinusProzent", Kind::Decimal, -100, 0},
        {kReading, "Allgemein", "Größter erlaubter Kursanstieg in %", "PlusProzent", Kind::Decimal, 0, 10000},
        {kReading, "Allgemein", "Unbekannte Wertpapiere beim Einlesen aufnehmen", "Alle", Kind::Switch},
        {kReading, "Allgemein", "Neue Wertpapiere bestätigen", "bestaetigen", Kind::Switch},
        {kReading, "Allgemein", "Startkurs für neue Depotwerte eintragen", "StartKursEintragen", Kind::Switch},
        {kReading, "Allgemein", "Kurssprünge automatisch als Split behandeln", "AutoSplit", Kind::Switch},
        {kReading, "Allgemein", "Als Intraday-Startkurs den Vortages Kurs aus Datenbank", "IntradayVortageskurs", Kind::Switch},
        {kReading, "Allgemein", "Datei der Tageskurse:", "VTDatei", Kind::File},
        {kReading, "ProgDVB und Co", "Empfang mit MultiDec, ProgDVB oder DVBViewer", "MultiDec", Kind::Switch},
        {kReading, "ProgDVB und Co", "Empfangsprogramm:", "MultiDecPath", Kind::File},
        {kReading, "ProgDVB und Co", "Tageskurse seitenweise einlesen", "MultiDec2", Kind::Switch},
        {kReading, "ProgDVB und Co", "Seiten über DDE holen", "VIADDE", Kind::Switch},
        {kReading, "ProgDVB und Co", "DDE-Server:", "DDESERVER", Kind::Text},
        {kReading, "ProgDVB und Co", "DDE-Topic:", "DDETopic", Kind::Text},
        {kReading, "ProgDVB und Co", "DDE-Item:", "DDEItem", Kind::Text},
        {kReading, "ProgDVB und Co", "DVB-Quelle (Datei, DVR-Gerät oder -):", "DVBQuelle", Kind::Text},
        {kReading, "ProgDVB und Co", "Lesedauer in Sekunden:", "DVBSekunden", Kind::Integer, 1, 3600},
        {kReading, "ProgDVB und Co", "Videotext-PID (0 = aus dem Datenstrom):", "DVBPID", Kind::Integer, 0, 8191},
        {kReading, "VTPlus32 - WinTV", "VTPlus-Programm:", "VTPath", Kind::File},
        {kReading, "VTPlus32 - WinTV", "Script für die Tageskurse:", "SCRIPT", Kind::File},
        {kReading, "VTPlus32 - WinTV", "Script für die Intraday-Kurse:", "DDESCRIPT", Kind::File},
        {kReading, "VTPlus32 - WinTV", "TV-Programm:", "WinTVAufruf", Kind::File},
        {kReading, "VTPlus32 - WinTV", "TV-Programm vor VTPlus starten", "WinTVAktiv", Kind::Switch},
        {"Sicherung", nullptr, "Arbeitsverzeichnis (ab dem nächsten Start):", "TempPath", Kind::Folder},
        {"Sicherung", nullptr, "Sicherungsverzeichnis:", "SicherPath", Kind::Folder},
        {"Sicherung", nullptr, "Intraday-Verzeichnis:", "IntraPath", Kind::Folder},
        {"Sicherung", nullptr, "Automatisch sichern", "AutoSpeichern", Kind::Switch},
        {"Sicherung", nullptr, "Sicherung bei jedem x-ten Start:", "SicherInterval", Kind::Integer, 1, 1000},
        {"Sicherung", nullptr, "Aufbewahrte Sicherungen:", "SicherGenerationen", Kind::Integer, 0, 100},
    };
    return list;
}

}  // namespace

struct TAnalyse::OptionBinding {
    const OptionRow* row;
    QCheckBox* check = nullptr;
    QSpinBox* spin = nullptr;
    QDoubleSpinBox* decimal = nullptr;
    QLineEdit* text = nullptr;
};

struct TAnalyse::Binding {
    const Row* row;
    QCheckBox* check = nullptr;
    QSpinBox* spin = nullptr;
    QDoubleSpinBox* decimal = nullptr;
};

TAnalyse::TAnalyse(const Einstellungen& values, const QStringList& securityNames, QWidget* parent, Interaction* ui)
    : QDialog(parent), m_values(values), m_base(analysisSettings(values)), m_ui(ui) {
    const AnalysisSettings settings = m_base;
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
        case Kind::Text:  // the analysis pages have no text rows
        case Kind::File:
        case Kind::Folder:
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
    buildOptionPages(top);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(top, 1);
    layout->addWidget(buttons);
    load(settings);
}

TAnalyse::~TAnalyse() = default;

void TAnalyse::buildOptionPages(QTabWidget* top) {
    std::map<QString, QTabWidget*> subPages;
    std::map<QString, QFormLayout*> forms;
    for (const OptionRow& row : optionRows()) {
        const QString topName = QString::fromUtf8(row.top);
        const QString key = topName + QLatin1Char('/') + QString::fromUtf8(row.page ? row.page : "");
        if (!forms.count(key)) {
            QWidget* page = nullptr;
            if (row.page) {
                if (!subPages.count(topName)) {
                    subPages[topName] = new QTabWidget(top);
                    top->addTab(subPages[topName], topName);
                }
                page = new QWidget(subPages[topName]);
                subPages[topName]->addTab(page, QString::fromUtf8(row.page));
            } else {
                page = new QWidget(top);
                top->addTab(page, topName);
            }
            forms[key] = new QFormLayout(page);
        }
        QFormLayout* form = forms[key];
        QWidget* parent = form->parentWidget();
        const QString caption = QString::fromUtf8(row.caption);
        const QString name = QString::fromLatin1(row.name);
        OptionBinding b{&row};
        switch (row.kind) {
        case Kind::Switch:
            b.check = new QCheckBox(caption, parent);
            b.check->setChecked(m_values.truth(name));
            form->addRow(b.check);
            break;
        case Kind::Integer:
            b.spin = new QSpinBox(parent);
            b.spin->setRange(row.min, row.max);
            b.spin->setValue(m_values.integer(name));
            form->addRow(caption, b.spin);
            break;
        case Kind::Decimal:
            b.decimal = new QDoubleSpinBox(parent);
            b.decimal->setRange(row.min, row.max);
            b.decimal->setDecimals(1);
            b.decimal->setValue(m_values.number(name));
            form->addRow(caption, b.decimal);
            break;
        case Kind::Text:
            b.text = new QLineEdit(m_values.text(name), parent);
            form->addRow(caption, b.text);
            break;
        case Kind::File:
        case Kind::Folder: {
            b.text = new QLineEdit(m_values.text(name), parent);
            auto* browse = new QToolButton(parent);
            browse->setText(QStringLiteral("…"));
            browse->setObjectName(name + QStringLiteral("Browse"));
            browse->setToolTip(row.kind == Kind::File ? QStringLiteral("Datei auswählen") : QStringLiteral("Verzeichnis auswählen"));
            QLineEdit* edit = b.text;
            const bool folder = row.kind == Kind::Folder;
            connect(browse, &QToolButton::clicked, this, [this, edit, caption, folder] {
                if (!m_ui) return;
                const QString title = caption.endsWith(QLatin1Char(':')) ? caption.chopped(1) : caption;
                const std::optional<QString> chosen =
                    folder ? m_ui->chooseDirectory(title, edit->text()) : m_ui->chooseFile(title, QStringLiteral("Alle Dateien|*"), edit->text());
                if (chosen && !chosen->isEmpty()) edit->setText(QDir::toNativeSeparators(*chosen));
            });
            auto* line = new QHBoxLayout;
            line->addWidget(b.text, 1);
            line->addWidget(browse);
            form->addRow(caption, line);
            break;
        }
        }
        for (QWidget* w : {static_cast<QWidget*>(b.check), static_cast<QWidget*>(b.spin), static_cast<QWidget*>(b.decimal),
                           static_cast<QWidget*>(b.text)})
            if (w) w->setObjectName(name);
        m_options.push_back(b);
    }
}

Einstellungen TAnalyse::edited() const {
    Einstellungen v = m_values;
    setAnalysisSettings(v, settings());
    for (const OptionBinding& b : m_options) {
        const QString name = QString::fromLatin1(b.row->name);
        if (b.check) v.set(name, SettingValue::truth(b.check->isChecked()));
        if (b.spin) v.set(name, SettingValue::integer(b.spin->value()));
        if (b.decimal) v.set(name, SettingValue::number(b.decimal->value()));
        if (b.text) v.set(name, SettingValue::text(b.text->text().trimmed()));
    }
    return v;
}

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
