// qeldate: the command line of qel_datetime, a Gregorian and Chinese calendar.
// This file holds the argument handling: CLI11 builds the commands, and every
// answer comes from the topic files beside it. Exit status 0 on success, 2 for
// bad usage or input (one line on stderr), 1 for anything else.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "arithmetic.h"
#include "command.h"
#include "day_info.h"
#include "facts.h"
#include "ics.h"
#include "month_grid.h"
#include "terminal.h"
#include "terms.h"
#include "festivals.h"

namespace {

using namespace qeldate;

constexpr int kUsageStatus = 2;
constexpr int kFailureStatus = 1;
constexpr int kDefaultIcsYears = 10;
constexpr int kTableYears = kLastLunarYear - kFirstLunarYear + 1;  // 201

constexpr const char* kFooter = R"(Dates: YYYY-MM-DD, YYYY/MM/DD or YYYYMMDD (years 1-9999), with a time as
  YYYY-MM-DDTHH:MM[:SS]. Lunar dates: YEAR-MONTH-DAY (2017-6-1; --leap for a
  day of the leap month). Lunar answers cover Gregorian 1900-2100.
Steps: +N or -N with s, min, h, d, w, month or y (+1month, +90days, -3600s),
  applied left to right to the date (years 1-4095). Month and year steps clamp
  by default: a day the new month lacks becomes its last day (2024-01-31
  +1month is 2024-02-29); with --no-clamp such a day is an error.
Solar term times are China Standard Time (UTC+8), truncated to the minute.
Output is UTF-8 unless --encoding gbk; --json and ics output are always UTF-8.
Environment:
  QELDATE_TODAY  YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS used as now (for tests and
                 scripts); without it, the local clock
  NO_COLOR       no colour in cal with --color auto
  COLUMNS        terminal width for cal YEAR (three months across from 150)
Exit status: 0 success, 2 bad usage or input, 1 anything else.)";

int usage_error(const std::string& message) {
    std::fprintf(stderr, "qeldate: %s\n", message.c_str());
    return kUsageStatus;
}

bool use_colour(const std::string& mode) {
    if (mode == "always") return true;
    if (mode == "never") return false;
    const char* no_color = std::getenv("NO_COLOR");
    return stdout_is_terminal() && !(no_color && *no_color);
}

struct Arguments {
    std::string date;
    std::vector<std::string> steps;
    std::string lunar;
    bool leap = false;
    bool no_clamp = false;
    bool json = false;
    std::string encoding = "utf8";
    std::string color = "auto";
    std::string cal_year, cal_month;
    std::string terms_year;
    std::string diff_first, diff_second;
    std::string next_what;
    bool next_leap = false;
    std::string ics_from, ics_to, ics_lunar, ics_summary;
    bool ics_leap = false;
    int ics_years = kDefaultIcsYears;
};

