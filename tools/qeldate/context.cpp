#include "context.h"

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
    // Now is an instant, whatever the local time zone: the clock's seconds
    // since 1970 (UTC, leap seconds not counted) in China Standard Time.
#if defined(_WIN32)
    const int64_t now = _time64(nullptr);
#else
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
#endif
    int64_t serial = 0;
    int32_t second = 0;
    if (now == -1 || qel_cst_of_instant(now, &serial, &second) != QEL_OK)
        throw std::runtime_error("cannot read the clock");
    qel_day_facts f{};
    qel_day_facts_of(serial, 0, &f);
    return {{f.year, f.month, f.day}, second / 3600, second / 60 % 60, second % 60, true};
}

void write_text(const Context& context, std::string_view utf8) {
    write_out(context.encoding == Encoding::kGbk ? utf8_to_gbk(utf8) : std::string(utf8));
}

}  // namespace qeldate
