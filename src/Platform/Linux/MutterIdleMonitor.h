#pragma once

#include <memory>

namespace cohortex {

// GNOME Shell's idle time on Wayland, where no client may see the input of another: the compositor
// answers org.gnome.Mutter.IdleMonitor.GetIdletime on the session bus.
//
// A D-Bus call takes a round trip through another process, which the 5-second tick must not wait
// for. So each reading returns what the previous call answered, plus the time that has passed since
// then (idleness grows with the clock until the user comes back), and starts the next call in the
// background. A reading is therefore at most one tick out of date, and only when the user came back in
// between. Until the first answer, and whenever the bus or GNOME Shell does not answer, it reads 0:
// the user counts as active. Answers arrive through the default GLib main context, which the
// application's main loop runs.
class MutterIdleMonitor {
public:
    static constexpr int callTimeoutMilliseconds = 2000;

    // Connects to the session bus in the background and asks for the first reading at once.
    MutterIdleMonitor();
    // Cancels what is still running; its answers are dropped.
    ~MutterIdleMonitor();
    MutterIdleMonitor(const MutterIdleMonitor&) = delete;
    MutterIdleMonitor& operator=(const MutterIdleMonitor&) = delete;

    double idleSeconds();

private:
    class State;
    std::shared_ptr<State> m_state;
};

} // namespace cohortex
