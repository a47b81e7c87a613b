#include "Support/Json.h"

#include <cmath>
#include <exception>
#include <limits>

namespace cohortex::json {

namespace {

std::string quoted(std::string_view name)
{
    return "\"" + std::string(name) + "\"";
}

std::unexpected<Error> wrongType(std::string_view name, std::string_view expected)
{
    return makeError(quoted(name) + " is not " + std::string(expected));
}

// Doubles from 2^63 up no longer fit; -2^63 still does.
bool fitsInt64(double value)
{
    constexpr double limit = 9223372036854775808.0;
    return std::trunc(value) == value && value >= -limit && value < limit;
}

Expected<std::int64_t> decodeInteger(const Json& value, std::string_view name)
{
    if (value.is_number_unsigned()) {
        auto number = value.get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
            return wrongType(name, "a 64-bit integer");
        return static_cast<std::int64_t>(number);
    }
    if (value.is_number_integer())
        return value.get<std::int64_t>();
    if (value.is_number_float() && fitsInt64(value.get<double>()))
        return static_cast<std::int64_t>(value.get<double>());
    return wrongType(name, "a 64-bit integer");
}

Expected<double> decodeNumber(const Json& value, std::string_view name)
{
    if (!value.is_number() || !std::isfinite(value.get<double>()))
        return wrongType(name, "a finite number");
    return value.get<double>();
}

// Reads a string member and hands it to a text parser such as Uuid::parse.
template <typename Parser>
auto decodeText(const Json& value, std::string_view name, std::string_view expected, Parser parser)
    -> Expected<typename decltype(parser(std::string_view()))::value_type>
{
    if (!value.is_string())
        return wrongType(name, expected);
    auto parsed = parser(value.get_ref<const std::string&>());
    if (!parsed)
        return wrongType(name, expected);
    return *parsed;
}

// The member's value, or null when the object lacks it or holds null there.
Expected<const Json*> member(const Json& object, std::string_view key)
{
    if (!object.is_object())
        return makeError("expected a JSON object holding " + quoted(key));
    auto found = object.find(key);
    if (found == object.end() || found->is_null())
        return nullptr;
    return &*found;
}

// The parser itself is iterative, but dumping, copying and comparing a document recurse once per level,
// so a hostile file of nested brackets would overflow the stack later. Counting brackets outside
// strings is exact for valid JSON; for invalid JSON the parser reports the real fault anyway.
bool isNestedTooDeeply(std::string_view text)
{
    std::size_t depth = 0;
    bool isInString = false;
    for (std::size_t index = 0; index < text.size(); ++index) {
        char character = text[index];
        if (isInString) {
            if (character == '\\')
                ++index;
            else if (character == '"')
                isInString = false;
        } else if (character == '"')
            isInString = true;
        else if (character == '[' || character == '{') {
            if (++depth > maximumDepth)
                return true;
        } else if ((character == ']' || character == '}') && depth > 0)
            --depth;
    }
    return false;
}

} // namespace

Json encode(const Uuid& uuid)
{
    return uuid.string();
}

Json encode(const Url& url)
{
    return url.absoluteString();
}

Json encode(Date date)
{
    return date.secondsSinceReferenceDate();
}

template <StoredValue T>
Expected<T> decode(const Json& value, std::string_view name)
{
    if constexpr (std::same_as<T, std::string>) {
        if (!value.is_string())
            return wrongType(name, "a string");
        return value.get<std::string>();
    } else if constexpr (std::same_as<T, bool>) {
        if (!value.is_boolean())
            return wrongType(name, "true or false");
        return value.get<bool>();
    } else if constexpr (std::same_as<T, std::int64_t>)
        return decodeInteger(value, name);
    else if constexpr (std::same_as<T, double>)
        return decodeNumber(value, name);
    else if constexpr (std::same_as<T, Date>) {
        auto seconds = decodeNumber(value, name);
        if (!seconds)
            return std::unexpected(seconds.error());
        return Date(*seconds);
    } else if constexpr (std::same_as<T, Uuid>)
        return decodeText(value, name, "a UUID", [](std::string_view text) { return Uuid::parse(text); });
    else
        return decodeText(value, name, "a URL", [](std::string_view text) { return Url::parse(text); });
}

template <StoredValue T>
Expected<T> required(const Json& object, std::string_view key)
{
    auto value = member(object, key);
    if (!value)
        return std::unexpected(value.error());
    if (!*value)
        return makeError(quoted(key) + " is missing");
    return decode<T>(**value, key);
}

template <StoredValue T>
Expected<std::optional<T>> optional(const Json& object, std::string_view key)
{
    auto value = member(object, key);
    if (!value)
        return std::unexpected(value.error());
    if (!*value)
        return std::optional<T>();
    // std::expected has no transform() in the standard library we build with.
    auto decoded = decode<T>(**value, key);
    if (!decoded)
        return std::unexpected(decoded.error());
    return std::optional<T>(std::move(*decoded));
}

#define COHORTEX_JSON_READERS(T)                                                                             \
    template Expected<T> decode<T>(const Json&, std::string_view);                                           \
    template Expected<T> required<T>(const Json&, std::string_view);                                         \
    template Expected<std::optional<T>> optional<T>(const Json&, std::string_view);

COHORTEX_JSON_READERS(std::string)
COHORTEX_JSON_READERS(bool)
COHORTEX_JSON_READERS(std::int64_t)
COHORTEX_JSON_READERS(double)
COHORTEX_JSON_READERS(Date)
COHORTEX_JSON_READERS(Uuid)
COHORTEX_JSON_READERS(Url)
#undef COHORTEX_JSON_READERS

Expected<Json> parse(std::string_view text)
{
    if (isNestedTooDeeply(text))
        return makeError("JSON nested deeper than " + std::to_string(maximumDepth) + " levels");
    // Only the byte offset is reported: the library's own message quotes the input, which may be private.
    try {
        return Json::parse(text);
    } catch (const Json::parse_error& error) {
        return makeError("invalid JSON at byte " + std::to_string(error.byte));
    } catch (const std::exception& error) {
        return makeError(std::string("could not parse JSON: ") + error.what());
    }
}

Expected<Json> parse(std::span<const std::uint8_t> bytes)
{
    return parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string dump(const Json& value)
{
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string dumpAscii(const Json& value)
{
    return value.dump(-1, ' ', true, Json::error_handler_t::replace);
}

} // namespace cohortex::json
