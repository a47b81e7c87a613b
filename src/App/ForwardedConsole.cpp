#include "App/ForwardedConsole.h"

#include "Platform/Linux/GLibAsync.h"

namespace cohortex {

ForwardedConsole::ForwardedConsole(Glib::RefPtr<Gio::ApplicationCommandLine> commandLine)
    : m_commandLine(std::move(commandLine))
{
}

void ForwardedConsole::out(std::string_view text)
{
    if (m_commandLine)
        g_application_command_line_print(m_commandLine->gobj(), "%s", std::string(text).c_str());
}

void ForwardedConsole::error(std::string_view text)
{
    if (m_commandLine)
        g_application_command_line_printerr(m_commandLine->gobj(), "%s", std::string(text).c_str());
}

Task<std::optional<std::string>> ForwardedConsole::readLine()
{
    if (!m_commandLine)
        co_return std::nullopt;
    if (!m_input) {
        // Without a bus that passes file descriptors there is no way to read the other terminal: that
        // reads as the end of input, which declines.
        auto input = m_commandLine->get_stdin();
        if (!input)
            co_return std::nullopt;
        m_input = Gio::DataInputStream::create(input);
    }
    // Read without blocking: the application goes on serving its window while the user types.
    GDataInputStream* stream = m_input->gobj();
    auto result = co_await awaitAsyncResult([stream](GAsyncReadyCallback ready, gpointer data) {
        g_data_input_stream_read_line_async(stream, G_PRIORITY_DEFAULT, nullptr, ready, data);
    });
    GErrorPtr error;
    gsize length = 0;
    GCharPtr line(g_data_input_stream_read_line_finish_utf8(stream, result.get(), &length, error.out()));
    if (!line)
        co_return std::nullopt;
    co_return std::string(line.get(), length);
}

void ForwardedConsole::finish(int status)
{
    if (!m_commandLine)
        return;
    m_commandLine->set_exit_status(status);
    m_commandLine.reset();
    m_input.reset();
}

} // namespace cohortex
