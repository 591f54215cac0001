// The main window TAktienkurse: runs the start-up when created, shows the
// securities list, the price and volume grids of the selected security and the
// pages of the subsystems, and writes the window values and the settings when it
// closes. Menu commands live in the handler classes under commands/.
#pragma once

#include "app/command_line.h"
#include "app/session.h"
#include "app/startup.h"
#include "overview/list_selection.h"
#include "portfolio/prices.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

class QCheckBox;
class QComboBox;
class QPushButton;
class QLabel;
class QListView;
class QProgressBar;
class QSplitter;
class QTabBar;
class QTabWidget;
class QTableView;

namespace q::ui {

class AnalysisCommands;
class BookingsPage;
class ComparisonPage;
class DialogInteraction;
class HoldingsPage;
class SoldPage;
class IntradayCharts;
class IntradayPage;
class LotsPage;
class MoversPage;
class MainMenu;
class OverviewPage;
class PortfolioCommands;
class RatingPage;
class SecuritiesListPage;
class SecuritySearchBar;
class RecordTableModel;
class SecuritiesModel;
class StatusBarProgress;
class TIntradayTrend;
class ToolBarBands;

class TAktienkurse final : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs the start-up with `options`; the switches of
    // `commandLine` set the run's flags. `ui` answers the core's questions (tests
    // pass a script); nullptr: message boxes, or stderr in unattended mode.
    TAktienkurse(const StartOptions& options, const CommandLine& commandLine, Interaction* ui = nullptr,
                 QWidget* parent = nullptr);
    ~TAktienkurse() override;

    Session& session() { return m_session; }
    Interaction& interaction() { return *m_ui; }
    Progress& progress();
    // Ends the progress display of a long command.
    void progressDone();
    // 0, or 1 when the run ended because a job failed or the start-up asked to quit.
    int exitStatus() const { return m_exitStatus; }

    // Re-reads the securities list and the grids after their tables were closed
    // or replaced (restore, data directory), and the caption.
    void reopenViews();
    // "nur Favoriten" is ticked.
    bool onlyFavourites() const;
    // The list selector's entry, the "nur Favoriten" box and the filter editor's
    // text: what the securities list, the movers and the reports work on.
    ListSelection currentSelection() const;
    // Rebuilds the selector's entries (watch names, groups) keeping the current text
    // where it still exists, and refills the securities list.
    void reloadLists();
    // Chooses the selector's entry at `index` and refills the list.
    void selectList(int index);
    // Takes "Gewinner(Quintara)" and "Verlierer(Quintara)" out of the selector
    // (while the "&Analyse" page is open the rating run writes them) or puts them
    // back, reading the entries anew; when the chosen entry goes, the first entry's
    // list is shown. Asked for the state the selector is in already, it does nothing.
    void setRatingListsHidden(bool hidden);
    // The branch and feature the list keeps (0: any); refills the list.
    void setBranchFeature(int branche, int merkmal);
    // The filter editor's text (empty: none); refills the list.
    void setFilterText(const QString& text);
    QString filterText() const { return m_filterText; }
    QComboBox* listSelector() const { return m_selector; }
    QPushButton* filterButton() const { return m_filterButton; }
    // Refills the securities list keeping the selected security where listed.
    void refillSecurities() { fillSecurities(); }
    // The tab list above the securities shows these securities (the limit scan's),
    // until restoreFavouriteTabs() brings back the favourites.
    void showFavouriteTabs(const std::vector<std::pair<int, QString>>& tabs);
    void restoreFavouriteTabs();
    // The selected security's number (0: none) and name.
    int currentFirma() const { return m_firma; }
    QString currentFirmenName() const;
    // Positions the list on the security; false when it is not listed.
    bool selectFirma(int firma);

    // The first status-bar panel (messages); panel 2 the data directory, panel 3 the
    // notes of the start-up.
    void showStatus(const QString& text);
    QString statusText(int panel) const;

    QTimer& delayedStartTimer() { return m_delayedStart; }
    // The delayed start: runs the job the flags choose: "/V" reads the teletext
    // prices; the jobs not built yet say so (an unattended run then ends with exit
    // status 1).
    void runDelayedStart();
    TIntradayTrend* intradayTrend() const { return m_trend; }
    ToolBarBands& toolBarBands() { return *m_bands; }

