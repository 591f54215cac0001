// The days of one security in a table keyed (Firma, Datum), with one of its value
// fields: Aktien.db's `Kurs`, Volumen.db's `Volumen`. An export reads thousands of
// securities one after another; one statement, prepared once, serves them all.
#pragma once

#include "store/table.h"

#include <functional>

namespace q {

struct DayValue {
    int day = 0;         // day number
    double number = 0;   // the value as a number (0 when NULL)
    qint64 integer = 0;  // the value as an integer (0 when NULL)
    bool null = false;
};

// Used on one thread; the table stays owned by the store and must outlive it.
class DayValues {
public:
    // Prepares the read of `field` from `table`, which must have the fields Firma
    // and Datum. Fails with the store's message.
    static Result<DayValues> open(Table& table, const QString& field);

    // Visits the rows of `firma` dated `fromDay` … `toDay` (day numbers, both
    // included) in date order. Fails with the store's message.
    Status read(int firma, int fromDay, int toDay, const std::function<void(const DayValue&)>& visit);

private:
    DayValues() = default;
    Statement m_select;
};

}  // namespace q
