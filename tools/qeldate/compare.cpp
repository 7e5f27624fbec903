#include "compare.h"

#include <string>
#include <utility>
#include <vector>

#include "context.h"
#include "facts.h"
#include "model.h"

namespace qeldate {
namespace {

struct FlagWord {
    uint32_t flag;
    const char* word;
};
constexpr FlagWord kMonthFlags[] = {{QEL_MONTH_START_UNCERTAIN, "start-uncertain"},
                                    {QEL_MONTH_LABEL_UNCERTAIN, "label-uncertain"},
                                    {QEL_MONTH_ENGINES_DIFFER, "engines-differ"},
                                    {QEL_MONTH_COMPUTATION_DIFFERS, "computation-differs"}};

std::vector<std::string> flag_words(uint32_t flags) {
    std::vector<std::string> out;
    for (const FlagWord& f : kMonthFlags)
        if (flags & f.flag) out.push_back(f.word);
    return out;
}

int calendar_count() { return qel_count(QEL_COUNT_CALENDARS); }

std::string trim_right(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

}  // namespace

void run_compare(const Context& context, const Ymd& date) {
    const Serial serial = serial_of(date);
    std::string out = format_date(date) + " " + weekday_name(weekday_of(serial)) + "\n";
    Json calendars = Json::array();
    for (int32_t c = 0; c < calendar_count(); ++c) {
        const std::string word = calendar_word(c);
        qel_lunar_date l{};
        if (qel_lunar_of_serial_in(c, serial, &l) != QEL_OK) {
            out += "  " + pad_right(word, 12) + "none: " + range_message(QEL_DOMAIN_LUNAR) + "\n";
            calendars.push_back({{"calendar", word}, {"lunar", nullptr}});
            continue;
        }
        const LunarDate lunar{l.year, l.month, l.day, l.leap};
        // Each calendar in its own language: the point is how its users write the day.
        const std::string text = lunar_text(lunar, (context.name_flags & QEL_NAME_PLAIN_MONTHS) | calendar_language(c) | QEL_OPT_CALENDAR(c));
        qel_month_info info{};
        qel_lunar_month_info(c, l.year, l.month, l.leap, &info);
        const MonthSource source{info.source, info.flags};
        const std::vector<std::string> flags = flag_words(info.flags);
        const std::string numbers = std::to_string(l.year) + "-" + std::to_string(l.month) + "-" + std::to_string(l.day) +
                                    (l.leap ? " leap" : "");
        std::string shown = source.word();
        for (const std::string& f : flags) shown += ", " + f;
        out += "  " + pad_right(word, 12) + pad_right(numbers, 16) + pad_right(text, 26) + shown + "\n";
        Json j{{"year", l.year}, {"month", l.month}, {"day", l.day}, {"leap", l.leap != 0}, {"text", text},
               {"month_days", info.days}, {"month_start", format_date(date_of(info.first_serial))},
               {"source", source.word()}, {"flags", flags}};
        calendars.push_back({{"calendar", word}, {"lunar", j}});
    }
    if (context.json) {
        write_out(Json{{"date", format_date(date)}, {"calendars", calendars}}.dump(2) + "\n");
        return;
    }
    write_text(context, out);
}

std::pair<int, int> published_years() {
    const qel_range lunar = domain_range(QEL_DOMAIN_LUNAR);
    int first = 0, last = 0;
    for (int y = lunar.first_year; y <= lunar.last_year; ++y) {
        qel_month_info info{};
        if (qel_lunar_month_info(QEL_CALENDAR_CHINESE, y, 1, 0, &info) == QEL_OK && info.source == QEL_SOURCE_PUBLISHED) {
            if (first == 0) first = y;
            last = y;
        }
    }
    return {first, last};
}

void run_new_years(const Context& context, int first, int last) {
    if (last < first) throw UsageError("compare --new-years: " + std::to_string(last) + " comes before " + std::to_string(first));
    const int count = calendar_count();
    std::string header = pad_right("year", 6);
    for (int32_t c = 0; c < count; ++c) header += pad_right(name(QEL_NAME_FESTIVAL, QEL_FESTIVAL_SPRING, calendar_language(c)), 16);
    std::string rows;
    Json years = Json::array();
    int differ = 0;
    for (int y = first; y <= last; ++y) {
        std::vector<Serial> days;
        for (int32_t c = 0; c < count; ++c) {
            int64_t serial = 0;
            if (qel_festival_date(QEL_FESTIVAL_SPRING, y, QEL_OPT_CALENDAR(c), &serial) != QEL_OK)
                throw UsageError("lunar " + std::to_string(y) + ": " + range_message(QEL_DOMAIN_LUNAR));
            days.push_back(serial);
        }
        bool same = true;
        for (const Serial s : days) same = same && s == days.front();
        if (same) continue;
        ++differ;
        std::string row = pad_right(std::to_string(y), 6);
        Json j{{"year", y}};
        for (int32_t c = 0; c < count; ++c) {
            row += pad_right(format_date(date_of(days[size_t(c)])), 16);
            j[calendar_word(c)] = format_date(date_of(days[size_t(c)]));
        }
        rows += trim_right(row) + "\n";
        years.push_back(j);
    }
    if (context.json) {
        write_out(Json{{"first_year", first}, {"last_year", last}, {"years", years}}.dump(2) + "\n");
        return;
    }
    write_text(context, "Lunar years " + std::to_string(first) + "-" + std::to_string(last) + " whose new year differs: " +
                            std::to_string(differ) + "\n" + trim_right(header) + "\n" + rows);
}

}  // namespace qeldate
