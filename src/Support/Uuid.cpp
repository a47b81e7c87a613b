#include "Support/Uuid.h"

#include "Support/Log.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/random.h>

namespace cohortex {

namespace {

constexpr std::size_t textLength = 36;
constexpr std::array<std::size_t, 4> hyphenPositions{ 8, 13, 18, 23 };

bool isHyphenPosition(std::size_t index)
{
    return std::ranges::find(hyphenPositions, index) != hyphenPositions.end();
}

std::optional<std::uint8_t> hexValue(char character)
{
    if (character >= '0' && character <= '9')
        return static_cast<std::uint8_t>(character - '0');
    if (character >= 'a' && character <= 'f')
        return static_cast<std::uint8_t>(character - 'a' + 10);
    if (character >= 'A' && character <= 'F')
        return static_cast<std::uint8_t>(character - 'A' + 10);
    return std::nullopt;
}

// Without a working random source no identifier we hand out could be trusted to be unique, and every
// caller would have to handle a failure that cannot happen on a supported kernel; so stop here.
[[noreturn]] void abortForUnusableRandomSource(int error)
{
    logError(std::string("getrandom failed, no random source for UUIDs: ") + std::strerror(error));
    std::abort();
}

void fillRandom(Uuid::Bytes& bytes)
{
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        ssize_t result = ::getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (result < 0) {
            if (errno == EINTR)
                continue;
            abortForUnusableRandomSource(errno);
        }
        filled += static_cast<std::size_t>(result);
    }
}

} // namespace

Uuid Uuid::random()
{
    Bytes bytes;
    fillRandom(bytes);
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
    return Uuid(bytes);
}

std::optional<Uuid> Uuid::parse(std::string_view text)
{
    if (text.size() != textLength)
        return std::nullopt;
    Bytes bytes{};
    std::size_t nibble = 0;
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (isHyphenPosition(index)) {
            if (text[index] != '-')
                return std::nullopt;
            continue;
        }
        auto value = hexValue(text[index]);
        if (!value)
            return std::nullopt;
        bytes[nibble / 2] = static_cast<std::uint8_t>(bytes[nibble / 2] << 4 | *value);
        ++nibble;
    }
    return Uuid(bytes);
}

std::string Uuid::string() const
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(textLength);
    for (std::size_t index = 0; index < m_bytes.size(); ++index) {
        if (isHyphenPosition(text.size()))
            text.push_back('-');
        text.push_back(digits[m_bytes[index] >> 4]);
        text.push_back(digits[m_bytes[index] & 0x0F]);
    }
    return text;
}

bool Uuid::isNil() const
{
    return std::ranges::all_of(m_bytes, [](std::uint8_t byte) { return byte == 0; });
}

} // namespace cohortex

std::size_t std::hash<cohortex::Uuid>::operator()(const cohortex::Uuid& uuid) const noexcept
{
    // The bytes are already uniformly distributed for random UUIDs; mixing both halves keeps hand-made
    // ones (which often differ only at the end) spread as well.
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    std::memcpy(&high, uuid.bytes().data(), sizeof high);
    std::memcpy(&low, uuid.bytes().data() + sizeof high, sizeof low);
    return std::hash<std::uint64_t>{}(high ^ (low * 0x9E3779B97F4A7C15ull));
}
