#include "Models/LinkRouter.h"

#include "Support/Text.h"

namespace cohortex {

namespace {

void removePrefix(std::string& text, std::string_view prefix)
{
    if (text.starts_with(prefix))
        text.erase(0, prefix.size());
}

} // namespace

std::string LinkRouter::normalize(std::string_view pattern)
{
    auto text = toLowerCase(trimWhitespace(pattern));
    removePrefix(text, "https://");
    removePrefix(text, "http://");
    removePrefix(text, "www.");
    while (text.ends_with('/'))
        text.pop_back();
    return text;
}

} // namespace cohortex
