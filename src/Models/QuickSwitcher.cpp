#include "Models/QuickSwitcher.h"

#include "Support/Text.h"

#include <algorithm>
#include <array>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace cohortex {

namespace {

// Splits at Unicode white space, line breaks included, and drops the empty pieces.
std::vector<std::string> words(std::string_view text)
{
    std::vector<std::string> result;
    auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    auto length = static_cast<int32_t>(text.size());
    int32_t start = 0;
    for (int32_t offset = 0; offset < length;) {
        int32_t next = offset;
        UChar32 character;
        U8_NEXT(bytes, next, length, character);
        if (character >= 0 && u_isUWhiteSpace(character)) {
            if (offset > start)
                result.emplace_back(text.substr(start, offset - start));
            start = next;
        }
        offset = next;
    }
    if (length > start)
        result.emplace_back(text.substr(start));
    return result;
}

bool containsAll(std::string_view text, const std::vector<std::string>& words)
{
    return std::ranges::all_of(words, [&](const auto& word) { return text.find(word) != text.npos; });
}

// Nothing for a row that lacks a word, else 0 to 3.
std::optional<int> score(const SwitcherItem& item, const std::vector<std::string>& words)
{
    if (!containsAll(toLowerCase(item.title + " " + item.subtitle), words))
        return std::nullopt;
    auto title = toLowerCase(item.title);
    int points = title.starts_with(words.front()) ? 2 : 0;
    if (containsAll(title, words))
        points += 1;
    return points;
}

} // namespace

std::vector<SwitcherItem> QuickSwitcher::rank(std::string_view query, std::span<const SwitcherItem> items)
{
    auto queryWords = words(toLowerCase(query));
    if (queryWords.empty())
        return { items.begin(), items.end() };
    // Scores run from 0 to 3: collecting the rows per score in list order and reading the buckets from
    // the best down is a stable sort in one pass.
    std::array<std::vector<const SwitcherItem*>, 4> byScore;
    for (const auto& item : items) {
        if (auto points = score(item, queryWords))
            byScore[static_cast<std::size_t>(*points)].push_back(&item);
    }
    std::vector<SwitcherItem> ranked;
    for (auto bucket = byScore.rbegin(); bucket != byScore.rend(); ++bucket) {
        for (const auto* item : *bucket)
            ranked.push_back(*item);
    }
    return ranked;
}

} // namespace cohortex
