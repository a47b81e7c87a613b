#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace cohortex {

// A 128-bit universally unique identifier. Workspaces and their data stores are named by these, and
// the upper-case text form is the one every stored record and directory name uses.
class Uuid {
public:
    using Bytes = std::array<std::uint8_t, 16>;

    // The nil UUID: all sixteen bytes zero.
    Uuid() = default;
    explicit constexpr Uuid(const Bytes& bytes)
        : m_bytes(bytes)
    {
    }

    // A random (version 4, variant 10) UUID from the kernel's random source.
    static Uuid random();

    // Accepts only the canonical 8-4-4-4-12 form, hex digits in either case; nothing around it.
    static std::optional<Uuid> parse(std::string_view text);

    // The canonical form with upper-case hex digits.
    std::string string() const;

    const Bytes& bytes() const { return m_bytes; }
    bool isNil() const;

    friend auto operator<=>(const Uuid&, const Uuid&) = default;
    bool operator==(const Uuid&) const = default;

private:
    Bytes m_bytes{};
};

} // namespace cohortex

template <>
struct std::hash<cohortex::Uuid> {
    std::size_t operator()(const cohortex::Uuid& uuid) const noexcept;
};
