// The figures of the quote overview in the page's order, with their captions: the
// one list the window's panel and quintara-cli's `overview` both show.
#pragma once

#include "overview/fuellen.h"

namespace q {

struct ShownFigure {
    const char* caption;  // as the page labels it (UTF-8)
    const char* key;      // the JSON key of quintara-cli
    const Figure* figure; // into the FillResult it was taken from
    bool volume = false;  // a count of shares traded (the four volume statistics)
};

// Stochastic, strength, the statistics, the volatility ratios and the info texts;
// "KGV", "KCV" and the market capitalisation only where the master has them.
std::vector<ShownFigure> shownFigures(const FillResult& fill);

// The text the window's panel shows for `shown`: its figure's text, but a volume with
// thousands points as the volume list has it ("1.860.989") and every percentage with
// the blank before its sign ("151,12 %"). quintara-cli and the reports keep the text
// as made.
QString panelText(const ShownFigure& shown);

}  // namespace q
