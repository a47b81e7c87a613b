#include "ProxyProcess.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <fstream>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace cohortex {

namespace {

sockaddr_in loopback(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A port the kernel just handed out and took back; the proxy binds it a moment later.
std::uint16_t freePort()
{
    int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    auto address = loopback(0);
    socklen_t length = sizeof address;
    if (::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(socket);
        throw std::runtime_error("No free port on 127.0.0.1");
    }
    ::close(socket);
    return ntohs(address.sin_port);
}

bool accepts(std::uint16_t port)
{
    int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    auto address = loopback(port);
    bool connected = ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return connected;
}

GObjectPtr<GSubprocess> spawn(const std::vector<std::string>& arguments, std::uint16_t port)
{
    std::vector<const char*> argv;
    for (const auto& argument : arguments)
        argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    GErrorPtr error;
    GObjectPtr<GSubprocess> process(g_subprocess_newv(argv.data(),
        static_cast<GSubprocessFlags>(G_SUBPROCESS_FLAGS_STDOUT_SILENCE | G_SUBPROCESS_FLAGS_STDERR_SILENCE),
        error.out()));
    if (!process)
        throw std::runtime_error("Cannot start " + arguments.front() + ": " + error.message());
    for (int attempt = 0; attempt < 200 && !accepts(port); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!accepts(port))
        throw std::runtime_error(arguments.front() + " does not listen on its port");
    return process;
}

} // namespace

ProxyProcess::ProxyProcess(std::uint16_t port, GObjectPtr<GSubprocess> process)
    : m_port(port)
    , m_process(std::move(process))
{
}

ProxyProcess ProxyProcess::socks5(const std::string& outgoingAddress, const std::optional<Login>& login)
{
    auto port = freePort();
    std::vector<std::string> arguments{ "microsocks", "-i", "127.0.0.1", "-p", std::to_string(port), "-b",
        outgoingAddress };
    if (login)
        arguments.insert(arguments.end(), { "-u", login->first, "-P", login->second });
    return ProxyProcess(port, spawn(arguments, port));
}

ProxyProcess ProxyProcess::http(
    const std::string& outgoingAddress, const Login& login, const std::filesystem::path& directory)
{
    auto port = freePort();
    auto configuration = directory / "tinyproxy.conf";
    std::ofstream(configuration) << "Port " << port << "\nListen 127.0.0.1\nBind " << outgoingAddress
                                 << "\nTimeout 10\nMaxClients 20\nAllow 127.0.0.1\nBasicAuth " << login.first
                                 << ' ' << login.second << "\n";
    return ProxyProcess(port, spawn({ "tinyproxy", "-d", "-c", configuration.string() }, port));
}

void ProxyProcess::stop()
{
    if (!m_process)
        return;
    g_subprocess_send_signal(m_process.get(), SIGTERM);
    g_subprocess_wait(m_process.get(), nullptr, nullptr);
    m_process.reset();
}

} // namespace cohortex
