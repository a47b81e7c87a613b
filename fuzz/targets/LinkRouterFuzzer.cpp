#include "Models/LinkRouter.h"

#include <cstdlib>
#include <string_view>
#include <vector>

// A link arrives from any application and the rules may come from a bundle file: routing must never
// crash, and the compiled rules must give exactly the answer of the plain function. The input is a
// link on its first line and one pattern on each following line.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= input.size() && lines.size() < 65;) {
        auto end = input.find('\n', start);
        if (end == std::string_view::npos)
            end = input.size();
        lines.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    std::vector<cohortex::RoutingRule> rules;
    for (std::size_t index = 1; index < lines.size(); ++index) {
        cohortex::Uuid::Bytes workspace{};
        workspace[15] = static_cast<std::uint8_t>(index);
        rules.push_back({ cohortex::Uuid(), std::string(lines[index]), cohortex::Uuid(workspace) });
        (void)cohortex::LinkRouter::normalize(lines[index]);
    }
    auto url = cohortex::Url::parse(lines.front());
    if (!url)
        return 0;
    auto expected = cohortex::LinkRouter::workspaceID(*url, rules);
    if (cohortex::CompiledRules(rules).workspaceID(*url) != expected)
        std::abort();
    return 0;
}
