#include "ui/exchange/kurs_export.h"

#include "base/clock.h"
#include "base/formats.h"
#include "settings/einstellungen.h"
#include "ui/dialogs/datumwahl.h"
#include "ui/dialogs/wexportcsv.h"
#include "ui/main_window.h"
#include "ui/securities_model.h"
#include "ui/status_progress.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace q::ui {

namespace {

const QStringList kSaveTypes = {QStringLiteral("DBase Dateien (*.DBF *.dbf)"), QStringLiteral("Text Datei (*.TXT *.txt)"),
                                QStringLiteral("CSV-Text Datei (*.CSV *.csv)")};
const QStringList kOpenTypes = {QStringLiteral("DBase Datei (*.DBF *.dbf)"), QStringLiteral("Text Datei (*.TXT *.txt)"),
                                QStringLiteral("CSV Text Datei (*.CSV *.csv)")};

std::optional<QDate> askDate(QWidget* owner, const QString& question, const QDate& preset) {
    TDatumwahl d(owner);
    d.setWindowText(question);
    d.setDatum(dayNumber(preset));
    if (d.exec() != 1) return std::nullopt;
    return dateFromDayNumber(d.datum());
}

}  // namespace

TKursExport::TKursExport(TAktienkurse& window, Mode mode) : QDialog(&window), m_window(window), m_mode(mode), m_firma(window.currentFirma()) {
    const Einstellungen& v = window.session().values;
    const int typ = v.has(QStringLiteral("ExportTyp")) ? v.integer(QStringLiteral("ExportTyp")) : 3;
    m_typ = typ >= 1 && typ <= 3 ? ExportTyp(typ) : ExportTyp::Csv;
    const bool exporting = mode == Mode::Export;
    setWindowTitle(exporting ? QStringLiteral("Kurs - Export nach Text- oder dBase-Datei") : QStringLiteral("Kurs - Import aus Text- und dBase-Datei"));
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("FirmenName"));
    QFont big = m_name->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() * 2);
    m_name->setFont(big);
    auto* text = new QLabel(exporting ? QStringLiteral("erzeugen einer Text- oder DBase Datei mit Datum  und Kurs")
                                      : QStringLiteral("die DBase-Datei muß die Felder Kurs und Datum enthalten"),
                            this);
    auto* previous = new QToolButton(this);
    previous->setArrowType(Qt::LeftArrow);
    previous->setToolTip(QStringLiteral("voriges Wertpapier"));
    auto* next = new QToolButton(this);
    next->setArrowType(Qt::RightArrow);
    next->setToolTip(QStringLiteral("nächstes Wertpapier"));
    connect(previous, &QToolButton::clicked, this, [this] { step(-1); });
    connect(next, &QToolButton::clicked, this, [this] { step(1); });
    m_export = new QPushButton(QStringLiteral("Export"), this);
    m_import = new QPushButton(QStringLiteral("Import"), this);
    m_export->setVisible(exporting);
    m_import->setVisible(!exporting);
    connect(m_export, &QPushButton::clicked, this, &TKursExport::Export);
    connect(m_import, &QPushButton::clicked, this, &TKursExport::Import);
    auto* row = new QHBoxLayout;
    row->addWidget(previous);
    row->addWidget(next);
    row->addStretch(1);
    row->addWidget(m_export);
    row->addWidget(m_import);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_name);
    layout->addWidget(text);
    layout->addLayout(row);
    showSecurity();
}

void TKursExport::showSecurity() {
    m_name->setText(m_firma == m_window.currentFirma() ? m_window.currentFirmenName() : QString());
    m_export->setEnabled(m_firma > 0);
    m_import->setEnabled(m_firma > 0);
}

void TKursExport::step(int by) {
    const SecuritiesModel* list = m_window.securitiesModel();
    const int row = list->rowOf(m_firma) + by;
    if (row < 0 || row >= list->rowCount()) return;
    m_firma = list->firmaAt(row);
    m_window.selectFirma(m_firma);
    showSecurity();
}

std::optional<QChar> TKursExport::askSeparator() {
    bool ok = false;
    const QStringList choices = {QStringLiteral("Semikolon"), QStringLiteral("Tabstop"), QStringLiteral("Komma")};
    const QString sep = QInputDialog::getItem(this, QStringLiteral("Wählen Sie das Trennzeichen"), QStringLiteral("Trennzeichen:"), choices, 0, false, &ok);
    if (!ok) return std::nullopt;
    return sep == choices[1] ? QLatin1Char('\t') : sep == choices[2] ? QLatin1Char(',') : QLatin1Char(';');
}

