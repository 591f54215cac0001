#include "ui/overview/overview_page.h"

#include "ui/portfolio/limits_panel.h"

#include "app/analysis_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "overview/overview_figures.h"
#include "overview/price_columns.h"
#include "store/list_tables.h"
#include "ui/main_window.h"
#include "ui/overview/chart_panels.h"
#include "ui/overview/trend_picture.h"
#include "ui/page_widgets.h"
#include "ui/portfolio/portfolio_charts.h"
#include "charts/custom_plot.h"
#include "ui/dialogs/spalten_edit.h"
#include "ui/grid_layout.h"
#include "ui/portfolio/lots_page.h"
#include "ui/portfolio/wertentwicklung.h"
#include "ui/record_model.h"
#include "ui/status_progress.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QResizeEvent>
#include <QScrollArea>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace q::ui {

namespace {

// Every caption of the panel, also while no security is filled.
QStringList panelCaptions() {
    QStringList captions;
    const FillResult empty;
    for (const ShownFigure& s : shownFigures(empty)) captions << QString::fromUtf8(s.caption);
    captions << QStringLiteral("KGV") << QStringLiteral("KCV") << QStringLiteral("Marktkapitalisierung");
    captions << QStringLiteral("Bewertung") << QStringLiteral("Index");
    return captions;
}

// The name of `number` in a group, branch or feature table; empty for 0 or an
// unknown number.
QString listName(Store& store, const QString& file, int number) {
    if (number == 0) return QString();
    auto entries = readListTable(store, file);
    if (!entries) return QString();
    for (const ListEntry& e : *entries)
        if (e.GruppenIndex == number) return e.GruppenName;
    return QString();
}

// The notice's colour: red below the lower limit, green above the upper one.
QString limitStyle(LimitNotice notice) {
    return notice == LimitNotice::BelowLower ? QStringLiteral("color: red; font-weight: bold")
                                             : QStringLiteral("color: green; font-weight: bold");
}

// Set on a splitter once the user has dragged its handle: from then on its sizes are
// the user's.
constexpr const char* kDragged = "draggedByUser";

// The newest price rows the lists show at the start sizes of the window; a horizontal
// scroll bar, where one is needed, still leaves three whole.
constexpr int kListRows = 4;

const QString kPriceFile = QStringLiteral("Aktien.db");
const QString kVolumeFile = QStringLiteral("Volumen.db");

}  // namespace

