#include "ui/main_window.h"
#include "ui/overview/filter_editor.h"
#include "ui/overview/movers_page.h"
#include "base/clock.h"

#include "app/depot_switch.h"

#include "app/chart_settings.h"
#include "app/intraday_rollover.h"
#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "exchange/price_text_export.h"
#include "ui/acquisition/intraday_charts.h"
#include "ui/acquisition/intraday_page.h"
#include "ui/acquisition/price_source_commands.h"
#include "ui/acquisition/sample_update_command.h"
#include "ui/acquisition/videotext_commands.h"
#include "ui/commands/list_commands.h"
#include "ui/commands/security_commands.h"
#include "ui/commands/view_commands.h"
#include "ui/dialog_interaction.h"
#include "ui/dialogs/intraday_trend.h"
#include "ui/grid_layout.h"
#include "ui/analysis/analysis_commands.h"
#include "ui/analysis/rating_page.h"
#include "ui/main_menu.h"
#include "ui/overview/chart_panels.h"
#include "ui/overview/comparison_page.h"
#include "ui/overview/overview_page.h"
#include "ui/overview/securities_list_page.h"
#include "ui/overview/security_search_bar.h"
#include "ui/page_widgets.h"
#include "ui/portfolio/bookings_page.h"
#include "ui/portfolio/holdings_page.h"
#include "ui/portfolio/sold_page.h"
#include "ui/portfolio/lots_page.h"
#include "ui/portfolio/portfolio_commands.h"
#include "ui/record_model.h"
#include "ui/securities_model.h"
#include "ui/status_progress.h"
#include "ui/tool_bar_bands.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <cstdio>

