// What every command of qeldate shares: the output settings, "now", and the
// one place that writes to standard output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "date_parse.h"
#include "encoding.h"
#include "qel_calendar.h"

namespace qeldate {

struct Context {
    Encoding encoding = Encoding::kUtf8;  // of text output; JSON, CSV and iCalendar are UTF-8
    bool json = false;                    // one JSON object instead of text
    bool color = false;                   // ANSI highlighting in the month grid
    bool chinese = false;                 // Chinese-first headings (weekdays in the grid)
    int columns = 80;                     // terminal width for the year view
    int32_t calendar = QEL_CALENDAR_CHINESE;  // the lunar calendar of every lunar date (--calendar)
    std::string calendar_word = "chinese";    // its word as --calendar takes it, for messages
    uint32_t language = 0;                // QEL_NAME_KOREAN, QEL_NAME_VIETNAMESE or 0 (Chinese names)
    uint32_t name_flags = 0;              // QEL_NAME_PLAIN_MONTHS and the language
    uint32_t festival_options = 0;        // QEL_OPT_XIAONIAN_SOUTH and QEL_OPT_CALENDAR(calendar)
    Moment now;                           // QELDATE_TODAY or the clock, in UTC+8
    bool fixed_now = false;               // now came from QELDATE_TODAY
    // The user's holiday file (--holidays, QELDATE_HOLIDAYS): its days and the
    // table qel_calendar reads; a null table without one.
    std::vector<qel_holiday_day> holiday_days;
    qel_holiday_table holiday_file{};
    const qel_holiday_table* holidays() const { return holiday_file.count > 0 || holiday_file.first_year > 0 ? &holiday_file : nullptr; }
};

// "Now": QELDATE_TODAY (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS) when it is set,
// else the clock's instant in China Standard Time (UTC+8), whatever the
// local time zone. A bad QELDATE_TODAY is a UsageError.
Moment current_moment();

// UTF-8 text to standard output in the context's encoding.
void write_text(const Context& context, std::string_view utf8);
// Bytes to standard output as they are (JSON, CSV, iCalendar). A failed
// write throws std::runtime_error.
void write_out(std::string_view bytes);

}  // namespace qeldate
