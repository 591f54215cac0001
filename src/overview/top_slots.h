// The top-N list the rating run and the movers keep: N slots seeded with a value
// every real entry beats; a new entry that beats the first slot takes its place and
// sinks as far as it beats the slots after it, which move up one place. The last
// slot holds the best entry. Equal keys keep the earlier entry ahead.
#pragma once

#include <algorithm>
#include <optional>
#include <vector>

namespace q {

template <typename T>
class TopSlots {
public:
    // `higherIsBetter`: winners (seed −1,000 for example); false: losers (seed +1,000).
    TopSlots(int slots, double seed, bool higherIsBetter)
        : m_slots(size_t(std::max(1, slots)), Slot{seed, std::nullopt}), m_higher(higherIsBetter) {}

    void add(double key, const T& entry) {
        if (!beats(key, m_slots[0].key)) return;
        size_t j = 0;
        for (size_t k = 1; k < m_slots.size(); ++k)
            if (beats(key, m_slots[k].key)) j = k;
        for (size_t k = 0; k < j; ++k) m_slots[k] = m_slots[k + 1];
        m_slots[j] = Slot{key, entry};
    }

    // The filled slots, best first, with their keys.
    std::vector<std::pair<double, T>> bestFirst() const {
        std::vector<std::pair<double, T>> out;
        for (auto it = m_slots.rbegin(); it != m_slots.rend(); ++it)
            if (it->entry) out.emplace_back(it->key, *it->entry);
        return out;
    }

private:
    struct Slot {
        double key;
        std::optional<T> entry;
    };
    bool beats(double a, double b) const { return m_higher ? a > b : a < b; }

    std::vector<Slot> m_slots;
    bool m_higher;
};

}  // namespace q
