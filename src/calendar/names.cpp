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
constexpr uint32_t kLanguages = QEL_NAME_KOREAN | QEL_NAME_VIETNAMESE;

// Index bounds of each kind, in the order of qel_name_kind.
struct Bounds {
    int32_t first, last;
};
constexpr Bounds kBounds[QEL_NAME_KIND_COUNT] = {
    {0, 9}, {0, 11}, {0, 59}, {0, 11}, {1, 12}, {1, 30}, {0, 23}, {0, 23}, {0, 23},
    {0, QEL_FESTIVAL_COUNT - 1}, {0, QEL_FESTIVAL_COUNT - 1}, {0, QEL_FESTIVAL_COUNT - 1}, {0, QEL_FESTIVAL_COUNT - 1},
    {1, QEL_HOLIDAY_COUNT - 1}, {1, QEL_HOLIDAY_COUNT - 1}, {1, QEL_HOLIDAY_COUNT - 1},
};

// The kinds a language flag applies to.
constexpr bool translated(int32_t kind) noexcept {
    switch (kind) {
        case QEL_NAME_STEM: case QEL_NAME_BRANCH: case QEL_NAME_CYCLE: case QEL_NAME_ANIMAL:
        case QEL_NAME_LUNAR_MONTH: case QEL_NAME_LUNAR_DAY: case QEL_NAME_TERM: case QEL_NAME_FESTIVAL:
        case QEL_NAME_FESTIVAL_SHORT: return true;
        default: return false;
    }
}

ShortText month_name(int32_t month, uint32_t flags) {
    ShortText text;
    const bool plain = (flags & QEL_NAME_PLAIN_MONTHS) != 0;
    const auto m = static_cast<size_t>(month);
    if (flags & QEL_NAME_KOREAN) {
        if (flags & QEL_NAME_LEAP) text.append(kKoreanLeapMark);
        if (!plain && month == 1) text.append(kKoreanMonth1);
        else if (!plain && month == 11) text.append(kKoreanMonth11);
        else if (!plain && month == 12) text.append(kKoreanMonth12);
        else text.append(kDecimal[m]), text.append(kKoreanMonthWord);
    } else if (flags & QEL_NAME_VIETNAMESE) {
        if (plain) text.append(kVietnameseMonthWord), text.append(kDecimal[m]);
        else text.append(kVietnameseMonths[m]);
        if (flags & QEL_NAME_LEAP) text.append(kVietnameseLeapMark);
    } else {
        if (flags & QEL_NAME_LEAP) text.append(kLeapMark);
        text.append(plain ? kMonthNumbers[m] : month == 1 ? kMonth1 : month == 11 ? kMonth11 : month == 12 ? kMonth12
                                                                                             : kMonthNumbers[m]);
        text.append(kMonthWord);
    }
    return text;
}

ShortText day_name(int32_t day, uint32_t language) {
    ShortText text;
    const auto d = static_cast<size_t>(day);
    if (language == QEL_NAME_KOREAN) text.append(kDecimal[d]), text.append(kKoreanDayWord);
    else if (language == QEL_NAME_VIETNAMESE) text.append(day <= 10 ? kVietnameseFirstDays : kVietnameseDay), text.append(kDecimal[d]);
    else text.append(kDayNames[d]);
    return text;
}

// A name of the language: Chinese, Korean or Vietnamese.
constexpr std::string_view pick(uint32_t language, std::string_view chinese, std::string_view korean,
                                std::string_view vietnamese) noexcept {
    return language == QEL_NAME_KOREAN ? korean : language == QEL_NAME_VIETNAMESE ? vietnamese : chinese;
}

}  // namespace

extern "C" int32_t qel_name(int32_t kind, int32_t index, uint32_t flags, char* buf, size_t size) noexcept {
    if (kind < 0 || kind >= QEL_NAME_KIND_COUNT) return fail_text(QEL_E_ARGUMENT, buf, size);
    const Bounds b = kBounds[kind];
    if (index < b.first || index > b.last) return fail_text(QEL_E_ARGUMENT, buf, size);
    const uint32_t language = flags & kLanguages;
    const uint32_t allowed = (kind == QEL_NAME_LUNAR_MONTH ? kMonthFlags : 0u) | (translated(kind) ? kLanguages : 0u);
    if ((flags & ~allowed) != 0 || language == kLanguages) return fail_text(QEL_E_ARGUMENT, buf, size);
    const auto i = static_cast<size_t>(index);
    switch (kind) {
        case QEL_NAME_STEM: return write_text(pick(language, kStems[i], kKoreanStems[i], kVietnameseStems[i]), buf, size);
        case QEL_NAME_BRANCH:
            return write_text(pick(language, kBranches[i], kKoreanBranches[i], kVietnameseBranches[i]), buf, size);
        case QEL_NAME_CYCLE: {
            ShortText text;
            text.append(pick(language, kStems[i % 10], kKoreanStems[i % 10], kVietnameseStems[i % 10]));
            if (language == QEL_NAME_VIETNAMESE) text.append(" ");
            text.append(pick(language, kBranches[i % 12], kKoreanBranches[i % 12], kVietnameseBranches[i % 12]));
            return write_text(text.view(), buf, size);
        }
        case QEL_NAME_ANIMAL:
            return write_text(pick(language, kAnimals[i], kKoreanAnimals[i], kVietnameseAnimals[i]), buf, size);
        case QEL_NAME_LUNAR_MONTH: return write_text(month_name(index, flags).view(), buf, size);
        case QEL_NAME_LUNAR_DAY: return write_text(day_name(index, language).view(), buf, size);
        case QEL_NAME_TERM:
            return write_text(pick(language, kTermNames[i].chinese, kTermNames[i].korean, kTermNames[i].vietnamese), buf,
                              size);
        case QEL_NAME_TERM_ENGLISH: return write_text(kTermNames[i].english, buf, size);
        case QEL_NAME_TERM_KEY: return write_text(kTermNames[i].key, buf, size);
        case QEL_NAME_FESTIVAL:
        case QEL_NAME_FESTIVAL_SHORT: {
            const FestivalDef& f = kFestivals[i];
            const std::string_view name =
                pick(language, kind == QEL_NAME_FESTIVAL ? f.chinese : f.short_name, f.korean, f.vietnamese);
            if (name.empty()) return fail_text(QEL_E_ARGUMENT, buf, size);  // not kept in that calendar
            return write_text(name, buf, size);
        }
        case QEL_NAME_FESTIVAL_ENGLISH: return write_text(kFestivals[i].english, buf, size);
        case QEL_NAME_FESTIVAL_KEY: return write_text(kFestivals[i].key, buf, size);
        case QEL_NAME_HOLIDAY: return write_text(kHolidayNames[i].chinese, buf, size);
        case QEL_NAME_HOLIDAY_ENGLISH: return write_text(kHolidayNames[i].english, buf, size);
        default: return write_text(kHolidayNames[i].key, buf, size);  // QEL_NAME_HOLIDAY_KEY
    }
}
