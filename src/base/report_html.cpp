#include "base/report_html.h"

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

}  // namespace

QString toHtml(const Document& d) {
    QString out = QStringLiteral("<html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                                 "<body style=\"font-family:Arial,Helvetica,sans-serif\">\n")
                      .arg(d.title.toHtmlEscaped());
    const int columns = static_cast<int>(d.tabs.size()) + 1;
    bool inTable = false;
    auto closeTable = [&] {
        if (inTable) out += QStringLiteral("</table>\n");
        inTable = false;
    };
    for (const Paragraph& p : d.paragraphs) {
        if (p.cells.size() <= 1 || p.heading) {
            closeTable();
            QString line;
            // Cells of a line stand at tab stops in the RTF: keep them apart here.
            for (size_t c = 0; c < p.cells.size(); ++c) {
                if (c > 0 && !line.isEmpty()) line += QStringLiteral("&emsp;");
                line += cellHtml(p.cells[c], d);
            }
            out += p.empty() ? QStringLiteral("<p style=\"margin:0\">&nbsp;</p>\n")
                             : QStringLiteral("<p style=\"margin:0\">%1</p>\n").arg(line);
            continue;
        }
        if (!inTable) {
            out += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">");
            inTable = true;
        }
        out += QStringLiteral("<tr>");
        for (int i = 0; i < columns || i < static_cast<int>(p.cells.size()); ++i) {
            const int from = i == 0 ? 0 : (i - 1 < static_cast<int>(d.tabs.size()) ? d.tabs[i - 1].twips : 0);
            const int to = i < static_cast<int>(d.tabs.size()) ? d.tabs[i].twips : from + 720;
            const bool right = i > 0 && i - 1 < static_cast<int>(d.tabs.size()) && d.tabs[i - 1].align == Align::Right;
            const QString content = i < static_cast<int>(p.cells.size()) ? cellHtml(p.cells[i], d) : QString();
            // Columns widen to their text as the tab stops of a word processor let
            // a long cell run on: an amount never breaks over two lines.
            out += QStringLiteral("<td width=\"%1\" style=\"white-space:nowrap\"%2>%3</td>")
                       .arg(std::max(1, pixels(to - from)))
                       .arg(right ? QStringLiteral(" align=\"right\"") : QString(), content);
        }
        out += QStringLiteral("</tr>\n");
    }
    closeTable();
    return out + QStringLiteral("</body></html>\n");
}

}  // namespace q::report
