#pragma once

namespace cohortex {

// How long the user has left every input device alone, in the whole session and not just in our
// windows: the time tracker stops counting once the user walks away from the machine.
class IdleTime {
public:
    virtual ~IdleTime() = default;

    // Seconds since the last keyboard, pointer or touch input of any kind. Called on every 5-second
    // tick on the main thread, so it answers at once and never waits for another process. 0 when the
    // system cannot tell, which counts as the user being active.
    virtual double systemIdleSeconds() = 0;
};

} // namespace cohortex
