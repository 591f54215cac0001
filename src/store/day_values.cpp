#include "store/day_values.h"

namespace q {

Result<DayValues> DayValues::open(Table& table, const QString& field) {
    DayValues v;
    auto st = table.db().prepare(QStringLiteral("SELECT \"Datum\", %2 FROM %1 WHERE \"Firma\" = ? AND \"Datum\" >= ? AND \"Datum\" <= ? ORDER BY \"Datum\"")
                                     .arg(quoted(table.layout().table), quoted(field)));
    if (!st) return st.status();
    v.m_select = std::move(*st);
    return v;
}

Status DayValues::read(int firma, int fromDay, int toDay, const std::function<void(const DayValue&)>& visit) {
    m_select.bind(1, firma);
    m_select.bind(2, fromDay);
    m_select.bind(3, toDay);
    DayValue value;
    for (;;) {
        auto row = m_select.step();
        if (!row) {
            m_select.reset();
            return row.status();
        }
        if (!*row) break;
        value.day = int(m_select.columnInt(0));
        value.null = m_select.columnIsNull(1);
        value.number = value.null ? 0.0 : m_select.columnDouble(1);
        value.integer = value.null ? 0 : m_select.columnInt(1);
        visit(value);
    }
    m_select.reset();
    return Status::ok();
}

}  // namespace q
