// FIXME: A stand-in for the real session cookie codec so that the data stores link and their tests
// run; it is deleted when the codec itself arrives. Its format (length-prefixed text fields and one
// flag byte per cookie) is not the stored one and nothing may depend on it.
#include "Engine/SessionCookieCodec.h"

#include <string>

namespace cohortex::SessionCookieCodec {

namespace {

void appendField(Bytes& blob, const std::string& field)
{
    auto size = static_cast<std::uint32_t>(field.size());
    for (int shift = 0; shift < 32; shift += 8)
        blob.push_back(static_cast<std::uint8_t>(size >> shift));
    blob.insert(blob.end(), field.begin(), field.end());
}

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes)
        : m_bytes(bytes)
    {
    }

    bool field(std::string& out)
    {
        if (m_bytes.size() < 4)
            return false;
        std::uint32_t size = 0;
        for (int i = 0; i < 4; ++i)
            size |= static_cast<std::uint32_t>(m_bytes[i]) << (8 * i);
        if (m_bytes.size() - 4 < size)
            return false;
        out.assign(m_bytes.begin() + 4, m_bytes.begin() + 4 + size);
        m_bytes = m_bytes.subspan(4 + size);
        return true;
    }

    bool byte(std::uint8_t& out)
    {
        if (m_bytes.empty())
            return false;
        out = m_bytes.front();
        m_bytes = m_bytes.subspan(1);
        return true;
    }

private:
    std::span<const std::uint8_t> m_bytes;
};

} // namespace

std::optional<Bytes> encode(std::span<const HttpCookie> cookies)
{
    Bytes blob;
    for (const auto& cookie : cookies) {
        if (!cookie.isSessionOnly())
            continue;
        for (const auto* field : { &cookie.name, &cookie.value, &cookie.domain, &cookie.path })
            appendField(blob, *field);
        blob.push_back(static_cast<std::uint8_t>(
            cookie.secure | cookie.httpOnly << 1 | static_cast<int>(cookie.sameSite) << 2));
    }
    if (blob.empty())
        return std::nullopt;
    return blob;
}

std::vector<HttpCookie> decode(std::span<const std::uint8_t> blob)
{
    std::vector<HttpCookie> cookies;
    Reader reader(blob);
    while (true) {
        HttpCookie cookie;
        std::uint8_t flags = 0;
        if (!reader.field(cookie.name) || !reader.field(cookie.value) || !reader.field(cookie.domain)
            || !reader.field(cookie.path) || !reader.byte(flags))
            return cookies;
        cookie.secure = flags & 1;
        cookie.httpOnly = flags & 2;
        cookie.sameSite = static_cast<HttpCookie::SameSite>((flags >> 2) & 3);
        cookies.push_back(std::move(cookie));
    }
}

} // namespace cohortex::SessionCookieCodec
