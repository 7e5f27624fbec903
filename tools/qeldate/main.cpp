// qeldate: the command-line face of qel_datetime.
//   qeldate              today's date
//   qeldate 2024-02-10   facts about a date (also 2024/02/10 and 20240210)
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "qel_datetime.h"

namespace {

constexpr const char* kWeekdays[] = {"", "Monday", "Tuesday", "Wednesday", "Thursday",
                                     "Friday", "Saturday", "Sunday"};

struct Ymd {
    int year, month, day;
};

// YYYY-MM-DD, YYYY/MM/DD or YYYYMMDD; the year may have 1 to 4 digits when
// separators are used. Returns nothing for text of another shape.
std::optional<Ymd> parse_ymd(const std::string& text) {
    Ymd d{};
    char sep1 = 0, sep2 = 0;
    int used = 0;
    if (text.size() == 8 && text.find_first_not_of("0123456789") == std::string::npos) {
        d = {std::stoi(text.substr(0, 4)), std::stoi(text.substr(4, 2)), std::stoi(text.substr(6, 2))};
        return d;
    }
    if (std::sscanf(text.c_str(), "%4d%c%2d%c%2d%n", &d.year, &sep1, &d.month, &sep2, &d.day, &used) == 5 &&
        used == static_cast<int>(text.size()) && sep1 == sep2 && (sep1 == '-' || sep1 == '/'))
        return d;
    return std::nullopt;
}

int usage_error(const std::string& message) {
    std::fprintf(stderr, "qeldate: %s\n", message.c_str());
    return 2;
}

void print_date_facts(const Ymd& d) {
    const DateInt serial = EncodeDate(static_cast<unsigned short>(d.year), static_cast<unsigned short>(d.month),
                                      static_cast<unsigned short>(d.day));
    std::printf("%04d-%02d-%02d\n", d.year, d.month, d.day);
    std::printf("  day serial    %lld\n", static_cast<long long>(serial));
    std::printf("  weekday       %s\n", kWeekdays[DayOfWeek(serial)]);
    std::printf("  day of year   %d\n", DayOfGYear(d.year, d.month, d.day));
    std::printf("  days in month %d\n", daysOfMonthG(d.year, d.month));
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"qeldate: Gregorian and Chinese calendar facts", "qeldate"};
    app.set_version_flag("--version", "qeldate 1.0.0");
    std::string date_text;
    app.add_option("date", date_text, "a date: YYYY-MM-DD, YYYY/MM/DD or YYYYMMDD (default: today)");
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return usage_error(e.what());
    }

    if (date_text.empty()) {
        TDateTime now;
        now.loadcurrentlocal();
        std::printf("%04d-%02d-%02d %02d:%02d:%02d\n", now.year(), now.month(), now.day(), now.hour(),
                    now.minute(), now.second());
        print_date_facts({now.year(), now.month(), now.day()});
        return 0;
    }
    const std::optional<Ymd> d = parse_ymd(date_text);
    if (!d) return usage_error("'" + date_text + "' is not a date: use YYYY-MM-DD, YYYY/MM/DD or YYYYMMDD");
    if (d->year < 1 || d->year > 9999 || d->month < 1 || d->month > 12 || d->day < 1 ||
        d->day > daysOfMonthG(d->year, d->month))
        return usage_error("'" + date_text + "' does not exist in the Gregorian calendar (years 1-9999)");
    print_date_facts(*d);
    return 0;
}
