#include "Models/WorkspaceSession.h"

namespace cohortex {

Json WorkspaceSession::toJson() const
{
    // Members go out in declaration order; readers must not depend on it, but people diffing files do.
    Json object = Json::object();
    object["id"] = json::encode(id);
    object["name"] = name;
    object["initialURL"] = json::encode(initialURL);
    if (currentURL)
        object["currentURL"] = json::encode(*currentURL);
    object["iconSymbol"] = iconSymbol;
    object["colorHex"] = colorHex;
    object["shortcutIndex"] = shortcutIndex;
    object["storageIdentifier"] = json::encode(storageIdentifier);
    object["createdAt"] = json::encode(createdAt);
    object["lastActiveAt"] = json::encode(lastActiveAt);
    json::putOptional(object, "keepAwake", keepAwake);
    json::putOptional(object, "requiresUnlock", requiresUnlock);
    json::putOptional(object, "downloadFolderPath", downloadFolderPath);
    json::putOptional(object, "proxyType", proxyType);
    json::putOptional(object, "proxyHost", proxyHost);
    json::putOptional(object, "proxyPort", proxyPort);
    json::putOptional(object, "proxyUsername", proxyUsername);
    return object;
}

namespace {

// Collects the first decoding failure so the record can be read field by field without nesting.
class FieldReader {
public:
    explicit FieldReader(const Json& object)
        : m_object(object)
    {
    }

    template <typename T>
    T required(std::string_view key)
    {
        auto value = json::required<T>(m_object, key);
        if (!value) {
            fail(value.error());
            return fallback<T>();
        }
        return std::move(*value);
    }

    template <typename T>
    std::optional<T> optional(std::string_view key)
    {
        auto value = json::optional<T>(m_object, key);
        if (!value) {
            fail(value.error());
            return std::nullopt;
        }
        return std::move(*value);
    }

    const std::optional<Error>& error() const { return m_error; }

private:
    template <typename T>
    static T fallback()
    {
        if constexpr (std::is_same_v<T, Url>)
            return *Url::parse("about:blank");
        else
            return T{};
    }

    void fail(const Error& error)
    {
        if (!m_error)
            m_error = error;
    }

    const Json& m_object;
    std::optional<Error> m_error;
};

} // namespace

Expected<WorkspaceSession> WorkspaceSession::fromJson(const Json& object)
{
    if (!object.is_object())
        return makeError("a workspace record is not a JSON object");
    FieldReader read(object);
    WorkspaceSession record(read.required<Uuid>("id"), read.required<std::string>("name"),
        read.required<Url>("initialURL"), std::nullopt, read.required<std::string>("iconSymbol"),
        read.required<std::string>("colorHex"), read.required<std::int64_t>("shortcutIndex"),
        read.required<Uuid>("storageIdentifier"), read.required<Date>("createdAt"),
        read.required<Date>("lastActiveAt"), read.optional<bool>("keepAwake"),
        read.optional<bool>("requiresUnlock"), read.optional<std::string>("downloadFolderPath"),
        read.optional<std::string>("proxyType"), read.optional<std::string>("proxyHost"),
        read.optional<std::int64_t>("proxyPort"), read.optional<std::string>("proxyUsername"));
    // A stored record without a current page keeps it absent; only new records copy the initial URL.
    record.currentURL = read.optional<Url>("currentURL");
    if (read.error())
        return std::unexpected(*read.error());
    return record;
}

std::string encodeWorkspaceList(std::span<const WorkspaceSession> workspaces)
{
    return json::encodeRecords(workspaces);
}

Expected<std::vector<WorkspaceSession>> decodeWorkspaceList(std::span<const std::uint8_t> bytes)
{
    return json::decodeRecords<WorkspaceSession>(bytes, "the workspace list");
}

} // namespace cohortex