OverviewPage::OverviewPage(TAktienkurse& window, RecordTableModel* prices, RecordTableModel* volumes)
    : QWidget(&window), m_window(window), m_prices(prices), m_volumes(volumes) {
    setObjectName(QStringLiteral("OverviewPage"));
    m_inner = new QTabWidget(this);
    m_inner->addTab(buildKursPage(), QStringLiteral("Kurs"));
    auto* gewinn = new QWidget(m_inner);
    m_profit = new QCustomPlot(gewinn);
    m_profit->setObjectName(QStringLiteral("profitChart"));
    (new QVBoxLayout(gewinn))->addWidget(m_profit, 1);
    m_profitPage = gewinn;
    m_inner->addTab(gewinn, QStringLiteral("Gewinn"));
    // "Depotwerte": the position line, with the small button to the value
    // development window at its left, above the lots.
    auto* depot = new QWidget(m_inner);
    auto* depotLayout = new QVBoxLayout(depot);
    auto* line = new QHBoxLayout;
    m_development = new Wertentwicklung(&window);
    m_developmentButton = new QToolButton(depot);
    m_developmentButton->setObjectName(QStringLiteral("developmentButton"));
    m_developmentButton->setText(QStringLiteral("%"));
    m_developmentButton->setToolTip(QStringLiteral("Wertentwicklung"));
    connect(m_developmentButton, &QToolButton::clicked, this, &OverviewPage::showDevelopment);
    m_position = new QLabel(depot);
    m_position->setObjectName(QStringLiteral("positionLine"));
    m_position->setTextInteractionFlags(Qt::TextSelectableByMouse);
    line->addWidget(m_developmentButton);
    line->addWidget(m_position, 1);
    depotLayout->addLayout(line);
    m_lots = new LotsPage(window);
    depotLayout->addWidget(m_lots, 1);
    m_inner->addTab(depot, QStringLiteral("Depotwerte"));
    m_notesPage = new QWidget(m_inner);
    m_notes = new QTextBrowser(m_notesPage);
    m_notes->setOpenExternalLinks(true);
    (new QVBoxLayout(m_notesPage))->addWidget(m_notes);
    m_inner->addTab(m_notesPage, QStringLiteral("Information"));
    m_limitsPanel = new LimitsPanel(window, m_inner);
    m_limitsPanel->setPriceSource([this] { return selectedPrice(); });
    m_inner->addTab(m_limitsPanel, QStringLiteral("Limits"));
    connect(m_limitsPanel, &LimitsPanel::limitsChanged, this, [this](int firma) {
        if (firma == m_firma) showSecurity(firma);
    });
    m_intradayPanel = new IntradayDayPanel(window, m_inner);
    m_inner->addTab(m_intradayPanel, QStringLiteral("Intraday"));
    m_inner->setTabEnabled(m_inner->indexOf(m_intradayPanel), false);
    m_intradayPanel->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const bool earlier : {false, true}) {
        auto* action = new QAction(earlier ? QStringLiteral("Intrday-Kurse der letzten Monate löschen") : QStringLiteral("Intraday-Kurse löschen"),
                                   m_intradayPanel);
        connect(action, &QAction::triggered, this, [this, earlier] { deleteIntradayDays(earlier); });
        m_intradayPanel->addAction(action);
    }
    connect(m_intradayPanel, &IntradayDayPanel::closeUpdated, this, [this] {
        loadLists();
        m_window.showStatus(QStringLiteral("Tageskurs aus den Intraday-Kursen übernommen"));
    });

    m_prices->setColumns({{QStringLiteral("Datum"), QStringLiteral("Datum")}, {QStringLiteral("Kurs"), QStringLiteral("Kurs")}});
    m_volumes->setColumns({{QStringLiteral("Datum"), QStringLiteral("Datum")}, {QStringLiteral("Volumen"), QStringLiteral("Volumen")}});
    auto* lists = new QWidget(this);
    auto* listsLayout = new QHBoxLayout(lists);
    listsLayout->setContentsMargins(0, 0, 0, 0);
    for (auto [title, model, view] : {std::tuple{"Kurs", m_prices, &m_priceGrid}, std::tuple{"Volumen", m_volumes, &m_volumeGrid}}) {
        auto* box = new QGroupBox(QString::fromLatin1(title), lists);
        *view = dataGrid(box, model);
        QTableView* grid = *view;
        grid->setContextMenuPolicy(Qt::ActionsContextMenu);
        auto* edit = new QAction(QStringLiteral("Spalten bearbeiten"), grid);
        connect(edit, &QAction::triggered, this, [this, grid] { editColumns(grid); });
        grid->addAction(edit);
        (new QVBoxLayout(box))->addWidget(*view);
        listsLayout->addWidget(box);
        if (model != m_prices) continue;
        // The second price view: the calculated columns beside each day.
        m_differencesBox = new QGroupBox(QStringLiteral("Kursdifferenz"), lists);
        m_differences = new QTableWidget(0, 4, m_differencesBox);
        m_differences->setObjectName(QStringLiteral("differenceGrid"));
        m_differences->setHorizontalHeaderLabels({QStringLiteral("Datum"), QStringLiteral("Kurs"), QStringLiteral("Differenz"),
                                                  QStringLiteral("DiffGlD")});
        m_differences->verticalHeader()->setVisible(false);
        m_differences->verticalHeader()->setDefaultSectionSize(m_differences->fontMetrics().height() + 6);
        m_differences->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        m_differences->setEditTriggers(QAbstractItemView::NoEditTriggers);
        (new QVBoxLayout(m_differencesBox))->addWidget(m_differences);
        listsLayout->addWidget(m_differencesBox);
        m_differencesBox->hide();
    }
    connect(m_priceGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { showIntradayDay(); });
    m_pageSplit = new QSplitter(Qt::Vertical, this);
    m_pageSplit->addWidget(m_inner);
    m_pageSplit->addWidget(lists);
    // Once the user has dragged a handle, a new window size goes to the pages above.
    m_pageSplit->setStretchFactor(0, 1);
    m_pageSplit->setStretchFactor(1, 0);
    m_lists = lists;
    auto* layout = new QVBoxLayout(this);
    // The window's page frame is margin enough; every line here goes to the chart.
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pageSplit);
    for (QSplitter* split : {m_pageSplit, m_chartSplit}) {
        split->installEventFilter(this);
        connect(split, &QSplitter::splitterMoved, this, [split] { split->setProperty(kDragged, true); });
    }
    clearFigures();
}