namespace q::ui {

namespace {

constexpr int kPriceGrid = 1;
constexpr int kVolumeGrid = 3;
// The delayed start leaves the receiver programs time to come up after a log-in.
constexpr int kDelayedStartMs = 10000;

}  // namespace

TAktienkurse::TAktienkurse(const StartOptions& options, const CommandLine& commandLine, Interaction* ui, QWidget* parent)
    : QMainWindow(parent), m_commandLine(commandLine) {
    setObjectName(QStringLiteral("TAktienkurse"));
    setWindowTitle(m_session.caption);
    m_session.unattended = commandLine.unattended;
    m_session.reading = commandLine.reading;
    m_session.exportDate = commandLine.exportDate;
    m_session.exportDir = commandLine.exportDir;
    if (!ui) {
        m_dialogs = std::make_unique<DialogInteraction>(this);
        m_dialogs->setUnattended(commandLine.unattended);
        m_dialogs->setStatusSink([this](const QString& text) { showStatus(text); });
        ui = m_dialogs.get();
    }
    m_ui = ui;

    m_priceModel = new RecordTableModel(this);
    m_volumeModel = new RecordTableModel(this);
    m_securities = new SecuritiesModel(this);
    m_bands = std::make_unique<ToolBarBands>(*this);
    m_portfolio = new PortfolioCommands(*this);
    m_analysis = new AnalysisCommands(*this);
    buildLayout();
    buildStatusBar();
    m_menu = std::make_unique<MainMenu>(*this);
    m_trend = new TIntradayTrend(this);

    {
        WaitCursor wait;
        const Status started = startUp(m_session, options, *m_ui, *m_progress);
        m_progress->finish();
        if (!started) showStatus(started.message());
        // Every restore is reported, also the one the start-up made after its question.
        if (m_session.restored) showStatus(describeRestore(*m_session.restored).join(QStringLiteral("; ")));
        if (!started && m_session.quitRequested) m_exitStatus = 1;
        // A protected depot opens only with its password; without it the run goes on
        // with the data directory's depot.
        if (started && !m_session.unattended)
            if (Status unlocked = unlockDepot(m_session, *m_ui, std::nullopt); !unlocked) {
                showStatus(unlocked.message());
                if (Status other = switchDepot(m_session, m_session.dirs.data, *m_ui, {std::nullopt, true}); !other)
                    showStatus(other.message());
            }
    }
    setWindowTitle(m_session.caption);
    m_panels[2]->setText(m_session.statusNotes.join(QStringLiteral("; ")));
    if (m_session.startupComplete && commandLine.rollover) rollover();
    restoreWindowValues();
    fillSecurities();

    m_delayedStart.setSingleShot(true);
    m_delayedStart.setInterval(kDelayedStartMs);
    connect(&m_delayedStart, &QTimer::timeout, this, &TAktienkurse::runDelayedStart);
}

TAktienkurse::~TAktienkurse() = default;

Progress& TAktienkurse::progress() { return *m_progress; }
void TAktienkurse::progressDone() { m_progress->finish(); }

void TAktienkurse::buildLayout() {
    auto* left = new QWidget(this);
    m_selector = new QComboBox(left);
    m_selector->setObjectName(QStringLiteral("listSelector"));
    m_selector->setToolTip(QStringLiteral("Es werden nur Wertpapiere dieser Gruppe angezeigt"));
    m_filterButton = new QPushButton(QStringLiteral("Filter-Editor"), left);
    m_favourites = new QCheckBox(QStringLiteral("nur Favoriten"), left);
    m_favourites->setToolTip(QStringLiteral("Es werden nur die als Favorit markierten Wertpapiere angezeigt"));
    m_favouriteTabs = new QTabBar(left);
    m_favouriteTabs->setObjectName(QStringLiteral("favouriteTabs"));
    m_favouriteTabs->setShape(QTabBar::RoundedNorth);
    m_favouriteTabs->setUsesScrollButtons(true);
    m_favouriteTabs->setExpanding(false);
    m_favouriteTabs->setDrawBase(false);
    m_list = new QListView(left);
    m_list->setModel(m_securities);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(4, 4, 4, 4);
    leftLayout->addWidget(m_selector);
    leftLayout->addWidget(m_favourites);
    leftLayout->addWidget(m_filterButton);
    leftLayout->addWidget(m_favouriteTabs);
    leftLayout->addWidget(m_list, 1);
    m_search = new SecuritySearchBar(*this, left);
    leftLayout->addWidget(m_search);

    m_pages = new QTabWidget(this);
    m_pages->addTab(buildOverviewPage(), QStringLiteral("&Kursübersicht"));
    m_holdings = new HoldingsPage(*this);
    m_pages->addTab(m_holdings, QStringLiteral("im &Depot"));
    m_sold = new SoldPage(*this);
    m_pages->addTab(m_sold, QStringLiteral("&Verkauft"));
    m_bookings = new BookingsPage(*this);
    m_pages->addTab(m_bookings, QStringLiteral("&Buchungen"));
    m_comparison = new ComparisonPage(*this, m_pages);
    m_pages->addTab(m_comparison, QStringLiteral("&Vergleich"));
    auto* analyse = new QTabWidget(m_pages);
    m_rating = new RatingPage(*this);
    m_analysis->setRatingPage(m_rating);
    analyse->addTab(m_rating, QStringLiteral("Bewertung berechnen"));
    m_movers = new MoversPage(*this, analyse);
    analyse->addTab(m_movers, QStringLiteral("Plus/Minus"));
    m_securitiesPage = new SecuritiesListPage(*this, analyse);
    analyse->addTab(m_securitiesPage, QStringLiteral("Wertpapierliste"));
    m_pages->addTab(analyse, QStringLiteral("&Analyse"));
    m_pages->addTab(buildIntradayPage(), QStringLiteral("&Intraday"));
    m_pages->addTab(placeholder(m_pages, QStringLiteral("Die Nachrichten sind noch nicht verfügbar.")), QStringLiteral("Nachrichten"));
    m_pages->addTab(new QWidget(m_pages), QStringLiteral("Be&enden"));
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == m_pages->count() - 1) Ende1Click();
        if (!m_session.startupComplete) return;
        // First, so that the inner pages of "&Analyse" take the selector as it is there.
        setRatingListsHidden(m_pages->widget(index) == m_rating->parentWidget()->parentWidget());
        if (m_pages->widget(index) == m_holdings) m_holdings->activate();
        if (m_pages->widget(index) == m_sold) m_sold->activate();
        if (m_pages->widget(index) == m_bookings) m_bookings->reload();
        if (m_pages->widget(index) == m_comparison) m_comparison->VergleichsDiagramm();
        if (m_pages->widget(index) == m_intradayCharts->parentWidget()) m_intradayCharts->refresh();
        if (m_pages->widget(index) == m_rating->parentWidget()->parentWidget()) {
            m_rating->activate();
            m_movers->activate();
            m_securitiesPage->activate();
        }
    });

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->addWidget(left);
    m_splitter->addWidget(m_pages);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({220, 800});
    setCentralWidget(m_splitter);

    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        const int firma = m_securities->firmaAt(current.row());
        if (firma == m_firma) return;
        m_firma = firma;
        fillGrids();
        const int tab = [&] {
            for (int i = 0; i < m_favouriteTabs->count(); ++i)
                if (m_favouriteTabs->tabData(i).toInt() == firma) return i;
            return -1;
        }();
        if (tab >= 0) m_favouriteTabs->setCurrentIndex(tab);
    });
    connect(m_favouriteTabs, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0) selectFirma(m_favouriteTabs->tabData(index).toInt());
    });
    connect(m_favourites, &QCheckBox::toggled, this, [this] { fillSecurities(); });
    connect(m_selector, &QComboBox::activated, this, [this] { fillSecurities(); });
    connect(m_filterButton, &QPushButton::clicked, this, [this] {
        TFilterEditor editor(*this, m_filterText);
        if (editor.exec() == QDialog::Accepted) setFilterText(editor.filter());
    });
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QListView::customContextMenuRequested, this, [this](const QPoint& at) {
        ListCommands& lists = m_menu->lists();
        lists.updateContextChecks();
        lists.contextMenu()->popup(m_list->viewport()->mapToGlobal(at));
    });
    connect(m_list, &QListView::doubleClicked, this, [this] { m_menu->securities().WertpapierBearbeiten(); });
}

