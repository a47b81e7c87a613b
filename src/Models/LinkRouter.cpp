#include "Models/LinkRouter.h"

#include "Support/Text.h"

#include <algorithm>
#include <memory>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace cohortex {

namespace {

struct SortedRule {
    std::string pattern;
    const RoutingRule* rule;
};

// What of a link takes part in matching: its host without one leading "www." and its decoded path,
// both lower-cased.
struct LinkTarget {
    std::string host;
    std::string path;
};

struct SplitPattern {
    std::string_view host;
    std::string_view path;
};

void removePrefix(std::string_view& text, std::string_view prefix)
{
    if (text.starts_with(prefix))
        text.remove_prefix(prefix.size());
}

// Counts grapheme clusters, so that a pattern with an accented letter written as two code points is as
// long as one written with the precomposed letter.
class CharacterCounter {
public:
    CharacterCounter()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_iterator.reset(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status))
            m_iterator.reset();
    }

    std::size_t count(std::string_view text)
    {
        auto unicode
            = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
        // Without break rules the count falls back to code points, which agrees for nearly all hosts.
        if (!m_iterator)
            return static_cast<std::size_t>(unicode.countChar32());
        m_iterator->setText(unicode);
        std::size_t characters = 0;
        for (auto boundary = m_iterator->next(); boundary != icu::BreakIterator::DONE;
             boundary = m_iterator->next())
            ++characters;
        return characters;
    }

private:
    std::unique_ptr<icu::BreakIterator> m_iterator;
};

// Normalised patterns in the order they are tried: longest first, list order among equals. Rules whose
// pattern normalises to nothing can never match and are left out.
std::vector<SortedRule> sortedRules(std::span<const RoutingRule> rules)
{
    CharacterCounter counter;
    struct Measured {
        std::size_t length;
        std::size_t position;
        SortedRule rule;
    };
    std::vector<Measured> measured;
    measured.reserve(rules.size());
    for (const auto& rule : rules) {
        auto pattern = LinkRouter::normalize(rule.pattern);
        if (pattern.empty())
            continue;
        auto length = counter.count(pattern);
        measured.push_back({ length, measured.size(), SortedRule{ std::move(pattern), &rule } });
    }
    // Ordering by list position among equals makes a plain sort stable. (std::stable_sort itself does
    // not build with clang against this libstdc++, which uses a deprecated helper inside it.)
    std::ranges::sort(measured, [](const Measured& a, const Measured& b) {
        return a.length != b.length ? a.length > b.length : a.position < b.position;
    });
    std::vector<SortedRule> sorted;
    sorted.reserve(measured.size());
    for (auto& entry : measured)
        sorted.push_back(std::move(entry.rule));
    return sorted;
}

std::optional<LinkTarget> linkTarget(const Url& url)
{
    auto host = url.host();
    if (!host)
        return std::nullopt;
    LinkTarget target{ toLowerCase(*host), toLowerCase(url.path()) };
    if (target.host.starts_with("www."))
        target.host.erase(0, 4);
    return target;
}

SplitPattern splitPattern(std::string_view pattern)
{
    auto slash = pattern.find('/');
    if (slash == std::string_view::npos)
        return { pattern, {} };
    return { pattern.substr(0, slash), pattern.substr(slash) };
}

// The host itself or any subdomain of it; "notexample.com" is not "example.com".
bool hostMatches(std::string_view linkHost, std::string_view patternHost)
{
    if (linkHost == patternHost)
        return true;
    return linkHost.size() > patternHost.size() && linkHost.ends_with(patternHost)
        && linkHost[linkHost.size() - patternHost.size() - 1] == '.';
}

} // namespace

std::string LinkRouter::normalize(std::string_view pattern)
{
    std::string lowered = toLowerCase(trimWhitespace(pattern));
    std::string_view text = lowered;
    removePrefix(text, "https://");
    removePrefix(text, "http://");
    removePrefix(text, "www.");
    while (text.ends_with('/'))
        text.remove_suffix(1);
    return std::string(text);
}

std::optional<Uuid> LinkRouter::workspaceID(const Url& url, std::span<const RoutingRule> rules)
{
    auto target = linkTarget(url);
    if (!target)
        return std::nullopt;
    for (const auto& [pattern, rule] : sortedRules(rules)) {
        auto [host, path] = splitPattern(pattern);
        // A pattern path is never empty, so an empty one marks a bare-host pattern.
        if (hostMatches(target->host, host) && target->path.starts_with(path))
            return rule->workspaceId;
    }
    return std::nullopt;
}

CompiledRules::CompiledRules(std::span<const RoutingRule> rules)
{
    auto sorted = sortedRules(rules);
    for (std::size_t rank = 0; rank < sorted.size(); ++rank) {
        auto [host, path] = splitPattern(sorted[rank].pattern);
        m_byHost[std::string(host)].push_back(
            Entry{ rank, std::string(path), sorted[rank].rule->workspaceId, sorted[rank].pattern });
    }
}

std::optional<Uuid> CompiledRules::workspaceID(const Url& url) const
{
    auto found = match(url);
    if (!found)
        return std::nullopt;
    return found->workspaceId;
}

std::optional<LinkRouter::RuleMatch> CompiledRules::match(const Url& url) const
{
    if (m_byHost.empty())
        return std::nullopt;
    auto target = linkTarget(url);
    if (!target)
        return std::nullopt;
    // A pattern host matches exactly the link host and every suffix of it that follows a ".", so only
    // those few buckets can hold a match.
    std::string_view host = target->host;
    const Entry* best = firstMatch(host, target->path, nullptr);
    for (auto dot = host.find('.'); dot != std::string_view::npos; dot = host.find('.', dot + 1))
        best = firstMatch(host.substr(dot + 1), target->path, best);
    if (!best)
        return std::nullopt;
    return LinkRouter::RuleMatch{ best->workspaceId, best->pattern };
}

// The better of `best` and the first entry for this pattern host whose path the link path begins with.
const CompiledRules::Entry* CompiledRules::firstMatch(
    std::string_view patternHost, std::string_view linkPath, const Entry* best) const
{
    auto found = m_byHost.find(patternHost);
    if (found == m_byHost.end())
        return best;
    for (const auto& entry : found->second) {
        if (best && best->rank < entry.rank)
            return best;
        if (linkPath.starts_with(entry.path))
            return &entry;
    }
    return best;
}

} // namespace cohortex
