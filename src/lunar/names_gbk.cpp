// The Chinese names of lunar dates, as GBK (code page 936) byte strings: the
// month and day names, the year's place in the sixty-year cycle of heavenly
// stems and earthly branches, and its animal sign. Each function validates the
// date first and leaves the caller's string empty for a date that does not exist.
#include <cstdint>

#include "qel_datetime.h"

namespace qel::lunar {
namespace {

// Months 1, 11 and 12 are written with plain numerals, not 正, 冬, 腊.
constexpr const char* kMonthNames[12] = {
    "\xd2\xbb", "\xb6\xfe", "\xc8\xfd", "\xcb\xc4",  // 一 二 三 四
    "\xce\xe5", "\xc1\xf9", "\xc6\xdf", "\xb0\xcb",  // 五 六 七 八
    "\xbe\xc5", "\xca\xae", "\xca\xae\xd2\xbb", "\xca\xae\xb6\xfe",  // 九 十 十一 十二
};

constexpr const char* kDayNames[30] = {
    "\xb3\xf5\xd2\xbb", "\xb3\xf5\xb6\xfe", "\xb3\xf5\xc8\xfd",  // 初一 初二 初三
    "\xb3\xf5\xcb\xc4", "\xb3\xf5\xce\xe5", "\xb3\xf5\xc1\xf9",  // 初四 初五 初六
    "\xb3\xf5\xc6\xdf", "\xb3\xf5\xb0\xcb", "\xb3\xf5\xbe\xc5",  // 初七 初八 初九
    "\xb3\xf5\xca\xae", "\xca\xae\xd2\xbb", "\xca\xae\xb6\xfe",  // 初十 十一 十二
    "\xca\xae\xc8\xfd", "\xca\xae\xcb\xc4", "\xca\xae\xce\xe5",  // 十三 十四 十五
    "\xca\xae\xc1\xf9", "\xca\xae\xc6\xdf", "\xca\xae\xb0\xcb",  // 十六 十七 十八
    "\xca\xae\xbe\xc5", "\xb6\xfe\xca\xae", "\xd8\xa5\xd2\xbb",  // 十九 二十 廿一
    "\xd8\xa5\xb6\xfe", "\xd8\xa5\xc8\xfd", "\xd8\xa5\xcb\xc4",  // 廿二 廿三 廿四
    "\xd8\xa5\xce\xe5", "\xd8\xa5\xc1\xf9", "\xd8\xa5\xc6\xdf",  // 廿五 廿六 廿七
    "\xd8\xa5\xb0\xcb", "\xd8\xa5\xbe\xc5", "\xc8\xfd\xca\xae",  // 廿八 廿九 三十
};

constexpr const char* kStems[10] = {
    "\xbc\xd7", "\xd2\xd2", "\xb1\xfb", "\xb6\xa1", "\xce\xec",  // 甲 乙 丙 丁 戊
    "\xbc\xba", "\xb8\xfd", "\xd0\xc1", "\xc8\xc9", "\xb9\xef",  // 己 庚 辛 壬 癸
};

constexpr const char* kBranches[12] = {
    "\xd7\xd3", "\xb3\xf3", "\xd2\xfa", "\xc3\xae", "\xb3\xbd", "\xcb\xc8",  // 子 丑 寅 卯 辰 巳
    "\xce\xe7", "\xce\xb4", "\xc9\xea", "\xd3\xcf", "\xd0\xe7", "\xba\xa5",  // 午 未 申 酉 戌 亥
};

// The animals in the order of the branches.
constexpr const char* kAnimals[12] = {
    "\xca\xf3", "\xc5\xa3", "\xbb\xa2", "\xcd\xc3", "\xc1\xfa", "\xc9\xdf",  // 鼠 牛 虎 兔 龙 蛇
    "\xc2\xed", "\xd1\xf2", "\xba\xef", "\xbc\xa6", "\xb9\xb7", "\xd6\xed",  // 马 羊 猴 鸡 狗 猪
};

// The standard leap mark of Chinese calendars is 闰 (U+95F0, GBK C8 F2), as
// qel_calendar writes it; these GBK names keep 润 (C8 F3), the bytes of the
// interface they belong to.
constexpr const char* kLeapMark = "\xc8\xf3";  // 润
constexpr const char* kMonthWord = "\xd4\xc2";  // 月

// Lunar 4 CE (and every 60th year from it) is 甲子, the first of the cycle; the
// stem repeats every 10 years and the branch every 12. Precondition: year >= 4.
constexpr int32_t kCycleStartYear = 4;
constexpr int32_t cycle_index(int32_t year) noexcept { return (year - kCycleStartYear) % 60; }

static_assert(cycle_index(1984) == 0, "1984 is a 甲子 year");
static_assert(cycle_index(1900) % 10 == 6 && cycle_index(1900) % 12 == 0, "1900 is 庚子");

// Empties the text, then reports whether the date exists (and names may follow).
bool start_text(const tpdate* date, TAnsiString* text) noexcept {
    text->Clear();
    return date && PDateIsValid(date->year, date->month, date->day, date->leap) == 1;
}

}  // namespace
}  // namespace qel::lunar

using namespace qel::lunar;

extern "C" {

// parts & 2: the month (leap mark, name, month word); parts & 1: the day.
TAnsiString* pdate2text(const tpdate* date, TAnsiString* text, int32_t parts) {
    if (!text || !start_text(date, text)) return text;
    if (parts & 2) {
        if (date->leap != 0) *text = kLeapMark;
        *text += kMonthNames[date->month - 1];
        *text += kMonthWord;
    }
    if (parts & 1) *text += kDayNames[date->day - 1];
    return text;
}

TAnsiString* pdate2Animal_signs(const tpdate* date, TAnsiString* text) {
    if (!text || !start_text(date, text)) return text;
    *text = kAnimals[cycle_index(date->year) % 12];
    return text;
}

TAnsiString* pdate2TianGanDiZhi(const tpdate* date, TAnsiString* text) {
    if (!text || !start_text(date, text)) return text;
    const int32_t c = cycle_index(date->year);
    *text = kStems[c % 10];
    *text += kBranches[c % 12];
    return text;
}

}  // extern "C"