int run(CLI::App& app, const Arguments& a) {
    Context context;
    context.text = Text(a.encoding == "gbk" ? Encoding::kGbk : Encoding::kUtf8);
    context.json = a.json;
    context.color = use_colour(a.color);
    context.columns = terminal_columns();
    prepare_output(context.text.encoding(), context.color);
    context.now = current_moment();
    context.fixed_now = std::getenv("QELDATE_TODAY") && *std::getenv("QELDATE_TODAY");
    const auto lunar_year = [](std::string_view text, std::string_view what) {
        return parse_year(text, kFirstLunarYear, kLastLunarYear, what);
    };
    const bool has_top_level_input = !a.date.empty() || !a.steps.empty() || !a.lunar.empty() || a.leap;
    if (app.get_subcommands().size() == 1 && has_top_level_input)
        throw UsageError("a date, steps, --lunar and --leap go without a command: qeldate DATE [STEP...]");

    if (a.json && (app.got_subcommand("cal") || app.got_subcommand("ics")))
        throw UsageError("--json goes with the commands that print facts: a date, diff, next and terms");
    if (app.got_subcommand("cal")) {
        if (a.cal_year.empty()) {
            run_cal(context, lunar_year(std::to_string(context.now.date.year), "cal"), context.now.date.month);
        } else {
            const int year = lunar_year(a.cal_year, "cal");
            run_cal(context, year, a.cal_month.empty() ? std::nullopt : std::optional<int>(parse_month(a.cal_month)));
        }
    } else if (app.got_subcommand("terms")) {
        run_terms(context, lunar_year(a.terms_year.empty() ? std::to_string(context.now.date.year) : a.terms_year, "terms"));
    } else if (app.got_subcommand("diff")) {
        run_diff(context, parse_moment(a.diff_first), parse_moment(a.diff_second));
    } else if (app.got_subcommand("next")) {
        run_next(context, a.next_what, a.next_leap);
    } else if (app.got_subcommand("ics")) {
        if (!a.ics_lunar.empty()) {
            const LunarArg l = parse_lunar(a.ics_lunar, false);
            if (a.ics_years < 1 || a.ics_years > kTableYears)
                throw UsageError("--years " + std::to_string(a.ics_years) + ": use 1-" + std::to_string(kTableYears));
            if (!a.ics_to.empty()) throw UsageError("--to goes with the festival calendar; with --lunar use --years");
            run_ics_lunar(context, l.month, l.day, a.ics_leap, a.ics_from.empty() ? 0 : lunar_year(a.ics_from, "ics --from"),
                          a.ics_years, a.ics_summary);
        } else {
            if (a.ics_leap || !a.ics_summary.empty()) throw UsageError("--leap and --summary go with --lunar MONTH-DAY");
            const std::string now_year = std::to_string(context.now.date.year);
            const int first = lunar_year(a.ics_from.empty() ? now_year : a.ics_from, "ics --from");
            const int last = lunar_year(a.ics_to.empty() ? std::to_string(first) : a.ics_to, "ics --to");
            if (last < first) throw UsageError("--to " + a.ics_to + " comes before --from " + std::to_string(first));
            run_ics_festivals(context, first, last);
        }
    } else {
        FactsRequest request;
        if (!a.lunar.empty()) {
            if (!a.date.empty()) throw UsageError("give a date or --lunar, not both");
            const LunarArg l = parse_lunar(a.lunar, true);
            const Lunar lunar{l.year, l.month, l.day, a.leap ? 1 : 0};
            if (l.year < kFirstLunarYear - 1 || l.year > kLastLunarYear)
                throw UsageError("lunar year " + std::to_string(l.year) + " is outside the table: use 1900-2100");
            const std::optional<DateInt> serial = serial_of_lunar(lunar);
            if (!serial && l.year == kFirstLunarYear - 1)
                throw UsageError("lunar " + a.lunar + " does not exist: of lunar 1899 the table holds month 12, days 1-30");
            if (!serial) {
                const int leap_month = GetLeapMonthInPYear(l.year);
                throw UsageError("lunar " + a.lunar + (a.leap ? " (leap month)" : "") + " does not exist: " +
                                 (a.leap && leap_month != l.month
                                      ? (leap_month ? "the leap month of " + std::to_string(l.year) + " is " + std::to_string(leap_month)
                                                    : std::to_string(l.year) + " has no leap month")
                                      : "that month has " + std::to_string(getPMonthDays(l.year, l.month, lunar.leap)) + " days"));
            }
            request.when.date = date_of(*serial);
        } else if (a.leap) {
            throw UsageError("--leap goes with --lunar YEAR-MONTH-DAY");
        } else if (a.date.empty()) {
            request.when = context.now;
            request.when.has_time = true;
            request.now = true;
        } else {
            request.when = parse_moment(a.date);
        }
        if (!a.steps.empty()) {
            const StepResult result = apply_steps(request.when, a.steps, !a.no_clamp);
            request.start = request.when;
            request.steps = a.steps;
            request.clamped = result.clamped;
            request.when = result.moment;
            request.now = false;
        }
        print_facts(context, request);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    binary_standard_streams();
    CLI::App app{"qeldate: the Gregorian and the Chinese lunisolar calendar.\n"
                 "With no argument: now, its lunar date and solar terms. With DATE: the facts of that day,\n"
                 "after any STEPs.",
                 "qeldate"};
    app.set_version_flag("--version", "qeldate " QELDATE_VERSION);
    app.footer(kFooter);
    app.fallthrough();  // options of the tool also work after a command
    app.require_subcommand(0, 1);
    Arguments a;
    app.add_option("date", a.date, "a date or date-time (default: now)");
    app.add_option("steps", a.steps, "steps applied to the date: +1month +90days -3600s ...");
    app.add_option("--lunar", a.lunar, "convert a lunar date, YEAR-MONTH-DAY, to the Gregorian calendar");
    app.add_flag("--leap", a.leap, "the lunar date is in the year's leap month");
    app.add_flag("--no-clamp", a.no_clamp, "month and year steps: a day the new month lacks is an error");
    app.add_flag("--json", a.json, "print one JSON object with named fields (UTF-8)");
    app.add_option("--encoding", a.encoding, "Chinese text as utf8 (default) or gbk")->check(CLI::IsMember({"utf8", "gbk"}));
    app.add_option("--color", a.color, "highlight today in cal: auto (default: on a terminal), always or never")
        ->check(CLI::IsMember({"auto", "always", "never"}));

    const std::string sub_footer = "The options of qeldate (--json, --encoding, --color) work here too; see qeldate --help.\n";
    CLI::App* cal = app.add_subcommand("cal", "a month grid with lunar days, terms and festivals; with only YEAR, the twelve months");
    cal->add_option("year", a.cal_year, "1900-2100 (default: this month)");
    cal->add_option("month", a.cal_month, "1-12 (default: the whole year)");
    CLI::App* terms = app.add_subcommand("terms", "the 24 solar terms of a year, with times in UTC+8");
    terms->add_option("year", a.terms_year, "the year, 1900-2100 (default: this year)");
    CLI::App* diff = app.add_subcommand("diff", "the time from SECOND to FIRST: seconds, minutes and durations "
                                                "(positive when FIRST is later)");
    diff->add_option("first", a.diff_first, "a date or date-time")->required();
    diff->add_option("second", a.diff_second, "a date or date-time")->required();
    CLI::App* next = app.add_subcommand("next", "the next day, from today on, of a festival, a solar term or a lunar date");
    next->add_option("what", a.next_what,
                     "a festival (spring-festival, lantern, qingming, dragon-boat, qixi, mid-autumn, double-ninth,\n"
                     "winter-solstice, laba, new-years-eve, or its Chinese name), a solar term (start-of-autumn, 立秋)\n"
                     "or a lunar MONTH-DAY such as 8-15, in the next year where that day exists")
        ->required();
    next->add_flag("--leap", a.next_leap, "the lunar date is in a leap month");
    CLI::App* ics = app.add_subcommand("ics", "an iCalendar file: festivals and solar terms, or a yearly lunar date");
    ics->add_option("--from", a.ics_from, "first year, 1900-2100 (default: this year; with --lunar, the lunar year)");
    ics->add_option("--to", a.ics_to, "last year of festivals and terms (default: --from)");
    ics->add_option("--lunar", a.ics_lunar,
                    "a lunar MONTH-DAY once a year (a lunar birthday): day 30 falls on 29 in a month of 29 days,\n"
                    "and with --leap a date of the leap month falls in the ordinary month of that number in years\n"
                    "without that leap month");
    ics->add_flag("--leap", a.ics_leap, "the lunar date is in a leap month");
    ics->add_option("--years", a.ics_years, "how many years of the lunar date (default 10, from the next occurrence)");
    ics->add_option("--summary", a.ics_summary, "the events' title (default: the lunar date in Chinese)");
    for (CLI::App* command : {cal, terms, diff, next, ics}) command->footer(sub_footer);

    try {
        // CLI11 takes the arguments last to first.
        std::vector<std::string> args = utf8_arguments(argc, argv);
        args.erase(args.begin());
        std::reverse(args.begin(), args.end());
        app.parse(args);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        return usage_error(std::string(e.what()) + " (see qeldate --help)");
    }
    try {
        return run(app, a);
    } catch (const UsageError& e) {
        return usage_error(e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qeldate: %s\n", e.what());
        return kFailureStatus;
    }
}
