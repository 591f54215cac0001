// The two lines of the value development window "Wertentwicklung": what the held
// shares would gain at a trial price a slider sets, against the mean buy price and
// against the current price.
#pragma once

#include <QString>

namespace q {

struct ValueDevelopmentLine {
    QString text;
    bool red = false;  // a loss
};

struct ValueDevelopment {
    ValueDevelopmentLine gain;     // "Gewinnentwicklung für bestehende Anlage"
    ValueDevelopmentLine current;  // "Prozent zum aktuellen Kurs"
};

// The slider's range and tick step; its position is tenths of a percent.
inline constexpr int kValueSliderMin = -1000;
inline constexpr int kValueSliderMax = 5000;
inline constexpr int kValueSliderTick = 50;

// The lines for `shares` held at the mean buy price `meanBuy` with the current price
// `current`, the slider at `position` (d = position ÷ 10 percent). The trial price
// is meanBuy × (100 + d) ÷ 100, or the current price moved by d when there is no buy
// price. Line one: " Kurs: X  Ankauf: B  Diff: d%   (X − B) × shares", red when
// d < 0; line two: " Kurs: X  Akt.Kurs: C  Diff: e%   (X − C) × shares" with
// e = 100 × X ÷ C − 100 (one place), red when e < 0. Numbers have two places.
// Without a current price both lines are a single blank.
ValueDevelopment valueDevelopment(double shares, double meanBuy, double current, int position);

}  // namespace q
