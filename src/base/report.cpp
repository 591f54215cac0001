#include "base/report.h"

namespace q::report {

Paragraph& Paragraph::add(const QString& text, const Style& style) {
    cells.back().push_back({text, style});
    return *this;
}

Paragraph& Paragraph::tab() {
    cells.emplace_back();
    return *this;
}

bool Paragraph::empty() const {
    for (const auto& cell : cells)
        for (const Run& r : cell)
            if (!r.text.isEmpty()) return false;
    return cells.size() <= 1;
}

Paragraph& Document::paragraph() {
    paragraphs.emplace_back();
    return paragraphs.back();
}

QString Document::plainText() const {
    QStringList lines;
    for (const Paragraph& p : paragraphs) {
        QStringList cells;
        for (const auto& cell : p.cells) {
            QString text;
            for (const Run& r : cell) text += r.text;
            cells << text;
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace q::report
