#pragma once

namespace cohortex {

// How an owner's prompt ended. NoAgent: the system would have asked, but nothing on this desktop can
// show the prompt (no authentication agent runs, as in a bare window manager or a remote session), so
// no answer the user gives can ever succeed; the user must be told rather than shown a failed try.
enum class Authentication { Succeeded, Failed, NoAgent };

} // namespace cohortex
