// qeldate: the command line of qel_calendar, a Gregorian and Chinese calendar.
// This file holds the argument handling: CLI11 builds the commands, the
// context is settled once, and every answer comes from the topic files beside
// it. Exit status 0 on success, 2 for bad usage or input (one line on
// stderr), 1 for anything else.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "arithmetic.h"
#include "bazi.h"
#include "compare.h"
#include "context.h"
#include "convert.h"
#include "facts.h"
#include "festivals.h"
#include "holidays.h"
#include "ics.h"
#include "model.h"
#include "month_grid.h"
#include "terminal.h"
#include "terms.h"

namespace {

using namespace qeldate;

constexpr int kUsageStatus = 2;
constexpr int kFailureStatus = 1;
constexpr size_t kHelpWidth = 80;

constexpr const char* kFooterRest = R"(Solar term times are China Standard Time (UTC+8), truncated to the minute
  (bazi shows the second: a pillar may turn within the minute).
Text is UTF-8, or GBK with --encoding gbk or a GBK locale; JSON, CSV and
  iCalendar output are always UTF-8.
Environment:
  QELDATE_TODAY  YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS in UTC+8 used as now
                 (for tests and scripts); without it, the clock's instant
                 in UTC+8, whatever the local time zone
  QELDATE_HOLIDAYS  a holiday file, as --holidays FILE: lines of
                 DATE<TAB>off|work<TAB>HOLIDAY (a key such as new-year, or
                 the Chinese name)
  NO_COLOR       no colour with --color auto
  COLUMNS        terminal width for the year view
  LANG, LC_ALL, LC_CTYPE  a GBK codeset picks GBK output; zh_*: cal's
                 titles and weekdays in Chinese (--chinese); ko_*, vi_*:
                 names in Korean or Vietnamese (--lang)
Exit status: 0 success, 2 bad usage or input, 1 anything else.)";

// The footer of --help; the covered years come from qel_calendar at run
// time, so that they follow the library.
std::string footer() {
    const qel_range days = domain_range(QEL_DOMAIN_GREGORIAN), lunar = domain_range(QEL_DOMAIN_LUNAR);
    return "Dates: YYYY-MM-DD, YYYY/MM/DD or YYYYMMDD (years " + years_of_domain(QEL_DOMAIN_GREGORIAN) +
           ", four digits),\n"
           "  with a time as YYYY-MM-DDTHH:MM[:SS]. Lunar dates: YEAR-MONTH-DAY\n"
           "  (2017-6-1); a day of the leap month: 2017-闰6-1, '2017-6-1 leap' or\n"
           "  --leap. Lunar answers cover " + format_date(date_of(lunar.first_serial)) + " to " +
           format_date(date_of(lunar.last_serial)) + "\n  (the lunar years " + years_of_domain(QEL_DOMAIN_LUNAR) + ").\n"
           "Steps: +N or -N with s, min, h, d, w, month, y or workdays (+1month,\n"
           "  -3600s, +5workdays), applied left to right (years " + std::to_string(days.first_year) + "-" +
           std::to_string(days.last_year) + "). Month and year\n"
           "  steps clamp by default: a day the new month lacks becomes its last day\n"
           "  (2024-01-31 +1month is 2024-02-29); with --no-clamp it is an error.\n"
           "Lunar steps: +N or -N lunar-month(s) or lunar-year(s) move the day's\n"
           "  lunar date (qeldate --lunar 2017-6-1 +1lunar-month is 闰六月初一):\n"
           "  leap months count as months; a year step keeps a leap month only where\n"
           "  the new year has it; day 30 becomes 29 where the month is short.\n"
           "A festival or solar term with a year gives its days in that Gregorian\n"
           "  year: qeldate 腊八 2022 (two), qeldate 中秋 2030.\n" + std::string(kFooterRest);
}

