#include "Support/Date.h"

#include <chrono>

namespace cohortex {

Date Date::now()
{
    using namespace std::chrono;
    auto sinceEpoch = duration<double>(system_clock::now().time_since_epoch());
    return fromUnixTime(sinceEpoch.count());
}

} // namespace cohortex
