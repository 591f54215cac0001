#include "ui/acquisition/videotext_commands.h"

#include "acquisition/daily_route.h"
#include "acquisition/page_config.h"
#include "acquisition/page_route.h"
#include "acquisition/page_sources.h"
#include "acquisition/stations.h"
#include "app/acquisition_binding.h"
#include "base/text_files.h"
#include "overview/security_master.h"
#include "store/firma_hooks.h"
#include "ui/acquisition/prot_kurs.h"
#include "ui/acquisition/sender_na.h"
#include "ui/acquisition/window_hooks.h"
#include "ui/acquisition/seitenwahl.h"
#include "ui/main_window.h"
#include "ui/portfolio/portfolio_commands.h"
#include "ui/status_progress.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>

namespace q::ui {

namespace {

QString programPath() { return QCoreApplication::applicationFilePath(); }

}  // namespace

VideotextCommands::VideotextCommands(TAktienkurse& window) : QObject(&window), m_window(window) {
    m_protocol = new TProtKurs(&window);
    m_einlesen = new QAction(QStringLiteral("&VideoText einlesen"), &window);
    m_einlesen->setToolTip(QStringLiteral("Liest die Tageskurse aus der Videotext-Kursdatei"));
    m_tagesSeiten = new QAction(QStringLiteral("&Tages-Script-Kursauswahl"), &window);
    m_intradaySeiten = new QAction(QStringLiteral("&Intraday-Script-Kursauswahl"), &window);
    m_senderNamen = new QAction(QStringLiteral("&TV-Sender ändern"), &window);
    connect(m_einlesen, &QAction::triggered, this, &VideotextCommands::VTeinlesen1Click);
    connect(m_tagesSeiten, &QAction::triggered, this, &VideotextCommands::Kurseeinlesen1Click);
    connect(m_intradaySeiten, &QAction::triggered, this, &VideotextCommands::DDESeiten1Click);
    connect(m_senderNamen, &QAction::triggered, this, &VideotextCommands::Sendernamen1Click);
    connect(m_protocol, &TProtKurs::aufnehmen, this, &VideotextCommands::Aufnehmen);
    connect(m_protocol, &TProtKurs::splitten, this, &VideotextCommands::Splitten);
}

ReadReport VideotextCommands::VTeinlesen1Click() {
    Session& s = m_window.session();
    const ReadingSettings settings = readingSettings(s, programPath());
    WindowHooks hooks(m_window);
    ReadReport report;
    {
        WaitCursor wait;
        if (settings.multiDec2) {
            // The daily pages page by page, with the day's prices.
            QStringList names;
            if (auto pages = readPages(s.store, kIntradayPages))
                for (const PageEntry& p : *pages) names << p.Seitename;
            auto source = openPageSource(settings, QString(), names, m_window.interaction(), m_window.progress());
            if (source)
                report = Kurseladen(s.store, settings, **source, {kDailyPages, true, false, false}, m_window.interaction(), hooks,
                                    m_window.progress());
            else
                report.status = source.status();
        } else {
            report = VTeinlesen(s.store, settings, m_window.interaction(), hooks, m_window.progress());
        }
        m_window.progressDone();
    }
    finish(report);
    return report;
}

void VideotextCommands::finish(const ReadReport& report) {
    const ReadCounts& n = report.counts;
    if (report.status) {
        m_window.showStatus(QStringLiteral("Gebucht: %1, neue Wertpapiere: %2, nicht zugeordnet: %3, unplausibel: %4")
                                .arg(n.booked)
                                .arg(n.newSecurities)
                                .arg(n.unmatched)
                                .arg(n.implausible));
    } else if (report.status.category() == Category::Cancelled) {
        m_window.showStatus(report.status.message());
    } else {
        m_window.interaction().tell(report.status.message());
    }
    for (const QString& note : report.notes) m_window.showStatus(note);
    if (!report.protocol.empty()) {
        m_protocol->setLists(report.protocol);
        m_protocol->show();
        m_protocol->raise();
    }
    m_window.reopenViews();
}

ReadReport VideotextCommands::readAgain(const std::vector<ProtocolEntry>& entries, bool alle) {
    if (entries.empty()) {
        m_window.showStatus(QStringLiteral("Keine Zeile markiert"));
        return {};
    }
    Session& s = m_window.session();
    ReadingSettings settings = readingSettings(s, programPath());
    // For this one run: new securities as chosen, each shown in the editor, the file.
    settings.alle = alle;
    settings.bestaetigen = true;
    settings.multiDec2 = false;
    ReadReport report;
    // A daily price file that was not read through holds prices still to book;
    // writing the chosen quotes over it would lose them.
    if (QFileInfo::exists(settings.vtDatei)) {
        report.status = Status::busy(QStringLiteral("Die Datei %1 ist noch nicht ganz eingelesen. Lesen Sie sie zuerst mit "
                                                     "\"VideoText einlesen\" ein.")
                                         .arg(settings.vtDatei));
    } else if (Status written = writeTextLines(settings.vtDatei, dailyLinesOf(entries)); !written) {
        report.status = written;
    } else {
        WindowHooks hooks(m_window);
        WaitCursor wait;
        report = bookDailyFile(s.store, settings.vtDatei, settings, hooks, m_window.progress());
        m_window.progressDone();
    }
    finish(report);
    if (report.protocol.empty()) m_protocol->setLists(report.protocol);
    return report;
}

ReadReport VideotextCommands::Aufnehmen(const std::vector<ProtocolEntry>& entries) {
    Session& s = m_window.session();
    Interaction& ui = m_window.interaction();
    // A name whose security exists under that name only lacks its match text on the
    // station: taking it up again would make a second security of the same name.
    const QString column = dailyStationColumn(readingSettings(s, programPath()).kursSender);
    std::vector<ProtocolEntry> again;
    bool refused = false;
    for (const ProtocolEntry& e : entries) {
        auto found = findSecurityByName(s.store, e.name);
        if (!found) {
            ui.tell(found.status().message());
            return {};
        }
        if (!found->has_value()) {
            again.push_back(e);
            continue;
        }
        const QString text = QStringLiteral("Das Wertpapier \"%1\" gibt es schon; es wird nicht noch einmal aufgenommen. Auf dem "
                                            "Sender wird es unter diesem Namen nicht gefunden, weil seine Spalte %2 etwas anderes "
                                            "enthält.\n\nSoll \"%1\" in die Spalte %2 eingetragen werden, damit das Einlesen den Kurs "
                                            "diesem Wertpapier zuordnet?")
                                 .arg(e.name, column);
        if (ui.ask(QStringLiteral("Wertpapier vorhanden"), text) != Answer::Yes) {
            refused = true;
            continue;
        }
        if (Status written = setStationName(s.store, **found, column, e.name); !written) {
            ui.tell(written.message());
            refused = true;
            continue;
        }
        again.push_back(e);
    }
    if (again.empty()) {
        if (refused) m_window.showStatus(QStringLiteral("Nichts aufgenommen: die Wertpapiere gibt es schon"));
        return {};
    }
    return readAgain(again, true);
}
ReadReport VideotextCommands::Splitten(const std::vector<ProtocolEntry>& entries) { return readAgain(entries, false); }

int VideotextCommands::pageDialog(int kind) {
    TSeitenwahl dialog(kind == 0 ? PageDialog::Daily : PageDialog::Intraday, m_window.session(), m_window.interaction(), programPath(), &m_window);
    if (!dialog.prepare()) return 0;
    return dialog.exec();
}

int VideotextCommands::Kurseeinlesen1Click() { return pageDialog(0); }
int VideotextCommands::DDESeiten1Click() { return pageDialog(1); }

int VideotextCommands::Sendernamen1Click() {
    TSenderNa dialog(m_window.session(), m_window.interaction(), &m_window);
    return dialog.exec();
}

}  // namespace q::ui
