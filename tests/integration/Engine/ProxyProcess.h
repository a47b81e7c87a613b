#pragma once

#include "Platform/Linux/GLibPtr.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gio/gio.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace cohortex {

// A real proxy server on 127.0.0.1 and a free port, run for one test. Each proxy binds its outgoing
// connections to an address of its own on the loopback network, so the test server can tell by the
// peer address which way a request came.
class ProxyProcess {
public:
    using Login = std::pair<std::string, std::string>;

    static ProxyProcess socks5(const std::string& outgoingAddress, const Login& login)
    {
        auto port = freePort();
        return ProxyProcess(port,
            { "microsocks", "-i", "127.0.0.1", "-p", std::to_string(port), "-b", outgoingAddress, "-u",
                login.first, "-P", login.second });
    }
    static ProxyProcess http(
        const std::string& outgoingAddress, const Login& login, const std::filesystem::path& directory)
    {
        auto port = freePort();
        auto configuration = directory / "tinyproxy.conf";
        std::ofstream(configuration) << "Port " << port << "\nListen 127.0.0.1\nBind " << outgoingAddress
                                     << "\nTimeout 10\nMaxClients 20\nAllow 127.0.0.1\nBasicAuth "
                                     << login.first << ' ' << login.second << "\n";
        return ProxyProcess(port, { "tinyproxy", "-d", "-c", configuration.string() });
    }

    ProxyProcess(ProxyProcess&&) = default;
    ~ProxyProcess() { stop(); }

    std::uint16_t port() const { return m_port; }
    // Ends the proxy and waits until it has exited, so that its port refuses connections.
    void stop()
    {
        if (!m_process)
            return;
        g_subprocess_send_signal(m_process.get(), SIGTERM);
        g_subprocess_wait(m_process.get(), nullptr, nullptr);
        m_process.reset();
    }

private:
    ProxyProcess(std::uint16_t port, std::vector<std::string> arguments)
        : m_port(port)
    {
        std::vector<const char*> argv;
        for (const auto& argument : arguments)
            argv.push_back(argument.c_str());
        argv.push_back(nullptr);
        GErrorPtr error;
        m_process = GObjectPtr<GSubprocess>(g_subprocess_newv(argv.data(),
            GSubprocessFlags(G_SUBPROCESS_FLAGS_STDOUT_SILENCE | G_SUBPROCESS_FLAGS_STDERR_SILENCE),
            error.out()));
        if (!m_process)
            throw std::runtime_error("Cannot start " + arguments[0] + ": " + error.message());
        GObjectPtr<GSocketClient> client(g_socket_client_new());
        for (int attempt = 0; attempt < 200; ++attempt) {
            GObjectPtr<GSocketConnection> connection(
                g_socket_client_connect_to_host(client.get(), "127.0.0.1", port, nullptr, nullptr));
            if (connection)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        throw std::runtime_error(arguments[0] + " does not listen on its port");
    }

    // A port the kernel just handed out and took back; the proxy binds it a moment later.
    static std::uint16_t freePort()
    {
        GObjectPtr<GSocket> socket(
            g_socket_new(G_SOCKET_FAMILY_IPV4, G_SOCKET_TYPE_STREAM, G_SOCKET_PROTOCOL_TCP, nullptr));
        GObjectPtr<GInetAddress> loopback(g_inet_address_new_loopback(G_SOCKET_FAMILY_IPV4));
        GObjectPtr<GSocketAddress> anyPort(g_inet_socket_address_new(loopback.get(), 0));
        if (!socket || !g_socket_bind(socket.get(), anyPort.get(), false, nullptr))
            throw std::runtime_error("No free port on 127.0.0.1");
        GObjectPtr<GSocketAddress> bound(g_socket_get_local_address(socket.get(), nullptr));
        return g_inet_socket_address_get_port(G_INET_SOCKET_ADDRESS(bound.get()));
    }

    std::uint16_t m_port;
    GObjectPtr<GSubprocess> m_process;
};

} // namespace cohortex
