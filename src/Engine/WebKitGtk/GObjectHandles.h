#pragma once

#include <glib-object.h>
#include <memory>
#include <utility>

namespace cohortex {

// Owns one reference to a GObject. Copies take a reference of their own, so a handle can travel in a
// std::function or a coroutine frame and keep the object alive for as long as it is needed there.
template <typename T>
class GObjectPtr {
public:
    GObjectPtr() = default;
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
    ~GObjectPtr()
    {
        if (m_object)
            g_object_unref(m_object);
    }

    // Takes over a reference the caller owns: what constructors and transfer-full calls return.
    static GObjectPtr adopt(T* object)
    {
        GObjectPtr handle;
        handle.m_object = object;
        return handle;
    }
    // Adds a reference to a borrowed object: transfer-none getters and signal arguments.
    static GObjectPtr retain(T* object)
    {
        return adopt(object ? static_cast<T*>(g_object_ref(object)) : nullptr);
    }

    T* get() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    void reset() { *this = GObjectPtr(); }

private:
    T* m_object{ nullptr };
};

struct GFreeDeleter {
    void operator()(void* memory) const { g_free(memory); }
};
// A string GLib allocated and the caller must free.
using GCharPtr = std::unique_ptr<char, GFreeDeleter>;

// A GError the caller owns. Pass out() where a function reports its failure.
class GErrorPtr {
public:
    GErrorPtr() = default;
    GErrorPtr(const GErrorPtr&) = delete;
    GErrorPtr& operator=(const GErrorPtr&) = delete;
    ~GErrorPtr() { clear(); }

    GError** out()
    {
        clear();
        return &m_error;
    }
    explicit operator bool() const { return m_error != nullptr; }
    GError* get() const { return m_error; }
    const char* message() const { return m_error ? m_error->message : ""; }

private:
    void clear() { g_clear_error(&m_error); }

    GError* m_error{ nullptr };
};

// A signal handler that is disconnected when this goes away, so that nothing calls into a destroyed
// object. It keeps the instance alive until then.
class GSignalConnection {
public:
    GSignalConnection() = default;
    GSignalConnection(GObjectPtr<GObject> instance, gulong handler)
        : m_instance(std::move(instance))
        , m_handler(handler)
    {
    }
    GSignalConnection(GSignalConnection&& other) noexcept
        : m_instance(std::move(other.m_instance))
        , m_handler(std::exchange(other.m_handler, 0))
    {
    }
    GSignalConnection& operator=(GSignalConnection&& other) noexcept
    {
        if (this != &other) {
            disconnect();
            m_instance = std::move(other.m_instance);
            m_handler = std::exchange(other.m_handler, 0);
        }
        return *this;
    }
    ~GSignalConnection() { disconnect(); }

    void disconnect()
    {
        if (m_instance && m_handler)
            g_signal_handler_disconnect(m_instance.get(), m_handler);
        m_instance.reset();
        m_handler = 0;
    }

private:
    GObjectPtr<GObject> m_instance;
    gulong m_handler{ 0 };
};

} // namespace cohortex
