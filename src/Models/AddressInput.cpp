#include "Models/AddressInput.h"

#include "Support/Text.h"

#include <boost/url/encode.hpp>
#include <boost/url/rfc/pchars.hpp>
#include <string>

namespace cohortex {

namespace {

// A query may hold every path character and also "/" and "?", so a typed question keeps them readable.
constexpr auto queryCharacters = boost::urls::pchars + '/' + '?';

std::string searchAddress(std::string_view text)
{
    return std::string(webSearchEndpoint) + boost::urls::encode(text, queryCharacters);
}

// Local development servers rarely speak TLS, so these get plain http.
bool isLocalHost(std::string_view text)
{
    return text.starts_with("localhost") || text.starts_with("127.0.0.1");
}

std::string addressFor(std::string_view text)
{
    if (text.starts_with("http://") || text.starts_with("https://"))
        return std::string(text);
    if (isLocalHost(text))
        return "http://" + std::string(text);
    if (text.contains('.') && !text.contains(' '))
        return "https://" + std::string(text);
    return searchAddress(text);
}

} // namespace

std::optional<Url> urlFromAddressInput(std::string_view typed)
{
    auto text = trimWhitespace(typed);
    if (text.empty())
        return std::nullopt;
    return Url::parse(addressFor(text));
}

} // namespace cohortex
