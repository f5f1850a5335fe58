// The calling thread's CPU time as a std::chrono clock. The benchmark machine
// is shared with other builds; time the scheduler gives to other processes
// would otherwise count against whatever was running, and ratios taken in
// one run would depend on the load of the moment.
#pragma once

#include <chrono>
#include <ctime>

namespace bench_effect {

struct ThreadCpuClock {
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<ThreadCpuClock>;
    static constexpr bool is_steady = true;

    static time_point now() noexcept {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return time_point(duration(static_cast<rep>(ts.tv_sec) * 1000000000 + ts.tv_nsec));
    }
};

}  // namespace bench_effect
