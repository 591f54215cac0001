#include "overview/filter_expression.h"

#include "base/formats.h"
#include "store/text_fold.h"

namespace q {

namespace {

QString at(int pos) { return QStringLiteral(" an Stelle %1 des Filters").arg(pos + 1); }

bool isNumericType(FieldType t) {
    return t == FieldType::Long || t == FieldType::Short || t == FieldType::Number || t == FieldType::Money ||
           t == FieldType::Logical || t == FieldType::Date || t == FieldType::Timestamp;
}

bool isOperatorChar(QChar c) { return c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('='); }

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char(',') || c == QLatin1Char('.') || c == QLatin1Char('-') ||
           c == QLatin1Char('+') || c == QLatin1Char('_');
}

class Parser {
public:
    Parser(const QString& text, const Layout& layout, std::vector<FilterExpression::Node>& nodes)
        : m_text(text), m_layout(layout), m_nodes(nodes) {}

    Result<int> parseAll() {
        auto root = orExpr();
        if (!root) return root.status();
        skip();
        if (m_pos < m_text.size()) {
            if (m_text[m_pos] == QLatin1Char(')'))
                return Status::invalid(QStringLiteral("Klammer \")\" ohne \"(\"") + at(m_pos));
            return Status::invalid(QStringLiteral("Erwartet wird AND oder OR") + at(m_pos));
        }
        return *root;
    }

private:
    void skip() {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace()) ++m_pos;
    }
    // The keyword at the current position (a whole word), consumed when found.
    bool keyword(const QString& word) {
        skip();
        const int end = m_pos + int(word.size());
        if (end > m_text.size() || m_text.mid(m_pos, word.size()).compare(word, Qt::CaseInsensitive) != 0) return false;
        if (end < m_text.size() && isWordChar(m_text[end])) return false;
        m_pos = end;
        return true;
    }
    int join(FilterExpression::Node::Kind kind, int left, int right) {
        FilterExpression::Node n;
        n.kind = kind;
        n.left = left;
        n.right = right;
        m_nodes.push_back(n);
        return int(m_nodes.size()) - 1;
    }
    Result<int> orExpr() {
        auto left = andExpr();
        if (!left) return left;
        int node = *left;
        while (keyword(QStringLiteral("OR"))) {
            auto right = andExpr();
            if (!right) return right;
            node = join(FilterExpression::Node::Kind::Or, node, *right);
        }
        return node;
    }
    Result<int> andExpr() {
        auto left = term();
        if (!left) return left;
        int node = *left;
        while (keyword(QStringLiteral("AND"))) {
            auto right = term();
            if (!right) return right;
            node = join(FilterExpression::Node::Kind::And, node, *right);
        }
        return node;
    }
    Result<int> term() {
        skip();
        if (m_pos >= m_text.size()) return Status::invalid(QStringLiteral("Der Filter endet mitten in einer Bedingung") + at(m_pos));
        if (m_text[m_pos] == QLatin1Char('(')) {
            const int open = m_pos++;
            auto inner = orExpr();
            if (!inner) return inner;
            skip();
            if (m_pos >= m_text.size() || m_text[m_pos] != QLatin1Char(')'))
                return Status::invalid(QStringLiteral("Es fehlt \")\" zur Klammer") + at(open));
            ++m_pos;
            return inner;
        }
        if (m_text[m_pos] == QLatin1Char(')')) return Status::invalid(QStringLiteral("Klammer \")\" ohne \"(\"") + at(m_pos));
        return condition();
    }
    Result<int> condition() {
        const int fieldPos = m_pos;
        while (m_pos < m_text.size() && !m_text[m_pos].isSpace() && !isOperatorChar(m_text[m_pos]) &&
               m_text[m_pos] != QLatin1Char('(') && m_text[m_pos] != QLatin1Char(')') && m_text[m_pos] != QLatin1Char('\''))
            ++m_pos;
        const QString name = m_text.mid(fieldPos, m_pos - fieldPos);
        if (name.isEmpty()) return Status::invalid(QStringLiteral("Erwartet wird ein Datenbankfeld") + at(fieldPos));
        const Field* field = m_layout.field(name);
        if (!field) return Status::invalid(QStringLiteral("Unbekanntes Feld \"%1\"").arg(name) + at(fieldPos));

        skip();
        const int opPos = m_pos;
        while (m_pos < m_text.size() && isOperatorChar(m_text[m_pos])) ++m_pos;
        const QString opText = m_text.mid(opPos, m_pos - opPos);
        FilterExpression::Node n;
        using Op = FilterExpression::Op;
        if (opText == QLatin1String("=")) n.op = Op::Equal;
        else if (opText == QLatin1String("<>")) n.op = Op::NotEqual;
        else if (opText == QLatin1String("<")) n.op = Op::Less;
        else if (opText == QLatin1String(">")) n.op = Op::Greater;
        else if (opText == QLatin1String("<=")) n.op = Op::LessEqual;
        else if (opText == QLatin1String(">=")) n.op = Op::GreaterEqual;
        else
            return Status::invalid(QStringLiteral("Unbekannter Vergleich \"%1\" (erlaubt: =, <>, <, >, <=, >=)").arg(opText) +
                                   at(opPos));

        skip();
        const int valuePos = m_pos;
        QString value;
        if (m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('\'')) {
            ++m_pos;
            bool closed = false;
            while (m_pos < m_text.size()) {
                if (m_text[m_pos] == QLatin1Char('\'')) {
                    if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    closed = true;
                    break;
                }
                value += m_text[m_pos++];
            }
            if (!closed) return Status::invalid(QStringLiteral("Das Anführungszeichen wird nicht geschlossen") + at(valuePos));
        } else {
            while (m_pos < m_text.size() && isWordChar(m_text[m_pos])) value += m_text[m_pos++];
            if (value.isEmpty()) return Status::invalid(QStringLiteral("Erwartet wird ein Wert") + at(valuePos));
        }

        n.kind = FilterExpression::Node::Kind::Condition;
        n.field = field->name;
        n.column = m_layout.fieldIndex(field->name);
        n.text = value;
        n.numeric = isNumericType(field->type);
        if (n.numeric) {
            const QString v = value.trimmed();
            if (field->type == FieldType::Logical &&
                (v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || v.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)) {
                n.number = v.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 ? 1 : 0;
            } else if (auto number = parseNumber(v)) {
                n.number = *number;
            } else {
                return Status::invalid(QStringLiteral("Das Feld %1 erwartet eine Zahl, nicht \"%2\"").arg(field->name, value) +
                                       at(valuePos));
            }
        }
        m_nodes.push_back(n);
        return int(m_nodes.size()) - 1;
    }