QWidget* TAktienkurse::buildOverviewPage() {
    m_overview = new OverviewPage(*this, m_priceModel, m_volumeModel);
    m_priceGrid = m_overview->priceGrid();
    m_volumeGrid = m_overview->volumeGrid();
    m_lotsPage = m_overview->lotsPage();
    return m_overview;
}

QWidget* TAktienkurse::buildIntradayPage() {
    auto* page = new QWidget(this);
    m_intraday = new IntradayPage(*this, page);
    auto* values = new QPushButton(QStringLiteral("Intraday-Werte"), page);
    values->setToolTip(QStringLiteral("Intraday-Kurse des gewählten Wertpapiers bearbeiten"));
    auto* statistik = new QPushButton(QStringLiteral("Statistik"), page);
    connect(values, &QPushButton::clicked, this, [this] { m_menu->securities().IntradayWerte(); });
    connect(statistik, &QPushButton::clicked, this, [this] {
        m_trend->show();
        m_trend->raise();
    });
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {values, statistik}) buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_intraday, 1);
    layout->addLayout(buttons);
    m_intradayCharts = new IntradayCharts(*this, page);
    layout->addWidget(m_intradayCharts, 1);
    return page;
}

void TAktienkurse::buildStatusBar() {
    for (QLabel*& panel : m_panels) panel = new QLabel(this);
    m_progressBar = new QProgressBar(this);
    m_progressBar->setMaximumWidth(160);
    m_progressBar->setTextVisible(false);
    m_progressBar->hide();
    statusBar()->addWidget(m_panels[0], 2);
    statusBar()->addWidget(m_progressBar);
    statusBar()->addWidget(m_panels[1], 1);
    statusBar()->addWidget(m_panels[2], 2);
    m_progress = std::make_unique<StatusBarProgress>(m_panels[0], m_progressBar);
}

void TAktienkurse::showStatus(const QString& text) { m_panels[0]->setText(text); }
QString TAktienkurse::statusText(int panel) const { return panel >= 0 && panel < 3 ? m_panels[panel]->text() : QString(); }

QString TAktienkurse::currentFirmenName() const {
    const int row = m_securities->rowOf(m_firma);
    return row >= 0 ? m_securities->rows()[row].FirmenName : QString();
}

bool TAktienkurse::selectFirma(int firma) {
    const int row = m_securities->rowOf(firma);
    if (row < 0) return false;
    m_list->setCurrentIndex(m_securities->index(row));
    return true;
}

void TAktienkurse::fillSecurities() {
    const int keep = m_firma;
    if (m_choices.empty() && m_session.startupComplete) rebuildSelector();
    if (Status loaded = m_securities->load(m_session.store, currentSelection()); !loaded && m_session.startupComplete)
        showStatus(loaded.message());
    rebuildFavouriteTabs();
    m_firma = -1;  // forces the grids to follow the new list
    if (!selectFirma(keep) && !selectFirma(m_securities->firmaAt(0))) {
        m_firma = 0;
        fillGrids();
    }
    m_panels[1]->setText(QStringLiteral("%1 Wertpapiere  %2").arg(m_securities->rowCount()).arg(m_session.dirs.data));
}

bool TAktienkurse::onlyFavourites() const { return m_favourites->isChecked(); }

