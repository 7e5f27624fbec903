// Festivals by year and the look-ups people make: `qeldate festivals YEAR...`
// (each year's festivals and terms in date order) and `qeldate next WHAT`
// (the next festival, solar term or lunar date).
#pragma once

#include <optional>
#include <vector>
#include <string_view>

namespace qeldate {

struct Context;

void run_festivals(const Context& context, const std::vector<int>& years);
// `year`: the Gregorian year to look in instead of "from today on".
void run_next(const Context& context, std::string_view what, bool leap, std::optional<int> year);

}  // namespace qeldate
