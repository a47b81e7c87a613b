#include "Services/Keychain.h"

namespace cohortex {

std::string proxyPasswordKey(std::string_view workspaceIdText)
{
    return "proxy_password_" + std::string(workspaceIdText);
}

} // namespace cohortex
