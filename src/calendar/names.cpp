// qel_name: every name of the calendar by kind and index, in UTF-8.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calendar/festivals.h"
#include "calendar/holidays.h"
#include "calendar/names.h"
#include "calendar/text.h"
#include "qel_calendar.h"

namespace {

using namespace qel::calendar;

constexpr uint32_t kMonthFlags = QEL_NAME_LEAP | QEL_NAME_PLAIN_MONTHS;

// Index bounds of each kind, in the order of qel_name_kind.
struct Bounds {
    int32_t first, last;
};
constexpr Bounds kBounds[QEL_NAME_KIND_COUNT] = {
    {0, 9}, {0, 11}, {0, 59}, {0, 11}, {1, 12}, {1, 30}, {0, 23}, {0, 23}, {0, 23},
    {0, QEL_FESTIVAL_COUNT - 1}, {0, QEL_FESTIVAL_COUNT - 1}, {0, QEL_FESTIVAL_COUNT - 1}, {0, QEL_FESTIVAL_COUNT - 1},
    {1, QEL_HOLIDAY_COUNT - 1}, {1, QEL_HOLIDAY_COUNT - 1}, {1, QEL_HOLIDAY_COUNT - 1},
};

ShortText month_name(int32_t month, uint32_t flags) {
    ShortText text;
    if (flags & QEL_NAME_LEAP) text.append(kLeapMark);
    const bool plain = (flags & QEL_NAME_PLAIN_MONTHS) != 0;
    text.append(plain ? kMonthNumbers[month] : month == 1 ? kMonth1 : month == 11 ? kMonth11 : month == 12 ? kMonth12
                                                                                              : kMonthNumbers[month]);
    text.append(kMonthWord);
    return text;
}

}  // namespace

extern "C" int32_t qel_name(int32_t kind, int32_t index, uint32_t flags, char* buf, size_t size) noexcept {
    if (kind < 0 || kind >= QEL_NAME_KIND_COUNT) return fail_text(QEL_E_ARGUMENT, buf, size);
    const Bounds b = kBounds[kind];
    if (index < b.first || index > b.last) return fail_text(QEL_E_ARGUMENT, buf, size);
    const uint32_t allowed = kind == QEL_NAME_LUNAR_MONTH ? kMonthFlags : 0u;
    if ((flags & ~allowed) != 0) return fail_text(QEL_E_ARGUMENT, buf, size);
    const auto i = static_cast<size_t>(index);
    switch (kind) {
        case QEL_NAME_STEM: return write_text(kStems[i], buf, size);
        case QEL_NAME_BRANCH: return write_text(kBranches[i], buf, size);
        case QEL_NAME_CYCLE: {
            ShortText text;
            text.append(kStems[i % 10]);
            text.append(kBranches[i % 12]);
            return write_text(text.view(), buf, size);
        }
        case QEL_NAME_ANIMAL: return write_text(kAnimals[i], buf, size);
        case QEL_NAME_LUNAR_MONTH: return write_text(month_name(index, flags).view(), buf, size);
        case QEL_NAME_LUNAR_DAY: return write_text(kDayNames[i], buf, size);
        case QEL_NAME_TERM: return write_text(kTermNames[i].chinese, buf, size);
        case QEL_NAME_TERM_ENGLISH: return write_text(kTermNames[i].english, buf, size);
        case QEL_NAME_TERM_KEY: return write_text(kTermNames[i].key, buf, size);
        case QEL_NAME_FESTIVAL: return write_text(kFestivals[i].chinese, buf, size);
        case QEL_NAME_FESTIVAL_SHORT: return write_text(kFestivals[i].short_name, buf, size);
        case QEL_NAME_FESTIVAL_ENGLISH: return write_text(kFestivals[i].english, buf, size);
        case QEL_NAME_FESTIVAL_KEY: return write_text(kFestivals[i].key, buf, size);
        case QEL_NAME_HOLIDAY: return write_text(kHolidayNames[i].chinese, buf, size);
        case QEL_NAME_HOLIDAY_ENGLISH: return write_text(kHolidayNames[i].english, buf, size);
        default: return write_text(kHolidayNames[i].key, buf, size);  // QEL_NAME_HOLIDAY_KEY
    }
}