ListSelection TAktienkurse::currentSelection() const {
    ListSelection s;
    const int i = m_selector->currentIndex();
    if (i >= 0 && i < int(m_choices.size())) s.list = m_choices[size_t(i)];
    s.favouritesOnly = m_favourites->isChecked();
    s.branche = m_branche;
    s.merkmal = m_merkmal;
    s.filter = m_filterText;
    // "akt.Depotwerte" with "nur Favoriten": the securities held today; without it,
    // every security ever booked.
    s.reportDate = s.favouritesOnly ? today() : QDate();
    return s;
}

bool TAktienkurse::rebuildSelector() {
    const QString current = m_selector->currentText();
    m_choices.clear();
    if (auto entries = listSelectorEntries(m_session.store, m_session.watchNames, true)) m_choices = *entries;
    if (m_ratingListsHidden)
        std::erase_if(m_choices, [](const ListChoice& c) { return c.kind == ListChoice::Kind::Winners || c.kind == ListChoice::Kind::Losers; });
    const QSignalBlocker block(m_selector);
    m_selector->clear();
    for (const ListChoice& c : m_choices) m_selector->addItem(c.text);
    const int keep = m_selector->findText(current);
    m_selector->setCurrentIndex(keep >= 0 ? keep : 0);
    return keep < 0;
}

void TAktienkurse::reloadLists() {
    rebuildSelector();
    fillSecurities();
}

void TAktienkurse::setRatingListsHidden(bool hidden) {
    // Every page switch asks; only entering or leaving "&Analyse" changes anything.
    if (hidden == m_ratingListsHidden) return;
    m_ratingListsHidden = hidden;
    // The selector is read anew, as a rating run may just have written the lists;
    // only a change of the chosen list refills the securities, so switching pages
    // leaves the selected security and its grids alone.
    if (rebuildSelector()) fillSecurities();
}

void TAktienkurse::selectList(int index) {
    if (index < 0 || index >= m_selector->count()) return;
    m_selector->setCurrentIndex(index);
    fillSecurities();
}

void TAktienkurse::setBranchFeature(int branche, int merkmal) {
    m_branche = branche;
    m_merkmal = merkmal;
    fillSecurities();
}

void TAktienkurse::setFilterText(const QString& text) {
    m_filterText = text;
    m_filterButton->setToolTip(text.isEmpty() ? QStringLiteral("kein Filter") : text);
    fillSecurities();
}

void TAktienkurse::showFavouriteTabs(const std::vector<std::pair<int, QString>>& tabs) {
    QSignalBlocker block(m_favouriteTabs);
    while (m_favouriteTabs->count() > 0) m_favouriteTabs->removeTab(0);
    for (const auto& [firma, name] : tabs) {
        if (name.isEmpty()) continue;
        const int tab = m_favouriteTabs->addTab(name);
        m_favouriteTabs->setTabData(tab, firma);
    }
}

void TAktienkurse::restoreFavouriteTabs() { rebuildFavouriteTabs(); }

void TAktienkurse::rebuildFavouriteTabs() {
    QSignalBlocker block(m_favouriteTabs);
    while (m_favouriteTabs->count() > 0) m_favouriteTabs->removeTab(0);
    // A favourite without a name gets no tab; its record and rows stay as they are.
    constexpr int kMaxTabs = 1000;
    for (const SecuritiesModel::Row& row : m_securities->rows()) {
        if (!row.Aktiv || row.FirmenName.isEmpty() || m_favouriteTabs->count() >= kMaxTabs) continue;
        const int tab = m_favouriteTabs->addTab(row.FirmenName);
        m_favouriteTabs->setTabData(tab, row.Firma);
    }
    // The tabs are far wider than the panel; without a fixed height the layout
    // squeezes the bar to nothing instead of showing its scroll buttons.
    m_favouriteTabs->setFixedHeight(m_favouriteTabs->sizeHint().height());
}

void TAktienkurse::fillGrids() { m_overview->showSecurity(m_firma); }

