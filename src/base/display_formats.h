// The formats the window shows prices and share counts in, beside the amount and
// money formats of base/formats.h; the stored values stay unrounded.
#pragma once

#include <QString>

namespace q {

// The price format of grids and fields: `decimals` places with thousands points, and
// for a price that would show fewer than two significant digits so as many more
// places (up to 6) as three significant digits need ("0,00354"), so that a penny
// price never shows as 0,00.
QString formatPrice(double value, int decimals);
// A share count: whole counts without places ("1.200"), parts of shares with up to
// four ("24,6072").
QString formatShares(double value);

}  // namespace q
