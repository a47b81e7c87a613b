#include "Engine/SessionCookieCodec.h"

#include "Support/Text.h"

#include <array>
#include <cstdlib>
#include <limits>
#include <memory>
#include <plist/plist.h>
#include <string_view>

namespace cohortex::SessionCookieCodec {

namespace {

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

struct CFree {
    void operator()(void* memory) const { std::free(memory); }
};

struct BinaryFree {
    void operator()(char* bytes) const { plist_to_bin_free(bytes); }
};

using SameSite = HttpCookie::SameSite;

constexpr std::array<std::pair<SameSite, const char*>, 3> sameSiteNames{ {
    { SameSite::None, "none" },
    { SameSite::Lax, "lax" },
    { SameSite::Strict, "strict" },
} };

// Property-list strings are NUL-terminated inside libplist, and its writer re-encodes them as UTF-16,
// so only well-formed UTF-8 without NUL characters survives a round trip unchanged.
bool isStorableText(std::string_view text)
{
    return text.find('\0') == std::string_view::npos && isValidUtf8(text);
}

bool isStorable(const HttpCookie& cookie)
{
    return isStorableText(cookie.name) && isStorableText(cookie.value) && isStorableText(cookie.domain)
        && isStorableText(cookie.path);
}

plist_t dictionaryFromCookie(const HttpCookie& cookie)
{
    plist_t dictionary = plist_new_dict();
    plist_dict_set_item(dictionary, "name", plist_new_string(cookie.name.c_str()));
    plist_dict_set_item(dictionary, "value", plist_new_string(cookie.value.c_str()));
    plist_dict_set_item(dictionary, "domain", plist_new_string(cookie.domain.c_str()));
    plist_dict_set_item(dictionary, "path", plist_new_string(cookie.path.c_str()));
    plist_dict_set_item(dictionary, "secure", plist_new_bool(cookie.secure));
    plist_dict_set_item(dictionary, "httpOnly", plist_new_bool(cookie.httpOnly));
    for (auto& [sameSite, name] : sameSiteNames) {
        if (sameSite == cookie.sameSite)
            plist_dict_set_item(dictionary, "sameSite", plist_new_string(name));
    }
    // Only session cookies are written, and they have no expiry; decode still reads one.
    return dictionary;
}

// A property that may be missing. A present value of the wrong type makes the whole cookie invalid.
template <typename T>
struct Field {
    std::optional<T> value;
    bool isValid{ true };
};

Field<std::string> stringField(plist_t dictionary, const char* key)
{
    plist_t node = plist_dict_get_item(dictionary, key);
    if (!node)
        return {};
    std::uint64_t length = 0;
    const char* text = plist_get_string_ptr(node, &length);
    if (!text || length > std::numeric_limits<std::size_t>::max())
        return { std::nullopt, false };
    std::string_view view(text, static_cast<std::size_t>(length));
    if (!isStorableText(view))
        return { std::nullopt, false };
    return { std::string(view), true };
}

Field<bool> booleanField(plist_t dictionary, const char* key)
{
    plist_t node = plist_dict_get_item(dictionary, key);
    if (!node)
        return {};
    if (plist_get_node_type(node) != PLIST_BOOLEAN)
        return { std::nullopt, false };
    std::uint8_t value = 0;
    plist_get_bool_val(node, &value);
    return { value != 0, true };
}

Field<Date> dateField(plist_t dictionary, const char* key)
{
    plist_t node = plist_dict_get_item(dictionary, key);
    if (!node)
        return {};
    if (plist_get_node_type(node) != PLIST_DATE)
        return { std::nullopt, false };
    std::int32_t seconds = 0;
    std::int32_t microseconds = 0;
    plist_get_date_val(node, &seconds, &microseconds);
    return { Date(seconds + microseconds / 1e6), true };
}

Field<SameSite> sameSiteField(plist_t dictionary)
{
    auto text = stringField(dictionary, "sameSite");
    if (!text.value)
        return { std::nullopt, text.isValid };
    for (auto& [sameSite, name] : sameSiteNames) {
        if (name == *text.value)
            return { sameSite, true };
    }
    return { std::nullopt, false };
}

std::optional<HttpCookie> cookieFromDictionary(plist_t dictionary)
{
    auto name = stringField(dictionary, "name");
    auto value = stringField(dictionary, "value");
    auto domain = stringField(dictionary, "domain");
    auto path = stringField(dictionary, "path");
    auto secure = booleanField(dictionary, "secure");
    auto httpOnly = booleanField(dictionary, "httpOnly");
    auto sameSite = sameSiteField(dictionary);
    auto expires = dateField(dictionary, "expires");
    if (!name.value || !value.value || !domain.value || !path.value || !secure.isValid || !httpOnly.isValid
        || !sameSite.isValid || !expires.isValid)
        return std::nullopt;
    return HttpCookie{ std::move(*name.value), std::move(*value.value), std::move(*domain.value),
        std::move(*path.value), expires.value, secure.value.value_or(false), httpOnly.value.value_or(false),
        sameSite.value.value_or(SameSite::Unspecified) };
}

// Walks the array once: looking elements up by index starts from the front every time.
std::vector<plist_t> arrayElements(plist_t array)
{
    std::vector<plist_t> elements;
    plist_array_iter rawIterator = nullptr;
    plist_array_new_iter(array, &rawIterator);
    std::unique_ptr<void, CFree> iterator(rawIterator);
    if (!iterator)
        return elements;
    for (plist_t element = nullptr;;) {
        plist_array_next_item(array, iterator.get(), &element);
        if (!element)
            return elements;
        elements.push_back(element);
    }
}

} // namespace

std::optional<Bytes> encode(std::span<const HttpCookie> cookies)
{
    PlistPtr array(plist_new_array());
    for (auto& cookie : cookies) {
        if (cookie.isSessionOnly() && isStorable(cookie))
            plist_array_append_item(array.get(), dictionaryFromCookie(cookie));
    }
    if (plist_array_get_size(array.get()) == 0)
        return std::nullopt;

    char* bytes = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(array.get(), &bytes, &length);
    std::unique_ptr<char, BinaryFree> owned(bytes);
    if (!bytes || !length)
        return std::nullopt;
    return Bytes(bytes, bytes + length);
}

std::vector<HttpCookie> decode(std::span<const std::uint8_t> blob)
{
    if (blob.empty() || blob.size() > std::numeric_limits<std::uint32_t>::max())
        return {};
    plist_t parsed = nullptr;
    plist_from_memory(
        reinterpret_cast<const char*>(blob.data()), static_cast<std::uint32_t>(blob.size()), &parsed);
    PlistPtr root(parsed);
    if (!root || plist_get_node_type(root.get()) != PLIST_ARRAY)
        return {};

    auto elements = arrayElements(root.get());
    // An array that holds anything but dictionaries is not a cookie blob at all.
    for (auto element : elements) {
        if (plist_get_node_type(element) != PLIST_DICT)
            return {};
    }
    std::vector<HttpCookie> cookies;
    for (auto element : elements) {
        if (auto cookie = cookieFromDictionary(element))
            cookies.push_back(std::move(*cookie));
    }
    return cookies;
}

} // namespace cohortex::SessionCookieCodec