// One line on standard error, in the encoding of the text output: --encoding
// when it names one, else the locale's.
int report(const std::string& encoding_option, int status, const std::string& message) {
    const std::optional<Encoding> named = encoding_named(encoding_option);
    write_error(named ? *named : locale_encoding(), message);
    return status;
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
    std::string encoding;
    std::string color = "auto";
    bool plain_months = false;
    bool chinese = false, english = false;
    std::string calendar, lang;
    std::vector<std::string> compare_args;
    bool compare_new_years = false;
    bool south = false;
    std::string holiday_file;
    std::vector<std::string> holidays_args;
    std::string workdays_first, workdays_last;
    bool ics_holidays = false;  // ics --with-holidays
    std::vector<std::string> cal_args;
    bool cal_three = false, cal_year = false, cal_sunday = false;
    std::vector<std::string> terms_args, festivals_args;
    std::string diff_first, diff_second;
    std::string lunar_of;  // lunar DATE
    std::string next_what, next_year, next_lunar_year;
    bool next_leap = false;
    std::string bazi_when, bazi_zi = "late";
    std::string completion_shell;
    std::vector<std::string> convert_files;
    bool convert_lunar = false, convert_strict = false;
    std::string convert_format = "csv";
    std::string ics_from, ics_to, ics_lunar, ics_summary;
    bool ics_leap = false, ics_shanghai = false;
    std::optional<int> ics_years;
};

// Years of the lunar table (lunar years), and of the solar terms and
// festivals (Gregorian years: cal, terms, festivals, next --year).
int lunar_year(std::string_view text, std::string_view what) { return parse_year(text, QEL_DOMAIN_LUNAR, what); }
int terms_year(std::string_view text, std::string_view what) { return parse_year(text, QEL_DOMAIN_TERMS, what); }

// At most `most` positional arguments for a command.
void at_most(const std::vector<std::string>& args, size_t most, const std::string& usage) {
    if (args.size() > most) throw UsageError("unexpected " + quote_input(args[most]) + ": " + usage);
}

CalRequest cal_request(const Context& context, const Arguments& a) {
    at_most(a.cal_args, 2, "cal takes at most YEAR and MONTH");
    if (a.cal_year && a.cal_args.size() == 2)
        throw UsageError("-y shows the whole year: give cal -y YEAR, or cal YEAR MONTH for month " + a.cal_args[1]);
    CalRequest r;
    const bool given_year = !a.cal_args.empty();
    r.year = given_year ? terms_year(a.cal_args[0], "cal") : context.now.date.year;
    const bool whole_year = a.cal_year || (given_year && a.cal_args.size() == 1);
    int month = a.cal_args.size() == 2 ? parse_month(a.cal_args[1]) : context.now.date.month;
    if (!given_year && !in_years(r.year, QEL_DOMAIN_TERMS))
        throw UsageError("today is " + range_message(QEL_DOMAIN_TERMS) + ": give cal YEAR [MONTH]");
    r.sunday = a.cal_sunday;
    if (whole_year) {
        if (a.cal_three) throw UsageError("-3 and a whole year (-y, or YEAR alone) do not go together");
        for (int m = 1; m <= 12; ++m) r.months.push_back({r.year, m});
    } else if (a.cal_three) {
        r.three = true;
        for (int k = -1; k <= 1; ++k) {
            const int index = r.year * 12 + month - 1 + k;
            if (in_years(index / 12, QEL_DOMAIN_TERMS)) r.months.push_back({index / 12, index % 12 + 1});
        }
    } else {
        r.months.push_back({r.year, month});
    }
    return r;
}

// The years of terms, festivals or holidays: this year when none is given.
std::vector<int> years_of(const std::vector<std::string>& args, int this_year, int32_t domain, const char* what) {
    std::vector<int> years;
    for (const std::string& y : args) years.push_back(parse_year(y, domain, what));
    if (years.empty()) years.push_back(parse_year(std::to_string(this_year), domain, what));
    return years;
}

