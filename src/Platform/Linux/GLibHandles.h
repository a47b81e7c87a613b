#pragma once

#include <glib.h>

namespace cohortex {

// Owns the error a GLib call reports through its GError** argument, so no path forgets to free it:
//
//     GErrorOut error;
//     auto* value = something_finish(result, error.out());
//     if (error)
//         ... error->message ...
class GErrorOut {
public:
    GErrorOut() = default;
    ~GErrorOut() { g_clear_error(&m_error); }
    GErrorOut(const GErrorOut&) = delete;
    GErrorOut& operator=(const GErrorOut&) = delete;

    GError** out() { return &m_error; }
    explicit operator bool() const { return m_error != nullptr; }
    const GError* get() const { return m_error; }
    const GError* operator->() const { return m_error; }

private:
    GError* m_error{ nullptr };
};

} // namespace cohortex