QWidget* OverviewPage::buildKursPage() {
    auto* kurs = new QWidget(m_inner);
    m_title = new QLabel(kurs);
    m_title->setObjectName(QStringLiteral("overviewTitle"));
    m_picture = new QLabel(kurs);
    m_picture->setObjectName(QStringLiteral("ratingPicture"));
    m_picture->setFixedSize(52, 52);
    m_limit = new QLabel(QStringLiteral("Limit erreicht"), kurs);
    m_limit->hide();
    auto* head = new QHBoxLayout;
    head->addWidget(m_title, 1);
    head->addWidget(m_limit);
    head->addWidget(m_picture);

    auto* panel = new QGroupBox(QStringLiteral("Statistik"), kurs);
    auto* grid = new QGridLayout(panel);
    const QStringList captions = panelCaptions();
    const int perColumn = (captions.size() + 1) / 2;
    for (int i = 0; i < captions.size(); ++i) {
        auto* caption = new QLabel(captions[i], panel);
        caption->setWordWrap(true);
        auto* value = new QLabel(panel);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        const int column = (i / perColumn) * 2;
        grid->addWidget(caption, i % perColumn, column);
        grid->addWidget(value, i % perColumn, column + 1);
        m_figures.insert(captions[i], value);
    }
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(2, 3);

    // The panel scrolls rather than forcing its height on the window.
    auto* scroll = m_statistics = new QScrollArea(kurs);
    scroll->setWidget(panel);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    m_chartPanel = new PriceChartPanel(m_window, kurs);
    connect(m_chartPanel, &PriceChartPanel::refillRequested, this, [this] { showSecurity(m_firma); });
    auto* split = m_chartSplit = new QSplitter(Qt::Vertical, kurs);
    split->addWidget(m_chartPanel);
    split->addWidget(scroll);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    auto* layout = new QVBoxLayout(kurs);
    // The tab frame already sets the page off; narrow margins leave the room to the chart.
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addLayout(head);
    layout->addWidget(split, 1);
    return kurs;
}

QString OverviewPage::figureText(const QString& caption) const {
    if (caption == QLatin1String("Limit erreicht")) return m_limit->isVisibleTo(this) ? m_limit->text() : QString();
    const QLabel* label = m_figures.value(caption);
    return label ? label->text() : QString();
}

bool OverviewPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && !watched->property(kDragged).toBool()) {
        const int height = static_cast<QResizeEvent*>(event)->size().height();
        if (watched == m_pageSplit) shareHeight(*m_pageSplit, height, listsHeight());
        else if (watched == m_chartSplit) shareHeight(*m_chartSplit, height, statisticsHeight(height));
    }
    return QWidget::eventFilter(watched, event);
}

void OverviewPage::shareHeight(QSplitter& split, int height, int lower) {
    const int room = height - split.handleWidth();
    if (room <= 0) return;
    lower = std::min(lower, room / 2);
    split.setSizes({room - lower, lower});
}

int OverviewPage::listsHeight() const {
    // The box around each list (title, margins) beside the list itself.
    const int box = m_lists->minimumSizeHint().height() - m_priceGrid->minimumSizeHint().height();
    const int grid = 2 * m_priceGrid->frameWidth() + m_priceGrid->horizontalHeader()->sizeHint().height() +
                     kListRows * m_priceGrid->verticalHeader()->defaultSectionSize();
    return box + grid;
}

int OverviewPage::statisticsHeight(int height) const {
    // Over a quarter of the room, but never less than the panel's title and its first
    // lines (a caption may wrap to two lines).
    const int lines = 6 * fontMetrics().lineSpacing();
    return std::max(lines, int(height * 0.28));
}

void OverviewPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (QTableView* grid : {m_priceGrid, m_volumeGrid}) fitNumberColumns(*grid);
}

void OverviewPage::loadLists() {
    m_prices->clear();
    m_volumes->clear();
    if (m_firma <= 0) return;
    // Rows come in key order (Firma, Datum): the newest price is the last row.
    for (auto [file, model, view] : {std::tuple{kPriceFile, m_prices, m_priceGrid}, std::tuple{kVolumeFile, m_volumes, m_volumeGrid}}) {
        auto table = m_window.session().store.table(file);
        Status loaded = table ? model->load(**table, Query::detailOf(m_firma)) : table.status();
        if (!loaded) m_window.showStatus(loaded.message());
        fitNumberColumns(*view);
        view->scrollToBottom();
    }
}

void OverviewPage::showIntradayDay() {
    const auto row = m_firma > 0 ? m_window.selectedPrice() : std::nullopt;
    const bool shown = row && m_intradayPanel->showDay(m_firma, m_window.currentFirmenName(), row->datum, row->kurs);
    m_inner->setTabEnabled(m_inner->indexOf(m_intradayPanel), shown);
}