// "auto always never" from CLI11's type name of a checked option
// (TEXT:{auto,always,never}); "" for a free value.
std::string choices_of(const CLI::Option* option) {
    std::string type = option->get_type_name();
    const size_t open = type.find('{'), close = type.rfind('}');
    if (open == std::string::npos || close == std::string::npos || close < open) return "";
    type = type.substr(open + 1, close - open - 1);
    std::replace(type.begin(), type.end(), ',', ' ');
    return type;
}

// A bash completion script made from the commands and options the tool has
// at run time, so that it cannot drift from --help: command names at the
// top, each command's options (and the tool's, which work after it too),
// the values of checked options, file names for FILE.
std::string bash_completion(CLI::App& app) {
    std::vector<CLI::App*> commands = app.get_subcommands([](CLI::App*) { return true; });
    std::string command_names, command_cases, value_cases;
    for (const CLI::App* c : commands) command_names += (command_names.empty() ? "" : "|") + c->get_name();
    commands.insert(commands.begin(), &app);
    for (const CLI::App* c : commands) {
        const std::string key = c == &app ? "" : c->get_name();
        std::vector<const CLI::Option*> options = c->get_options();
        if (c != &app)
            for (const CLI::Option* o : app.get_options()) options.push_back(o);
        std::vector<std::string> seen;  // a command's own option shadows the tool's of that name
        std::string words;
        bool files = false;
        for (const CLI::Option* o : options) {
            const std::string choices = choices_of(o);
            if (!o->nonpositional()) {
                if (o->get_type_name() == "FILE") files = true;
                if (!choices.empty()) words += " " + choices;
                continue;
            }
            std::vector<std::string> names;
            for (const std::string& s : o->get_snames()) names.push_back("-" + s);
            for (const std::string& l : o->get_lnames()) names.push_back("--" + l);
            for (const std::string& n : names) {
                if (std::find(seen.begin(), seen.end(), n) != seen.end()) continue;
                seen.push_back(n);
                words += " " + n;
                if (o->get_expected_max() == 0) continue;  // a flag
                const std::string reply = !choices.empty() ? "$(compgen -W '" + choices + "' -- \"$cur\")"
                                          : o->get_type_name() == "FILE" ? "$(compgen -f -- \"$cur\")" : "";
                value_cases += "        '" + key + ":" + n + "') COMPREPLY=(" + reply + "); return ;;\n";
            }
        }
        if (c == &app)
            for (const CLI::App* s : commands)
                if (s != &app) words += " " + s->get_name();
        command_cases += "        '" + key + "') words='" + words.substr(1) + "'" + (files ? "; files=1" : "") + " ;;\n";
    }
    return "# bash completion for qeldate " QELDATE_VERSION ", written by `qeldate completion bash`\n"
           "_qeldate() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} command= word words= files=\n"
           "    for word in \"${COMP_WORDS[@]:1:COMP_CWORD-1}\"; do\n"
           "        case $word in " + command_names + ") command=$word; break ;; esac\n"
           "    done\n"
           "    case \"$command:$prev\" in\n" + value_cases +
           "    esac\n"
           "    case $command in\n" + command_cases +
           "    esac\n"
           "    COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
           "    if [[ -n $files && $cur != -* ]]; then COMPREPLY+=($(compgen -f -- \"$cur\")); fi\n"
           "}\n"
           "complete -F _qeldate qeldate\n";
}

// A word where a date should be that is no date: the command, festival or
// solar term it is close to, if any.
std::string not_a_date(CLI::App& app, const std::string& word, const std::string& message) {
    if (word.empty() || std::isdigit(static_cast<unsigned char>(word[0]))) return message;
    std::vector<Name> names;
    for (const CLI::App* c : app.get_subcommands([](CLI::App*) { return true; })) names.push_back({c->get_name(), c->get_name()});
    for (Name& n : festival_and_term_names()) names.push_back(n);
    const std::vector<std::string> near = close_names(word, names, 3);
    if (near.empty()) return message;
    return quote_input(word) + " is not a date, command, festival or solar term; did you mean " + or_list(near) + "?";
}

