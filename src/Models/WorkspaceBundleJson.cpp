#include "Models/WorkspaceBundle.h"
#include "Support/InternetDate.h"
#include "Support/Json.h"

namespace cohortex {

namespace {

// The written form sorts every object's keys, which nlohmann's std::map-backed json does by itself.
using SortedJson = nlohmann::json;

SortedJson itemJson(const WorkspaceBundle::Item& item)
{
    SortedJson object{ { "name", item.name }, { "url", item.url }, { "iconSymbol", item.iconSymbol },
        { "colorHex", item.colorHex } };
    if (item.keepAwake)
        object["keepAwake"] = *item.keepAwake;
    if (item.requiresUnlock)
        object["requiresUnlock"] = *item.requiresUnlock;
    return object;
}

// Reads the members of one object, keeping the first failure, so a record reads field by field.
class MemberReader {
public:
    MemberReader(const Json& object, std::string context)
        : m_object(object)
        , m_context(std::move(context))
    {
    }

    template <json::StoredValue T>
    T required(std::string_view key)
    {
        return keep(json::required<T>(m_object, key)).value_or(T{});
    }

    template <json::StoredValue T>
    std::optional<T> optional(std::string_view key)
    {
        return keep(json::optional<T>(m_object, key)).value_or(std::nullopt);
    }

    const std::optional<Error>& error() const { return m_error; }

private:
    template <typename T>
    std::optional<T> keep(Expected<T> value)
    {
        if (value)
            return std::move(*value);
        if (!m_error)
            m_error = Error{ m_context + ": " + value.error().message };
        return std::nullopt;
    }

    const Json& m_object;
    std::string m_context;
    std::optional<Error> m_error;
};

Expected<WorkspaceBundle::Item> decodeItem(const Json& object, std::string context)
{
    MemberReader read(object, std::move(context));
    WorkspaceBundle::Item item{ read.required<std::string>("name"), read.required<std::string>("url"),
        read.required<std::string>("iconSymbol"), read.required<std::string>("colorHex"),
        read.optional<bool>("keepAwake"), read.optional<bool>("requiresUnlock") };
    if (read.error())
        return std::unexpected(*read.error());
    return item;
}

Expected<WorkspaceBundle::Rule> decodeRule(const Json& object, std::string context)
{
    MemberReader read(object, std::move(context));
    WorkspaceBundle::Rule rule{ read.required<std::string>("pattern"),
        read.required<std::int64_t>("workspaceIndex") };
    if (read.error())
        return std::unexpected(*read.error());
    return rule;
}

template <typename Element, typename Decoder>
Expected<std::vector<Element>> decodeArray(
    const Json& document, const std::string& key, Decoder decodeElement)
{
    auto found = document.find(key);
    if (found == document.end() || !found->is_array())
        return makeError("\"" + key + "\" is missing or not an array");
    std::vector<Element> elements;
    elements.reserve(found->size());
    for (std::size_t index = 0; index < found->size(); ++index) {
        auto element = decodeElement((*found)[index], key + "[" + std::to_string(index) + "]");
        if (!element)
            return std::unexpected(element.error());
        elements.push_back(std::move(*element));
    }
    return elements;
}

Expected<Date> decodeExportDate(const Json& document)
{
    auto text = json::required<std::string>(document, "exportedAt");
    if (!text)
        return std::unexpected(text.error());
    auto date = parseInternetDate(*text);
    if (!date)
        return makeError("\"exportedAt\" is not an internet date-time");
    return *date;
}

} // namespace

std::string WorkspaceBundle::encoded() const
{
    SortedJson items = SortedJson::array();
    for (const auto& item : workspaces)
        items.push_back(itemJson(item));
    SortedJson ruleArray = SortedJson::array();
    for (const auto& rule : rules)
        ruleArray.push_back(
            SortedJson{ { "pattern", rule.pattern }, { "workspaceIndex", rule.workspaceIndex } });
    SortedJson document{ { "format", format }, { "exportedAt", formatInternetDate(exportedAt) },
        { "workspaces", std::move(items) }, { "rules", std::move(ruleArray) } };
    // Text that is not valid UTF-8 is written with U+FFFD rather than failing the whole export.
    return document.dump(2, ' ', false, SortedJson::error_handler_t::replace);
}

Expected<WorkspaceBundle> WorkspaceBundle::decode(std::span<const std::uint8_t> bytes)
{
    auto document = json::parse(bytes);
    if (!document)
        return std::unexpected(document.error());
    if (!document->is_object())
        return makeError("a workspace bundle is not a JSON object");
    auto format = json::required<std::int64_t>(*document, "format");
    if (!format)
        return std::unexpected(format.error());
    auto exportedAt = decodeExportDate(*document);
    if (!exportedAt)
        return std::unexpected(exportedAt.error());
    auto items = decodeArray<Item>(*document, "workspaces", decodeItem);
    if (!items)
        return std::unexpected(items.error());
    auto rules = decodeArray<Rule>(*document, "rules", decodeRule);
    if (!rules)
        return std::unexpected(rules.error());
    return WorkspaceBundle{ *format, *exportedAt, std::move(*items), std::move(*rules) };
}

} // namespace cohortex
