#include "ui/overview/securities_list_page.h"

#include "overview/classifications.h"
#include "overview/list_selection.h"
#include "ui/commands/list_commands.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui/status_progress.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace q::ui {

namespace {

enum Column { kName, kWkn, kIsin, kTicker, kGruppe, kBranche, kMerkmal, kFavorit, kColumns };

const char* const kHeaders[kColumns] = {"Name", "WKN", "ISIN", "Ticker", "Gruppe", "Branche", "Merkmal", "Favorit"};

QHash<int, QString> namesOf(Store& store, Classification c) {
    QHash<int, QString> out;
    if (auto entries = readClassification(store, c))
        for (const ClassEntry& e : *entries) out.insert(e.GruppenIndex, e.GruppenName);
    return out;
}

}  // namespace

void SecuritiesTableModel::setSecurities(std::vector<SecurityRecord> all, QHash<int, QString> groups, QHash<int, QString> branches,
                                         QHash<int, QString> features) {
    beginResetModel();
    m_all = std::move(all);
    m_groups = std::move(groups);
    m_branches = std::move(branches);
    m_features = std::move(features);
    refilter();
    endResetModel();
}

void SecuritiesTableModel::setSearch(const QString& text) {
    beginResetModel();
    m_search = text;
    refilter();
    endResetModel();
}

void SecuritiesTableModel::refilter() {
    m_shown.clear();
    for (const SecurityRecord& s : m_all)
        if (matchesText(s, m_search)) m_shown.push_back(&s);
}

std::vector<int> SecuritiesTableModel::shownNumbers() const {
    std::vector<int> out;
    out.reserve(m_shown.size());
    for (const SecurityRecord* s : m_shown) out.push_back(s->Firma);
    return out;
}

int SecuritiesTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_shown.size()); }
int SecuritiesTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant SecuritiesTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(m_shown.size())) return {};
    const SecurityRecord& s = *m_shown[size_t(index.row())];
    if (role == Qt::UserRole) return s.Firma;
    if (role == Qt::CheckStateRole && index.column() == kFavorit) return s.Aktiv ? Qt::Checked : Qt::Unchecked;
    if (role != Qt::DisplayRole) return {};
    const auto named = [](const QHash<int, QString>& names, int n) { return names.value(n, n ? QString::number(n) : QString()); };
    switch (index.column()) {
    case kName: return s.FirmenName;
    case kWkn: return s.Kennung;
    case kIsin: return s.ISIN;
    case kTicker: return s.Ticker;
    case kGruppe: return named(m_groups, s.Gruppe);
    case kBranche: return named(m_branches, s.Branche);
    case kMerkmal: return named(m_features, s.Merkmal);
    default: return {};
    }
}

QVariant SecuritiesTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumns)
        return QString::fromLatin1(kHeaders[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

SecuritiesListPage::SecuritiesListPage(TAktienkurse& window, QWidget* parent) : QWidget(parent), m_window(window) {
    m_model = new SecuritiesTableModel(this);
    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("securitiesGrid"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);

    m_favourites = new QCheckBox(QStringLiteral("nur Favoriten"), this);
    m_list = new QComboBox(this);
    m_list->setToolTip(QStringLiteral("Es werden nur Wertpapiere dieser Gruppe angezeigt"));
    m_branch = new QComboBox(this);
    m_branch->setToolTip(QStringLiteral("Branche"));
    m_feature = new QComboBox(this);
    m_feature->setToolTip(QStringLiteral("Merkmal"));
    auto* filterEditor = new QPushButton(QStringLiteral("Filter-Editor"), this);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("securitiesSearch"));
    m_search->setPlaceholderText(QStringLiteral("Suchen nach Name, WKN oder ISIN"));
    m_search->setClearButtonEnabled(true);

    m_exportAll = new QAction(QStringLiteral("&Wertpapierliste exportieren (alle nach WKN)"), this);
    m_exportAll->setToolTip(QStringLiteral("Alle Wertpapiere nach WKN in die Textdatei Wertpapierliste.txt"));
    m_exportSelection = new QAction(QStringLiteral("Wertpapierliste der &Auswahl exportieren (nach Namen)"), this);
    m_exportSelection->setToolTip(QStringLiteral("Die Wertpapiere dieser Seite nach Namen in die Textdatei Wertpapierliste.txt"));
    connect(m_exportAll, &QAction::triggered, this, [this] { Exportieren(false); });
    connect(m_exportSelection, &QAction::triggered, this, [this] { Exportieren(true); });

    auto* boxes = new QHBoxLayout;
    boxes->addWidget(m_favourites);
    boxes->addWidget(m_list, 1);
    boxes->addWidget(m_branch, 1);
    boxes->addWidget(m_feature, 1);
    boxes->addWidget(filterEditor);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Suchen:"), this));
    searchRow->addWidget(m_search, 1);
    for (QAction* a : {m_exportAll, m_exportSelection}) {
        auto* b = new QToolButton(this);
        b->setDefaultAction(a);
        searchRow->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addLayout(searchRow);
    layout->addWidget(m_grid, 1);

    connect(m_search, &QLineEdit::textChanged, m_model, &SecuritiesTableModel::setSearch);
    connect(m_favourites, &QCheckBox::toggled, this, [this](bool on) {
        m_window.favouritesBox()->setChecked(on);
        reload();
    });
    connect(m_list, &QComboBox::activated, this, [this](int index) {
        m_window.selectList(index);
        reload();
    });
    connect(m_branch, &QComboBox::activated, this, &SecuritiesListPage::classificationChanged);
    connect(m_feature, &QComboBox::activated, this, &SecuritiesListPage::classificationChanged);
    connect(filterEditor, &QPushButton::clicked, this, [this] {
        m_window.filterButton()->click();
        reload();
    });
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        m_window.selectFirma(m_model->data(index, Qt::UserRole).toInt());
    });
    // The same marks as on the securities list, for the row under the mouse.
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = m_grid->indexAt(at);
        if (!index.isValid() || !m_window.selectFirma(m_model->data(index, Qt::UserRole).toInt())) return;
        ListCommands& lists = m_window.menu().lists();
        lists.updateContextChecks();
        if (lists.contextMenu()->exec(m_grid->viewport()->mapToGlobal(at))) reload();
    });
}

