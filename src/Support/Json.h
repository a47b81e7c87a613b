#pragma once

#include "Support/Date.h"
#include "Support/Error.h"
#include "Support/Url.h"
#include "Support/Uuid.h"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cohortex {

// Members keep the order they were written in, so stored records read back and diff the same way.
using Json = nlohmann::ordered_json;

// Reading and writing stored records. Every reader reports a missing or malformed member as an error
// that names the member, and never names or quotes its value: records may hold data that must stay out
// of logs.
namespace json {

// The value types a stored record holds.
template <typename T>
concept StoredValue
    = std::same_as<T, std::string> || std::same_as<T, bool> || std::same_as<T, std::int64_t> || std::same_as<
        T, double> || std::same_as<T, Date> || std::same_as<T, Uuid> || std::same_as<T, Url>;

// Documents nested deeper than this are refused when parsed (see parse).
constexpr std::size_t maximumDepth = 512;

Json encode(const Uuid&); // The upper-case text form.
Json encode(const Url&); // The text as parsed.
Json encode(Date); // Seconds since 2001-01-01 UTC.

// The JSON form of any stored value.
template <StoredValue T>
Json encodeValue(const T& value)
{
    if constexpr (std::same_as<T, Uuid> || std::same_as<T, Url> || std::same_as<T, Date>)
        return encode(value);
    else
        return Json(value);
}

// Reads one value by the rules below; `name` says what it is in an error (a key, "tabs[3]").
//   std::string  a JSON string
//   bool         true or false; never a number
//   std::int64_t an integer in range, or a number with an integral value in range; never a string
//   double, Date any finite JSON number
//   Uuid, Url    a string that Uuid::parse or Url::parse accepts
template <StoredValue T>
Expected<T> decode(const Json& value, std::string_view name);

// A member that must be there: missing, null or of the wrong type is an error naming the key, as is an
// `object` that is no JSON object.
template <StoredValue T>
Expected<T> required(const Json& object, std::string_view key);

// A member that may be left out: missing or null reads as absent; of the wrong type, an error.
template <StoredValue T>
Expected<std::optional<T>> optional(const Json& object, std::string_view key);

// Writes the value when there is one and removes the key when there is none, so absent values are
// never stored as null. `object` must be a JSON object or null (which becomes an empty object).
template <StoredValue T>
void putOptional(Json& object, std::string_view key, const std::optional<T>& value)
{
    if (value)
        object[std::string(key)] = encodeValue(*value);
    else if (object.is_object())
        object.erase(std::string(key));
}

// Parses a whole document. Invalid JSON, and nesting deeper than maximumDepth (which would make the
// recursive dump, copy and compare of the document overflow the stack), are errors; nothing throws.
Expected<Json> parse(std::string_view text);
Expected<Json> parse(std::span<const std::uint8_t> bytes);

// Compact text. Strings that are not valid UTF-8 are written with U+FFFD in place of the bad bytes
// rather than failing, since the callers store what they can.
std::string dump(const Json&);
// The same with every character past ASCII escaped, for a terminal: a bidirectional control or a line
// separator in a name then arrives as "\u202e", not as itself.
std::string dumpAscii(const Json&);

// Stored lists of records: a JSON array of whatever T::toJson writes. Reading is all or nothing: one
// record that fails to decode fails the whole list, so a damaged list is never half-loaded.
template <typename T>
std::string encodeRecords(std::span<const T> records)
{
    Json array = Json::array();
    for (const auto& record : records)
        array.push_back(record.toJson());
    return dump(array);
}

template <typename T>
Expected<std::vector<T>> decodeRecords(std::span<const std::uint8_t> bytes, std::string_view what)
{
    auto document = parse(bytes);
    if (!document)
        return std::unexpected(document.error());
    if (!document->is_array())
        return std::unexpected(Error{ std::string(what) + " is not a JSON array" });
    std::vector<T> records;
    records.reserve(document->size());
    for (const auto& element : *document) {
        auto record = T::fromJson(element);
        if (!record)
            return std::unexpected(record.error());
        records.push_back(std::move(*record));
    }
    return records;
}

} // namespace json
} // namespace cohortex
