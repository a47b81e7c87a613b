#pragma once

#include <cstddef>
#include <optional>

namespace cohortex {

// Which downloads a tab's page may start, and which finished file the file manager shows.
//
// A download the user started (by a click or a key press on the page a moment before, or by loading its
// address) always goes ahead, and so does the page's first download. Any further one the page starts by
// itself asks the user once ("This site wants to download several files"); the answer holds for the rest
// of the page. A batch begins with a download the user started (or the page's first), takes in the
// automatic ones after it, and has its first finished file shown in the file manager, no more.
class DownloadGate {
public:
    enum class Decision {
        Start,
        // Ask the user, and hold this download until the answer.
        Ask,
        // A question is already up: hold this download until its answer.
        Wait,
        Refuse,
    };

    Decision downloadStarting(bool startedByUser);
    void answered(bool allowed);
    // A finished download: true when it is the one its batch shows in the file manager.
    bool shouldReveal();
    // The tab went to another page, whose downloads start afresh.
    void pageChanged();

private:
    std::size_t m_startedOnPage{ 0 };
    std::optional<bool> m_answer;
    bool m_isAsking{ false };
    bool m_isBatchRevealed{ false };
};

} // namespace cohortex
