#include "ui/portfolio/lots_page.h"

#include "app/portfolio_binding.h"
#include "base/formats.h"
#include "ui/main_window.h"
#include "ui/portfolio/lots_model.h"
#include "ui/portfolio/portfolio_commands.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace q::ui {

LotsPage::LotsPage(TAktienkurse& window) : QWidget(&window), m_window(window) {
    setToolTip(QStringLiteral("Hier können Sie die An- und Verkäufe für das akt.Wertpapiere eintragen"));
    m_model = new LotsModel(LotsModel::lotGridColumns(), this);
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->setVisible(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setWordWrap(false);
    PortfolioCommands& commands = window.portfolio();
    m_ankauf = new QPushButton(QStringLiteral("Ankaufs-Assistent"), this);
    m_verkauf = new QPushButton(QStringLiteral("Verkaufs-Assistent"), this);
    m_ankaufKurz = new QPushButton(QStringLiteral("Ankaufs-Assistent(kurz)"), this);
    m_verkaufKurz = new QPushButton(QStringLiteral("Verkaufs-Assistent(kurz)"), this);
    auto* uebertragen = new QPushButton(QStringLiteral("Depotwerte übertragen"), this);
    uebertragen->setToolTip(QStringLiteral("Alle Depoteintrage werden auf ein andere Wertpapier übertragen. Übertragen SIe z.B. "
                                           "Zertifikate An-Verkäufe zum Basiskurs"));
    auto* dividende = new QPushButton(QStringLiteral("Dividenden Eingänge"), this);
    dividende->setToolTip(QStringLiteral("Speichern Sie die Dividendenzahlungen als Eingang unter dem Wertpapier"));
    auto* ausschuettung = new QPushButton(QStringLiteral("Ausschüttung Fond"), this);
    ausschuettung->setToolTip(QStringLiteral("Eintrag einer Wiederanlage bei Ausschüttenden Fonds"));
    auto* loeschen = new QPushButton(QStringLiteral("Posten löschen"), this);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_ankauf, m_verkauf, m_ankaufKurz, m_verkaufKurz, uebertragen, dividende, ausschuettung, loeschen})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    connect(m_ankauf, &QPushButton::clicked, &commands, &PortfolioCommands::Ankaufsassistent);
    connect(m_verkauf, &QPushButton::clicked, &commands, &PortfolioCommands::Verkaufsassistent);
    connect(m_ankaufKurz, &QPushButton::clicked, &commands, &PortfolioCommands::AnkaufKurz);
    connect(m_verkaufKurz, &QPushButton::clicked, &commands, &PortfolioCommands::VerkaufKurz);
    connect(uebertragen, &QPushButton::clicked, &commands, &PortfolioCommands::Uebertragen);
    connect(dividende, &QPushButton::clicked, &commands, &PortfolioCommands::Dividende);
    connect(ausschuettung, &QPushButton::clicked, &commands, &PortfolioCommands::Ausschuettung);
    connect(loeschen, &QPushButton::clicked, this, &LotsPage::Loeschen);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { updateButtons(); });
    updateButtons();
}

void LotsPage::showSecurity(int firma) {
    const Lot* selected = selectedLot();
    const qint64 keep = selected && firma == m_firma ? selected->id : -1;
    m_firma = firma;
    std::vector<Lot> lots;
    if (firma > 0) {
        auto table = m_window.session().store.table(kLots);
        auto read = table ? lotsOf(**table, firma) : Result<std::vector<Lot>>(table.status());
        if (read) lots = std::move(*read);
        else m_window.showStatus(read.status().message());
    }
    m_model->setDecimals(regionalSettings(m_window.session()).decimals);
    m_model->setLots(std::move(lots));
    m_grid->resizeColumnsToContents();
    if (!selectLot(keep) && m_model->rowCount() > 0) m_grid->selectRow(m_model->rowCount() - 1);
    updateButtons();
}

const Lot* LotsPage::selectedLot() const {
    const QModelIndex current = m_grid->selectionModel()->currentIndex();
    return current.isValid() ? m_model->lotAt(current.row()) : nullptr;
}

bool LotsPage::selectLot(qint64 id) {
    const int row = id >= 0 ? m_model->rowOf(id) : -1;
    if (row < 0) return false;
    m_grid->selectRow(row);
    updateButtons();
    return true;
}

void LotsPage::updateButtons() {
    const Lot* lot = selectedLot();
    const bool open = lot && !lot->isSold();
    m_verkauf->setVisible(open);
    m_verkaufKurz->setVisible(open);
}

void LotsPage::Loeschen() {
    const Lot* lot = selectedLot();
    if (!lot) return;
    const QString text = QStringLiteral("Soll der Posten %1 Anteile vom %2 gelöscht werden?").arg(formatGeneral(lot->Anteile), formatDate(lot->Datum));
    if (m_window.interaction().ask(QStringLiteral("Posten löschen"), text, Answer::No) != Answer::Yes) return;
    auto table = m_window.session().store.table(kLots);
    LotChanges changes;
    changes.removals.push_back(*lot);
    auto done = table ? writeLots(**table, changes) : Result<std::vector<qint64>>(table.status());
    if (!done) m_window.interaction().tell(done.status().message());
    showSecurity(m_firma);
}

}  // namespace q::ui
