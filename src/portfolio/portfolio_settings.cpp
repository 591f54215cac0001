#include "portfolio/portfolio_settings.h"

namespace q {

bool SpeculationRule::isTaxable(const QDate& bought, qint64 heldDays) const {
    const int period = bought < ab ? tage : tageNeu;
    return period == 0 || heldDays < period;
}

}  // namespace q
