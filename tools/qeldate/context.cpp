#include "context.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <ctime>

namespace qeldate {

void write_out(std::string_view bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
        throw std::runtime_error("cannot write to standard output");
}

Moment current_moment() {
    if (const char* injected = std::getenv("QELDATE_TODAY"); injected && *injected) {
        try {
            return parse_moment(injected);
        } catch (const UsageError& e) {
            throw UsageError(std::string("QELDATE_TODAY: ") + e.what());
        }
    }
    std::tm local{};
#if defined(_WIN32)
    const __time64_t now = _time64(nullptr);
    const bool ok = now != -1 && _localtime64_s(&local, &now) == 0;
#else
    const std::time_t now = std::time(nullptr);
    const bool ok = now != static_cast<std::time_t>(-1) && localtime_r(&now, &local) != nullptr;
#endif
    if (!ok) throw std::runtime_error("cannot read the local date and time");
    return {{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}, local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), true};
}

void write_text(const Context& context, std::string_view utf8) {
    write_out(from_utf8(utf8, context.encoding));
}

}  // namespace qeldate
