#include "ui/portfolio/lots_model.h"

#include "base/display_formats.h"
#include "base/formats.h"

namespace q::ui {

QList<LotsModel::Column> LotsModel::lotGridColumns() {
    return {{QStringLiteral("Anteile"), QStringLiteral("Anteile")},     {QStringLiteral("Datum"), QStringLiteral("Ankauf")},
            {QStringLiteral("Ankauf"), QStringLiteral("Ankaufspreis")}, {QStringLiteral("Verkauf"), QStringLiteral("Verkauf")},
            {QStringLiteral("Erloes"), QStringLiteral("Verkaufspreis")}, {QStringLiteral("FirmenName"), QStringLiteral("Bezeichnung")}};
}

QList<LotsModel::Column> LotsModel::bookingsColumns() {
    return {{QStringLiteral("FirmenName"), QStringLiteral("Bezeichnung")}, {QStringLiteral("Anteile"), QStringLiteral("Anteile")},
            {QStringLiteral("Datum"), QStringLiteral("Datum")},             {QStringLiteral("Ankauf"), QStringLiteral("Ankauf")},
            {QStringLiteral("Verkauf"), QStringLiteral("Verkauf")},         {QStringLiteral("Erloes"), QStringLiteral("Erlös")}};
}

LotsModel::LotsModel(QList<Column> columns, QObject* parent) : QAbstractTableModel(parent), m_columns(std::move(columns)) {}

void LotsModel::setLots(std::vector<Lot> lots) {
    beginResetModel();
    m_lots = std::move(lots);
    endResetModel();
}

const Lot* LotsModel::lotAt(int row) const {
    return row >= 0 && row < static_cast<int>(m_lots.size()) ? &m_lots[static_cast<size_t>(row)] : nullptr;
}

int LotsModel::rowOf(qint64 id) const {
    for (size_t i = 0; i < m_lots.size(); ++i)
        if (m_lots[i].id == id) return static_cast<int>(i);
    return -1;
}

int LotsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : static_cast<int>(m_lots.size()); }
int LotsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_columns.size(); }

QVariant LotsModel::data(const QModelIndex& index, int role) const {
    const Lot* lot = lotAt(index.row());
    if (!lot || index.column() < 0 || index.column() >= m_columns.size()) return {};
    const QString& field = m_columns[index.column()].field;
    const bool text = field == QLatin1String("FirmenName");
    const bool date = field == QLatin1String("Datum") || field == QLatin1String("Verkauf");
    if (role == Qt::TextAlignmentRole) return int((text || date ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    if (field == QLatin1String("Anteile")) return formatShares(lot->Anteile);
    if (field == QLatin1String("Datum")) return formatDate(lot->Datum);
    if (field == QLatin1String("Ankauf")) return formatPrice(lot->Ankauf, m_decimals);
    if (field == QLatin1String("Verkauf")) return formatDate(lot->Verkauf);
    if (field == QLatin1String("Erloes")) return lot->isSold() ? formatPrice(lot->Erloes, m_decimals) : QString();
    return lot->FirmenName;
}

QVariant LotsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= m_columns.size()) return {};
    return m_columns[section].title;
}

}  // namespace q::ui
