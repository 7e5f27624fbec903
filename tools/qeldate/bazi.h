// `qeldate bazi`: the four pillars (四柱, 八字) of a moment in China Standard
// Time, with the 节 that opened the month and the 立春 that opened the year.
#pragma once

#include "date_parse.h"

namespace qeldate {

struct Context;

// `zi_early`: the day pillar changes at 23:00 (else at midnight).
void run_bazi(const Context& context, const Moment& when, bool zi_early);

}  // namespace qeldate
