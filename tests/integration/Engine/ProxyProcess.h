#pragma once

#include "Platform/Linux/GLibPtr.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gio/gio.h>
#include <netinet/in.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace cohortex {

// A real proxy server on 127.0.0.1 and a free port, run for one test. Each proxy binds its outgoing
// connections to an address of its own on the loopback network, so the test server can tell by the
// peer address which way a request came.
class ProxyProcess {
public:
    using Login = std::pair<std::string, std::string>;

    // microsocks.
    static ProxyProcess socks5(const std::string& outgoingAddress, const Login& login)
    {
        auto port = freePort();
        return ProxyProcess(port,
            { "microsocks", "-i", "127.0.0.1", "-p", std::to_string(port), "-b", outgoingAddress, "-u",
                login.first, "-P", login.second });
    }
    // tinyproxy, with its configuration written into the directory.
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
    ProxyProcess(std::uint16_t port, std::initializer_list<std::string> arguments)
        : m_port(port)
    {
        std::vector<const char*> argv;
        for (const auto& argument : arguments)
            argv.push_back(argument.c_str());
        argv.push_back(nullptr);
        GErrorPtr error;
        m_process = GObjectPtr<GSubprocess>(g_subprocess_newv(argv.data(),
            static_cast<GSubprocessFlags>(
                G_SUBPROCESS_FLAGS_STDOUT_SILENCE | G_SUBPROCESS_FLAGS_STDERR_SILENCE),
            error.out()));
        if (!m_process)
            throw std::runtime_error(std::string("Cannot start ") + argv[0] + ": " + error.message());
        for (int attempt = 0; attempt < 200 && !onLoopback(port, true); ++attempt)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!onLoopback(port, true))
            throw std::runtime_error(std::string(argv[0]) + " does not listen on its port");
    }

    // Binds port 0 to learn a free port, or connects to the port; says whether that worked.
    static bool onLoopback(std::uint16_t& port, bool connect)
    {
        int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        auto* generic = reinterpret_cast<sockaddr*>(&address);
        bool worked = connect
            ? ::connect(socket, generic, sizeof address) == 0
            : ::bind(socket, generic, sizeof address) == 0 && ::getsockname(socket, generic, &length) == 0;
        ::close(socket);
        port = ntohs(address.sin_port);
        return worked;
    }
    // A port the kernel just handed out and took back; the proxy binds it a moment later.
    static std::uint16_t freePort()
    {
        std::uint16_t port = 0;
        if (!onLoopback(port, false))
            throw std::runtime_error("No free port on 127.0.0.1");
        return port;
    }

    std::uint16_t m_port;
    GObjectPtr<GSubprocess> m_process;
};

} // namespace cohortex
