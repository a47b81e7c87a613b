#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace cohortex {

// Sets an environment variable (or unsets it, for nullptr) while it lives, then puts back what was there.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value)
        : m_name(name)
    {
        if (const char* previous = std::getenv(name))
            m_previous = previous;
        set(value);
    }
    ~ScopedVariable() { set(m_previous ? m_previous->c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    void set(const char* value) { value ? ::setenv(m_name, value, 1) : ::unsetenv(m_name); }

    const char* m_name;
    std::optional<std::string> m_previous;
};

} // namespace cohortex
