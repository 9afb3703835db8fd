// Preloaded after libfaketime when a clock runs faster than real time
// ("x60" in FAKETIME). libfaketime scales the sleeps and polls it knows, but
// not pthread_cond_clockwait, which C++'s condition variables use for their
// timed waits: their deadline on the faked clock would be read by the kernel
// as a real one, decades away. Here the time left on the faked clock is
// turned into real time at the same rate.
#include <dlfcn.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

using ClockWait = int (*)(pthread_cond_t*, pthread_mutex_t*, clockid_t, const timespec*);

double clockRate() {
    const char* spec = std::getenv("FAKETIME");
    const char* x = spec ? std::strchr(spec, 'x') : nullptr;
    const double rate = x ? std::atof(x + 1) : 1.0;
    return rate > 0.0 ? rate : 1.0;
}

double seconds(const timespec& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

timespec fromSeconds(double s) {
    const auto whole = static_cast<time_t>(s);
    return timespec{whole, static_cast<long>((s - static_cast<double>(whole)) * 1e9)};
}

}  // namespace

extern "C" int pthread_cond_clockwait(pthread_cond_t* cond, pthread_mutex_t* mutex, clockid_t clock,
                                      const timespec* deadline) {
    static const auto next =
        reinterpret_cast<ClockWait>(dlsym(RTLD_NEXT, "pthread_cond_clockwait"));
    static const double rate = clockRate();
    timespec faked{};
    ::clock_gettime(clock, &faked);  // libfaketime's
    timespec real{};
    ::syscall(SYS_clock_gettime, clock, &real);
    double left = (seconds(*deadline) - seconds(faked)) / rate;
    if (left < 0.0) {
        left = 0.0;
    }
    const timespec realDeadline = fromSeconds(seconds(real) + left);
    return next(cond, mutex, clock, &realDeadline);
}
