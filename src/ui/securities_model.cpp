#include "ui/securities_model.h"

#include <QBrush>
#include <QFont>

namespace q::ui {

Status SecuritiesModel::load(Store& store, bool favouritesOnly) {
    beginResetModel();
    m_rows.clear();
    Status result = Status::ok();
    auto table = store.table(QStringLiteral("Firma.db"));
    if (!table) {
        result = table.status();
    } else {
        Query query;
        query.order = QStringLiteral("IFirma");
        result = (*table)->forEach(query, [&](const Record& r) {
            Row row{r.value(QStringLiteral("Firma")).toInt(), r.value(QStringLiteral("FirmenName")).toString(),
                    r.value(QStringLiteral("Aktiv")).toBool()};
            if (row.Firma > 0 && (!favouritesOnly || row.Aktiv)) m_rows << row;
            return true;
        });
        if (!result) m_rows.clear();
    }
    endResetModel();
    return result;
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
