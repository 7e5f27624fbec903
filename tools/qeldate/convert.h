// `qeldate convert`: dates in bulk, one per line, from files or standard
// input, to CSV, TSV or JSON lines with the facts of each day. It streams in
// blocks of a few thousand lines through qel_calendar's batch call, so memory
// stays constant whatever the input's length.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qeldate {

struct Context;

// A line longer than this is an error record, read no further than this: a
// date is a few dozen bytes, and memory stays bounded whatever the input.
constexpr size_t kMaxLineBytes = 4096;

enum class ConvertFormat { kCsv, kTsv, kJsonLines };

struct ConvertRequest {
    std::vector<std::string> files;  // none or "-": standard input
    bool lunar = false;              // lines are lunar YEAR-MONTH-DAY [leap]
    ConvertFormat format = ConvertFormat::kCsv;
    bool strict = false;             // stop at the first bad line
};

// Writes one record per input line: a bad line (not a date, not UTF-8 text,
// empty, longer than kMaxLineBytes) gets an error record. An unreadable file
// gets a line on standard error naming it, and the other files are still read.
// False when any line or file was bad (a summary line on standard error then);
// with `strict`, a UsageError at the first one instead.
bool run_convert(const Context& context, const ConvertRequest& request);

}  // namespace qeldate
