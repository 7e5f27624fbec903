// What every command of qeldate shares: the output settings and "now".
#pragma once

#include <string>
#include <string_view>

#include "date_parse.h"
#include "encoding.h"

namespace qeldate {

struct Context {
    Text text{Encoding::kUtf8};
    bool json = false;   // one JSON object (always UTF-8) instead of text
    bool color = false;  // ANSI highlighting in the month grid
    int columns = 80;    // terminal width for `cal YEAR`
    Moment now;          // QELDATE_TODAY or the local clock
    bool fixed_now = false;  // now came from QELDATE_TODAY
};

// Writes to standard output; a failed write throws std::runtime_error.
void write_out(std::string_view text);

}  // namespace qeldate
