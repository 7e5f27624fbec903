// `qeldate cal`: month grids, weeks Monday to Sunday as the library's week
// rows count them, each day with its lunar name underneath.
#pragma once

#include <optional>

namespace qeldate {

struct Context;

// One month (with a list of its solar terms and festivals), or with no month
// the twelve months of the year, as many across as `context.columns` allows
// (three need 150 columns, two 99). Precondition: year 1900..2100.
void run_cal(const Context& context, int year, std::optional<int> month);

}  // namespace qeldate
