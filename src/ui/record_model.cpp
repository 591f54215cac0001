#include "ui/record_model.h"

#include "base/formats.h"

#include <QHash>

namespace q::ui {

namespace {

QString formatted(const QVariant& v, FieldType type) {
    if (v.isNull()) return {};
    switch (type) {
    case FieldType::Date: return formatDate(dateFromDayNumber(v.toDouble()));
    case FieldType::Timestamp: return formatDateTime(dateTimeFromNumber(v.toDouble()));
    case FieldType::Money:
    case FieldType::Number: return formatAmount(v.toDouble(), 2);
    case FieldType::Long:
    case FieldType::Short: return formatAmount(v.toDouble(), 0);
    case FieldType::Logical: return v.toBool() ? QStringLiteral("ja") : QStringLiteral("nein");
    case FieldType::Alpha:
    case FieldType::Memo: return v.toString();
    }
    return v.toString();
}

bool isNumeric(FieldType t) {
    return t == FieldType::Money || t == FieldType::Number || t == FieldType::Long || t == FieldType::Short;
}

}  // namespace

QString fieldCaption(const QString& field) {
    static const QHash<QString, QString> words = {{QStringLiteral("erloes"), QStringLiteral("Erlös")},
                                                  {QStringLiteral("waehrung"), QStringLiteral("Währung")},
                                                  {QStringLiteral("firmenname"), QStringLiteral("Name")}};
    return words.value(field.toLower(), field);
}

void RecordTableModel::setColumns(const QList<GridColumn>& columns) {
    beginResetModel();
    m_columns = columns;
    m_rows.clear();
    m_types.clear();
    endResetModel();
}

Status RecordTableModel::load(Table& table, const Query& query) {
    beginResetModel();
    m_rows.clear();
    m_types.clear();
    for (const GridColumn& c : m_columns) {
        const Field* f = table.layout().field(c.field);
        m_types << (f ? f->type : FieldType::Alpha);
    }
    Status walked = table.forEach(query, [this](const Record& r) {
        QVariantList row;
        for (const GridColumn& c : m_columns) row << (r.has(c.field) ? r.value(c.field) : QVariant());
        m_rows << row;
        return true;
    });
    if (!walked) m_rows.clear();
    endResetModel();
    return walked;
}

void RecordTableModel::clear() {
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int RecordTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_rows.size()); }
int RecordTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_columns.size()); }

QVariant RecordTableModel::rawValue(int row, int column) const {
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns.size()) return {};
    return m_rows[row][column];
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const FieldType type = index.column() < m_types.size() ? m_types[index.column()] : FieldType::Alpha;
    if (role == Qt::DisplayRole) return formatted(rawValue(index.row(), index.column()), type);
    if (role == Qt::TextAlignmentRole && isNumeric(type)) return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        if (section >= m_columns.size()) return {};
        // A column the column editor added carries its field's name as its title (and
        // keeps it so in the settings); a title of the user's own shows as it is.
        const GridColumn& c = m_columns[section];
        return c.title.isEmpty() || c.title.compare(c.field, Qt::CaseInsensitive) == 0 ? fieldCaption(c.field) : c.title;
    }
    return section + 1;
}

}  // namespace q::ui
