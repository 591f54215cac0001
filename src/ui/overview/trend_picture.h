// The five trend pictures of the rating: an arrow from steeply rising (1) over
// rising (3), level (5) and falling (4) to steeply falling (2).
#pragma once

#include <QPixmap>

namespace q::ui {

// Picture 1 to 5 at `size` pixels square; a number outside 1..5 gives a level arrow.
QPixmap trendPicture(int picture, int size = 48);

}  // namespace q::ui