int run(CLI::App& app, const Arguments& a) {
    if (app.got_subcommand("completion")) {
        write_out(bash_completion(app));
        return 0;
    }
    Context context;
    if (a.encoding.empty()) {
        context.encoding = locale_encoding();
    } else if (const auto e = encoding_named(a.encoding)) {
        context.encoding = *e;
    } else {
        throw UsageError("--encoding " + quote_input(a.encoding) + ": use utf8 (utf-8), gbk (gb18030, cp936) or gb2312");
    }
    context.json = a.json;
    context.color = use_colour(a.color);
    if (!a.calendar.empty()) context.calendar = calendar_named(a.calendar);
    context.calendar_word = calendar_word(context.calendar);
    // The names' language: --lang, else a zh, ko or vi locale, else the
    // calendar's own (Korean names for the Korean calendar when the locale
    // says nothing of these languages).
    std::string lang = a.lang.empty() ? locale_language() : a.lang;
    if (lang != "zh" && lang != "ko" && lang != "vi" && (a.lang.empty() || lang != "en")) lang = "";
    context.language = lang == "ko" ? QEL_NAME_KOREAN : lang == "vi" ? QEL_NAME_VIETNAMESE
                     : lang.empty() ? calendar_language(context.calendar) : 0u;
    context.chinese = a.chinese || a.lang == "zh" || (!a.english && a.lang.empty() && locale_is_chinese());
    context.columns = terminal_columns();
    context.name_flags = (a.plain_months ? QEL_NAME_PLAIN_MONTHS : 0u) | context.language;
    context.festival_options = (a.south ? QEL_OPT_XIAONIAN_SOUTH : 0u) | QEL_OPT_CALENDAR(context.calendar);
    prepare_output(context.encoding, context.color);
    std::string holiday_file = a.holiday_file;
    if (const char* env = std::getenv("QELDATE_HOLIDAYS"); holiday_file.empty() && env && *env) holiday_file = env;
    if (!holiday_file.empty()) load_holiday_file(context, holiday_file);
    const char* injected = std::getenv("QELDATE_TODAY");
    context.fixed_now = injected && *injected;
    context.now = current_moment();

    const auto command = [&](const char* name) { return app.got_subcommand(name); };
    // bazi 2024-02-04 16:30: the date and the time as two words; the time
    // lands among the tool's own arguments, as a command takes one word.
    std::string bazi_when = a.bazi_when;
    const bool bazi_time = command("bazi") && !bazi_when.empty() && bazi_when.find_first_of("T ") == std::string::npos &&
                           a.date.find(':') != std::string::npos && a.steps.empty();
    if (bazi_time) bazi_when += "T" + a.date;
    if (app.get_subcommands().size() == 1 && ((!a.date.empty() && !bazi_time) || !a.steps.empty() || !a.lunar.empty() || a.leap)) {
        const std::string name = app.get_subcommands().front()->get_name();
        const std::string extra = !a.lunar.empty() ? "--lunar" : a.leap ? "--leap" : quote_input(a.date.empty() ? a.steps[0] : a.date);
        throw UsageError("unexpected " + extra + " with qeldate " + name + "; see qeldate " + name + " --help");
    }
    if (a.json && command("ics")) throw UsageError("--json does not go with ics (iCalendar is its own format)");
    if (a.json && command("convert")) throw UsageError("convert writes JSON lines with --format jsonl");

    if (command("compare")) {
        if (a.compare_new_years) {
            at_most(a.compare_args, 2, "compare --new-years takes at most FROM and TO");
            if (a.compare_args.size() == 1) throw UsageError("compare --new-years takes FROM and TO, or neither");
            const auto [first, last] = published_years();
            run_new_years(context, a.compare_args.empty() ? first : lunar_year(a.compare_args[0], "compare --new-years"),
                          a.compare_args.empty() ? last : lunar_year(a.compare_args[1], "compare --new-years"));
        } else {
            at_most(a.compare_args, 1, "compare takes at most a DATE");
            run_compare(context, a.compare_args.empty() ? context.now.date : parse_date(a.compare_args[0]));
        }
    } else if (command("cal")) {
        run_cal(context, cal_request(context, a));
    } else if (command("terms")) {
        run_terms(context, years_of(a.terms_args, context.now.date.year, QEL_DOMAIN_TERMS, "terms"));
    } else if (command("festivals")) {
        run_festivals(context, years_of(a.festivals_args, context.now.date.year, QEL_DOMAIN_TERMS, "festivals"));
    } else if (command("holidays")) {
        run_holidays(context, years_of(a.holidays_args, context.now.date.year, QEL_DOMAIN_GREGORIAN, "holidays"));
    } else if (command("workdays")) {
        run_workdays(context, parse_date(a.workdays_first), parse_date(a.workdays_last));
    } else if (command("lunar")) {
        run_lunar(context, parse_date(a.lunar_of));
    } else if (command("diff")) {
        run_diff(context, parse_moment(a.diff_first), parse_moment(a.diff_second));
    } else if (command("next")) {
        if (!a.next_year.empty() && !a.next_lunar_year.empty()) throw UsageError("give --year or --lunar-year, not both");
        run_next(context, a.next_what, a.next_leap,
                 a.next_year.empty() ? std::nullopt : std::optional<int>(terms_year(a.next_year, "next --year")),
                 a.next_lunar_year.empty() ? std::nullopt : std::optional<int>(lunar_year(a.next_lunar_year, "next --lunar-year")));
    } else if (command("bazi")) {
        Moment when = context.now;
        if (!bazi_when.empty()) {
            when = parse_moment(bazi_when, "use YYYY-MM-DDTHH:MM[:SS] in UTC+8 (00:00:00-23:59:59)");
            if (!when.has_time) throw UsageError("bazi needs the hour: give " + quote_input(bazi_when + "THH:MM"));
        }
        const int32_t zi = qel_zi_of_name(a.bazi_zi.data(), a.bazi_zi.size());
        if (zi < 0) throw UsageError("--zi " + quote_input(a.bazi_zi) + ": use late or early");
        run_bazi(context, when, zi == QEL_ZI_EARLY);
    } else if (command("convert")) {
        ConvertRequest r;
        r.files = a.convert_files;
        r.lunar = a.convert_lunar;
        r.strict = a.convert_strict;
        r.format = a.convert_format == "tsv" ? ConvertFormat::kTsv : a.convert_format == "jsonl" ? ConvertFormat::kJsonLines
                                                                                                  : ConvertFormat::kCsv;
        if (!run_convert(context, r)) return kUsageStatus;
    } else if (command("ics")) {
        if (!a.ics_lunar.empty()) {
            const LunarArg l = parse_lunar(a.ics_lunar, false);
            const qel_range lunar = domain_range(QEL_DOMAIN_LUNAR);
            const int table_years = lunar.last_year - lunar.first_year + 1;
            if (const int years = a.ics_years.value_or(kDefaultLunarYears); years < 1 || years > table_years)
                throw UsageError("--years " + std::to_string(years) + ": use 1-" + std::to_string(table_years));
            if (!a.ics_to.empty()) throw UsageError("--to goes with the festival calendar; with --lunar use --years");
            if (!is_valid_utf8(a.ics_summary)) throw UsageError("--summary " + quote_input(a.ics_summary) + " is not UTF-8 text");
            run_ics_lunar(context, l.month, l.day, a.ics_leap || l.leap, a.ics_from.empty() ? 0 : lunar_year(a.ics_from, "ics --from"),
                          a.ics_years, a.ics_summary);
        } else {
            if (a.ics_leap || !a.ics_summary.empty() || a.ics_years)
                throw UsageError("--leap, --summary and --years go with --lunar MONTH-DAY");
            const std::string now_year = std::to_string(context.now.date.year);
            const int first = terms_year(a.ics_from.empty() ? now_year : a.ics_from, "ics --from");
            const int last = terms_year(a.ics_to.empty() ? std::to_string(first) : a.ics_to, "ics --to");
            if (last < first) throw UsageError("--to " + a.ics_to + " comes before --from " + std::to_string(first));
            run_ics_festivals(context, first, last, a.ics_shanghai, a.ics_holidays);
        }
    } else if (!a.date.empty() && (festival_named(a.date) || term_named(a.date) >= 0)) {
        // qeldate 中秋 2030: a festival or a term, with an optional
        // Gregorian year (its days in that year), as next --year.
        at_most(a.steps, 1, "a festival or solar term takes at most a YEAR");
        run_next(context, a.date, a.leap,
                 a.steps.empty() ? std::nullopt : std::optional<int>(terms_year(a.steps[0], "the year")), std::nullopt);
    } else {
        FactsRequest request;
        std::vector<std::string> steps = a.steps;
        if (!a.lunar.empty()) {
            // With --lunar, a step may stand where the date would.
            if (!a.date.empty()) {
                if (a.date[0] != '+' && a.date[0] != '-') throw UsageError("give a date or --lunar, not both");
                steps.insert(steps.begin(), a.date);
            }
            const LunarArg l = parse_lunar(a.lunar, true);
            const LunarDate date{l.year, l.month, l.day, a.leap || l.leap ? 1 : 0};
            if (qel_check_lunar_in(context.calendar, date.year, date.month, date.day, date.leap, nullptr) != QEL_OK)
                throw UsageError("--lunar " + quote_input(a.lunar) + ": " +
                                 lunar_message(date.year, date.month, date.day, date.leap, context.calendar));
            request.when.date = date_of(serial_of_lunar(date, context.calendar));
        } else if (a.leap) {
            throw UsageError("--leap goes with --lunar YEAR-MONTH-DAY");
        } else if (a.date.empty()) {
            request.when = context.now;
            request.when.has_time = true;
            request.now = true;
        } else {
            try {
                request.when = parse_moment(a.date);
            } catch (const UsageError& e) {
                throw UsageError(not_a_date(app, a.date, e.what()));
            }
        }
        if (!steps.empty()) {
            const StepResult result = apply_steps(context, request.when, steps, !a.no_clamp);
            request.start = request.when;
            request.steps = steps;
            request.clamped = result.clamped;
            request.when = result.moment;
            request.now = false;
        }
        print_facts(context, request);
    }
    return 0;
}

