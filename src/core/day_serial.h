// The day serial shared by every library of the tree: days since 1899-12-30
// (serial 0), as a signed 64-bit count. qel_datetime's public DateInt is the
// same type; the core names it without including that header, so code built
// on the core alone (qel_calendar) needs nothing of qel_datetime.
#pragma once

#include <cstdint>

namespace qel {
using DateInt = std::int64_t;
}  // namespace qel