void OverviewPage::deleteIntradayDays(bool andEarlier) {
    const auto row = m_firma > 0 ? m_window.selectedPrice() : std::nullopt;
    if (!row) return;
    const QString text = andEarlier ? QStringLiteral("Sollen alle Intraday-Kurse beginnend mit dem %1 gelöscht werden?? ")
                                    : QStringLiteral("Sollen alle Intraday-Kurse vom %1 gelöscht werden?? ");
    if (m_window.interaction().ask(QStringLiteral("Intraday-Daten löschen?"), text.arg(formatDate(row->datum))) != Answer::Yes)
        return;
    std::vector<QDate> days{row->datum};
    if (andEarlier && m_analysis)
        for (const int d : m_analysis->fill.days)
            if (d < dayNumber(row->datum)) days.push_back(dateFromDayNumber(d));
    auto deleted = deleteIntradayArchives(m_window.session().dirs.intraday, days);
    if (!deleted) m_window.interaction().tell(deleted.status().message());
    else m_window.showStatus(QStringLiteral("Intraday-Kurse gelöscht: %1 Tage").arg(*deleted));
    // The list moves to its last row.
    m_priceGrid->setCurrentIndex(QModelIndex());
    m_priceGrid->scrollToBottom();
    showIntradayDay();
}

void OverviewPage::editColumns(QTableView* grid) {
    const bool prices = grid == m_priceGrid;
    RecordTableModel* model = prices ? m_prices : m_volumes;
    TSpaltenEdit editor(model->columns(), tableFields(m_window.session().store, prices ? kPriceFile : kVolumeFile), this);
    if (editor.exec() != QDialog::Accepted) return;
    const QList<GridColumn> columns = editor.columns();
    model->setColumns(columns);
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].width > 0) grid->setColumnWidth(i, columns[i].width);
    loadLists();
}

std::optional<double> OverviewPage::selectedPrice() const {
    if (m_firma <= 0 || m_prices->rowCount() == 0) return std::nullopt;
    int column = -1;
    for (int i = 0; i < m_prices->columns().size(); ++i)
        if (m_prices->columns()[i].field.compare(QStringLiteral("Kurs"), Qt::CaseInsensitive) == 0) column = i;
    if (column < 0) return std::nullopt;
    const QModelIndex current = m_priceGrid->currentIndex();
    const int row = current.isValid() ? current.row() : m_prices->rowCount() - 1;
    return m_prices->rawValue(row, column).toDouble();
}

void OverviewPage::showDevelopment() {
    // The price of the selected row of the price list; nothing while it is empty.
    const auto price = selectedPrice();
    if (!price) return;
    m_development->setCurrentPrice(*price);
    m_development->show();
    m_development->raise();
}

bool OverviewPage::differencesShown() const { return m_differencesBox->isVisibleTo(this); }

void OverviewPage::setDifferences(bool on) {
    m_differencesBox->setVisible(on);
    if (on) fillDifferences();
}

void OverviewPage::clearFigures() {
    for (QLabel* label : m_figures) label->clear();
    m_picture->clear();
    m_limit->hide();
    m_position->clear();
    m_development->setSecurity(QStringLiteral("Wertentwicklung"), 0, 0, 0, 0);
    m_inner->setTabEnabled(m_inner->indexOf(m_notesPage), false);
    m_inner->setTabEnabled(m_inner->indexOf(m_profitPage), false);
    m_differences->setRowCount(0);
}

void OverviewPage::showSecurity(int firma) {
    m_firma = firma;
    m_analysis.reset();
    clearFigures();
    m_lots->showSecurity(std::max(0, firma));
    m_limitsPanel->showSecurity(std::max(0, firma));
    Session& session = m_window.session();
    if (firma > 0) {
        WaitCursor wait;
        auto analysed = analyseStored(session.store, firma, analysisSettings(session.values), today(), true);
        if (analysed) m_analysis = std::move(*analysed);
        else m_window.showStatus(QStringLiteral("Fehler in der Datenbank! Überprüfen Sie Depot und Datenverzeichnis und "
                                                "führen Sie die Datenbankbereinigung durch (%1)")
                                     .arg(analysed.status().message()));
    }
    loadLists();
    showIntradayDay();
    if (firma <= 0) {
        m_title->setText(QStringLiteral("Kein Wertpapier gewählt"));
        m_chartPanel->showAnalysis(nullptr, QStringLiteral("Kein Wertpapier gewählt"));
        return;
    }
    m_chartPanel->showAnalysis(m_analysis ? &*m_analysis : nullptr, m_window.currentFirmenName());
    const QString name = m_window.currentFirmenName().toHtmlEscaped();
    const int rows = m_prices->rowCount();
    m_title->setText(rows > 0 ? QStringLiteral("<b>%1</b><br>%2 Kurse").arg(name).arg(rows)
                              : QStringLiteral("<b>%1</b><br>noch keine Kurse").arg(name));
    if (m_analysis) showAnalysis(*m_analysis);
    if (differencesShown()) fillDifferences();
}

