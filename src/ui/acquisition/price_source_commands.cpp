#include "ui/acquisition/price_source_commands.h"

#include "acquisition/internet_source.h"
#include "acquisition/text_import.h"
#include "app/acquisition_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "exchange/exchange_file.h"
#include "exchange/history_import.h"
#include "overview/list_selection.h"
#include "store/list_tables.h"
#include "ui/acquisition/eingabe_kurs.h"
#include "ui/acquisition/intraday_page.h"
#include "ui/acquisition/videotext_commands.h"
#include "ui/acquisition/window_hooks.h"
#include "ui/dialogs/datumwahl.h"
#include "ui/dialogs/wexportcsv.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui/status_progress.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QInputDialog>

namespace q::ui {

namespace {

const QString kPriceTextFilter = QStringLiteral("Kurs-Text-Datei|*.TXT;*.txt");

ReadingSettings settingsOf(TAktienkurse& window) {
    return readingSettings(window.session(), QCoreApplication::applicationFilePath());
}

}  // namespace

PriceSourceCommands::PriceSourceCommands(TAktienkurse& window) : QObject(&window), m_window(window) {
    auto action = [&](const char* caption, const char* shortcut, const char* tip) {
        auto* a = new QAction(QString::fromUtf8(caption), &window);
        if (shortcut) a->setShortcut(QKeySequence(QLatin1String(shortcut)));
        a->setToolTip(QString::fromUtf8(tip));
        return a;
    };
    m_textdatei = action("&Textdatei einlesen", "F9", "Kurse aus einer Textdatei: Name, Kurs, Datum, Volumen");
    m_wknDatei = action("Textdatei mit WKN|Name|Kurs", nullptr, "Kurse aus einer Textdatei: Name, WKN, Kurs, Datum, Volumen");
    m_infobeat = action("&Datei von Infobeat(r) einlesen", nullptr, "Kurse aus einer Datei des Kursdienstes: WKN, Kurs, Datum");
    m_eingeben = action("&Eingeben", nullptr, "Kurse von Hand eingeben");
    m_internet = action("&Internet-Kurse einlesen", "F8", "Kurse der Gruppe aus dem Internet laden");
    m_neuerMarkt = action("&Neuer Markt Tagesdatei", nullptr, "Kurse aus der Tagesdatei der Börse");
    m_importWertpapiere = action("Import &Wertpapiere ", nullptr, "Kurshistorie des gewählten Wertpapiers importieren");
    connect(m_textdatei, &QAction::triggered, this, &PriceSourceCommands::WochenArchiv1Click);
    connect(m_wknDatei, &QAction::triggered, this, &PriceSourceCommands::KursemitwknClick);
    connect(m_infobeat, &QAction::triggered, this, &PriceSourceCommands::Einlesen1Click);
    connect(m_eingeben, &QAction::triggered, this, &PriceSourceCommands::Eingabe1Click);
    connect(m_internet, &QAction::triggered, this, &PriceSourceCommands::InternetKurse1Click);
    connect(m_neuerMarkt, &QAction::triggered, this, &PriceSourceCommands::NeuerMarkt1Click);
    connect(m_importWertpapiere, &QAction::triggered, this, &PriceSourceCommands::ImportWertpapiere1Click);
}

QString PriceSourceCommands::chooseFile(const QString& filter) {
    return m_window.interaction().chooseFile(QStringLiteral("Kurs-Text-Datei"), filter, m_window.session().dirs.install).value_or(QString());
}

ReadReport PriceSourceCommands::textFile(int layout) {
    const QString file = chooseFile(kPriceTextFilter);
    if (file.isEmpty()) return {};
    const ReadingSettings settings = settingsOf(m_window);
    WindowHooks hooks(m_window);
    ReadReport report;
    {
        WaitCursor wait;
        report = layout == 2 ? importInfobeat(m_window.session().store, file, settings, hooks, m_window.progress())
                             : importPriceText(m_window.session().store, file, layout == 1 ? TextLayout::Identifiers : TextLayout::Names,
                                               settings, hooks, m_window.progress());
        m_window.progressDone();
    }
    m_window.menu().videotext().finish(report);
    if (layout != 2) {
        auto deleted = offerTextFileDeletion(report, m_window.interaction());
        if (!deleted) m_window.interaction().tell(deleted.status().message());
    }
    return report;
}

ReadReport PriceSourceCommands::WochenArchiv1Click() { return textFile(0); }
ReadReport PriceSourceCommands::KursemitwknClick() { return textFile(1); }
ReadReport PriceSourceCommands::Einlesen1Click() { return textFile(2); }

ReadReport PriceSourceCommands::NeuerMarkt1Click() {
    const QString file = chooseFile(kPriceTextFilter);
    if (file.isEmpty()) return {};
    WindowHooks hooks(m_window);
    ReadReport report;
    {
        WaitCursor wait;
        report = importExchangeFile(m_window.session().store, file, settingsOf(m_window), hooks, m_window.progress());
        m_window.progressDone();
    }
    m_window.menu().videotext().finish(report);
    return report;
}

ReadReport PriceSourceCommands::InternetKurse1Click() {
    const QString name = m_window.listSelector()->currentText();
    const QString question = QStringLiteral("Sollen die Kurse jetzt über Internet eingelesen werden? Zum Einstellen und Testen dieser Funktion "
                                            "verwenden Sie \"Extras=>Infos und Kurse aus dem Internet\". Eingelesen wird die Gruppe \"") +
                             name + QStringLiteral("\".");
    if (m_window.interaction().ask(QStringLiteral("Internet Kurs-Aktualisierung aus kostenlosen Quellen"), question) != Answer::Yes) return {};
    ReadReport report;
    auto firmen = internetSelection(QString());
    if (!firmen) {
        report.status = firmen.status();
        m_window.menu().videotext().finish(report);
        return report;
    }
    return runInternet(*firmen);
}

ReadReport PriceSourceCommands::internetJob(const QString& list) {
    auto firmen = internetSelection(list.isEmpty() ? std::optional<QString>() : std::optional<QString>(list));
    if (!firmen) {
        ReadReport report;
        report.status = firmen.status();
        m_window.menu().videotext().finish(report);
        return report;
    }
    return runInternet(*firmen);
}

Result<std::vector<int>> PriceSourceCommands::internetSelection(const std::optional<QString>& list) {
    Session& s = m_window.session();
    ListSelection selection;
    QString name;
    if (!list) {
        // The job without a list reads every security.
        auto all = resolveListNumbers(s.store, selection);
        return all;
    }
    if (list->isEmpty()) {
        selection = m_window.currentSelection();
        name = m_window.listSelector()->currentText();
    } else {
        auto choice = findListChoice(s.store, s.watchNames, *list);
        if (!choice) return choice.status();
        selection.list = *choice;
        name = choice->text;
    }
    auto firmen = resolveListNumbers(s.store, selection);
    if (!firmen) return firmen.status();
    // An empty list reads nothing: the run would otherwise take every security.
    if (firmen->empty()) return Status::notFound(QStringLiteral("Die Liste \"%1\" enthält keine Wertpapiere").arg(name));
    return firmen;
}

ReadReport PriceSourceCommands::runInternet(const std::vector<int>& firmen) {
    Session& s = m_window.session();
    IntradayPage* intraday = m_window.intradayPage();
    const bool wasPolling = intraday && intraday->polling();
    if (wasPolling) intraday->Stop();
    ReadReport report;
    {
        WaitCursor wait;
        auto securities = internetSecurities(s.store, firmen, QString(), false);
        if (!securities) {
            report.status = securities.status();
        } else {
            WindowHooks hooks(m_window);
            report = internetRun(s.store, *securities, settingsOf(m_window), internetSettings(s), InternetRunOptions{}, hooks, m_window.progress()).read;
        }
        m_window.progressDone();
    }
    m_window.menu().videotext().finish(report);
    if (wasPolling) intraday->Start();
    return report;
}

int PriceSourceCommands::Eingabe1Click() {
    TEingabeKurs form(m_window.session(), m_window.interaction(), m_window.currentFirma(), &m_window);
    const int result = form.exec();
    m_window.reopenViews();
    return result;
}

void PriceSourceCommands::ImportWertpapiere1Click() {
    const int firma = m_window.currentFirma();
    if (firma <= 0) {
        m_window.interaction().tell(QStringLiteral("Bitte wählen Sie zuerst ein Wertpapier aus."));
        return;
    }
    TDatumwahl from(&m_window);
    from.setWindowText(QStringLiteral("Mit welchem Datum soll der Import Starten?"));
    from.setDatum(dayNumber(today()));
    if (from.exec() != 1) return;
    const QString file = chooseFile(QStringLiteral("Kurstabellen und -dateien|*.db;*.dbf;*.csv;*.txt"));
    if (file.isEmpty()) return;
    HistoryOptions options;
    options.from = dateFromDayNumber(from.datum());
    if (historyFormatOf(file) == HistoryFormat::Text) {
        bool ok = false;
        const QStringList choices = {QStringLiteral("Semikolon"), QStringLiteral("Tabstop"), QStringLiteral("Komma")};
        const QString sep = QInputDialog::getItem(&m_window, QStringLiteral("Wählen Sie das Trennzeichen"), QStringLiteral("Trennzeichen:"), choices, 0, false, &ok);
        if (!ok) return;
        options.separator = sep == choices[1] ? QLatin1Char('\t') : sep == choices[2] ? QLatin1Char(',') : QLatin1Char(';');
    }
    if (historyFormatOf(file) == HistoryFormat::WebExport) {
        // The user checks the columns the program found in the header; the import
        // that follows writes the ".bak" copy.
        HistoryOptions look = options;
        look.backup = false;
        auto found = readHistory(file, look);
        if (found && !found->header.isEmpty()) {
            TWExportcsv columns(found->header, found->columns, &m_window);
            if (columns.exec() != QDialog::Accepted) return;
            options.columns = columns.columns();
        }
    }
    const Result<HistoryReport> report = [&] {
        WaitCursor wait;
        auto r = importHistory(m_window.session().store, firma, file, options, m_window.progress());
        m_window.progressDone();
        return r;
    }();
    if (!report) {
        m_window.interaction().tell(report.status().message());
        return;
    }
    m_window.showStatus(QStringLiteral("Gebucht: %1, Volumen: %2, schon vorhanden: %3, übersprungen: %4")
                            .arg(report->booked)
                            .arg(report->volumes)
                            .arg(report->already)
                            .arg(report->skipped));
    m_window.reopenViews();
}

}  // namespace q::ui
