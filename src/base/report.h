// The report model: a small document of paragraphs whose cells stand at tab stops,
// each cell a sequence of styled runs (size, bold, underline, colour). One model is
// written as an RTF file (report_rtf.h) for word processors and shown as HTML
// (report_html.h) in the window and in print, so both show the same text.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace q::report {

struct Colour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

enum class Align { Left, Right };

struct TabStop {
    int twips = 0;  // from the left margin; 1440 twips are an inch
    Align align = Align::Left;
};

struct Style {
    int halfPoints = 16;  // font size in half points (16 = 8 pt)
    bool bold = false;
    bool underline = false;
    int colour = 0;  // index into Document::colours; 0 is the text colour
};

struct Run {
    QString text;
    Style style;
};

// One line: the first cell at the margin, each further cell at the next tab stop.
struct Paragraph {
    std::vector<std::vector<Run>> cells = {{}};
    // A line of its own (a title over a block) rather than a row of the table: the
    // HTML view shows its cells side by side, not in the table's columns.
    bool heading = false;

    // Appends text to the current cell.
    Paragraph& add(const QString& text, const Style& style);
    // Starts the next cell.
    Paragraph& tab();
    bool empty() const;
};

struct Document {
    QString title;
    std::vector<Colour> colours = {Colour{}};
    std::vector<TabStop> tabs;
    std::vector<Paragraph> paragraphs;

    // Appends an empty paragraph and returns it.
    Paragraph& paragraph();
    // The text of the document: cells joined by tabs, paragraphs by line ends.
    QString plainText() const;
};

}  // namespace q::report
