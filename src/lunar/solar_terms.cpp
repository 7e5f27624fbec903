// getLunarTermDay: the date of one of the 24 solar terms of a Gregorian year
// 1900..2100, read from the generated SolarTermTable (days from 1 January, in
// China Standard Time) and returned as a packed word at 00:00:00.
#include <cstddef>
#include <cstdint>

#include "datetime/packed.h"
#include "gregorian/civil.h"
#include "lunar/solar_term_table.h"
#include "qel_datetime.h"

namespace {

using qel::lunar::kSolarTermFirstYear;
using qel::lunar::kSolarTermLastYear;
using qel::lunar::kSolarTermsPerYear;
using qel::lunar::SolarTermTable;

static_assert(sizeof SolarTermTable / sizeof SolarTermTable[0] ==
                  std::size_t{kSolarTermLastYear - kSolarTermFirstYear + 1} * kSolarTermsPerYear,
              "one row of 24 terms per year");
// The last offset is 2100's Winter Solstice, 22 December: 355 days after 1 January.
static_assert(SolarTermTable[sizeof SolarTermTable / sizeof SolarTermTable[0] - 1] == 355,
              "2100-12-22");

}  // namespace

extern "C" {

// 1 January of the year stepped forward by the table's offset; the offset is
// at most 365, so the date stays in the year.
DateTimeInt getLunarTermDay(int32_t year, int32_t term) noexcept {
    const auto term_index = static_cast<uint32_t>(term);  // a negative term wraps above 23
    if (term_index >= uint32_t{kSolarTermsPerYear} || year < kSolarTermFirstYear || year > kSolarTermLastYear)
        return 0;
    const std::size_t index =
        static_cast<std::size_t>(year - kSolarTermFirstYear) * kSolarTermsPerYear + term_index;
    const auto y = static_cast<uint32_t>(year);
    const DateInt serial = qel::gregorian::serial_from_civil(y, 1, 1) + SolarTermTable[index];
    const qel::gregorian::CivilDate date = qel::gregorian::civil_from_serial(serial);
    return qel::datetime::pack(date.year, date.month, date.day, 0, 0, 0);
}

}  // extern "C"