    QTableView* priceGrid() const { return m_priceGrid; }
    QTableView* volumeGrid() const { return m_volumeGrid; }
    RecordTableModel* priceModel() const { return m_priceModel; }
    QListView* securitiesList() const { return m_list; }
    SecuritiesModel* securitiesModel() const { return m_securities; }
    QCheckBox* favouritesBox() const { return m_favourites; }
    QSplitter* splitter() const { return m_splitter; }
    QTabWidget* pages() const { return m_pages; }
    MainMenu& menu() { return *m_menu; }
    PortfolioCommands& portfolio() { return *m_portfolio; }
    AnalysisCommands& analysisCommands() { return *m_analysis; }
    RatingPage* ratingPage() const { return m_rating; }
    MoversPage* moversPage() const { return m_movers; }
    SecuritiesListPage* securitiesPage() const { return m_securitiesPage; }
    HoldingsPage* holdingsPage() const { return m_holdings; }
    SoldPage* soldPage() const { return m_sold; }
    BookingsPage* bookingsPage() const { return m_bookings; }
    ComparisonPage* comparisonPage() const { return m_comparison; }
    IntradayCharts* intradayCharts() const { return m_intradayCharts; }
    LotsPage* lotsPage() const { return m_lotsPage; }
    IntradayPage* intradayPage() const { return m_intraday; }
    OverviewPage* overviewPage() const { return m_overview; }
    SecuritySearchBar* searchBar() const { return m_search; }
    // The price row selected in the price list (the newest when none is), its date
    // and price; nullopt when the security has no prices.
    std::optional<PricePoint> selectedPrice() const;

public Q_SLOTS:
    // Closes the main window and so ends the program.
    void Ende1Click();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildLayout();
    QWidget* buildOverviewPage();
    QWidget* buildIntradayPage();
    void buildStatusBar();
    void restoreWindowValues();
    void storeWindowValues();
    void fillSecurities();
    // Fills the selector from the groups, watch lists and rating lists (these not
    // while hidden), keeping the current text where it still exists. Returns whether
    // another entry is current now.
    bool rebuildSelector();
    void fillGrids();
    void rebuildFavouriteTabs();
    void afterShown();
    void rollover();

    Session m_session;
    CommandLine m_commandLine;
    std::unique_ptr<DialogInteraction> m_dialogs;
    Interaction* m_ui = nullptr;
    std::unique_ptr<StatusBarProgress> m_progress;
    std::unique_ptr<ToolBarBands> m_bands;
    std::unique_ptr<MainMenu> m_menu;
    PortfolioCommands* m_portfolio = nullptr;
    AnalysisCommands* m_analysis = nullptr;
    QTimer m_delayedStart;
    int m_exitStatus = 0;
    int m_firma = 0;
    bool m_shownOnce = false;
    bool m_closed = false;
    bool m_vollbild = false;

    QSplitter* m_splitter = nullptr;
    QCheckBox* m_favourites = nullptr;
    QComboBox* m_selector = nullptr;
    MoversPage* m_movers = nullptr;
    SecuritiesListPage* m_securitiesPage = nullptr;
    int m_branche = 0;
    int m_merkmal = 0;
    QPushButton* m_filterButton = nullptr;
    std::vector<ListChoice> m_choices;  // the selector's entries, in its order
    bool m_ratingListsHidden = false;   // the "&Analyse" page is open
    QString m_filterText;
    QTabBar* m_favouriteTabs = nullptr;
    QListView* m_list = nullptr;
    SecuritiesModel* m_securities = nullptr;
    QTabWidget* m_pages = nullptr;
    OverviewPage* m_overview = nullptr;
    SecuritySearchBar* m_search = nullptr;
    QTableView* m_priceGrid = nullptr;
    QTableView* m_volumeGrid = nullptr;
    RecordTableModel* m_priceModel = nullptr;
    RecordTableModel* m_volumeModel = nullptr;
    QLabel* m_panels[3] = {};
    QProgressBar* m_progressBar = nullptr;
    TIntradayTrend* m_trend = nullptr;
    HoldingsPage* m_holdings = nullptr;
    SoldPage* m_sold = nullptr;
    BookingsPage* m_bookings = nullptr;
    ComparisonPage* m_comparison = nullptr;
    IntradayCharts* m_intradayCharts = nullptr;
    LotsPage* m_lotsPage = nullptr;
    IntradayPage* m_intraday = nullptr;
    RatingPage* m_rating = nullptr;
};

}  // namespace q::ui
