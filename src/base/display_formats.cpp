#include "base/display_formats.h"

#include "base/formats.h"

#include <algorithm>
#include <cmath>

namespace q {

QString formatPrice(double value, int decimals) {
    const double magnitude = std::fabs(value);
    int places = decimals;
    if (magnitude > 0 && magnitude < std::pow(10.0, 1 - decimals) && std::isfinite(magnitude))
        places = std::clamp(2 - int(std::floor(std::log10(magnitude))), decimals, std::max(decimals, 6));
    return formatAmount(value, places);
}

QString formatShares(double value) {
    const double r = roundHalfEven(value, 4);
    QString text = formatAmount(r, r == std::trunc(r) ? 0 : 4);
    if (text.contains(QLatin1Char(','))) {
        while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    }
    return text;
}

}  // namespace q
