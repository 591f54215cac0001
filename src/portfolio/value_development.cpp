#include "portfolio/value_development.h"

#include "base/formats.h"

namespace q {

namespace {

QString fixed(double value, int decimals = 2) { return formatSignificant(value, 15, decimals); }

}  // namespace

ValueDevelopment valueDevelopment(double shares, double meanBuy, double current, int position) {
    if (current == 0) return {{QStringLiteral(" "), false}, {QStringLiteral(" "), false}};
    const double d = position / 10.0;
    double trial = 0;
    if (meanBuy != 0) trial = meanBuy * (100 + d) / 100;
    else if (current > 0) trial = current * (100 + d) / 100;
    const double e = 100 * trial / current - 100;
    ValueDevelopment v;
    v.gain.text = QStringLiteral(" Kurs: %1  Ankauf: %2  Diff: %3%   %4")
                      .arg(fixed(trial), fixed(meanBuy), fixed(d), fixed((trial - meanBuy) * shares));
    v.gain.red = d < 0;
    v.current.text = QStringLiteral(" Kurs: %1  Akt.Kurs: %2  Diff: %3%   %4")
                         .arg(fixed(trial), fixed(current), fixed(e, 1), fixed((trial - current) * shares));
    v.current.red = e < 0;
    return v;
}

}  // namespace q
