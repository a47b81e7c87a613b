#include <string_view>

namespace cohortex {

// The application id names the desktop file, the D-Bus name and the keyring schema.
extern const std::string_view applicationId;
const std::string_view applicationId = "com.kestrelwick.Cohortex";

} // namespace cohortex