std::optional<PricePoint> TAktienkurse::selectedPrice() const {
    const int rows = m_priceModel->rowCount();
    if (rows == 0) return std::nullopt;
    const QModelIndex current = m_priceGrid->currentIndex();
    const int row = current.isValid() ? current.row() : rows - 1;
    std::optional<PricePoint> p = PricePoint{};
    for (int c = 0; c < m_priceModel->columnCount(); ++c) {
        const QString& field = m_priceModel->columns()[c].field;
        if (field.compare(QLatin1String("Datum"), Qt::CaseInsensitive) == 0)
            p->datum = dateFromDayNumber(m_priceModel->rawValue(row, c).toDouble());
        else if (field.compare(QLatin1String("Kurs"), Qt::CaseInsensitive) == 0)
            p->kurs = m_priceModel->rawValue(row, c).toDouble();
    }
    return p->datum.isValid() ? p : std::nullopt;
}

void TAktienkurse::reopenViews() {
    setWindowTitle(m_session.caption);
    fillSecurities();
}

void TAktienkurse::restoreWindowValues() {
    const Einstellungen& v = m_session.values;
    if (v.has(QStringLiteral("WindowWidth")) && v.has(QStringLiteral("WindowHeight")))
        resize(std::max(200, v.integer(QStringLiteral("WindowWidth"))), std::max(150, v.integer(QStringLiteral("WindowHeight"))));
    else
        resize(1100, 720);
    if (v.has(QStringLiteral("WindowLeft")) && v.has(QStringLiteral("WindowTop")))
        move(v.integer(QStringLiteral("WindowLeft")), v.integer(QStringLiteral("WindowTop")));
    m_vollbild = v.truth(QStringLiteral("Vollbild"));
    if (v.has(QStringLiteral("Splitter2"))) {
        // A width of 0 would hide the list for good: at least one pixel stays.
        const int left = std::max(1, v.integer(QStringLiteral("Splitter2")));
        m_splitter->setSizes({left, std::max(1, width() - left)});
    }
    if (v.has(QStringLiteral("Favoriten"))) m_favourites->setChecked(v.truth(QStringLiteral("Favoriten")));
    if (m_commandLine.favouritesOff) m_favourites->setChecked(false);
    if (v.has(QStringLiteral("FavoritenTab"))) m_favouriteTabs->setVisible(v.truth(QStringLiteral("FavoritenTab")));

    const QStringList priceFields = tableFields(m_session.store, QStringLiteral("Aktien.db"));
    const QStringList volumeFields = tableFields(m_session.store, QStringLiteral("Volumen.db"));
    for (auto [g, model, view, fields] : {std::tuple{kPriceGrid, m_priceModel, m_priceGrid, priceFields},
                                          std::tuple{kVolumeGrid, m_volumeModel, m_volumeGrid, volumeFields}}) {
        const QList<GridColumn> columns = storedGridColumns(v, g, model->columns(), fields);
        model->setColumns(columns);
        for (int i = 0; i < columns.size(); ++i)
            if (columns[i].width > 0) view->setColumnWidth(i, columns[i].width);
        applyGridFont(v, g, *view);
    }
    m_menu->applyValues(v);
    // The look of the charts from the settings subkey `Chart`.
    ChartAppearance price = priceChartDesign(), intraday = intradayChartDesign(), comparison = comparisonChartDesign();
    for (ChartAppearance* look : {&price, &intraday, &comparison}) readChartAppearance(m_session.settings, *look);
    m_overview->chartPanel()->chart()->setAppearance(price);
    m_overview->intradayPanel()->chart()->setAppearance(intraday);
    m_comparison->chart()->setAppearance(comparison);
    m_overview->chartPanel()->applyValues();
    m_overview->intradayPanel()->applyValues();
    m_comparison->applyValues();
}

void TAktienkurse::storeWindowValues() {
    Einstellungen& v = m_session.values;
    const bool maximized = isMaximized() || isFullScreen();
    const QRect normal = maximized ? normalGeometry() : geometry();
    v.set(QStringLiteral("Vollbild"), SettingValue::truth(maximized));
    v.set(QStringLiteral("WindowWidth"), SettingValue::integer(normal.width()));
    v.set(QStringLiteral("WindowHeight"), SettingValue::integer(normal.height()));
    // The position is the frame's, as move() takes it back at the next start.
    const QPoint topLeft = maximized ? normal.topLeft() : pos();
    v.set(QStringLiteral("WindowLeft"), SettingValue::integer(topLeft.x()));
    v.set(QStringLiteral("WindowTop"), SettingValue::integer(topLeft.y()));
    v.set(QStringLiteral("Splitter2"), SettingValue::integer(std::max(1, m_splitter->sizes().value(0))));
    v.set(QStringLiteral("Favoriten"), SettingValue::truth(m_favourites->isChecked()));
    v.set(QStringLiteral("FavoritenTab"), SettingValue::truth(!m_favouriteTabs->isHidden()));
    storeGridLayout(v, kPriceGrid, *m_priceGrid, *m_priceModel);
    storeGridLayout(v, kVolumeGrid, *m_volumeGrid, *m_volumeModel);
    m_menu->storeValues(v);
    writeChartAppearance(m_session.settings, {&m_overview->chartPanel()->chart()->appearance(),
                                              &m_overview->intradayPanel()->chart()->appearance(),
                                              &m_comparison->chart()->appearance()});
}

