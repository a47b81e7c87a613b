#pragma once

#include "Support/Date.h"

#include <cstddef>
#include <functional>
#include <optional>

namespace cohortex {

// Combines member hashes in order, so records can hash every stored field the way they compare them.
class HashBuilder {
public:
    template <typename T>
    HashBuilder& add(const T& value)
    {
        mix(std::hash<T>{}(value));
        return *this;
    }

    template <typename T>
    HashBuilder& add(const std::optional<T>& value)
    {
        mix(value ? std::hash<T>{}(*value) : 0x9e3779b9u);
        mix(value.has_value());
        return *this;
    }

    HashBuilder& add(Date date) { return add(date.secondsSinceReferenceDate()); }

    std::size_t value() const { return m_seed; }

private:
    void mix(std::size_t hash) { m_seed ^= hash + 0x9e3779b97f4a7c15ull + (m_seed << 6) + (m_seed >> 2); }

    std::size_t m_seed{ 0 };
};

} // namespace cohortex
