#include "Engine/DownloadGate.h"

#include <utility>

namespace cohortex {

DownloadGate::Decision DownloadGate::downloadStarting(bool startedByUser)
{
    bool isPagesFirst = m_startedOnPage++ == 0;
    if (startedByUser || isPagesFirst) {
        m_isBatchRevealed = false;
        return Decision::Start;
    }
    if (m_answer)
        return *m_answer ? Decision::Start : Decision::Refuse;
    return std::exchange(m_isAsking, true) ? Decision::Wait : Decision::Ask;
}

void DownloadGate::answered(bool allowed)
{
    m_isAsking = false;
    m_answer = allowed;
}

bool DownloadGate::shouldReveal()
{
    return !std::exchange(m_isBatchRevealed, true);
}

void DownloadGate::pageChanged()
{
    m_startedOnPage = 0;
    m_answer.reset();
}

} // namespace cohortex