// The arguments as UTF-8: a POSIX terminal in a GBK locale hands over GBK
// bytes, which are read as GBK when they are not UTF-8 already. An empty
// argument is never valid input.
std::vector<std::string> normalised_arguments(int argc, char** argv) {
    std::vector<std::string> args = utf8_arguments(argc, argv);
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i].empty()) throw UsageError("argument " + std::to_string(i) + " is empty: an empty argument is no date, year or name");
        if (!is_valid_utf8(args[i])) {
            try {
                args[i] = gbk_to_utf8(args[i]);
            } catch (const std::runtime_error&) {
                throw UsageError("argument " + std::to_string(i) + " " + quote_input(args[i]) + " is neither UTF-8 nor GBK text");
            }
        }
    }
    return args;
}

}  // namespace

int main(int argc, char** argv) {
    binary_standard_streams();
    CLI::App app{"qeldate: the Gregorian and the Chinese lunisolar calendar.\n"
                 "With no argument: now, its lunar date and solar terms. With DATE: the\n"
                 "facts of that day, after any STEPs.",
                 "qeldate"};
    app.get_formatter()->column_width(30);
    app.set_version_flag("--version", "qeldate " QELDATE_VERSION);
    app.footer(footer());
    app.fallthrough();  // options of the tool also work after a command
    app.require_subcommand(0, 1);
    Arguments a;
    app.add_option("date", a.date, "a date or date-time (default: now)");
    app.add_option("steps", a.steps, "steps: +1month +90days -3600s ...");
    app.add_option("--lunar", a.lunar, "a lunar date, YEAR-MONTH-DAY or YEAR-闰M-D");
    app.add_flag("--leap", a.leap, "the lunar date is in the leap month");
    app.add_flag("--no-clamp", a.no_clamp, "a month step to a missing day fails");
    app.add_flag("--json", a.json, "one JSON object with named fields");
    app.add_option("--encoding", a.encoding, "utf8 or gbk (default: the locale's)");
    app.add_option("--color", a.color, "auto, always or never")->check(CLI::IsMember({"auto", "always", "never"}));
    app.add_flag("--plain-months", a.plain_months, "一月 十一月 十二月, not 正月 冬月 腊月");
    app.add_flag("--chinese", a.chinese, "cal's titles and weekdays in Chinese (zh locale)");
    app.add_flag("--english", a.english, "cal's titles and weekdays in English");
    app.add_flag("--south", a.south, "小年 on lunar 12-24, as in the south");
    app.add_option("--holidays", a.holiday_file, "a holiday file (TSV) for years to add")->type_name("FILE");
    // Matched by qel_calendar_of_name; the type name lists the words for help and completion.
    std::string calendar_words;
    for (const char* w : kCalendarWords) calendar_words += std::string(calendar_words.empty() ? "" : ",") + w;
    app.add_option("--calendar", a.calendar, "the lunar calendar (default: " + calendar_word(QEL_CALENDAR_CHINESE) + ")")
        ->type_name("TEXT:{" + calendar_words + "}");
    app.add_option("--lang", a.lang, "names in zh, en, ko or vi (default: locale)")->check(CLI::IsMember({"zh", "en", "ko", "vi"}));

    const std::string sub_footer = "The options of qeldate (--json, --encoding, ...) work here too.\n";
    CLI::App* cal = app.add_subcommand("cal", "a month grid with lunar days, terms and festivals");
    cal->add_option("year_month", a.cal_args, "YEAR (the whole year) or YEAR MONTH");
    cal->add_flag("-3", a.cal_three, "the previous, this and the next month");
    cal->add_flag("-y,--year", a.cal_year, "the whole year");
    cal->add_flag("--sunday", a.cal_sunday, "weeks from Sunday to Saturday");
    CLI::App* terms = app.add_subcommand("terms", "the 24 solar terms of a year, UTC+8");
    const std::string term_years = years_of_domain(QEL_DOMAIN_TERMS) + ", one or more (default: this year)";
    terms->add_option("year", a.terms_args, term_years);
    CLI::App* festivals = app.add_subcommand("festivals", "a year's festivals and terms in date order");
    festivals->add_option("year", a.festivals_args, term_years);
    CLI::App* holidays = app.add_subcommand("holidays", "a year's public holidays and make-up days");
    holidays->add_option("year", a.holidays_args, "one or more years (default: this year)");
    CLI::App* workdays = app.add_subcommand("workdays", "working days from FIRST to LAST, both included");
    workdays->add_option("first", a.workdays_first, "a date")->required();
    workdays->add_option("last", a.workdays_last, "a date")->required();
    CLI::App* lunar = app.add_subcommand("lunar", "the lunar date of a date, or why it has none");
    lunar->add_option("date", a.lunar_of, "a Gregorian date")->required();
    CLI::App* diff = app.add_subcommand("diff", "the time from SECOND to FIRST");
    diff->add_option("first", a.diff_first, "a date or date-time")->required();
    diff->add_option("second", a.diff_second, "a date or date-time")->required();
    CLI::App* next = app.add_subcommand("next", "the next festival, term or lunar date");
    next->add_option("what", a.next_what, "a festival, a solar term or a lunar MONTH-DAY")->required();
    next->add_option("--year", a.next_year, "its days in this Gregorian year");
    next->add_option("--lunar-year", a.next_lunar_year, "its day in this lunar year");
    next->add_flag("--leap", a.next_leap, "the lunar date is in a leap month");
    CLI::App* bazi = app.add_subcommand("bazi", "the four pillars (八字) of a date-time, UTC+8");
    bazi->add_option("datetime", a.bazi_when, "YYYY-MM-DDTHH:MM[:SS] or DATE TIME (default: now)");
    // Matched by qel_zi_of_name (any ASCII case); the type name lists the
    // words for help and completion.
    bazi->add_option("--zi", a.bazi_zi, "23:00-24:00: late (this day, default) or early")->type_name("TEXT:{early,late}");
    CLI::App* compare = app.add_subcommand("compare", "a date in the three lunar calendars side by side");
    compare->add_option("args", a.compare_args, "DATE (default: today), or FROM TO with --new-years");
    compare->add_flag("--new-years", a.compare_new_years, "years whose lunar new year differs between them");
    CLI::App* convert = app.add_subcommand("convert", "dates in bulk, one per line, to CSV or JSON");
    convert->add_option("files", a.convert_files, "input files (default or -: standard input)")->type_name("FILE");
    convert->add_flag("--lunar", a.convert_lunar, "lines are lunar YEAR-MONTH-DAY [leap]");
    convert->add_option("--format", a.convert_format, "csv (default), tsv or jsonl")
        ->check(CLI::IsMember({"csv", "tsv", "jsonl"}));
    convert->add_flag("--strict", a.convert_strict, "stop at the first bad line");
    CLI::App* ics = app.add_subcommand("ics", "iCalendar: festivals and terms, or a lunar date");
    ics->add_option("--from", a.ics_from, "first year (default: this year)");
    ics->add_option("--to", a.ics_to, "last year of festivals and terms");
    ics->add_option("--lunar", a.ics_lunar, "a lunar MONTH-DAY once a year (a birthday)");
    ics->add_flag("--leap", a.ics_leap, "the lunar date is in a leap month");
    ics->add_option("--years", a.ics_years, "years of the lunar date (default 10)");
    ics->add_option("--summary", a.ics_summary, "the lunar date's title");
    ics->add_flag("--shanghai", a.ics_shanghai, "term times in UTC+8 (China Standard Time), not UTC");
    ics->add_flag("--with-holidays", a.ics_holidays, "also the public holidays and make-up days");
    CLI::App* completion = app.add_subcommand("completion", "a shell completion script, made from these options");
    completion->add_option("shell", a.completion_shell, "bash")->required()->check(CLI::IsMember({"bash"}));
    completion->footer("Packages install it; by hand, in ~/.bashrc: eval \"$(qeldate completion bash)\"");
    for (CLI::App* c : {cal, terms, festivals, holidays, workdays, lunar, diff, next, bazi, compare, convert, ics}) c->footer(sub_footer);

    std::vector<std::string> args;
    try {
        args = normalised_arguments(argc, argv);
    } catch (const UsageError& e) {
        return report(a.encoding, kUsageStatus, e.what());
    } catch (const std::exception& e) {
        return report(a.encoding, kFailureStatus, e.what());
    }
    try {
        // CLI11 takes the arguments last to first.
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
        return report(a.encoding, kUsageStatus, std::string(e.what()) + " (see qeldate --help)");
    }
    try {
        return run(app, a);
    } catch (const UsageError& e) {
        return report(a.encoding, kUsageStatus, e.what());
    } catch (const std::exception& e) {
        return report(a.encoding, kFailureStatus, e.what());
    }
}
