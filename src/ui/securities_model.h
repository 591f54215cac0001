// The securities list of the left panel: every security of the securities master
// with a number above 0, in name order (index "IFirma"), optionally the favourites
// (`Aktiv`) only.
#pragma once

#include "overview/list_selection.h"

#include <QAbstractListModel>

namespace q::ui {

class SecuritiesModel final : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    struct Row {
        int Firma = 0;
        QString FirmenName;
        bool Aktiv = false;
    };

    // Reads the list from Firma.db; on failure the list is empty.
    Status load(Store& store, bool favouritesOnly);
    // The securities of the selection (resolveList); on failure the list is empty.
    Status load(Store& store, const ListSelection& selection);
    void clear();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    const QList<Row>& rows() const { return m_rows; }
    int firmaAt(int row) const;
    int rowOf(int firma) const;  // -1 when not listed

private:
    QList<Row> m_rows;
};

}  // namespace q::ui
