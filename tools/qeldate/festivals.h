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
// `year`: the days inside that Gregorian year (none, one or two) instead of
// the next one from today on; `lunar_year`: the day in that lunar year (a
// lunar festival or date).
void run_next(const Context& context, std::string_view what, bool leap, std::optional<int> year,
              std::optional<int> lunar_year);

}  // namespace qeldate
