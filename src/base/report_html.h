// Shows a report document as HTML for the window's rich-text view and for printing:
// runs of paragraphs with tab stops become table rows whose columns follow the
// stops (a cell's column reaches from its stop to the next one and widens to its
// text; a right-aligned stop aligns its cell's text to the right of that column),
// other paragraphs and headings plain lines.
#pragma once

#include "base/report.h"

namespace q::report {

// HTML in the subset Qt's rich-text view understands (tables, spans with font size,
// weight, underline and colour).
QString toHtml(const Document& document);

}  // namespace q::report
