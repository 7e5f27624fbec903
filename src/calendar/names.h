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
    std::string_view chinese, english, key, korean, vietnamese;
};
// Term k: the Sun at 285 + 15k degrees of apparent longitude (mod 360).
inline constexpr TermName kTermNames[24] = {
    {"小寒", "Minor Cold", "minor-cold", "소한", "Tiểu hàn"},
    {"大寒", "Major Cold", "major-cold", "대한", "Đại hàn"},
    {"立春", "Start of Spring", "start-of-spring", "입춘", "Lập xuân"},
    {"雨水", "Rain Water", "rain-water", "우수", "Vũ thủy"},
    {"惊蛰", "Awakening of Insects", "awakening-of-insects", "경칩", "Kinh trập"},
    {"春分", "Spring Equinox", "spring-equinox", "춘분", "Xuân phân"},
    {"清明", "Clear and Bright", "clear-and-bright", "청명", "Thanh minh"},
    {"谷雨", "Grain Rain", "grain-rain", "곡우", "Cốc vũ"},
    {"立夏", "Start of Summer", "start-of-summer", "입하", "Lập hạ"},
    {"小满", "Grain Buds", "grain-buds", "소만", "Tiểu mãn"},
    {"芒种", "Grain in Ear", "grain-in-ear", "망종", "Mang chủng"},
    {"夏至", "Summer Solstice", "summer-solstice", "하지", "Hạ chí"},
    {"小暑", "Minor Heat", "minor-heat", "소서", "Tiểu thử"},
    {"大暑", "Major Heat", "major-heat", "대서", "Đại thử"},
    {"立秋", "Start of Autumn", "start-of-autumn", "입추", "Lập thu"},
    {"处暑", "End of Heat", "end-of-heat", "처서", "Xử thử"},
    {"白露", "White Dew", "white-dew", "백로", "Bạch lộ"},
    {"秋分", "Autumn Equinox", "autumn-equinox", "추분", "Thu phân"},
    {"寒露", "Cold Dew", "cold-dew", "한로", "Hàn lộ"},
    {"霜降", "Frost's Descent", "frosts-descent", "상강", "Sương giáng"},
    {"立冬", "Start of Winter", "start-of-winter", "입동", "Lập đông"},
    {"小雪", "Minor Snow", "minor-snow", "소설", "Tiểu tuyết"},
    {"大雪", "Major Snow", "major-snow", "대설", "Đại tuyết"},
    {"冬至", "Winter Solstice", "winter-solstice", "동지", "Đông chí"},
};

// The Korean names (한글): stems, branches, animals by branch; months 1, 11
// and 12 by their old names 정월, 동짓달 and 섣달, the others by number; the
// leap mark 윤 (閏).
inline constexpr std::string_view kKoreanStems[10] = {"갑", "을", "병", "정", "무", "기", "경", "신", "임", "계"};
inline constexpr std::string_view kKoreanBranches[12] = {"자", "축", "인", "묘", "진", "사",
                                                         "오", "미", "신", "유", "술", "해"};
inline constexpr std::string_view kKoreanAnimals[12] = {"쥐", "소", "호랑이", "토끼", "용", "뱀",
                                                        "말", "양", "원숭이", "닭", "개", "돼지"};
inline constexpr std::string_view kKoreanMonth1 = "정월";
inline constexpr std::string_view kKoreanMonth11 = "동짓달";
inline constexpr std::string_view kKoreanMonth12 = "섣달";
inline constexpr std::string_view kKoreanMonthWord = "월";
inline constexpr std::string_view kKoreanDayWord = "일";
inline constexpr std::string_view kKoreanLeapMark = "윤";

// The Vietnamese names: Can and Chi, the zodiac with the cat (Mèo) for the
// rabbit and the buffalo (Trâu) for the ox; tháng Giêng for month 1 and
// tháng Chạp for month 12, "nhuận" after a leap month; days 1-10 "mùng".
inline constexpr std::string_view kVietnameseStems[10] = {"Giáp", "Ất",  "Bính", "Đinh", "Mậu",
                                                          "Kỷ",   "Canh", "Tân", "Nhâm", "Quý"};
inline constexpr std::string_view kVietnameseBranches[12] = {"Tý",  "Sửu", "Dần",  "Mão",  "Thìn", "Tỵ",
                                                             "Ngọ", "Mùi", "Thân", "Dậu", "Tuất", "Hợi"};
inline constexpr std::string_view kVietnameseAnimals[12] = {"Chuột", "Trâu", "Hổ",  "Mèo", "Rồng", "Rắn",
                                                            "Ngựa",  "Dê",   "Khỉ", "Gà",  "Chó",  "Lợn"};
inline constexpr std::string_view kVietnameseMonths[13] = {
    "",          "tháng Giêng", "tháng Hai",  "tháng Ba",   "tháng Tư",       "tháng Năm", "tháng Sáu",
    "tháng Bảy", "tháng Tám",   "tháng Chín", "tháng Mười", "tháng Mười Một", "tháng Chạp"};
inline constexpr std::string_view kVietnameseMonthWord = "tháng ";
inline constexpr std::string_view kVietnameseLeapMark = " nhuận";
inline constexpr std::string_view kVietnameseFirstDays = "mùng ";
inline constexpr std::string_view kVietnameseDay = "ngày ";

// The decimal numbers 0-30, for the month and day names that count.
inline constexpr std::string_view kDecimal[31] = {"0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "10",
                                                  "11", "12", "13", "14", "15", "16", "17", "18", "19", "20", "21",
                                                  "22", "23", "24", "25", "26", "27", "28", "29", "30"};

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
