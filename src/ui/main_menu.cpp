#include "ui/main_menu.h"

#include "ui/acquisition/price_source_commands.h"
#include "ui/acquisition/sample_update_command.h"
#include "ui/acquisition/videotext_commands.h"
#include "ui/analysis/analysis_commands.h"
#include "ui/commands/backup_commands.h"
#include "ui/commands/data_directory_command.h"
#include "ui/commands/database_command.h"
#include "ui/commands/legacy_import_command.h"
#include "ui/commands/security_commands.h"
#include "ui/commands/list_commands.h"
#include "ui/commands/print_commands.h"
#include "ui/commands/unavailable.h"
#include "ui/commands/view_commands.h"
#include "ui/exchange/exchange_commands.h"
#include "ui/main_window.h"
#include "ui/overview/securities_list_page.h"
#include "ui/portfolio/depot_commands.h"
#include "ui/portfolio/limits_panel.h"
#include "ui/portfolio/portfolio_commands.h"
#include "ui/portfolio/sold_page.h"
#include "ui/tool_bar_bands.h"

#include <QMenuBar>
#include <QToolBar>

namespace q::ui {

MainMenu::MainMenu(TAktienkurse& window)
    : m_window(window),
      m_backup(new BackupCommands(window)),
      m_dataDirectory(new DataDirectoryCommand(window)),
      m_database(new DatabaseCommand(window)),
      m_view(new ViewCommands(window)),
      m_securities(new SecurityCommands(window)),
      m_legacyImport(new LegacyImportCommand(window)),
      m_exchange(new ExchangeCommands(window)),
      m_limits(new LimitCommands(window)),
      m_depots(new DepotCommands(window)),
      m_videotext(new VideotextCommands(window)),
      m_sources(new PriceSourceCommands(window)),
      m_sampleUpdate(new SampleUpdateCommand(window, *m_videotext)),
      m_lists(new ListCommands(window)),
      m_printing(new PrintCommands(window)) {
    buildMenus();
    buildToolBars();
}

MainMenu::~MainMenu() = default;

QMenu* MainMenu::menu(const QString& title) {
    QMenu* m = m_window.menuBar()->addMenu(title);
    // Disabled entries explain themselves by their tool tip.
    m->setToolTipsVisible(true);
    m_menus << m;
    return m;
}

QAction* MainMenu::unavailable(QMenu* menu, const QString& caption, const char* shortcut) {
    QAction* a = unavailableAction(&m_window, caption, shortcut ? QKeySequence(QLatin1String(shortcut)) : QKeySequence());
    menu->addAction(a);
    return a;
}

void MainMenu::buildMenus() {
    QMenu* datei = menu(QStringLiteral("&Datei"));
    datei->addAction(m_dataDirectory->action());
    datei->addAction(m_database->action());
    datei->addSeparator();
    datei->addAction(m_backup->sichern());
    datei->addAction(m_backup->wiederherstellen());
    datei->addAction(m_backup->automatisch());
    datei->addSeparator();
    unavailable(datei, QStringLiteral("Datenbank Überprüfung und &Bereinigung"));
    datei->addSeparator();
    datei->addAction(m_printing->kursdiagramm());
    datei->addAction(m_printing->kursblatt());
    datei->addSeparator();
    QAction* beenden = datei->addAction(QStringLiteral("&Beenden"));
    QObject::connect(beenden, &QAction::triggered, &m_window, &TAktienkurse::Ende1Click);

    QMenu* kurse = menu(QStringLiteral("&Neue Kurse"));
    kurse->addAction(m_videotext->einlesen());
    kurse->addAction(m_sources->textdatei());
    kurse->addAction(m_sources->wknDatei());
    kurse->addAction(m_sources->infobeat());
    kurse->addAction(m_sources->eingeben());
    kurse->addSeparator();
    kurse->addAction(m_sources->internet());
    kurse->addAction(m_sampleUpdate->action());
    kurse->addAction(m_sources->neuerMarkt());
    kurse->addAction(m_sources->importWertpapiere());

    QMenu* papiere = menu(QStringLiteral("&Wertpapiere"));
    papiere->addAction(m_securities->anlegen());
    papiere->addAction(m_securities->bearbeiten());
    papiere->addAction(m_lists->loeschen());
    papiere->addAction(m_securities->auswaehlen());
    papiere->addAction(m_lists->favorit());
    papiere->addSeparator();
    for (int k = 1; k <= 4; ++k) {
        QMenu* list = papiere->addMenu(QStringLiteral("%1.Beobachtungsliste").arg(k));
        list->setToolTipsVisible(true);
        list->addAction(m_lists->zuordnen(k));
        list->addAction(m_lists->alleZuordnen(k));
        list->addAction(m_lists->leeren(k));
        m_watchMenus << list;
    }
    papiere->addAction(m_lists->namen());
    papiere->addSeparator();
    papiere->addAction(m_lists->gruppen());
    papiere->addAction(m_lists->branchen());
    papiere->addAction(m_lists->merkmale());
    papiere->addSeparator();
    unavailable(papiere, QStringLiteral("&Fundamentaldaten des akt.Wertpapiers"));
    unavailable(papiere, QStringLiteral("Update  &Fundamentaldaten"));
    unavailable(papiere, QStringLiteral("Wertpapier und &Branchen Update"));

    QMenu* depot = menu(QStringLiteral("De&pot"));
    PortfolioCommands& portfolio = m_window.portfolio();
    depot->addAction(portfolio.anlagen());
    depot->addAction(portfolio.buchungen());
    depot->addAction(m_limits->limits());
    QAction* rendite = depot->addAction(QStringLiteral("&Renditeanalyse"));
    rendite->setToolTip(QStringLiteral("Renditeanalyse für die gesamte Depotentwicklung"));
    QObject::connect(rendite, &QAction::triggered, &m_window, [this] { m_window.soldPage()->Rendite(std::nullopt); });
    depot->addAction(portfolio.aktiensplit());
    depot->addAction(portfolio.bargeld());
    depot->addSeparator();
    depot->addActions(m_depots->actions());
    depot->addSeparator();
    depot->addAction(portfolio.waehrungen());
    unavailable(depot, QStringLiteral("&Euro-Rechner"));

    QMenu* analyse = menu(QStringLiteral("&Analyse"));
    AnalysisCommands& analysis = m_window.analysisCommands();
    analyse->addAction(analysis.analyseParameter());
    analyse->addAction(analysis.intradayAnalyse());
    analyse->addAction(analysis.kursdifferenz());
    analyse->addAction(m_lists->fehlende());

    QMenu* tausch = menu(QStringLiteral("Datenaus&tausch"));
    tausch->addAction(m_exchange->exportEinzelkurs());
    tausch->addAction(m_exchange->importEinzelkurs());
    tausch->addAction(m_exchange->intradayExport());
    tausch->addAction(m_exchange->kurseText());
    tausch->addAction(m_exchange->erweiterteText());
    tausch->addSeparator();
    tausch->addAction(m_window.securitiesPage()->exportAll());
    tausch->addAction(m_window.securitiesPage()->exportSelection());
    tausch->addSeparator();
    tausch->addAction(m_legacyImport->action());

    m_news = menu(QStringLiteral("Na&chrichten"));
    m_news->addActions(m_lists->newsActions());
    // The company reports come from a companion program this system does not have.
    unavailable(m_news, QStringLiteral("&Meldungen ins Quintara einlesen"));
    m_news->addAction(m_lists->newsSite());

    QMenu* extras = menu(QStringLiteral("E&xtras"));
    extras->addAction(m_videotext->tagesSeiten());
    extras->addAction(m_videotext->intradaySeiten());
    extras->addAction(m_videotext->senderNamen());
    unavailable(extras, QStringLiteral("&Videotext-Seiten Update"));
    extras->addSeparator();
    extras->addAction(m_window.portfolio().laender());
    for (const char* caption : {"Einlese-Optionen", "Speicher-Optionen"}) unavailable(extras, QString::fromUtf8(caption));
    extras->addSeparator();
    extras->addAction(m_view->direkthilfe());
    QMenu* sprache = extras->addMenu(QStringLiteral("Sprache"));
    sprache->addActions(m_view->languages());
    extras->addAction(m_view->leisteSpeichern());
    extras->addAction(m_view->leisteLaden());

    QMenu* hilfe = menu(QStringLiteral("&Hilfe"));
    hilfe->addAction(m_securities->info());
}

void MainMenu::buildToolBars() {
    auto band = [this](int bar, int id, const QString& title) {
        auto* t = new QToolBar(title, &m_window);
        t->setObjectName(QStringLiteral("CoolBar%1Band%2").arg(bar).arg(id));
        t->setToolButtonStyle(Qt::ToolButtonTextOnly);
        m_window.addToolBar(Qt::TopToolBarArea, t);
        m_window.toolBarBands().add(bar, id, t);
        return t;
    };
    QToolBar* datenbank = band(1, 0, QStringLiteral("Datenbank"));
    datenbank->addAction(m_dataDirectory->action());
    datenbank->addAction(m_backup->sichern());
    QToolBar* kurse = band(1, 1, QStringLiteral("Kurse"));
    for (const char* caption : {"&VideoText einlesen", "&Internet-Kurse einlesen", "&Beispieldatenbank aktualisieren"})
        kurse->addAction(action(QString::fromUtf8(caption)));
    QToolBar* wertpapiere = band(2, 0, QStringLiteral("Wertpapiere"));
    wertpapiere->addAction(m_securities->anlegen());
    wertpapiere->addAction(m_securities->auswaehlen());
    wertpapiere->addAction(m_securities->info());
    wertpapiere->addAction(m_limits->scan());
    // The caption is red while the scan's tab list is shown.
    if (QWidget* l = wertpapiere->widgetForAction(m_limits->scan()))
        QObject::connect(m_limits->scan(), &QAction::toggled, l,
                         [l](bool on) { l->setStyleSheet(on ? QStringLiteral("color: red") : QString()); });
}

QList<QAction*> MainMenu::actions() const {
    QList<QAction*> all;
    std::function<void(const QMenu*)> walk = [&](const QMenu* m) {
        for (QAction* a : m->actions()) {
            if (a->menu()) walk(a->menu());
            else if (!a->isSeparator()) all << a;
        }
    };
    for (const QMenu* m : m_menus) walk(m);
    return all;
}

QAction* MainMenu::action(const QString& caption) const {
    for (QAction* a : actions())
        if (a->text() == caption) return a;
    return nullptr;
}

void MainMenu::applyValues(const Einstellungen& values) {
    m_backup->applyValues(values);
    m_view->applyValues(values);
    m_window.analysisCommands().applyValues(values);
    m_sampleUpdate->findProgram();
    const QStringList& names = m_window.session().watchNames;
    for (int k = 0; k < m_watchMenus.size(); ++k) {
        // An empty name hides the list's entries.
        const QString name = names.value(k);
        m_watchMenus[k]->setTitle(name);
        m_watchMenus[k]->menuAction()->setVisible(!name.isEmpty());
    }
    m_news->menuAction()->setVisible(m_window.session().newsAvailable);
}

void MainMenu::storeValues(Einstellungen& values) const {
    m_backup->storeValues(values);
    m_view->storeValues(values);
    m_window.analysisCommands().storeValues(values);
}

}  // namespace q::ui
