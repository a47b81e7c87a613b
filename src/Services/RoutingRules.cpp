#include "Services/RoutingRules.h"

#include "Services/StoredKeys.h"
#include "Support/DefaultsStore.h"
#include "Support/Log.h"

#include <algorithm>

namespace cohortex {

RoutingRules::RoutingRules(DefaultsStore& defaults)
    : m_defaults(defaults)
{
}

void RoutingRules::setRules(std::vector<RoutingRule> rules)
{
    m_compiled.reset();
    m_rules.set(std::move(rules));
    saveRoutingRules();
}

void RoutingRules::addRule(std::string_view pattern, const Uuid& workspaceId)
{
    auto normalized = LinkRouter::normalize(pattern);
    if (normalized.empty())
        return;
    replaceRuleFor(normalized, RoutingRule{ Uuid::random(), normalized, workspaceId });
}

void RoutingRules::addImportedRule(std::string pattern, const Uuid& workspaceId)
{
    auto normalized = LinkRouter::normalize(pattern);
    if (normalized.empty())
        return;
    replaceRuleFor(normalized, RoutingRule{ Uuid::random(), std::move(pattern), workspaceId });
}

// Removing and appending are two assignments, each saved, so that observers see the old rule go before
// the new one arrives at the end.
void RoutingRules::replaceRuleFor(const std::string& normalizedPattern, RoutingRule rule)
{
    auto rules = m_rules.get();
    std::erase_if(rules,
        [&](const RoutingRule& old) { return LinkRouter::normalize(old.pattern) == normalizedPattern; });
    setRules(rules);
    rules.push_back(std::move(rule));
    setRules(std::move(rules));
}

void RoutingRules::removeRule(const Uuid& id)
{
    auto rules = m_rules.get();
    std::erase_if(rules, [&](const RoutingRule& rule) { return rule.id == id; });
    setRules(std::move(rules));
}

void RoutingRules::removeRules(const Uuid& workspaceId)
{
    auto rules = m_rules.get();
    std::erase_if(rules, [&](const RoutingRule& rule) { return rule.workspaceId == workspaceId; });
    setRules(std::move(rules));
}

void RoutingRules::loadRoutingRules()
{
    auto stored = m_defaults.data(keys::routingRules);
    if (!stored)
        return;
    auto decoded = decodeRoutingRules(*stored);
    if (!decoded) {
        logWarning("The stored routing rules could not be read (" + decoded.error().message + ").");
        return;
    }
    setRules(std::move(*decoded));
}

void RoutingRules::saveRoutingRules()
{
    auto encoded = encodeRoutingRules(m_rules.get());
    if (!m_defaults.setData(keys::routingRules,
            std::span(reinterpret_cast<const std::uint8_t*>(encoded.data()), encoded.size())))
        logWarning("The routing rules could not be saved.");
}

std::optional<Uuid> RoutingRules::workspaceID(const Url& url) const
{
    auto found = match(url);
    if (!found)
        return std::nullopt;
    return found->workspaceId;
}

std::optional<LinkRouter::RuleMatch> RoutingRules::match(const Url& url) const
{
    if (!m_compiled)
        m_compiled.emplace(m_rules.get());
    return m_compiled->match(url);
}

} // namespace cohortex
