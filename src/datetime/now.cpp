// The one place the library reads the clock: the current local time, broken
// down by the platform's reentrant conversion into storage of this call.
#include <ctime>

#include "datetime/packed.h"
#include "qel_datetime.h"

namespace {

// False when the platform cannot break the current time down.
bool local_now(std::tm* out) noexcept {
#if defined(_WIN32)
    const __time64_t now = _time64(nullptr);
    return _localtime64_s(out, &now) == 0;
#else
    const std::time_t now = std::time(nullptr);
    return localtime_r(&now, out) != nullptr;
#endif
}

}  // namespace



TDateTime& TDateTime::loadcurrentlocal() noexcept {
    std::tm t{};
    if (local_now(&t))
        setDateTime(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return *this;
}

TDate& TDate::loadcurrentlocal() noexcept {
    std::tm t{};
    if (local_now(&t)) setdays(t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    return *this;
}
