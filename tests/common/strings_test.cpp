// The string classes: ownership and copies, appending from their own storage,
// StrToInt's documented edges, and both Sprintf forms against snprintf.
#include <climits>
#include <cstdio>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "qel_common.h"

namespace {

std::u16string wide(const TWideString& s) {
    return std::u16string(s.c_str(), s.c_str() + s.length());
}

std::u16string widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

TEST(AnsiString, CopiesAreIndependentAndBytesAreKept) {
    TAnsiString a;
    EXPECT_STREQ(a.c_str(), "");
    a = "\xc8\xf3\xc1\xf9";  // GBK bytes stay bytes
    TAnsiString b(a);
    a += "\xd4\xc2";
    EXPECT_STREQ(b.c_str(), "\xc8\xf3\xc1\xf9");
    EXPECT_EQ(a.length(), 6u);
    a += a.c_str();  // appending its own text while growing
    EXPECT_STREQ(a.c_str(), "\xc8\xf3\xc1\xf9\xd4\xc2\xc8\xf3\xc1\xf9\xd4\xc2");
    b = b;
    EXPECT_EQ(b.length(), 4u);
    a.Clear();
    EXPECT_EQ(a.length(), 0u);
    EXPECT_STREQ(a.c_str(), "");
    a = static_cast<const char*>(nullptr);
    a += static_cast<const char*>(nullptr);
    EXPECT_STREQ(a.c_str(), "");
}

TEST(AnsiString, StrToIntFields) {
    struct Case {
        const char* text;
        int32_t start, count, want;
    };
    const Case cases[] = {
        {"2017-03-09", 0, 4, 2017}, {"2017-03-09", 5, 2, 3},  {"2017-03-09", 8, 2, 9},
        {"2017/12/28", 5, 2, 12},   {"12ab", 0, 4, 12},       {"ab12", 0, 4, 0},
        {"-42", 0, 3, -42},         {"+7", 0, 2, 7},          {"-", 0, 1, 0},
        {"2017", 5, 2, 0},          {"2017-0", 5, 2, 0},      {"2017-3", 5, 2, 3},
        {"99999999999", 0, 11, INT32_MAX}, {"-99999999999", 0, 12, INT32_MIN},
        {"2147483647", 0, 10, INT32_MAX},  {"-2147483648", 0, 11, INT32_MIN},
        {"123", -1, 2, 0},          {"123", 0, 0, 0},         {"123", 0, INT32_MAX, 123},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TAnsiString::StrToInt(c.text, c.start, c.count), c.want)
            << '"' << c.text << "\" " << c.start << ' ' << c.count;
    EXPECT_EQ(TAnsiString::StrToInt(nullptr, 0, 4), 0);
    // A start far beyond the end stops at the NUL: the text is one byte long.
    const char one[1] = {'\0'};
    EXPECT_EQ(TAnsiString::StrToInt(one, INT32_MAX, 2), 0);
}

TEST(Sprintf, BothFormsMatchSnprintf) {
    const char* formats[] = {"%d-%02d-%02d %02d:%02d:%02d", "%d-%02d-%02d", "[%5d|%-5d|%+d|% d]",
                             "%x %X %o %u", "%08.3d%%", "%hhd %hd"};
    std::mt19937 rng(20170723);
    std::uniform_int_distribution<int> any(INT_MIN, INT_MAX);
    for (const char* f : formats)
        for (int i = 0; i < 200; ++i) {
            const int v[6] = {any(rng), any(rng) % 100, any(rng), any(rng) % 1000, any(rng), any(rng)};
            char want[256];
            std::snprintf(want, sizeof want, f, v[0], v[1], v[2], v[3], v[4], v[5]);
            TAnsiString a;
            EXPECT_STREQ(a.Sprintf(f, v[0], v[1], v[2], v[3], v[4], v[5]).c_str(), want) << f;
            const std::u16string wf = widen(f);
            TWideString w;
            w.Sprintf(reinterpret_cast<const unsigned short*>(wf.c_str()), v[0], v[1], v[2], v[3], v[4], v[5]);
            EXPECT_EQ(wide(w), widen(want)) << f;
        }
}

// TWideString's text members, one row each: start from `start` (null: the
// text constructor's empty string), then assign or append `arg` as text, or
// copy-assign a TWideString of it. Long rows make the storage grow.
TEST(WideString, TextConstructorAssignAndAppend) {
    const std::u16string nong(40, u'\u519c'), li = u"\u5386";
    const struct {
        const char16_t* start;
        char op;  // '=' text, '+' append text, 'c' copy
        const char16_t* arg;
        std::u16string want;
    } rows[] = {
        {nullptr, '+', u"abc", u"abc"},     {u"abc", '=', nullptr, u""},       {u"abc", '+', nullptr, u"abc"},
        {u"abc", '=', u"", u""},            {u"", '+', nong.c_str(), nong},    {u"x", '+', nong.c_str(), u"x" + nong},
        {nong.c_str(), '=', li.c_str(), li}, {u"abc", 'c', u"de", u"de"},       {u"ab", 'c', nong.c_str(), nong},
    };
    const auto units = [](const char16_t* s) { return reinterpret_cast<const unsigned short*>(s); };
    for (const auto& r : rows) {
        TWideString s(units(r.start));
        if (r.op == '=') s = units(r.arg);
        if (r.op == '+') s += units(r.arg);
        if (r.op == 'c') s = TWideString(units(r.arg));
        EXPECT_EQ(wide(s), r.want) << r.op << " " << wide(TWideString(units(r.start))).size();
        EXPECT_EQ(s.c_str()[s.length()], 0) << "NUL-terminated";
    }
    // Its own text: appended while the storage grows, and a suffix of it assigned.
    TWideString s(units(nong.c_str()));
    s += s.c_str();
    EXPECT_EQ(wide(s), nong + nong);
    s = s.c_str() + 40;
    EXPECT_EQ(wide(s), nong);
    s = s;
    EXPECT_EQ(wide(s), nong);
}

// '*' widths and precisions (a negative width left-justifies, a negative
// precision is none) and the l and ll lengths, against snprintf.
template <class... A>
void wide_matches_snprintf(const char* f, A... a) {
    char want[256];
    std::snprintf(want, sizeof want, f, a...);
    const std::u16string wf = widen(f);
    TWideString w;
    w.Sprintf(reinterpret_cast<const unsigned short*>(wf.c_str()), a...);
    EXPECT_EQ(wide(w), widen(want)) << f;
}

TEST(Sprintf, WideStarsAndLongLengths) {
    wide_matches_snprintf("[%*d|%-*d|%*d]", 6, 42, 6, -42, -6, 42);
    wide_matches_snprintf("[%.*d|%*.*x|%.*d|%0*d]", 5, 42, 8, 3, 0xabc, -1, 7, 5, -3);
    wide_matches_snprintf("[%*c|%-*c]", 3, 'x', 3, 'y');
    wide_matches_snprintf("%ld %lu %lx %+li", LONG_MIN, ULONG_MAX, 0x7fffffffL, 0L);
    wide_matches_snprintf("%lld %llu %llX %-+25lli|", LLONG_MIN, ULLONG_MAX, 0x123456789abcdefLL, LLONG_MAX);
    wide_matches_snprintf("%*.*lld %#llo %hd %hhu", 30, 25, -1LL, 8LL, 70000, 300);
}

TEST(Sprintf, WideTextConversionsAndUnknownOnes) {
    const std::u16string name = u"\u519c\u5386";  // 农历: code units pass through
    const std::u16string format = u"[%s|%6s|%-4.1s|%c|%q|%lld]";
    TWideString w;
    w.Sprintf(reinterpret_cast<const unsigned short*>(format.c_str()),
              reinterpret_cast<const unsigned short*>(name.c_str()),
              reinterpret_cast<const unsigned short*>(name.c_str()),
              reinterpret_cast<const unsigned short*>(name.c_str()), 0x5e74, -5LL);
    EXPECT_EQ(wide(w), u"[\u519c\u5386|    \u519c\u5386|\u519c   |\u5e74|%q|-5]");
    TWideString copy(w);
    w.Clear();
    EXPECT_EQ(w.length(), 0u);
    EXPECT_EQ(copy.length(), 24u);
}

}  // namespace
