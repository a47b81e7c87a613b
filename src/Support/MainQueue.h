#pragma once

#include "Support/Date.h"

#include <functional>
#include <memory>

namespace cohortex {

// A handle to work scheduled with MainQueue::postAfter. Copies share the same work; a
// default-constructed handle refers to nothing and cancelling it does nothing.
class Cancellable {
public:
    Cancellable() = default;

    // Stops the work from running. Once the work has started, cancelling has no effect.
    void cancel();
    // Whether the work was stopped before it ran.
    bool isCancelled() const;

    // For queue implementations: a live handle whose first effective cancel() also calls
    // onCancel, so the queue can release what it holds for the work (a GLib source, the work's captures).
    static Cancellable withCancelHandler(std::function<void()> onCancel);
    // For queue implementations, just before the work runs: from then on there is nothing left to
    // cancel, and the cancel handler is dropped so that it cannot reach a queue that has gone away.
    void markStarted();

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// The single main thread's run loop, as Core sees it. The application uses one backed by the GLib
// main context; unit tests use ManualMainQueue and move its clock by hand.
class MainQueue {
public:
    MainQueue(const MainQueue&) = delete;
    MainQueue& operator=(const MainQueue&) = delete;
    virtual ~MainQueue();

    // Runs work soon, after the work already posted, and never inside this call: a caller may hold
    // state that the work would otherwise see half-updated.
    virtual void post(std::function<void()> work) = 0;
    // Runs work once the delay has passed; a negative delay counts as zero.
    virtual Cancellable postAfter(double seconds, std::function<void()> work) = 0;
    virtual Date now() const = 0;
    // Runs work that may block (reading a file a user named, which may be a pipe or on a hung network
    // mount) on a worker thread, then `done` on this queue. The work must touch nothing the main thread
    // uses; the two share only what they capture. This is the only way anything leaves the main thread.
    virtual void runOffMainThread(std::function<void()> work, std::function<void()> done) = 0;

    // The queue registered for the calling thread — the most recently constructed one still alive —
    // or nullptr when there is none.
    static MainQueue* current();
    // Like current(), for code that cannot do anything useful without a queue: a missing queue is a
    // programmer error, reported and aborted on in every build type.
    static MainQueue& requireCurrent();

protected:
    // Registers this queue as current for the calling thread; the destructor unregisters it, making
    // the one registered before current again.
    MainQueue();
};

} // namespace cohortex
