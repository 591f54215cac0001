#include "ui/portfolio/bookings_page.h"

#include "app/portfolio_binding.h"
#include "portfolio/bookings_view.h"
#include "ui/main_window.h"
#include "ui/portfolio/lots_model.h"
#include "ui/portfolio/open_document.h"
#include "ui/portfolio/portfolio_commands.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace q::ui {

BookingsPage::BookingsPage(TAktienkurse& window) : QWidget(&window), m_window(window), m_order(kBookingsOrder) {
    m_model = new LotsModel(LotsModel::bookingsColumns(), this);
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setAlternatingRowColors(true);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->setWordWrap(false);
    m_text = new QPushButton(QStringLiteral("Depot.txt"), this);
    m_text->setToolTip(QStringLiteral("In Textverarbeitung öffnen"));
    m_payment = new QPushButton(QStringLiteral("Zahlung"), this);
    m_payment->setToolTip(QStringLiteral("In Textverarbeitung öffnen"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_text);
    buttons->addWidget(m_payment);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_grid, 1);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, &BookingsPage::sortBy);
    connect(m_text, &QPushButton::clicked, this, &BookingsPage::Textverarbeitung);
    connect(m_payment, &QPushButton::clicked, this, [this] { m_window.portfolio().Zahlung(); });
}

void BookingsPage::reload() {
    auto table = m_window.session().store.table(kLots);
    if (!table) return m_window.showStatus(table.status().message());
    Query q;
    q.order = m_order;
    auto lots = readLots(**table, q);
    if (!lots) return m_window.showStatus(lots.status().message());
    m_model->setDecimals(regionalSettings(m_window.session()).decimals);
    m_model->setLots(std::move(*lots));
    m_grid->resizeColumnsToContents();
}

void BookingsPage::sortBy(int column) {
    if (column < 0 || column >= m_model->columns().size()) return;
    const QString next = nextSortIndex(m_order, m_model->columns()[column].title);
    auto table = m_window.session().store.table(kLots);
    if (!table) return m_window.showStatus(table.status().message());
    if (Status made = ensureSortIndex(**table, next); !made) return m_window.showStatus(made.message());
    m_order = next;
    reload();
}

void BookingsPage::Textverarbeitung() {
    Session& s = m_window.session();
    QStringList columns;
    for (const LotsModel::Column& c : m_model->columns()) columns << c.field;
    auto text = writeBookingsText(s.store, s.dirs.work, m_order, columns, portfolioSettings(s).homeSymbol);
    if (!text) return m_window.interaction().tell(text.status().message());
    m_window.showStatus(text->sumLine);
    openDocument(text->path, m_window.interaction());
}

}  // namespace q::ui
