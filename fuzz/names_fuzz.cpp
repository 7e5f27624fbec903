// Fuzzes the GBK names: pdate2text, pdate2Animal_signs, pdate2TianGanDiZhi.
// The oracle is independent of the library's byte tables: the expected text
// is composed in UTF-8 from the rules of Chinese numerals and the two cycles,
// and glibc's iconv converts the library's GBK bytes to UTF-8 for comparison.
#include <string>

#include "fuzz_support.h"

using namespace qel::fuzz;

namespace {

const char* const kDigits[] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
const char* const kStems[] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
const char* const kBranches[] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
const char* const kAnimals[] = {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};

// Month 1-12: 一 .. 十, 十一, 十二.
std::string month_name(int32_t m) { return m <= 10 ? kDigits[m] : std::string("十") + kDigits[m - 10]; }

// Day 1-30: 初一 .. 初十, 十一 .. 十九, 二十, 廿一 .. 廿九, 三十.
std::string day_name(int32_t d) {
    if (d <= 10) return std::string("初") + kDigits[d];
    if (d < 20) return std::string("十") + kDigits[d - 10];
    if (d == 20) return "二十";
    if (d < 30) return std::string("廿") + kDigits[d - 20];
    return "三十";
}

void check_names(Args& a) {
    tpdate date{a.year(), a.month(), a.day(), a.pick<int32_t>({0, 1, 2, -1})};
    if (a.flag()) {  // a real date of the table
        const DateInt s = 2 + static_cast<DateInt>(a.raw<uint32_t>() % 73442);
        GDateToPDateByTDate(s, &date.year, &date.month, &date.day, &date.leap);
    }
    const int32_t parts = a.pick<int32_t>({0, 1, 2, 3, -1, 4, kI32Min});
    const bool valid = PDateIsValid(date.year, date.month, date.day, date.leap) == 1;
    TAnsiString text("stale text");
    QEL_FUZZ_CHECK(pdate2text(&date, &text, parts) == &text);
    std::string want;
    if (valid && (parts & 2)) want += (date.leap ? "润" : "") + month_name(date.month) + "月";
    if (valid && (parts & 1)) want += day_name(date.day);
    QEL_FUZZ_CHECK(utf8_of_gbk(text.c_str()) == want);

    const int32_t cycle = valid ? (date.year - 4) % 60 : 0;
    text = "stale text";
    QEL_FUZZ_CHECK(pdate2Animal_signs(&date, &text) == &text);
    QEL_FUZZ_CHECK(utf8_of_gbk(text.c_str()) == (valid ? kAnimals[cycle % 12] : ""));
    text = "stale text";
    QEL_FUZZ_CHECK(pdate2TianGanDiZhi(&date, &text) == &text);
    QEL_FUZZ_CHECK(utf8_of_gbk(text.c_str()) ==
                   (valid ? std::string(kStems[cycle % 10]) + kBranches[cycle % 12] : std::string()));

    // A null date empties the text; a null text comes back null.
    text = "stale text";
    QEL_FUZZ_CHECK(pdate2text(nullptr, &text, parts) == &text && text.length() == 0);
    text = "stale text";
    QEL_FUZZ_CHECK(pdate2Animal_signs(nullptr, &text) == &text && text.length() == 0);
    text = "stale text";
    QEL_FUZZ_CHECK(pdate2TianGanDiZhi(nullptr, &text) == &text && text.length() == 0);
    QEL_FUZZ_CHECK(pdate2text(&date, nullptr, parts) == nullptr && pdate2Animal_signs(&date, nullptr) == nullptr &&
                   pdate2TianGanDiZhi(&date, nullptr) == nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Args a(data, size);
    while (a.more()) check_names(a);
    return 0;
}
