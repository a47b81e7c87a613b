#include "Support/Url.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

using cohortex::Url;

namespace {

// Reads every accessor so that the sanitizers see each path through the parsed text.
void readEverything(const Url& url)
{
    auto scheme = url.scheme();
    auto host = url.host();
    auto port = url.port();
    auto path = url.path();
    auto query = url.query();
    auto filePath = url.filePath();
    auto extension = url.pathExtension();
    auto component = url.lastPathComponent();
    if (url.isFileURL() != (scheme == "file"))
        std::abort();
    if (host && host->empty())
        std::abort();
    if (!extension.empty() && !component.ends_with("." + extension))
        std::abort();
    (void)port;
    (void)path;
    (void)query;
    (void)filePath;
}

// Whatever bytes a path holds, the file URL made from it must parse again and give the path back.
void checkFileUrlRoundTrip(std::string_view path)
{
    if (path.find('\0') != std::string_view::npos)
        return;
    auto url = Url::fileURL(path, false);
    auto reparsed = Url::parse(url.absoluteString());
    if (!reparsed || !(*reparsed == url))
        std::abort();
    std::string expected = path.starts_with('/') ? std::string(path) : "/" + std::string(path);
    if (url.filePath() != expected)
        std::abort();
    readEverything(url);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto url = Url::parse(text)) {
        if (url->absoluteString() != text)
            std::abort();
        readEverything(*url);
    }
    checkFileUrlRoundTrip(text);
    return 0;
}
