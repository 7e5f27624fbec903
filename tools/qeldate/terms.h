// `qeldate terms YEAR...`: the 24 solar terms of each year with their times.
#pragma once

#include <vector>

namespace qeldate {

struct Context;

void run_terms(const Context& context, const std::vector<int>& years);

}  // namespace qeldate
