// The windows a reading run opens: the securities editor for each new security, and
// with `AutoSplit` the split dialog for a fall that looks like a split.
#pragma once

#include "acquisition/quote_book.h"

namespace q::ui {

class TAktienkurse;

class WindowHooks final : public ReadingHooks {
public:
    explicit WindowHooks(TAktienkurse& window) : m_window(window) {}
    void reviewNewSecurity(Store& store, int firma, const QString& caption) override;
    bool offerSplit(Store& store, int firma, const QString& caption, double lastPrice, int ratio) override;

private:
    TAktienkurse& m_window;
};

}  // namespace q::ui
