// `qeldate convert`: dates in bulk, one per line, from files or standard
// input, to CSV, TSV or JSON lines with the facts of each day. It streams in
// blocks of a few thousand lines through qel_calendar's batch call, so memory
// stays constant whatever the input's length.
#pragma once

#include <string>
#include <vector>

namespace qeldate {

struct Context;

enum class ConvertFormat { kCsv, kTsv, kJsonLines };

struct ConvertRequest {
    std::vector<std::string> files;  // none or "-": standard input
    bool lunar = false;              // lines are lunar YEAR-MONTH-DAY [leap]
    ConvertFormat format = ConvertFormat::kCsv;
    bool strict = false;             // stop at the first bad line
};

// The number of bad lines (each written as an error record); with `strict`,
// a UsageError at the first one.
long long run_convert(const Context& context, const ConvertRequest& request);

}  // namespace qeldate
