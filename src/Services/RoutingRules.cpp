#include "Services/RoutingRules.h"

#include "Services/StoredKeys.h"
#include "Support/DefaultsStore.h"
#include "Support/Log.h"

#include <algorithm>

namespace cohortex {

namespace {

// The list with any rule for the same site taken out and the new one at the end.
void replaceRuleFor(std::vector<RoutingRule>& rules, const std::string& normalizedPattern, RoutingRule rule)
{
    std::erase_if(rules,
        [&](const RoutingRule& old) { return LinkRouter::normalize(old.pattern) == normalizedPattern; });
    rules.push_back(std::move(rule));
}

} // namespace

RoutingRules::RoutingRules(DefaultsStore& defaults)
    : m_stored(defaults, keys::routingRules)
{
}

bool RoutingRules::store(const std::vector<RoutingRule>& rules)
{
    if (m_stored.save(encodeRoutingRules(rules)))
        return true;
    logWarning("The routing rules could not be saved.");
    return false;
}

void RoutingRules::show(std::vector<RoutingRule> rules)
{
    m_compiled.reset();
    m_rules.set(std::move(rules));
}

bool RoutingRules::setRules(std::vector<RoutingRule> rules)
{
    if (!store(rules))
        return false;
    show(std::move(rules));
    return true;
}

bool RoutingRules::addRule(std::string_view pattern, const Uuid& workspaceId)
{
    auto normalized = LinkRouter::normalize(pattern);
    if (normalized.empty())
        return true;
    auto rules = m_rules.get();
    auto replaces = std::erase_if(
        rules, [&](const RoutingRule& old) { return LinkRouter::normalize(old.pattern) == normalized; });
    auto withoutOld = rules;
    rules.push_back(RoutingRule{ Uuid::random(), normalized, workspaceId });
    if (!store(rules))
        return false;
    // Observers see the old rule for the site go before the new one arrives at the end.
    if (replaces > 0)
        show(std::move(withoutOld));
    show(std::move(rules));
    return true;
}

bool RoutingRules::addImportedRules(const std::vector<std::pair<std::string, Uuid>>& imported)
{
    auto rules = m_rules.get();
    for (const auto& [pattern, workspaceId] : imported) {
        auto normalized = LinkRouter::normalize(pattern);
        if (!normalized.empty())
            replaceRuleFor(rules, normalized, RoutingRule{ Uuid::random(), pattern, workspaceId });
    }
    return setRules(std::move(rules));
}

bool RoutingRules::removeRule(const Uuid& id)
{
    auto rules = m_rules.get();
    std::erase_if(rules, [&](const RoutingRule& rule) { return rule.id == id; });
    return setRules(std::move(rules));
}

bool RoutingRules::removeRules(const Uuid& workspaceId)
{
    auto rules = m_rules.get();
    std::erase_if(rules, [&](const RoutingRule& rule) { return rule.workspaceId == workspaceId; });
    return setRules(std::move(rules));
}

void RoutingRules::loadRoutingRules()
{
    auto stored = m_stored.load();
    if (!stored)
        return;
    auto decoded = decodeRoutingRules(*stored);
    if (!decoded) {
        logWarning("The stored routing rules could not be read (" + decoded.error().message + ").");
        return;
    }
    show(std::move(*decoded));
    saveRoutingRules();
}

bool RoutingRules::saveRoutingRules()
{
    return store(m_rules.get());
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
