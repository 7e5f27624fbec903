#include "month_grid.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "context.h"
#include "facts.h"
#include "holidays.h"
#include "model.h"

namespace qeldate {
namespace {

// A full cell is at least six columns: the day number over a name of two
// Chinese characters with a column of air each side, or a three-character
// name (闰六月, 龙抬头) edge to edge; a longer name (闰十一月 with plain month
// names) widens every cell of its month. Cells are one column apart.
constexpr int kMinCellWidth = 6;
constexpr int kDaysPerWeek = 7;
// The compact grid: a day number and a mark in three columns, as cal(1) does;
// compact blocks stand two columns apart (67 columns for three), full ones three.
constexpr int kCompactCellWidth = 3;
constexpr int kCompactGap = 2;
constexpr int kBlockGap = 3;
constexpr const char* kReverse = "\x1b[7m";
constexpr const char* kReverseOff = "\x1b[27m";
constexpr const char* kRed = "\x1b[31m";
constexpr const char* kGreen = "\x1b[32m";
constexpr const char* kBlue = "\x1b[34m";
constexpr const char* kBold = "\x1b[1m";
constexpr const char* kReset = "\x1b[0m";

enum class Kind { kDay, kMonthStart, kTerm, kFestival };

struct Cell {
    const Day* day = nullptr;  // null: a cell of another month
    std::string name;
    Kind kind = Kind::kDay;
};

// The second line of a day: the month's name on the first day of a lunar
// month (always: its term or festival is listed below the grid), else the
// first festival, else the solar term, else the day's name.
// A name wider than kMaxCellName columns (Vietnamese: tháng Sáu nhuận, Tết
// Nguyên Đán) gives way to the day's name, keeping its colour: the month is
// in the heading and the festival in the list below the grid.
constexpr int kMaxCellName = 8;

Cell make_cell(const Day& d) {
    Cell c{&d, d.lunar_day_name, Kind::kDay};
    if (d.has_lunar && d.lunar.day == 1) c = {&d, d.lunar_month_name, Kind::kMonthStart};
    else if (!d.festivals.empty()) c = {&d, d.festivals.front().short_name, Kind::kFestival};
    else if (d.term) c = {&d, d.term->chinese, Kind::kTerm};
    if (display_width(c.name) > kMaxCellName) c.name = d.lunar_day_name;
    return c;
}

struct Month {
    int year = 0, month = 0;
    std::vector<Day> days;
};

Month month_of(const Context& context, int year, int month) {
    Month m{year, month, {}};
    for (Serial s = serial_of({year, month, 1}); date_of(s).month == month; ++s)
        m.days.push_back(day_of(s, context));
    return m;
}

// 丁酉年 六月小 · 闰六月大: the lunar months the Gregorian month spans, 大 for
// 30 days and 小 for 29, with the year's name where a lunar year begins. In
// Korean and Vietnamese names the month's length is its number of days:
// 정유 6월 (29) · 7월 (30).
std::string lunar_heading(const Context& context, const Month& m) {
    const bool chinese = context.language == 0;
    std::string out;
    int last_year = 0;
    for (const Day& d : m.days) {
        if (!d.has_lunar || (d.lunar.day != 1 && &d != &m.days.front())) continue;
        if (!out.empty()) out += " · ";
        if (d.lunar.year != last_year) out += d.year_name + (chinese ? "年 " : " ");
        last_year = d.lunar.year;
        out += d.lunar_month_name + (chinese ? (d.lunar_month_days == 30 ? "大" : "小") : " (" + std::to_string(d.lunar_month_days) + ")");
    }
    return out;
}

std::string weekday_heading(const Context& context, int weekday, int width) {
    return centre(context.chinese ? weekday_chinese(weekday) : std::string(weekday_abbr(weekday)).substr(0, width - 1 < 3 ? 2 : 3),
                  width);
}

// The weekday (1-7) in column `column` (0-6).
int weekday_at(int column, bool sunday) { return sunday ? (column + 6) % 7 + 1 : column + 1; }

// Rows of seven cells, empty where another month's days would be.
std::vector<std::vector<Cell>> week_rows(const Month& m, bool sunday) {
    std::vector<std::vector<Cell>> rows;
    const int first_column = sunday ? m.days.front().weekday % 7 : m.days.front().weekday - 1;
    std::vector<Cell> row(kDaysPerWeek);
    int column = first_column;
    for (const Day& d : m.days) {
        row[static_cast<size_t>(column)] = make_cell(d);
        if (++column == kDaysPerWeek) {
            rows.push_back(row);
            row.assign(kDaysPerWeek, Cell{});
            column = 0;
        }
    }
    if (column > 0) rows.push_back(row);
    return rows;
}

std::string paint(const Context& context, std::string text, const char* colour) {
    return context.color && colour ? colour + text + kReset : text;
}

bool is_today(const Context& context, const Day* d) { return d && d->date == context.now.date; }

// The full grid of one month, each line `width` columns.
std::vector<std::string> full_block(const Context& context, const Month& m, bool sunday, bool with_year, size_t rows_wanted) {
    int cell_width = kMinCellWidth;
    for (const Day& d : m.days) cell_width = std::max(cell_width, display_width(make_cell(d).name));
    const int width = kDaysPerWeek * cell_width + kDaysPerWeek - 1;
    std::vector<std::string> lines;
    const std::string title = context.chinese ? std::to_string(m.year) + "年" + std::to_string(m.month) + "月"
                                              : std::string(month_name(m.month)) + (with_year ? " " + std::to_string(m.year) : "");
    lines.push_back(centre(title, width));
    lines.push_back(centre(lunar_heading(context, m), width));
    std::string header;
    for (int c = 0; c < kDaysPerWeek; ++c) header += (c ? " " : "") + weekday_heading(context, weekday_at(c, sunday), cell_width);
    lines.push_back(header);
    auto rows = week_rows(m, sunday);
    rows.resize(std::max(rows.size(), rows_wanted), std::vector<Cell>(kDaysPerWeek));
    for (const auto& row : rows) {
        std::string top, bottom;
        for (int c = 0; c < kDaysPerWeek; ++c) {
            const Cell& cell = row[static_cast<size_t>(c)];
            std::string t(static_cast<size_t>(cell_width), ' '), b = t;
            if (cell.day) {
                char number[16];
                std::snprintf(number, sizeof number, "%*d", cell_width / 2 + 1, cell.day->date.day);
                // 休 or 班 beside the number: a day off, a weekend day worked.
                const int status = cell.day->holiday.status;
                const std::string mark = status == QEL_DAY_OFF ? "休" : status == QEL_DAY_WORK ? "班" : "";
                t = pad_right(std::string(number) + mark, cell_width);
                if (context.color && !mark.empty()) {
                    const size_t at = t.find(mark);
                    t = t.substr(0, at) + paint(context, mark, status == QEL_DAY_OFF ? kRed : kBlue) + t.substr(at + mark.size());
                }
                b = centre(cell.name, cell_width);
                const char* colour = cell.kind == Kind::kFestival ? kRed : cell.kind == Kind::kTerm ? kGreen
                                   : cell.kind == Kind::kMonthStart ? kBold : nullptr;
                if (context.color && colour) {
                    const size_t start = b.find_first_not_of(' '), end = b.find_last_not_of(' ') + 1;
                    b = b.substr(0, start) + paint(context, b.substr(start, end - start), colour) + b.substr(end);
                }
                if (context.color && is_today(context, cell.day)) {
                    t = kReverse + t + kReverseOff;
                    b = kReverse + b + kReverseOff;
                }
            }
            top += (c ? " " : "") + t;
            bottom += (c ? " " : "") + b;
        }
        lines.push_back(top);
        lines.push_back(bottom);
    }
    return lines;
}

// The compact grid: day numbers, each followed by a mark: * a festival, + a
// solar term, ^ the first day of a lunar month.
// With `with_year`, the title names the year too ("September 2026" fits the
// 21 columns).
std::vector<std::string> compact_block(const Context& context, const Month& m, bool sunday, bool with_year,
                                       size_t rows_wanted) {
    constexpr int width = kDaysPerWeek * kCompactCellWidth;  // 21, the last mark included
    std::vector<std::string> lines;
    const std::string year = with_year ? std::to_string(m.year) : "";
    lines.push_back(centre(context.chinese ? (with_year ? year + "年" : "") + std::to_string(m.month) + "月"
                                           : std::string(month_name(m.month)) + (with_year ? " " + year : ""),
                           width));
    std::string header;
    for (int c = 0; c < kDaysPerWeek; ++c) {
        const int w = weekday_at(c, sunday);
        header += (c ? " " : "") + (context.chinese ? pad_right(weekday_chinese(w), 2) : std::string(weekday_abbr(w)).substr(0, 2));
    }
    lines.push_back(header);
    auto rows = week_rows(m, sunday);
    rows.resize(std::max(rows.size(), rows_wanted), std::vector<Cell>(kDaysPerWeek));
    for (const auto& row : rows) {
        std::string line;
        for (int c = 0; c < kDaysPerWeek; ++c) {
            const Cell& cell = row[static_cast<size_t>(c)];
            std::string text = "   ";
            if (cell.day) {
                char number[8];
                const char mark = cell.day->has_lunar && cell.day->lunar.day == 1 ? '^'
                                : !cell.day->festivals.empty()                   ? '*'
                                : cell.day->term                                 ? '+' : ' ';
                std::snprintf(number, sizeof number, "%2d%c", cell.day->date.day, mark);
                text = number;
                if (is_today(context, cell.day)) text = paint(context, text, kReverse);
            }
            line += text;
        }
        lines.push_back(line);
    }
    for (auto& l : lines) l = pad_right(l, width);
    return lines;
}

// The month's solar terms and festivals, one line each, in date order; the
// Chinese names padded to one width so that the English column stays put.
std::string month_legend(const Month& m) {
    constexpr int kNameColumns = 10;
    std::string out;
    for (const Day& d : m.days) {
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "%3d %s  ", d.date.day, weekday_abbr(d.weekday));
        for (const Festival& f : d.festivals)
            if (!d.term || f.chinese != d.term->chinese)  // 冬至 is listed as the term
                out += prefix + pad_right(f.chinese, kNameColumns) + f.english + "\n";
        if (d.term)
            out += prefix + pad_right(d.term->chinese, kNameColumns) + d.term->english + ", " + clock(*d.term) + " UTC+8\n";
    }
    return out;
}

// The holiday periods that touch the month, with their make-up days.
std::string holiday_legend(const Context& context, const Month& m) {
    std::string out;
    for (const HolidayPeriod& p : holiday_periods(context, m.days.front().serial, m.days.back().serial)) {
        std::string line = "休 " + format_date(date_of(p.first)).substr(5) + ".." + format_date(date_of(p.last)).substr(5) +
                           "  " + p.chinese + " " + p.english;
        if (!p.workdays.empty()) {
            line += "; 班";
            for (const Serial w : p.workdays) line.append(" ").append(format_date(date_of(w)).substr(5));
        }
        out += line + "\n";
    }
    return out;
}

std::string trim_right(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

Json month_json(const Month& m) {
    Json days = Json::array();
    for (const Day& d : m.days) days.push_back(day_json(d));
    Json lunar_months = Json::array();
    for (const Day& d : m.days)
        if (d.has_lunar && (d.lunar.day == 1 || &d == &m.days.front()))
            lunar_months.push_back({{"year", d.lunar.year}, {"month", d.lunar.month}, {"leap", d.lunar.leap != 0},
                                    {"name", d.lunar_month_name}, {"days", d.lunar_month_days}, {"year_name", d.year_name}});
    return {{"year", m.year}, {"month", m.month}, {"lunar_months", lunar_months}, {"days", days}};
}

}  // namespace

void run_cal(const Context& context, const CalRequest& r) {
    std::vector<Month> months;
    for (const auto& [y, mo] : r.months) months.push_back(month_of(context, y, mo));
    if (context.json) {
        Json j = Json::array();
        for (const Month& m : months) j.push_back(month_json(m));
        write_out((months.size() == 1 ? j[0] : Json{{"months", j}}).dump(2) + "\n");
        return;
    }
    std::string out;
    if (months.size() == 1) {
        for (const std::string& line : full_block(context, months[0], r.sunday, true, 0)) out += trim_right(line) + "\n";
        const std::string legend = month_legend(months[0]) + holiday_legend(context, months[0]);
        if (!legend.empty()) out += "\n" + legend;
        write_text(context, out);
        return;
    }
    // Several months: full grids three or two across where they fit, else
    // the compact grid, three across in 66 columns.
    const int full_width = static_cast<int>(display_width(full_block(context, months[0], r.sunday, false, 6)[2]));
    const bool full = context.columns >= 2 * full_width + kBlockGap;
    const int across = full ? (context.columns >= 3 * full_width + 2 * kBlockGap ? 3 : 2) : 3;
    const int gap = full ? kBlockGap : kCompactGap;
    const int block_width = full ? full_width : kDaysPerWeek * kCompactCellWidth;
    if (!r.three) out += trim_right(centre(std::to_string(r.year), across * block_width + (across - 1) * gap)) + "\n";
    for (size_t first = 0; first < months.size(); first += static_cast<size_t>(across)) {
        std::vector<std::vector<std::string>> blocks;
        for (size_t k = first; k < first + static_cast<size_t>(across) && k < months.size(); ++k)
            blocks.push_back(full ? full_block(context, months[k], r.sunday, r.three, 6) : compact_block(context, months[k], r.sunday, r.three, 6));
        if (!out.empty()) out += "\n";  // a blank line under the year's title and between rows
        for (size_t line = 0; line < blocks.front().size(); ++line) {
            std::string joined;
            for (size_t b = 0; b < blocks.size(); ++b) joined += (b ? std::string(static_cast<size_t>(gap), ' ') : "") + blocks[b][line];
            out += trim_right(joined) + "\n";
        }
    }
    if (!full) out += "\n^ first day of a lunar month   * festival   + solar term\n";
    write_text(context, out);
}

}  // namespace qeldate
