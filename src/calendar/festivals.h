// The festivals of the Chinese calendar: one table of rules (a lunar day, the
// last day of the lunar year, a solar term, a Gregorian date), and the
// per-day bit tables derived from it at compile time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "qel_calendar.h"

namespace qel::calendar {

enum class FestivalRule : uint8_t {
    kLunarDay,     // day `day` of the ordinary lunar month `month`, never of a leap month
    kLunarYearEnd, // the last day of lunar month 12: 29 or 30
    kSolarTerm,    // the day of term `day`
    kGregorian,    // the Gregorian month and day
};

struct FestivalDef {
    FestivalRule rule;
    int32_t month;
    int32_t day;  // the term number for kSolarTerm
    std::string_view key, chinese, short_name, english;
    // The names in the Korean and the Vietnamese calendars; empty where that
    // calendar does not keep the festival.
    std::string_view korean, vietnamese;
};

// In the order of qel_festival.
inline constexpr FestivalDef kFestivals[QEL_FESTIVAL_COUNT] = {
    {FestivalRule::kLunarDay, 1, 1, "spring-festival", "春节", "春节", "Spring Festival", "설날", "Tết Nguyên Đán"},
    {FestivalRule::kLunarDay, 1, 15, "lantern", "元宵节", "元宵", "Lantern Festival", "정월 대보름", "Tết Nguyên Tiêu"},
    {FestivalRule::kLunarDay, 2, 2, "dragon-head", "龙抬头", "龙抬头", "Dragon Raises Its Head", "", ""},
    {FestivalRule::kLunarDay, 3, 3, "shangsi", "上巳节", "上巳", "Shangsi Festival", "삼짇날", "Tết Hàn Thực"},
    {FestivalRule::kLunarDay, 5, 5, "dragon-boat", "端午节", "端午", "Dragon Boat Festival", "단오", "Tết Đoan Ngọ"},
    {FestivalRule::kLunarDay, 7, 7, "qixi", "七夕", "七夕", "Qixi Festival", "칠석", "Thất Tịch"},
    {FestivalRule::kLunarDay, 7, 15, "zhongyuan", "中元节", "中元", "Ghost Festival", "백중", "Vu Lan"},
    {FestivalRule::kLunarDay, 8, 15, "mid-autumn", "中秋节", "中秋", "Mid-Autumn Festival", "추석", "Tết Trung Thu"},
    {FestivalRule::kLunarDay, 9, 9, "double-ninth", "重阳节", "重阳", "Double Ninth Festival", "중양절", "Tết Trùng Cửu"},
    {FestivalRule::kLunarDay, 10, 1, "hanyi", "寒衣节", "寒衣", "Winter Clothes Festival", "", ""},
    {FestivalRule::kLunarDay, 10, 15, "xiayuan", "下元节", "下元", "Xiayuan Festival", "", "Tết Hạ Nguyên"},
    {FestivalRule::kLunarDay, 12, 8, "laba", "腊八节", "腊八", "Laba Festival", "", ""},
    {FestivalRule::kLunarDay, 12, 23, "xiaonian", "小年", "小年", "Little New Year", "", "Ông Công Ông Táo"},
    {FestivalRule::kLunarYearEnd, 12, 0, "new-years-eve", "除夕", "除夕", "New Year's Eve", "섣달 그믐", "Giao thừa"},
    {FestivalRule::kSolarTerm, 0, 6, "qingming", "清明节", "清明", "Qingming Festival", "", "Tết Thanh Minh"},
    {FestivalRule::kSolarTerm, 0, 23, "winter-solstice", "冬至", "冬至", "Winter Solstice Festival", "동지", "Đông chí"},
    {FestivalRule::kGregorian, 1, 1, "new-year", "元旦", "元旦", "New Year's Day", "", ""},
    {FestivalRule::kGregorian, 3, 8, "womens-day", "妇女节", "妇女节", "International Women's Day", "", ""},
    {FestivalRule::kGregorian, 5, 1, "labour-day", "劳动节", "劳动节", "Labour Day", "", ""},
    {FestivalRule::kGregorian, 5, 4, "youth-day", "青年节", "青年节", "Youth Day", "", ""},
    {FestivalRule::kGregorian, 6, 1, "childrens-day", "儿童节", "儿童节", "Children's Day", "", ""},
    {FestivalRule::kGregorian, 7, 1, "party-day", "建党节", "建党节", "CPC Founding Day", "", ""},
    {FestivalRule::kGregorian, 8, 1, "army-day", "建军节", "建军节", "Army Day", "", ""},
    {FestivalRule::kGregorian, 9, 10, "teachers-day", "教师节", "教师节", "Teachers' Day", "", ""},
    {FestivalRule::kGregorian, 10, 1, "national-day", "国庆节", "国庆", "National Day", "", ""},
    {FestivalRule::kLunarDay, 3, 10, "hung-kings", "雄王祭", "雄王", "Hung Kings' Commemoration", "", "Giỗ Tổ Hùng Vương"},
};

// The calendar chosen by an options or flags word, and the check of the
// option bits a festival call accepts.
constexpr size_t calendar_of(uint32_t options) noexcept { return (options & QEL_OPT_CALENDAR_MASK) >> 8; }
constexpr bool festival_options_ok(uint32_t options) noexcept {
    // The calendar field is the highest of the bits: a known calendar is a bound.
    static_assert(QEL_OPT_XIAONIAN_SOUTH < QEL_OPT_CALENDAR(1), "the calendar bits are the highest");
    return (options & ~(QEL_OPT_XIAONIAN_SOUTH | QEL_OPT_CALENDAR_MASK)) == 0 &&
           options < QEL_OPT_CALENDAR(QEL_CALENDAR_COUNT);
}

constexpr uint64_t festival_bit(int32_t f) noexcept { return uint64_t{1} << f; }

// The festivals each calendar keeps: the Chinese all but the Hùng Kings', the
// others those named in their language.
inline constexpr auto kCalendarFestivals = [] {
    std::array<uint64_t, QEL_CALENDAR_COUNT> kept{};
    for (int32_t f = 0; f < QEL_FESTIVAL_COUNT; ++f) {
        if (f != QEL_FESTIVAL_HUNG_KINGS) kept[QEL_CALENDAR_CHINESE] |= festival_bit(f);
        if (!kFestivals[f].korean.empty()) kept[QEL_CALENDAR_KOREAN] |= festival_bit(f);
        if (!kFestivals[f].vietnamese.empty()) kept[QEL_CALENDAR_VIETNAMESE] |= festival_bit(f);
    }
    return kept;
}();
constexpr bool keeps(size_t calendar, int32_t festival) noexcept {
    return (kCalendarFestivals[calendar] & festival_bit(festival)) != 0;
}

// Festival bits by [month][day] for the rules that name a fixed day.
constexpr auto fixed_day_bits(FestivalRule rule) {
    std::array<std::array<uint64_t, 32>, 13> bits{};
    for (int32_t f = 0; f < QEL_FESTIVAL_COUNT; ++f)
        if (kFestivals[f].rule == rule) bits[static_cast<size_t>(kFestivals[f].month)][static_cast<size_t>(kFestivals[f].day)] |= festival_bit(f);
    return bits;
}
inline constexpr auto kLunarDayBits = fixed_day_bits(FestivalRule::kLunarDay);
inline constexpr auto kGregorianDayBits = fixed_day_bits(FestivalRule::kGregorian);

inline constexpr auto kTermBits = [] {
    std::array<uint64_t, 24> bits{};
    for (int32_t f = 0; f < QEL_FESTIVAL_COUNT; ++f)
        if (kFestivals[f].rule == FestivalRule::kSolarTerm) bits[static_cast<size_t>(kFestivals[f].day)] |= festival_bit(f);
    return bits;
}();

inline constexpr uint64_t kXiaonianBit = festival_bit(QEL_FESTIVAL_XIAONIAN);
inline constexpr int32_t kXiaonianSouthDay = 24;  // the north keeps 12-23, the south 12-24

static_assert(kLunarDayBits[8][15] == festival_bit(QEL_FESTIVAL_MID_AUTUMN), "中秋 lunar 8-15");
static_assert(kGregorianDayBits[10][1] == festival_bit(QEL_FESTIVAL_NATIONAL_DAY), "国庆 1 October");
static_assert(kTermBits[6] == festival_bit(QEL_FESTIVAL_QINGMING), "清明 term 6");

// The lunar festivals of day `day` of a lunar month: `month_days` long, `leap`
// for the leap month (which has none), among those a calendar keeps.
constexpr uint64_t lunar_festivals(int32_t month, int32_t day, int32_t leap, int32_t month_days, uint32_t options,
                                   uint64_t kept) noexcept {
    if (leap != 0) return 0;
    uint64_t bits = kLunarDayBits[static_cast<size_t>(month)][static_cast<size_t>(day)];
    if (month == 12) {
        if (day == month_days) bits |= festival_bit(QEL_FESTIVAL_NEW_YEARS_EVE);  // kept by all three
        if (options & QEL_OPT_XIAONIAN_SOUTH) bits = (bits & ~kXiaonianBit) | (day == kXiaonianSouthDay ? kXiaonianBit : 0);
    }
    return bits & kept;
}

}  // namespace qel::calendar