void TAktienkurse::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shownOnce) return;
    m_shownOnce = true;
    if (m_vollbild) setWindowState(windowState() | Qt::WindowMaximized);
    m_bands->apply(m_session.values);
    // The questions of the start wait until the window can be seen behind them.
    QTimer::singleShot(0, this, &TAktienkurse::afterShown);
}

void TAktienkurse::afterShown() {
    if (m_session.firstStart && !m_session.unattended) m_menu->sampleUpdate().firstStart();
    if (m_commandLine.delayedStart) m_delayedStart.start();
}

void TAktienkurse::runDelayedStart() {
    m_delayedStart.stop();
    const DelayedJob job = delayedJob(m_session.reading, m_session.unattended);
    if (job == DelayedJob::TeletextReading) {
        // "/V": the receiver script has written the daily price file; read it.
        m_menu->videotext().VTeinlesen1Click();
        return;
    }
    if (job == DelayedJob::DdeReading) {
        // "/A": live quotes on the intraday tab, the window minimised.
        m_pages->setCurrentWidget(m_intraday->parentWidget());
        m_intraday->startAutomatically();
        showMinimized();
        return;
    }
    if (job == DelayedJob::InternetUpdate) {
        // "/I": the Internet quotes of the list, then the program ends.
        const ReadReport report = m_menu->sources().internetJob(m_commandLine.listEntry);
        m_exitStatus = report.status ? 0 : 1;
        if (!report.status) std::fprintf(stderr, "%s\n", qUtf8Printable(report.status.message()));
        close();
        return;
    }
    // "/E": the prices from the given date to today as text, then the program ends.
    // Closing the last window ends the message loop; main() returns exitStatus().
    if (!m_commandLine.exportDateUnread.isEmpty()) {
        const QString warning = QStringLiteral("Warnung: \"%1\" ist kein Datum; exportiert wird ab heute, %2")
                                    .arg(m_commandLine.exportDateUnread, formatDate(m_session.exportDate));
        std::fprintf(stderr, "%s\n", qUtf8Printable(warning));
        showStatus(warning);
    }
    const int decimals = m_session.values.has(QStringLiteral("DezimalStellen")) ? m_session.values.integer(QStringLiteral("DezimalStellen")) : 2;
    const QString dir = m_session.exportDir.isEmpty() ? withSlash(QDir::currentPath()) : m_session.exportDir;
    auto report = runPriceTextJob(m_session.store, m_session.exportDate, today(), dir, decimals, progress());
    if (report) {
        showStatus(QStringLiteral("%1: %2 Kurse nach %3").arg(delayedJobName(job)).arg(report->prices).arg(report->file));
        m_exitStatus = 0;
    } else {
        std::fprintf(stderr, "%s\n", qUtf8Printable(report.status().message()));
        showStatus(report.status().message());
        m_exitStatus = 1;
    }
    close();
}

void TAktienkurse::rollover() {
    auto report = intradayRollover(m_session.dirs, m_session.store);
    if (!report) {
        m_ui->tell(report.status().message());
        return;
    }
    showStatus(QStringLiteral("Intraday-Kurse archiviert: %1").arg(report->rows));
}

void TAktienkurse::Ende1Click() { close(); }

void TAktienkurse::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The newest price stays in sight whatever the height.
    m_priceGrid->scrollToBottom();
    m_volumeGrid->scrollToBottom();
}

void TAktienkurse::closeEvent(QCloseEvent* event) {
    if (m_closed) {
        event->accept();
        return;
    }
    m_closed = true;
    m_delayedStart.stop();
    m_trend->hide();
    // Unattended runs end without touching the settings; closeDown knows that too.
    if (!m_session.unattended && m_session.startupComplete) {
        storeWindowValues();
        if (Status closed = closeDown(m_session); !closed) m_ui->tell(closed.message());
    }
    m_session.store.closeAll();
    event->accept();
}

}  // namespace q::ui