void SecuritiesListPage::fillBoxes() {
    const QSignalBlocker b1(m_list), b2(m_branch), b3(m_feature), b4(m_favourites);
    m_favourites->setChecked(m_window.onlyFavourites());
    const QComboBox* selector = m_window.listSelector();
    m_list->clear();
    for (int i = 0; i < selector->count(); ++i) m_list->addItem(selector->itemText(i));
    m_list->setCurrentIndex(selector->currentIndex());
    const ListSelection current = m_window.currentSelection();
    for (auto [box, kind, chosen] : {std::tuple{m_branch, Classification::Branchen, current.branche},
                                     std::tuple{m_feature, Classification::Merkmale, current.merkmal}}) {
        box->clear();
        if (auto entries = readClassification(m_window.session().store, kind))
            for (const ClassEntry& e : *entries) box->addItem(e.GruppenName, e.GruppenIndex);
        box->setCurrentIndex(std::max(0, box->findData(chosen)));
    }
}

void SecuritiesListPage::classificationChanged() {
    m_window.setBranchFeature(m_branch->currentData().toInt(), m_feature->currentData().toInt());
    reload();
}

void SecuritiesListPage::activate() {
    fillBoxes();
    reload();
}

void SecuritiesListPage::reload() {
    Store& store = m_window.session().store;
    auto list = resolveList(store, m_window.currentSelection());
    if (!list) m_window.showStatus(list.status().message());
    m_model->setSecurities(list ? std::move(*list) : std::vector<SecurityRecord>{}, namesOf(store, Classification::Gruppen),
                           namesOf(store, Classification::Branchen), namesOf(store, Classification::Merkmale));
    m_grid->resizeColumnsToContents();
}

void SecuritiesListPage::Exportieren(bool selection) {
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Wertpapierliste exportieren"),
                                                      m_window.session().dirs.data + QStringLiteral("Wertpapierliste.txt"),
                                                      QStringLiteral("Text Datei (*.txt *.TXT)"));
    if (!file.isEmpty()) (void)exportTo(file, selection);
}

Result<ExportCount> SecuritiesListPage::exportTo(const QString& path, bool selection) {
    std::vector<int> firmen;
    if (selection) {
        firmen = m_model->shownNumbers();
        if (firmen.empty()) {
            const Status none = Status::notFound(QStringLiteral("Die Auswahl enthält keine Wertpapiere"));
            m_window.interaction().tell(none.message());
            return none;
        }
    }
    auto written = [&] {
        WaitCursor wait;
        return exportSecurities(m_window.session().store, firmen, m_window.session().stations, path);
    }();
    if (!written) {
        m_window.interaction().tell(written.status().message());
        return written;
    }
    QString text = QStringLiteral("%1 Wertpapiere nach %2 geschrieben").arg(written->securities).arg(path);
    if (written->unmappable > 0)
        text += QStringLiteral(" (%1 Zeichen ohne Windows-1252-Entsprechung als \"?\")").arg(written->unmappable);
    m_window.showStatus(text);
    return written;
}

}  // namespace q::ui
