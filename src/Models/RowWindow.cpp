#include "Models/RowWindow.h"

#include <algorithm>
#include <cmath>

namespace cohortex {

std::size_t RowWindow::count() const
{
    return std::min(m_capacity, m_total - m_first);
}

std::size_t RowWindow::lastFirst() const
{
    return m_total > m_capacity ? m_total - m_capacity : 0;
}

void RowWindow::setTotal(std::size_t total)
{
    m_total = total;
    m_first = std::min(m_first, lastFirst());
    if (!isScrollable())
        m_pending = 0;
}

void RowWindow::reveal(std::size_t index)
{
    if (index >= m_total || m_capacity == 0)
        return;
    if (index < m_first)
        m_first = index;
    else if (index >= m_first + m_capacity)
        m_first = index + 1 - m_capacity;
}

void RowWindow::scrollTo(std::size_t first)
{
    m_first = std::min(first, lastFirst());
    m_pending = 0;
}

void RowWindow::scrollBy(double rows)
{
    if (!std::isfinite(rows))
        return;
    m_pending += rows;
    double whole = std::trunc(m_pending);
    m_pending -= whole;
    if (whole < 0) {
        auto back = static_cast<std::size_t>(std::min(-whole, static_cast<double>(m_first)));
        m_first -= back;
    } else if (whole > 0) {
        auto room = lastFirst() - m_first;
        m_first += static_cast<std::size_t>(std::min(whole, static_cast<double>(room)));
    }
    // Against the ends, a scroll gesture that keeps going must not build up a debt to pay back first.
    if (m_first == 0 && m_pending < 0)
        m_pending = 0;
    if (m_first == lastFirst() && m_pending > 0)
        m_pending = 0;
}

} // namespace cohortex