    const QString& m_text;
    const Layout& m_layout;
    std::vector<FilterExpression::Node>& m_nodes;
    int m_pos = 0;
};

template <typename T>
bool compare(FilterExpression::Op op, const T& c) {  // c: <0, 0, >0 as record against value
    using Op = FilterExpression::Op;
    switch (op) {
    case Op::Equal: return c == 0;
    case Op::NotEqual: return c != 0;
    case Op::Less: return c < 0;
    case Op::Greater: return c > 0;
    case Op::LessEqual: return c <= 0;
    case Op::GreaterEqual: return c >= 0;
    }
    return false;
}

}  // namespace

Result<FilterExpression> FilterExpression::parse(const QString& text, const Layout& layout) {
    FilterExpression f;
    if (text.trimmed().isEmpty()) return f;
    Parser parser(text, layout, f.m_nodes);
    auto root = parser.parseAll();
    if (!root) return root.status();
    f.m_root = *root;
    return f;
}

bool FilterExpression::accepts(const Record& record) const { return m_root < 0 || eval(m_root, record); }

bool FilterExpression::eval(int index, const Record& record) const {
    const Node& n = m_nodes[size_t(index)];
    switch (n.kind) {
    case Node::Kind::And: return eval(n.left, record) && eval(n.right, record);
    case Node::Kind::Or: return eval(n.left, record) || eval(n.right, record);
    case Node::Kind::Condition: break;
    }
    // Records of the layout the filter was parsed against hold the field at its
    // place; any other record is looked up by name.
    const QVariantList& values = record.values();
    const QVariant v = n.column >= 0 && n.column < values.size() && record.layout() &&
                               n.column < int(record.layout()->fields.size()) &&
                               record.layout()->fields[size_t(n.column)].name == n.field
                           ? values[n.column]
                           : record.value(n.field);
    if (n.numeric) {
        const double x = v.isNull() ? 0.0 : v.toDouble();
        return compare(n.op, x < n.number ? -1 : (x > n.number ? 1 : 0));
    }
    return compare(n.op, compareNoCase(v.toString(), n.text));
}

QString appendCondition(const QString& text, const QString& combination, const QString& field, const QString& op,
                        const QString& value) {
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    const QString condition = QLatin1Char('(') + field + op + QLatin1Char('\'') + quoted + QStringLiteral("') ");
    if (text.isEmpty()) return condition;
    return text + combination + QLatin1Char(' ') + condition;
}

}  // namespace q