void OverviewPage::showAnalysis(const SecurityAnalysis& a) {
    const FillResult& f = a.fill;
    const SecurityRecord& s = f.security;
    const bool notes = !s.Memo.isEmpty() || !s.Internet.isEmpty();
    m_inner->setTabEnabled(m_inner->indexOf(m_notesPage), notes);
    if (notes) {
        const QString link = s.Internet.isEmpty() ? QString()
                                                  : QStringLiteral("<p><a href=\"%1\">%1</a></p>").arg(s.Internet.toHtmlEscaped());
        m_notes->setHtml(link + QStringLiteral("<pre>%1</pre>").arg(s.Memo.toHtmlEscaped()));
    }
    QStringList lists;
    Store& store = m_window.session().store;
    for (auto [caption, file, number] : {std::tuple{"Gruppe", "Gruppen.db", s.Gruppe}, std::tuple{"Branche", "Branchen.db", s.Branche},
                                         std::tuple{"Merkmal", "Merkmal.db", s.Merkmal}}) {
        const QString name = listName(store, QString::fromLatin1(file), number);
        if (!name.isEmpty()) lists << QStringLiteral("%1: %2").arg(QLatin1String(caption), name.toHtmlEscaped());
    }
    if (!f.enoughPrices) return;
    const QString last = formatGeneral(f.lastPrice);
    m_title->setText(QStringLiteral("<b>%1</b><br>%2 Kurse, letzter Kurs %3 vom %4<br>%5")
                         .arg(s.FirmenName.toHtmlEscaped())
                         .arg(f.count())
                         .arg(last, formatDate(f.lastDate), lists.join(QStringLiteral("  "))));
    for (const ShownFigure& shown : shownFigures(f))
        if (QLabel* label = m_figures.value(QString::fromUtf8(shown.caption))) label->setText(panelText(shown));
    if (f.limit != LimitNotice::None) {
        m_limit->setStyleSheet(limitStyle(f.limit));
        m_limit->show();
    }
    m_position->setText(f.position.line);
    m_development->setSecurity(s.FirmenName + QStringLiteral(" Gewinnberechnung"), f.position.shares, f.position.meanBuyPrice,
                               f.lastPrice, f.position.slider);
    // The page with the profit bars is there while shares are held.
    m_inner->setTabEnabled(m_inner->indexOf(m_profitPage), f.position.showProfitPage);
    if (f.position.hasLots) showProfitBars(*m_profit, f.position.bars, f.position.chartTitle);
    if (!a.rating) return;
    m_figures.value(QStringLiteral("Bewertung"))->setText(QString::number(a.rating->R));
    m_figures.value(QStringLiteral("Index"))->setText(formatSignificant(a.rating->index, 18, 0));
    m_picture->setPixmap(trendPicture(a.rating->picture));
    m_picture->setToolTip(a.rating->steps.join(QLatin1Char('\n')));
}

void OverviewPage::fillDifferences() {
    m_differences->setRowCount(0);
    if (!m_analysis) return;
    // The stored rows after the fill's writes: the same days and prices as the list.
    std::vector<PriceRow> rows;
    const FillResult& f = m_analysis->fill;
    for (int i = 0; i < f.count(); ++i) {
        const double gld = f.longAverage[size_t(i)];
        rows.push_back({f.days[size_t(i)], f.prices[size_t(i)], m_window.session().hasGlD ? gld : 0.0});
    }
    const std::vector<PriceDifference> columns = priceDifferences(rows);
    m_differences->setRowCount(static_cast<int>(columns.size()));
    for (int r = 0; r < int(columns.size()); ++r) {
        const PriceDifference& d = columns[size_t(r)];
        const QStringList cells = {formatDate(dateFromDayNumber(d.datum)), formatGeneral(rows[size_t(r)].kurs),
                                   formatDifferenz(d.Differenz), formatDiffGlD(d.DiffGlD)};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_differences->setItem(r, c, item);
        }
    }
    m_differences->scrollToBottom();
}

}  // namespace q::ui
