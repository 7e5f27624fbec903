// The GBK names against text written here in UTF-8 and encoded by the
// platform (glibc's iconv(3); code page 936 on Windows): every day of a year
// with a leap month, every year's stem, branch and animal, and the empty text
// for dates that do not exist.
#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <string>

#include <gtest/gtest.h>

#include "qel_datetime.h"

namespace {

#if defined(_WIN32)
std::string gbk(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), int(wide.size()))));
    std::string out(2 * wide.size(), '\0');
    BOOL lossy = FALSE;
    out.resize(size_t(WideCharToMultiByte(936, 0, wide.data(), int(wide.size()), out.data(), int(out.size()), nullptr, &lossy)));
    EXPECT_FALSE(lossy) << utf8;
    return out;
}
#else
std::string gbk(std::string utf8) {
    const iconv_t cd = iconv_open("GBK", "UTF-8");
    std::string out(2 * utf8.size(), '\0');
    char *src = utf8.data(), *dst = out.data();
    size_t src_left = utf8.size(), dst_left = out.size();
    EXPECT_NE(iconv(cd, &src, &src_left, &dst, &dst_left), static_cast<size_t>(-1)) << utf8;
    iconv_close(cd);
    return out.substr(0, out.size() - dst_left);
}
#endif

const std::string kDigits[] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};

std::string month_name(int m) { return m <= 10 ? kDigits[m] : "十" + kDigits[m - 10]; }
std::string day_name(int d) {
    if (d <= 10) return "初" + kDigits[d];
    return d % 10 == 0 ? kDigits[d / 10] + "十" : (d < 20 ? "十" : "廿") + kDigits[d % 10];
}

TEST(Names, EveryDayOfLunar2017InEachPart) {
    TAnsiString text("old");
    for (int64_t s = 42763; s <= 43146; ++s) {  // 2017-01-28 .. 2018-02-15: lunar 2017, leap month 6
        tpdate p{};
        p.fromGDate(s);
        const std::string month = (p.leap ? "润" : "") + month_name(p.month) + "月", day = day_name(p.day);
        ASSERT_EQ(pdate2text(&p, &text, 3)->c_str(), gbk(month + day)) << s;
        ASSERT_EQ(pdate2text(&p, &text, 2 | 4)->c_str(), gbk(month));
        ASSERT_EQ(pdate2text(&p, &text, 1)->c_str(), gbk(day));
        ASSERT_STREQ(pdate2text(&p, &text, 0)->c_str(), "");
    }
    EXPECT_EQ(gbk("润"), "\xC8\xF3");
}

TEST(Names, StemsBranchesAndAnimalsAdvanceOneAYear) {
    const std::string stems[] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
    const std::string branches[] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
    const std::string animals[] = {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};
    TAnsiString text;
    for (int32_t y = 1899; y <= 2100; ++y) {  // 1899 is 己亥, a year of the pig; 1984 is 甲子
        const tpdate p{y, 12, 1, 0};
        const int stem = (y - 1899 + 5) % 10, branch = (y - 1899 + 11) % 12;
        ASSERT_EQ(pdate2TianGanDiZhi(&p, &text)->c_str(), gbk(stems[stem] + branches[branch])) << y;
        ASSERT_EQ(pdate2Animal_signs(&p, &text)->c_str(), gbk(animals[branch])) << y;
        EXPECT_TRUE(y != 1984 || stem + branch == 0);
    }
}

TEST(Names, DatesThatDoNotExistGiveEmptyText) {
    const tpdate invalid[] = {{2017, 5, 1, 1}, {2018, 1, 1, 1}, {2101, 1, 1, 0}, {2017, 13, 1, 0}};
    for (const tpdate& p : invalid) {
        TAnsiString a("x"), b("x"), c("x");
        EXPECT_EQ(std::string(pdate2text(&p, &a, 3)->c_str()) + pdate2Animal_signs(&p, &b)->c_str() +
                      pdate2TianGanDiZhi(&p, &c)->c_str(), "");
    }
    TAnsiString text("x");
    EXPECT_STREQ(pdate2text(nullptr, &text, 3)->c_str(), "");
    EXPECT_EQ(pdate2Animal_signs(nullptr, nullptr), nullptr);
}

}  // namespace
