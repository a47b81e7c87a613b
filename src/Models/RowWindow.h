#pragma once

#include <cstddef>

namespace cohortex {

// The slice of a long list that is on screen when only a fixed number of rows are built: the list
// refills those few rows instead of building one per result.
class RowWindow {
public:
    explicit RowWindow(std::size_t capacity)
        : m_capacity(capacity)
    {
    }

    std::size_t capacity() const { return m_capacity; }
    std::size_t total() const { return m_total; }
    // The position of the first row shown.
    std::size_t first() const { return m_first; }
    // How many rows show: the capacity, or fewer at the end of a short list.
    std::size_t count() const;
    bool isScrollable() const { return m_total > m_capacity; }

    // A list that shrank keeps its last rows on screen rather than showing empty ones.
    void setTotal(std::size_t);
    // Moves as little as needed to bring the row on screen.
    void reveal(std::size_t index);
    void scrollTo(std::size_t first);
    // Moves by whole rows; what is left of a fraction is kept for the next call, so that small steps
    // of a touchpad add up.
    void scrollBy(double rows);

private:
    std::size_t lastFirst() const;

    std::size_t m_capacity;
    std::size_t m_total{ 0 };
    std::size_t m_first{ 0 };
    double m_pending{ 0 };
};

} // namespace cohortex
