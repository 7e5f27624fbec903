// The members of tpdate, the lunar date record: each hands the addresses of
// its four fields to the C-linkage conversion and stepping functions.
#include <cstdint>

#include "qel_datetime.h"

tpdate& tpdate::fromGDate(int32_t gyear, int32_t gmonth, int32_t gday) noexcept {
    // GDateToPDate writes nothing for a year outside 1900-2100 or an invalid date.
    GDateToPDate(gyear, gmonth, gday, &year, &month, &day, &leap);
    return *this;
}

tpdate& tpdate::fromGDate(const int64_t& serial) noexcept {
    GDateToPDateByTDate(serial, &year, &month, &day, &leap);
    return *this;
}

TDateTime tpdate::asGDate() const noexcept {
    TDateTime result;
    int32_t gyear = 0, gmonth = 0, gday = 0;
    if (PDateToGDate(year, month, day, leap, &gyear, &gmonth, &gday) < 1) return result;
    result.setDateTime(gyear, gmonth, gday, 0, 0, 0);
    return result;
}

tpdate& tpdate::loadcurrent() noexcept {
    // A clock that cannot be read leaves the null value, year 0: out of range.
    TDateTime now;
    now.loadcurrentlocal();
    return fromGDate(now.year(), now.month(), now.day());
}

bool tpdate::incMonth(QelLong months, QelLong clamp) noexcept {
    return incPMonth(&year, &month, &day, &leap, static_cast<int32_t>(months),
                     static_cast<int32_t>(clamp)) == 1;
}
