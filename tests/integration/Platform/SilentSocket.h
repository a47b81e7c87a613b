#pragma once

#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace cohortex {

// A socket that takes connections and never says a word, like a bus whose daemon hangs.
class SilentSocket {
public:
    explicit SilentSocket(const std::string& path)
        : m_descriptor(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        m_isListening = bind(m_descriptor, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0
            && listen(m_descriptor, 8) == 0;
    }
    ~SilentSocket() { close(); }
    SilentSocket(const SilentSocket&) = delete;
    SilentSocket& operator=(const SilentSocket&) = delete;

    bool isListening() const { return m_isListening; }
    // Ends the connections waiting in the backlog, so nothing stays blocked on them.
    void close()
    {
        if (m_descriptor >= 0)
            ::close(std::exchange(m_descriptor, -1));
    }

private:
    int m_descriptor;
    bool m_isListening{ false };
};

} // namespace cohortex
