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
    return json::encodeRecords(rules);
}

Expected<std::vector<RoutingRule>> decodeRoutingRules(std::span<const std::uint8_t> bytes)
{
    return json::decodeRecords<RoutingRule>(bytes, "the routing rules");
}

} // namespace cohortex

std::size_t std::hash<cohortex::RoutingRule>::operator()(const cohortex::RoutingRule& rule) const noexcept
{
    cohortex::HashBuilder hash;
    hash.add(rule.id).add(rule.pattern).add(rule.workspaceId);
    return hash.value();
}
