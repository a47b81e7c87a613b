#include "Models/RoutingRule.h"

#include "Support/Hashing.h"

namespace cohortex {

Json RoutingRule::toJson() const
{
    Json object = Json::object();
    object["id"] = json::encode(id);
    object["pattern"] = pattern;
    object["workspaceId"] = json::encode(workspaceId);
    return object;
}

Expected<RoutingRule> RoutingRule::fromJson(const Json& object)
{
    if (!object.is_object())
        return makeError("a routing rule is not a JSON object");
    auto id = json::required<Uuid>(object, "id");
    if (!id)
        return std::unexpected(id.error());
    auto pattern = json::required<std::string>(object, "pattern");
    if (!pattern)
        return std::unexpected(pattern.error());
    auto workspaceId = json::required<Uuid>(object, "workspaceId");
    if (!workspaceId)
        return std::unexpected(workspaceId.error());
    return RoutingRule{ *id, std::move(*pattern), *workspaceId };
}

std::string encodeRoutingRules(std::span<const RoutingRule> rules)
{
    Json array = Json::array();
    for (const auto& rule : rules)
        array.push_back(rule.toJson());
    return json::dump(array);
}

Expected<std::vector<RoutingRule>> decodeRoutingRules(std::span<const std::uint8_t> bytes)
{
    auto document = json::parse(bytes);
    if (!document)
        return std::unexpected(document.error());
    if (!document->is_array())
        return makeError("the routing rules are not a JSON array");
    std::vector<RoutingRule> rules;
    rules.reserve(document->size());
    for (const auto& element : *document) {
        auto rule = RoutingRule::fromJson(element);
        if (!rule)
            return std::unexpected(rule.error());
        rules.push_back(std::move(*rule));
    }
    return rules;
}

} // namespace cohortex

std::size_t std::hash<cohortex::RoutingRule>::operator()(const cohortex::RoutingRule& rule) const noexcept
{
    cohortex::HashBuilder hash;
    hash.add(rule.id).add(rule.pattern).add(rule.workspaceId);
    return hash.value();
}
