#include "ui/exchange/exchange_commands.h"

#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "store/firma_hooks.h"
#include "ui/dialogs/datumwahl.h"
#include "ui/exchange/export_optionen.h"
#include "ui/exchange/kurs_export.h"
#include "ui/main_window.h"
#include "ui/status_progress.h"

#include <QAction>
#include <QFileDialog>

namespace q::ui {

namespace {

std::optional<QDate> askDate(QWidget* owner, const QString& question, const QDate& preset) {
    TDatumwahl d(owner);
    d.setWindowText(question);
    d.setDatum(dayNumber(preset));
    if (d.exec() != 1) return std::nullopt;
    return dateFromDayNumber(d.datum());
}

}  // namespace

ExchangeCommands::ExchangeCommands(TAktienkurse& window) : QObject(&window), m_window(window) {
    auto make = [&](const char* caption, void (ExchangeCommands::*slot)()) {
        auto* a = new QAction(QString::fromUtf8(caption), &window);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    m_export = make("&Export Einzelkurs", &ExchangeCommands::Export1Click);
    m_import = make("&Import Einzelkurs", &ExchangeCommands::Export2Click);
    m_intraday = make("Textexport Intraday Open||High|Low|Close", &ExchangeCommands::TextexportIntradayOpenHighLowClose1Click);
    m_text = make("E&xport Kurse -> Text", &ExchangeCommands::Auslagern1Click);
    m_extended = make("Export in erweiterte Textdatei", &ExchangeCommands::AuslagernWKNClick);
}

int ExchangeCommands::decimals() const {
    const Einstellungen& v = m_window.session().values;
    return v.has(QStringLiteral("DezimalStellen")) ? v.integer(QStringLiteral("DezimalStellen")) : 2;
}

void ExchangeCommands::Export1Click() {
    TKursExport w(m_window, TKursExport::Mode::Export);
    w.exec();
}

void ExchangeCommands::Export2Click() {
    TKursExport w(m_window, TKursExport::Mode::Import);
    w.exec();
}

void ExchangeCommands::TextexportIntradayOpenHighLowClose1Click() {
    const int firma = m_window.currentFirma();
    if (firma <= 0) {
        m_window.interaction().tell(QStringLiteral("Bitte wählen Sie zuerst ein Wertpapier aus."));
        return;
    }
    const auto from = askDate(&m_window, QStringLiteral("Anfangsdatum des Kursexports"), today());
    if (!from) return;
    const auto to = askDate(&m_window, QStringLiteral("Enddatum des Kursexports"), today());
    if (!to) return;
    QString kennung;
    if (auto firmen = m_window.session().store.table(QStringLiteral("Firma.db"))) {
        if (auto row = (*firmen)->findKey({firma}); row && row->has_value()) kennung = (*row)->value(QStringLiteral("Kennung")).toString().trimmed();
    }
    const QString file = QFileDialog::getSaveFileName(&m_window, QStringLiteral("Intraday-Export"), m_window.session().dirs.data + kennung + QStringLiteral(".TXT"),
                                                      QStringLiteral("Text Datei (*.TXT *.txt)"));
    if (file.isEmpty()) return;
    TExportOptionen options(&m_window);
    if (options.exec() != QDialog::Accepted) return;
    IntradayExportOptions o;
    o.from = *from;
    o.to = *to;
    o.minutes = options.minutes();
    o.separator = options.separator();
    o.dateFormat = options.dateFormat();
    o.timeFormat = options.timeFormat();
    (void)intradayTo(file, o);
}

Result<IntradayExportReport> ExchangeCommands::intradayTo(const QString& file, IntradayExportOptions options) {
    options.decimals = decimals();
    options.intradayDir = m_window.session().dirs.intraday;
    options.today = today();
    Result<IntradayExportReport> r = [&] {
        WaitCursor wait;
        return exportIntraday(m_window.session().store, m_window.currentFirma(), file, options);
    }();
    if (!r) m_window.interaction().tell(r.status().message(), QStringLiteral("Intraday-Export"));
    else m_window.showStatus(QStringLiteral("%1 Intervalle nach %2 exportiert").arg(r->bars).arg(file));
    return r;
}

void ExchangeCommands::Auslagern1Click() { priceText(false); }
void ExchangeCommands::AuslagernWKNClick() { priceText(true); }

void ExchangeCommands::priceText(bool extended) {
    const auto from = askDate(&m_window, QStringLiteral("Anfangsdatum des Kursexports"), today());
    if (!from) return;
    const auto to = askDate(&m_window, QStringLiteral("Enddatum des Kursexports"), today());
    if (!to) return;
    const QString file = QFileDialog::getSaveFileName(&m_window, QStringLiteral("Kurse exportieren"), m_window.session().dirs.data + priceTextFileName(*from),
                                                      QStringLiteral("Text Datei (*.txt *.TXT)"));
    if (file.isEmpty()) return;
    PriceTextOptions o;
    o.from = *from;
    o.to = *to;
    o.extended = extended;
    (void)priceTextTo(file, o);
}

Result<PriceTextReport> ExchangeCommands::priceTextTo(const QString& file, const PriceTextOptions& options) {
    PriceTextOptions o = options;
    o.decimals = decimals();
    Result<PriceTextReport> r = [&] {
        WaitCursor wait;
        auto report = exportPriceText(m_window.session().store, file, o, m_window.progress());
        m_window.progressDone();
        return report;
    }();
    if (!r) {
        m_window.interaction().tell(r.status().message(), QStringLiteral("Kurse exportieren"));
        return r;
    }
    QString text = QStringLiteral("%1 Kurse von %2 Wertpapieren nach %3 exportiert").arg(r->prices).arg(r->securities).arg(r->file);
    if (r->replaced > 0) text += QStringLiteral(" (%1 Zeichen als \"?\")").arg(r->replaced);
    m_window.showStatus(text);
    return r;
}

}  // namespace q::ui
