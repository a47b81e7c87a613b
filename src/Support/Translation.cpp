#include "Support/Translation.h"

#include <clocale>
#include <cstring>
#include <libintl.h>

namespace cohortex {

void useTranslations(const char* localeFolder)
{
    // Only what the messages need: numbers and dates keep the C rules until the toolkit sets the whole
    // locale for the window, so nothing written or parsed on the command line changes with the language.
    std::setlocale(LC_MESSAGES, "");
    std::setlocale(LC_CTYPE, "");
    bindtextdomain(translationDomain, localeFolder);
    // Catalogues are UTF-8 and so is every toolkit string, whatever the locale's own encoding.
    bind_textdomain_codeset(translationDomain, "UTF-8");
    textdomain(translationDomain);
}

const char* translate(const char* messageId)
{
    return dgettext(translationDomain, messageId);
}

std::string translate(std::string_view messageId)
{
    const std::string id(messageId);
    return dgettext(translationDomain, id.c_str());
}

const char* translateInContext(const char* contextAndId, const char* messageId)
{
    // gettext has no call for contexts: the catalogue keys them as "context\004id", and an untranslated
    // one comes back as that key, which must not be shown.
    const char* translated = dgettext(translationDomain, contextAndId);
    return translated == contextAndId ? messageId : translated;
}

const char* translatePlural(const char* singular, const char* plural, unsigned long count)
{
    return dngettext(translationDomain, singular, plural, count);
}

std::string fillIn(std::string_view text, std::initializer_list<std::string_view> values)
{
    std::string result;
    result.reserve(text.size() + 16 * values.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c == '{' || c == '}') && i + 1 < text.size() && text[i + 1] == c) {
            result += c;
            ++i;
            continue;
        }
        if (c == '{') {
            const std::size_t close = text.find('}', i);
            if (close != std::string_view::npos) {
                const std::string_view inside = text.substr(i + 1, close - i - 1);
                std::size_t index = next;
                bool valid = inside.empty();
                if (!inside.empty() && inside.size() <= 2
                    && inside.find_first_not_of("0123456789") == std::string_view::npos) {
                    index = 0;
                    for (const char digit : inside)
                        index = index * 10 + static_cast<std::size_t>(digit - '0');
                    valid = true;
                }
                if (valid && index < values.size()) {
                    result += values.begin()[index];
                    if (inside.empty())
                        ++next;
                    i = close;
                    continue;
                }
            }
        }
        result += c;
    }
    return result;
}

} // namespace cohortex
