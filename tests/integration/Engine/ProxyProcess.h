#pragma once

#include "Platform/Linux/GLibPtr.h"

#include <cstdint>
#include <filesystem>
#include <gio/gio.h>
#include <string>
#include <utility>

namespace cohortex {

// A real proxy server on 127.0.0.1 and a free port, run for one test. Each proxy binds its outgoing
// connections to an address of its own on the loopback network, so the test server can tell by the
// peer address which way a request came.
class ProxyProcess {
public:
    using Login = std::pair<std::string, std::string>;

    // microsocks.
    static ProxyProcess socks5(const std::string& outgoingAddress, const Login&);
    // tinyproxy, with its configuration written into the directory.
    static ProxyProcess http(
        const std::string& outgoingAddress, const Login&, const std::filesystem::path& directory);

    ProxyProcess(ProxyProcess&&) = default;
    ~ProxyProcess() { stop(); }

    std::uint16_t port() const { return m_port; }
    // Ends the proxy and waits until it has exited, so that its port refuses connections.
    void stop();

private:
    ProxyProcess(std::uint16_t port, std::initializer_list<std::string> arguments);

    std::uint16_t m_port;
    GObjectPtr<GSubprocess> m_process;
};

} // namespace cohortex
