#pragma once

#include "Services/Console.h"

#include <giomm/applicationcommandline.h>
#include <giomm/datainputstream.h>

namespace cohortex {

// The terminal of a `cohortex` invocation that reached the running application, possibly from another
// process: output and errors are printed there, and questions read that process's standard input. The
// invoking process waits for its exit status until finish() lets go of the command line.
class ForwardedConsole final : public Console {
public:
    explicit ForwardedConsole(Glib::RefPtr<Gio::ApplicationCommandLine>);

    void out(std::string_view) override;
    void error(std::string_view) override;
    Task<std::optional<std::string>> readLine() override;

    // Hands the exit status over and lets the invoking process end.
    void finish(int status);

private:
    Glib::RefPtr<Gio::ApplicationCommandLine> m_commandLine;
    Glib::RefPtr<Gio::DataInputStream> m_input;
};

} // namespace cohortex
