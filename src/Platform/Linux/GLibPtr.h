#pragma once

#include "Support/Error.h"

#include <glib-object.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace cohortex {

// Owns one reference to a GObject. Copies take another reference, so a GLib callback can share an
// object with the code that started it; the last owner to go drops it.
template <typename T>
class GObjectPtr {
public:
    GObjectPtr() = default;
    // Takes over a reference the caller already owns: what a "transfer full" function returns.
    explicit GObjectPtr(T* adopted)
        : m_object(adopted)
    {
    }
    // Adds a reference of its own to an object borrowed from GLib ("transfer none").
    static GObjectPtr retain(T* borrowed)
    {
        return GObjectPtr(borrowed ? static_cast<T*>(g_object_ref(borrowed)) : nullptr);
    }

    GObjectPtr(const GObjectPtr& other)
        : m_object(other.m_object ? static_cast<T*>(g_object_ref(other.m_object)) : nullptr)
    {
    }
    GObjectPtr(GObjectPtr&& other) noexcept
        : m_object(std::exchange(other.m_object, nullptr))
    {
    }
    GObjectPtr& operator=(GObjectPtr other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~GObjectPtr() { reset(); }

    T* get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    void reset()
    {
        if (auto* object = std::exchange(m_object, nullptr))
            g_object_unref(object);
    }

private:
    T* m_object{ nullptr };
};

// Owns the GError a GLib call reports through its GError** argument.
class GErrorPtr {
public:
    GErrorPtr() = default;
    GErrorPtr(const GErrorPtr&) = delete;
    GErrorPtr& operator=(const GErrorPtr&) = delete;
    ~GErrorPtr() { reset(); }

    // The argument to pass to a GLib call; an error held from before is dropped first.
    GError** out()
    {
        reset();
        return &m_error;
    }
    const GError* get() const { return m_error; }
    explicit operator bool() const { return m_error != nullptr; }
    bool matches(GQuark domain, int code) const { return g_error_matches(m_error, domain, code); }
    std::string message() const { return m_error ? m_error->message : "unknown error"; }
    // The one place where a GLib failure turns into the Error that crosses layers.
    Error toError() const { return Error{ message() }; }

    void reset()
    {
        if (auto* error = std::exchange(m_error, nullptr))
            g_error_free(error);
    }

private:
    GError* m_error{ nullptr };
};

struct GFreeDeleter {
    void operator()(void* memory) const { g_free(memory); }
};
// A string or buffer that GLib hands over and expects to be released with g_free.
using GCharPtr = std::unique_ptr<char, GFreeDeleter>;

struct GVariantDeleter {
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
};
// A D-Bus reply or other GVariant whose reference we own.
using GVariantPtr = std::unique_ptr<GVariant, GVariantDeleter>;

// Takes over a GList of object references ("transfer full", elements and list alike), as the
// enumerating calls return them.
template <typename T>
std::vector<GObjectPtr<T>> adoptObjectList(GList* list)
{
    std::vector<GObjectPtr<T>> objects;
    for (auto* link = list; link; link = link->next)
        objects.emplace_back(static_cast<T*>(link->data));
    g_list_free(list);
    return objects;
}

} // namespace cohortex
