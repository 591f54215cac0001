// The filter editor's expression over the securities master: conditions
// "(Feld Vergleich 'Wert')" joined by AND and OR, with parentheses. The text is
// parsed once into a small tree and evaluated on each record in memory; nothing of
// it ever reaches SQL, so a value such as "' OR 1=1 --" is only a value.
//
// Design notes.
// 1. Grammar: expr = and ("OR" and)*; and = term ("AND" term)*; term = "(" expr ")"
//    | field op value. AND binds tighter than OR. Keywords in any letter case.
// 2. A field is a column of the table the expression is parsed against (any letter
//    case); the operators are "=", "<>", "<", ">", "<=", ">=" and nothing else.
// 3. A value is quoted with "'" (a doubled "''" stands for one quote) or a bare word
//    of letters, digits, "," "." "-" "+". For a numeric or logical field it must read
//    as a number (decimal comma or point) or as True/False; this is checked when
//    parsing, so a filter that parsed cannot fail on a record.
// 4. Text compares as the case-insensitive indexes order (compareNoCase); an empty
//    field reads as "" or 0.
#pragma once

#include "base/status.h"
#include "store/table.h"

#include <memory>
#include <vector>

namespace q {

class FilterExpression {
public:
    // Parses `text` against the fields of `layout`. An empty text (blanks only) gives
    // the filter that accepts every record. Fails Invalid with a message naming the
    // character position (counted from 1): "Unbekanntes Feld "X" an Stelle 2 des
    // Filters", an unknown comparison, an unclosed "(", a ")" without "(", an
    // unclosed quote, a value that is no number for a numeric field, a missing AND/OR.
    static Result<FilterExpression> parse(const QString& text, const Layout& layout);

    bool accepts(const Record& record) const;
    bool isEmpty() const { return m_root < 0; }

    enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };
    struct Node {
        enum class Kind { Condition, And, Or } kind = Kind::Condition;
        int left = -1;   // And/Or: child nodes
        int right = -1;
        QString field;   // Condition: the column as the layout spells it
        int column = -1; // its place in the layout's fields
        Op op = Op::Equal;
        bool numeric = false;  // compare as numbers (numeric and logical fields)
        double number = 0;
        QString text;
    };

private:
    bool eval(int node, const Record& record) const;
    std::vector<Node> m_nodes;
    int m_root = -1;
};

// The text the filter editor's "Bedingung einfügen" makes: "(" + field + op + "'" +
// value + "') ", after `text` and `combination` ("AND" or "OR") when `text` is not
// empty. A quote in `value` is doubled, so the value stays one value.
QString appendCondition(const QString& text, const QString& combination, const QString& field, const QString& op,
                        const QString& value);

}  // namespace q
