#include "context.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "qel_datetime.h"

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
    TDateTime now;
    now.loadcurrentlocal();
    if (now.isNull()) throw std::runtime_error("cannot read the local date and time");
    return {{now.year(), now.month(), now.day()}, now.hour(), now.minute(), now.second(), true};
}

void write_text(const Context& context, std::string_view utf8) {
    write_out(context.encoding == Encoding::kGbk ? utf8_to_gbk(utf8) : std::string(utf8));
}

}  // namespace qeldate