void TKursExport::Export() {
    auto first = firstPriceDay(m_window.session().store, m_firma);
    const QDate preset = first && first->has_value() ? **first : today();
    const auto from = askDate(this, QStringLiteral("Beginn des Kursexports"), preset);
    if (!from) return;
    const auto to = askDate(this, QStringLiteral("Ende des Kursexports"), today());
    if (!to) return;
    QString filter = kSaveTypes[int(m_typ) - 1];
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Export"), m_window.session().dirs.data, kSaveTypes.join(QStringLiteral(";;")), &filter);
    if (file.isEmpty()) return;
    const ExportTyp typ = ExportTyp(std::max<qsizetype>(0, kSaveTypes.indexOf(filter)) + 1);
    QChar separator = QLatin1Char(';');
    if (typ == ExportTyp::Text) {
        const auto chosen = askSeparator();
        if (!chosen) return;
        separator = *chosen;
    }
    (void)exportTo(file, typ, *from, *to, separator);
}

Result<SecurityExportReport> TKursExport::exportTo(const QString& file, ExportTyp typ, const QDate& from, const QDate& to, QChar separator) {
    m_typ = typ;
    SecurityExportOptions o;
    o.typ = typ;
    o.from = from;
    o.to = to;
    o.separator = separator;
    const Einstellungen& v = m_window.session().values;
    o.decimals = v.has(QStringLiteral("DezimalStellen")) ? v.integer(QStringLiteral("DezimalStellen")) : 2;
    Result<SecurityExportReport> r = [&] {
        WaitCursor wait;
        return exportSecurity(m_window.session().store, m_firma, file, o);
    }();
    if (!r) m_window.interaction().tell(r.status().message(), windowTitle());
    else m_window.showStatus(QStringLiteral("%1 Kurse nach %2 exportiert").arg(r->rows).arg(r->file));
    return r;
}

void TKursExport::Import() {
    auto preset = importStartPreset(m_window.session().store, m_firma);
    // Without a price every row is wanted: the calendar shows the first day it can.
    const QDate shown = preset && preset->isValid() ? *preset : QDate(1899, 12, 31);
    const auto from = askDate(this, QStringLiteral("Mit welchem Datum soll der Import Starten?"), shown);
    if (!from) return;
    QString filter = kOpenTypes[int(m_typ) - 1];
    const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Import"), m_window.session().dirs.data, kOpenTypes.join(QStringLiteral(";;")), &filter);
    if (file.isEmpty()) return;
    SecurityImportOptions o;
    o.from = *from <= QDate(1899, 12, 31) ? QDate() : *from;
    const HistoryFormat format = historyFormatOf(file);
    if (format == HistoryFormat::Text) {
        const auto chosen = askSeparator();
        if (!chosen) return;
        o.separator = *chosen;
    } else if (format == HistoryFormat::WebExport) {
        auto header = csvHeader(file);
        if (!header) {
            m_window.interaction().tell(header.status().message(), windowTitle());
            return;
        }
        TWExportcsv columns(*header, csvColumnsOf(*header, m_columns), this);
        if (columns.exec() != QDialog::Accepted) return;
        m_columns = columns.columns();
        o.columns = m_columns;
    }
    (void)importFrom(file, o);
}

Result<HistoryReport> TKursExport::importFrom(const QString& file, const SecurityImportOptions& options) {
    Result<HistoryReport> r = [&] {
        WaitCursor wait;
        auto report = importSecurity(m_window.session().store, m_firma, file, options, m_window.progress());
        m_window.progressDone();
        return report;
    }();
    m_window.reopenViews();
    if (!r) {
        m_window.interaction().tell(r.status().message(), windowTitle());
        return r;
    }
    m_window.showStatus(QStringLiteral("Gespeichert: %1, Volumen: %2, schon vorhanden: %3, übersprungen: %4")
                            .arg(r->booked)
                            .arg(r->volumes)
                            .arg(r->already)
                            .arg(r->skipped));
    return r;
}

void TKursExport::done(int result) {
    m_window.session().values.set(QStringLiteral("ExportTyp"), SettingValue::integer(int(m_typ)));
    QDialog::done(result);
}

}  // namespace q::ui
