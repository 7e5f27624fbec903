// The names of the Chinese calendar in UTF-8, with the standard characters:
// the ten stems and twelve branches, the animals, the lunar months as
// calendars print them (正月 .. 冬月 腊月), the days 初一 .. 三十, and the 24
// solar terms in Chinese and English.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qel::calendar {

inline constexpr std::string_view kStems[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
inline constexpr std::string_view kBranches[12] = {"子", "丑", "寅", "卯", "辰", "巳",
                                                   "午", "未", "申", "酉", "戌", "亥"};
// By branch: 子 the rat .. 亥 the pig.
inline constexpr std::string_view kAnimals[12] = {"鼠", "牛", "虎", "兔", "龙", "蛇",
                                                  "马", "羊", "猴", "鸡", "狗", "猪"};
// Almanacs call months 1, 11 and 12 正月, 冬月 and 腊月; plain counting says
// 一月, 十一月 and 十二月.
inline constexpr std::string_view kMonthNumbers[13] = {"",   "一", "二", "三", "四",   "五",  "六",
                                                       "七", "八", "九", "十", "十一", "十二"};
inline constexpr std::string_view kMonth1 = "正";
inline constexpr std::string_view kMonth11 = "冬";
inline constexpr std::string_view kMonth12 = "腊";
inline constexpr std::string_view kMonthWord = "月";
// U+95F0, the leap mark of Chinese calendars.
inline constexpr std::string_view kLeapMark = "闰";
// Days 1-10 take 初, 11-19 十, 20 is 二十, 21-29 廿, 30 三十.
inline constexpr std::string_view kDayNames[31] = {
    "",     "初一", "初二", "初三", "初四", "初五", "初六", "初七", "初八", "初九", "初十",
    "十一", "十二", "十三", "十四", "十五", "十六", "十七", "十八", "十九", "二十",
    "廿一", "廿二", "廿三", "廿四", "廿五", "廿六", "廿七", "廿八", "廿九", "三十"};

struct TermName {
    std::string_view chinese, english, key;
};
// Term k: the Sun at 285 + 15k degrees of apparent longitude (mod 360).
inline constexpr TermName kTermNames[24] = {
    {"小寒", "Minor Cold", "minor-cold"},
    {"大寒", "Major Cold", "major-cold"},
    {"立春", "Start of Spring", "start-of-spring"},
    {"雨水", "Rain Water", "rain-water"},
    {"惊蛰", "Awakening of Insects", "awakening-of-insects"},
    {"春分", "Spring Equinox", "spring-equinox"},
    {"清明", "Clear and Bright", "clear-and-bright"},
    {"谷雨", "Grain Rain", "grain-rain"},
    {"立夏", "Start of Summer", "start-of-summer"},
    {"小满", "Grain Buds", "grain-buds"},
    {"芒种", "Grain in Ear", "grain-in-ear"},
    {"夏至", "Summer Solstice", "summer-solstice"},
    {"小暑", "Minor Heat", "minor-heat"},
    {"大暑", "Major Heat", "major-heat"},
    {"立秋", "Start of Autumn", "start-of-autumn"},
    {"处暑", "End of Heat", "end-of-heat"},
    {"白露", "White Dew", "white-dew"},
    {"秋分", "Autumn Equinox", "autumn-equinox"},
    {"寒露", "Cold Dew", "cold-dew"},
    {"霜降", "Frost's Descent", "frosts-descent"},
    {"立冬", "Start of Winter", "start-of-winter"},
    {"小雪", "Minor Snow", "minor-snow"},
    {"大雪", "Major Snow", "major-snow"},
    {"冬至", "Winter Solstice", "winter-solstice"},
};

// ASCII case-insensitive equality, for keys and English names.
constexpr bool equal_ascii_nocase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        const char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y) return false;
    }
    return true;
}

}  // namespace qel::calendar
