#include "ui/securities_model.h"

#include <QBrush>
#include <QFont>

namespace q::ui {

Status SecuritiesModel::load(Store& store, bool favouritesOnly) {
    ListSelection all;
    all.favouritesOnly = favouritesOnly;
    return load(store, all);
}

Status SecuritiesModel::load(Store& store, const ListSelection& selection) {
    beginResetModel();
    m_rows.clear();
    auto list = resolveList(store, selection);
    if (list)
        for (const SecurityRecord& r : *list) m_rows << Row{r.Firma, r.FirmenName, r.Aktiv};
    endResetModel();
    return list.status();
}

void SecuritiesModel::clear() {
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int SecuritiesModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }

QVariant SecuritiesModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size()) return {};
    const Row& row = m_rows[index.row()];
    if (role == Qt::DisplayRole) return row.FirmenName;
    if (role == Qt::UserRole) return row.Firma;
    if (role == Qt::FontRole && row.Aktiv) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

int SecuritiesModel::firmaAt(int row) const { return row >= 0 && row < m_rows.size() ? m_rows[row].Firma : 0; }

int SecuritiesModel::rowOf(int firma) const {
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].Firma == firma) return i;
    return -1;
}

}  // namespace q::ui
