#include "holidays.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>

#include "context.h"
#include "facts.h"

namespace qeldate {
namespace {

constexpr int kMakeUpReach = 45;  // days around a period where its make-up days fall

// "1 day", "2 days".
std::string count(int64_t n, const std::string& unit) { return std::to_string(n) + " " + unit + (n == 1 ? "" : "s"); }

std::string short_date(Serial s) { return format_date(date_of(s)).substr(5); }

int holiday_named(std::string_view text) {
    for (int h = 1; h < QEL_HOLIDAY_COUNT; ++h)
        if (text == name(QEL_NAME_HOLIDAY_KEY, h) || text == name(QEL_NAME_HOLIDAY, h)) return h;
    return 0;
}

std::string holiday_list() {
    std::string out;
    for (int h = 1; h < QEL_HOLIDAY_COUNT; ++h) out += (h > 1 ? ", " : "") + name(QEL_NAME_HOLIDAY_KEY, h);
    return out;
}

}  // namespace

std::vector<HolidayPeriod> holiday_periods(const Context& context, Serial first, Serial last) {
    std::vector<HolidayPeriod> periods;
    const auto status = [&](Serial s, int* holiday) {
        int32_t h = 0;
        const int32_t st = qel_holiday_status(s, context.holidays(), &h);
        *holiday = h;
        return st;
    };
    for (Serial s = first; s <= last; ++s) {
        int holiday = 0;
        if (status(s, &holiday) != QEL_DAY_OFF) continue;
        HolidayPeriod p;
        p.holiday = holiday;
        p.first = p.last = s;
        int h = 0;
        while (status(p.first - 1, &h) == QEL_DAY_OFF && h == holiday) --p.first;
        while (status(p.last + 1, &h) == QEL_DAY_OFF && h == holiday) ++p.last;
        for (Serial w = p.first - kMakeUpReach; w <= p.last + kMakeUpReach; ++w)
            if (status(w, &h) == QEL_DAY_WORK && h == holiday) p.workdays.push_back(w);
        p.chinese = name(QEL_NAME_HOLIDAY, holiday);
        p.english = name(QEL_NAME_HOLIDAY_ENGLISH, holiday);
        p.key = name(QEL_NAME_HOLIDAY_KEY, holiday);
        periods.push_back(p);
        s = p.last;
    }
    return periods;
}

void load_holiday_file(Context& context, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw UsageError("cannot read the holiday file " + quote_input(path));
    std::map<Serial, qel_holiday_day> days;
    int first_year = 0, last_year = 0, number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        const std::string where = path + " line " + std::to_string(number) + ": ";
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // A byte order mark, as some Windows editors write, starts the text.
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        if (line.empty() || line[0] == '#') continue;
        if (!is_valid_utf8(line)) throw UsageError(where + "not UTF-8 text");
        const size_t tab1 = line.find('\t'), tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
        if (tab2 == std::string::npos)
            throw UsageError(where + "want DATE<TAB>off|work<TAB>HOLIDAY, got " + quote_input(line));
        Ymd date;
        try {
            date = parse_date(std::string_view(line).substr(0, tab1));
        } catch (const UsageError& e) {
            throw UsageError(where + e.what());
        }
        const std::string status = line.substr(tab1 + 1, tab2 - tab1 - 1);
        if (status != "off" && status != "work") throw UsageError(where + "the status " + quote_input(status) + " is not off or work");
        const int holiday = holiday_named(line.substr(tab2 + 1));
        if (holiday == 0)
            throw UsageError(where + quote_input(line.substr(tab2 + 1)) + " is no holiday: use " + holiday_list() +
                             " or their Chinese names");
        const Serial s = serial_of(date);
        if (!days.emplace(s, qel_holiday_day{s, status == "off" ? QEL_DAY_OFF : QEL_DAY_WORK, holiday}).second)
            throw UsageError(where + format_date(date) + " is given twice");
        first_year = first_year ? std::min(first_year, date.year) : date.year;
        last_year = std::max(last_year, date.year);
    }
    if (days.empty()) throw UsageError("the holiday file " + quote_input(path) + " has no days");
    context.holiday_days.clear();
    for (const auto& [s, d] : days) context.holiday_days.push_back(d);
    context.holiday_file = {context.holiday_days.data(), context.holiday_days.size(), first_year, last_year};
}

void run_holidays(const Context& context, const std::vector<int>& years) {
    std::vector<std::string> texts;
    std::vector<Json> objects;
    for (const int year : years) {
        const Serial first = serial_of({year, 1, 1}), last = serial_of({year, 12, 31});
        if (qel_holiday_status(first, context.holidays(), nullptr) < 0 && qel_holiday_status(last, context.holidays(), nullptr) < 0) {
            throw UsageError("the holidays of " + std::to_string(year) + " are unknown: the year is " +
                             range_message(QEL_DOMAIN_HOLIDAYS) + "; add a year with --holidays FILE");
        }
        Json j = Json::array();
        std::string out = "Public holidays of " + std::to_string(year) + " (休 days off, 班 weekend days worked)\n";
        for (const HolidayPeriod& p : holiday_periods(context, first, last)) {
            Json work = Json::array();
            for (Serial w : p.workdays) work.push_back(format_date(date_of(w)));
            j.push_back({{"key", p.key}, {"name", p.chinese}, {"english", p.english}, {"first", format_date(date_of(p.first))},
                         {"last", format_date(date_of(p.last))}, {"days", p.last - p.first + 1}, {"workdays", work}});
            std::string line = format_date(date_of(p.first)) + ".." + short_date(p.last) + "  " +
                               pad_right(count(p.last - p.first + 1, "day"), 8) + pad_right(p.chinese, 16) + p.english;
            if (!p.workdays.empty()) {
                line += "; 班";
                for (Serial w : p.workdays) line.append(" ").append(short_date(w));
            }
            out += line + "\n";
        }
        objects.push_back(Json{{"year", year}, {"periods", j}});
        texts.push_back(out);
    }
    write_years(context, texts, objects);
}

void run_workdays(const Context& context, const Ymd& first, const Ymd& last) {
    int64_t workdays = 0;
    const Serial a = serial_of(first), b = serial_of(last);
    const bool forward = a <= b;
    if (qel_workdays_between(forward ? a : b, (forward ? b : a) + 1, context.holidays(), &workdays) != QEL_OK) {
        throw UsageError(format_date(first) + " to " + format_date(last) + ": a day is " + range_message(QEL_DOMAIN_HOLIDAYS) +
                         " (a --holidays file adds years)");
    }
    const int64_t days = (forward ? b - a : a - b) + 1;
    if (context.json) {
        // Signed for scripts: negative when LAST comes before FIRST.
        write_out(Json{{"first", format_date(first)}, {"last", format_date(last)}, {"workdays", forward ? workdays : -workdays},
                       {"days", days}}
                      .dump(2) + "\n");
        return;
    }
    // The text reads in date order, whichever date came first.
    write_text(context, count(workdays, "working day") + " from " + format_date(forward ? first : last) + " to " +
                            format_date(forward ? last : first) + " (both included; " + count(days, "day") + ")\n");
}

}  // namespace qeldate
