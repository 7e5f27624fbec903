// `qeldate cal`: month grids, each day with its lunar name underneath, the
// lunar months the Gregorian month spans in the heading, and the month's
// terms and festivals below. Several months side by side use a compact grid
// of day numbers with marks when the full grids do not fit the terminal.
#pragma once

#include <utility>
#include <vector>

namespace qeldate {

struct Context;

struct CalRequest {
    int year = 0;              // the year's title in the year view
    std::vector<std::pair<int, int>> months;  // year and month, in order
    bool three = false;        // previous, this and next month: titles with years
    bool sunday = false;      // weeks from Sunday to Saturday
};

// Precondition: every month within 1900-01 .. 2100-12.
void run_cal(const Context& context, const CalRequest& request);

}  // namespace qeldate
