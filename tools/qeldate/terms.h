// `qeldate terms YEAR`: the 24 solar terms of a year with their times.
#pragma once

namespace qeldate {

struct Context;

void run_terms(const Context& context, int year);

}  // namespace qeldate
