#include "base/report_html.h"

#include <QRegularExpression>

namespace q::report {

namespace {

// 1440 twips per inch, 96 pixels per inch.
int pixels(int twips) { return twips / 15; }

QString span(const Run& r, const Document& d) {
    QString css = QStringLiteral("font-size:%1pt;").arg(r.style.halfPoints / 2.0);
    if (r.style.bold) css += QStringLiteral("font-weight:bold;");
    if (r.style.underline) css += QStringLiteral("text-decoration:underline;");
    if (r.style.colour > 0 && r.style.colour < static_cast<int>(d.colours.size())) {
        const Colour& c = d.colours[r.style.colour];
        css += QStringLiteral("color:#%1%2%3;")
                   .arg(c.red, 2, 16, QLatin1Char('0'))
                   .arg(c.green, 2, 16, QLatin1Char('0'))
                   .arg(c.blue, 2, 16, QLatin1Char('0'));
    }
    QString text = r.text.toHtmlEscaped();
    text.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return QStringLiteral("<span style=\"%1\">%2</span>").arg(css, text);
}

QString cellHtml(const std::vector<Run>& cell, const Document& d) {
    QString out;
    for (const Run& r : cell) out += span(r, d);
    return out;
}

QString plain(const std::vector<Run>& cell) {
    QString text;
    for (const Run& r : cell) text += r.text;
    return text.trimmed();
}

// An amount, a price, a percentage or a count, with its currency or "%": such a
// cell lines up at the right of its column whatever the tab stop says, as the
// digits of a column of figures must.
bool isFigure(const QString& text) {
    static const QRegularExpression figure(QStringLiteral("^[-+]?[0-9][0-9.]*(,[0-9]+)?( ?%| [A-Z\\x{20AC}$]{1,3})?$"));
    return figure.match(text).hasMatch();
}

// A heading of three or more cells, none empty, names the columns below it: it is a
// row of the table, so that each caption stands over its column.
bool isCaptionRow(const Paragraph& p) {
    if (!p.heading || p.cells.size() < 3) return false;
    for (const auto& cell : p.cells)
        if (plain(cell).isEmpty()) return false;
    return true;
}

}  // namespace

QString toHtml(const Document& d) {
    QString out = QStringLiteral("<html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                                 "<body style=\"font-family:Arial,Helvetica,sans-serif\">\n")
                      .arg(d.title.toHtmlEscaped());
    // Cells of a line stand at tab stops in the RTF: kept apart here.
    const auto joined = [&](const Paragraph& p) {
        QString line;
        for (size_t c = 0; c < p.cells.size(); ++c) {
            if (c > 0 && !line.isEmpty()) line += QStringLiteral("&emsp;");
            line += cellHtml(p.cells[c], d);
        }
        return line;
    };
    if (d.tabs.empty()) {
        for (const Paragraph& p : d.paragraphs)
            out += p.empty() ? QStringLiteral("<p style=\"margin:0\">&nbsp;</p>\n")
                             : QStringLiteral("<p style=\"margin:0\">%1</p>\n").arg(joined(p));
        return out + QStringLiteral("</body></html>\n");
    }
    // One table for the whole document, so that every row's cells stand in the same
    // columns however far a long cell widens its column; lines of one cell and
    // titles span the columns instead of widening the first.
    const int columns = static_cast<int>(d.tabs.size()) + 1;
    const auto cell = [&](const Paragraph& p, int i, int span) {
        const int from = i == 0 ? 0 : (i - 1 < static_cast<int>(d.tabs.size()) ? d.tabs[i - 1].twips : 0);
        const int to = i < static_cast<int>(d.tabs.size()) ? d.tabs[i].twips : from + 720;
        const bool inRow = i < static_cast<int>(p.cells.size());
        const bool right = (i > 0 && i - 1 < static_cast<int>(d.tabs.size()) && d.tabs[i - 1].align == Align::Right) ||
                           (inRow && i > 0 && isFigure(plain(p.cells[i])));
        const QString content = inRow ? cellHtml(p.cells[i], d) : QString();
        // Columns widen to their text as the tab stops of a word processor let a
        // long cell run on: an amount never breaks over two lines. The gap on the
        // side away from the text keeps a widened cell off its neighbour.
        const QString width = span > 1 ? QStringLiteral(" colspan=\"%1\"").arg(span)
                                       : QStringLiteral(" width=\"%1\"").arg(std::max(1, pixels(to - from)));
        return QStringLiteral("<td%1 style=\"white-space:nowrap;%2\"%3>%4</td>")
            .arg(width, right ? QStringLiteral("padding-left:12px") : QStringLiteral("padding-right:12px"),
                 right ? QStringLiteral(" align=\"right\"") : QString(), content);
    };
    out += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">\n");
    for (const Paragraph& p : d.paragraphs) {
        const int n = static_cast<int>(p.cells.size());
        bool gaps = false;
        for (const auto& c : p.cells) gaps = gaps || plain(c).isEmpty();
        const bool title = p.heading && !isCaptionRow(p);
        if (p.empty() || n <= 1 || (title && !gaps)) {
            out += QStringLiteral("<tr><td colspan=\"%1\">%2</td></tr>\n").arg(columns).arg(p.empty() ? QStringLiteral("&nbsp;") : joined(p));
            continue;
        }
        out += QStringLiteral("<tr>");
        for (int i = 0; i < columns || i < n;) {
            // A title's text runs on over the empty cells after it, up to its next one.
            int span = 1;
            while (title && i + span < n && plain(p.cells[size_t(i + span)]).isEmpty()) ++span;
            out += cell(p, i, span);
            i += span;
        }
        out += QStringLiteral("</tr>\n");
    }
    out += QStringLiteral("</table>\n");
    return out + QStringLiteral("</body></html>\n");
}

}  // namespace q::report
