#pragma once

#include "Support/ScopedConnection.h"

#include <sigc++/sigc++.h>
#include <utility>

namespace cohortex {

// A value that tells its subscribers whenever it is assigned. Every assignment publishes, even one
// that stores an equal value: some observers (a save debounce, a "touched" timestamp) care about the
// act of writing, and those that only care about changes can compare for themselves.
//
// Subscribers own their connections (ScopedConnection, or sigc::trackable objects), so a view
// that goes away stops being called; sigc makes disconnecting or destroying a subscriber during an
// emission safe. Destroying the Observable itself from inside one of its own handlers is not.
// A handler that assigns again starts a nested emission, so the handlers after it in the outer
// emission already see the newer value — every handler always sees the current one.
//
// It is neither copyable nor movable: subscribers are connected to this particular property, and a
// copied signal would silently share or lose them.
template <typename T>
class Observable {
public:
    Observable() = default;
    explicit Observable(T initial)
        : m_value(std::move(initial))
    {
    }
    Observable(const Observable&) = delete;
    Observable& operator=(const Observable&) = delete;

    const T& get() const { return m_value; }
    const T& operator*() const { return m_value; }
    const T* operator->() const { return &m_value; }

    void set(T value)
    {
        m_value = std::move(value);
        m_changed.emit(m_value);
    }

    // Lets a caller change part of a larger value (one field of a record, one element of a list)
    // and publish once, instead of copying the whole value out and back in.
    template <typename F>
    void modify(F&& mutate)
    {
        std::forward<F>(mutate)(m_value);
        m_changed.emit(m_value);
    }

    // Subscribing does not change the value, so read-only holders may subscribe too.
    sigc::signal<void(const T&)>& changed() const { return m_changed; }

private:
    T m_value{};
    mutable sigc::signal<void(const T&)> m_changed;
};

} // namespace cohortex
