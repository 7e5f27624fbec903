// Weekday-of-month queries. A month's weeks are the rows of its calendar,
// Monday to Sunday; row 0 holds the 1st and the last row holds the last day.
#include <cstdint>

#include "gregorian/civil.h"
#include "qel_datetime.h"

using namespace qel::gregorian;

namespace {

struct MonthGrid {
    DateInt first_serial;  // the 1st of the month
    int32_t first;         // weekday of the 1st, 1 = Monday .. 7 = Sunday
    int32_t days;          // length of the month
    int32_t last_row;      // 0-based row of the last day
};

// False for a month that has no 1st (year outside 1..9999, month outside 1..12).
bool month_grid(unsigned short year, unsigned short month, MonthGrid* grid) noexcept {
    DateInt serial = 0;
    if (!TryEncodeDate(year, month, 1, &serial)) return false;
    grid->first_serial = serial;
    const auto r = static_cast<int32_t>((serial + kEpochOffset) % 7);  // ordinal >= 1
    grid->first = r == 0 ? 7 : r;
    grid->days = days_in_month(year, month);
    grid->last_row = (grid->days + grid->first - 2) / 7;
    return true;
}

// The serial of `day` of the month, or 0 when the month has no such day.
DateInt day_in_month(const MonthGrid& grid, int32_t day) noexcept {
    return day >= 1 && day <= grid.days ? grid.first_serial + day - 1 : 0;
}

}  // namespace

extern "C" {

int32_t weeksInMonth(unsigned short year, unsigned short month) noexcept {
    MonthGrid grid{};
    return month_grid(year, month, &grid) ? grid.last_row + 1 : 0;
}

DateInt getDateByWeeksday(unsigned short year, unsigned short month, unsigned char week,
                          unsigned char weekday) noexcept {
    MonthGrid grid{};
    if (!month_grid(year, month, &grid)) return 0;
    if (week == 0) {
        if (weekday < grid.first) return 0;  // that cell of row 0 is in the previous month
        return day_in_month(grid, weekday - grid.first + 1);
    }
    if (week > grid.last_row) return 0;
    return day_in_month(grid, 7 * week + weekday - grid.first + 1);
}

DateInt getDateByWeekdays(unsigned short year, unsigned short month, unsigned char occurrence,
                          unsigned char weekday) noexcept {
    MonthGrid grid{};
    if (!month_grid(year, month, &grid)) return 0;
    if (occurrence == 0 && weekday >= grid.first) return day_in_month(grid, weekday - grid.first + 1);
    if (occurrence > grid.last_row) return 0;
    // The first such weekday is in row 0 when weekday >= first, else in row 1.
    const int32_t k = weekday >= grid.first ? occurrence - 1 : occurrence;
    return day_in_month(grid, 7 * k + weekday - grid.first + 8);
}

DateInt lastweekDayDate(unsigned short year, unsigned short month, unsigned char weekday) noexcept {
    MonthGrid grid{};
    if (!month_grid(year, month, &grid)) return 0;
    return day_in_month(grid, 7 * grid.last_row + weekday - grid.first + 1);
}

}  // extern "C"
