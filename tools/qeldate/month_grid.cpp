#include "month_grid.h"

#include <cstdio>
#include <string>
#include <vector>

#include "command.h"
#include "day_info.h"
#include "festivals.h"
#include "qel_datetime.h"
#include "terms.h"

namespace qeldate {
namespace {

// A cell is six columns: the day number over a two-character name (four
// columns) with a column of air on each side, or a three-character month
// name (润六月, 十一月) edge to edge. Cells are one column apart.
constexpr int kCellWidth = 6;
constexpr int kDaysPerWeek = 7;
constexpr int kBlockWidth = kDaysPerWeek * kCellWidth + (kDaysPerWeek - 1);  // 48
constexpr int kMaxWeekRows = 6;  // a 31-day month starting on a Saturday or Sunday
constexpr int kBlockGap = 3;
constexpr const char* kReverse = "\x1b[7m";
constexpr const char* kReverseOff = "\x1b[27m";
constexpr const char* kRed = "\x1b[31m";
constexpr const char* kGreen = "\x1b[32m";
constexpr const char* kBold = "\x1b[1m";
constexpr const char* kReset = "\x1b[0m";

enum class Kind { kDay, kMonthStart, kTerm, kFestival };

struct Cell {
    int day = 0;  // 0: a cell of another month
    std::string name;
    Kind kind = Kind::kDay;
    bool today = false;
};

// What the second line of a day shows, most specific first: a festival, a
// solar term, the lunar month's name on its first day, else the day's name.
Cell make_cell(const Context& context, DateInt serial) {
    const Text& text = context.text;
    Cell cell;
    const Ymd date = date_of(serial);
    cell.day = date.day;
    cell.today = date == context.now.date;
    const auto festivals = festivals_on(date);
    const auto term = term_on(date);
    const auto lunar = lunar_of(date);
    if (!festivals.empty()) {
        cell.name = text.own(festivals.front()->short_chinese);
        cell.kind = Kind::kFestival;
    } else if (term) {
        cell.name = text.own(term_name(term->term).chinese);
        cell.kind = Kind::kTerm;
    } else if (lunar && lunar->day == 1) {
        cell.name = lunar_text(*lunar, 2, text);
        // 润十一月 is four characters: drop the month word to keep the column.
        const std::string month_word = text.own("月");
        if (display_width(cell.name, text.encoding()) > kCellWidth && cell.name.ends_with(month_word))
            cell.name.resize(cell.name.size() - month_word.size());
        cell.kind = Kind::kMonthStart;
    } else if (lunar) {
        cell.name = lunar_text(*lunar, 1, text);
    }
    return cell;
}

// The two lines of a cell, kCellWidth columns each, with colour when asked.
std::pair<std::string, std::string> render(const Context& context, const Cell& cell) {
    if (cell.day == 0) return {std::string(kCellWidth, ' '), std::string(kCellWidth, ' ')};
    char number[16];
    std::snprintf(number, sizeof number, "%4d  ", cell.day);
    std::string top = number;
    std::string bottom = centre(cell.name, kCellWidth, context.text.encoding());
    if (context.color) {
        const char* colour = cell.kind == Kind::kFestival ? kRed : cell.kind == Kind::kTerm ? kGreen
                           : cell.kind == Kind::kMonthStart ? kBold : nullptr;
        if (colour) {
            const size_t start = bottom.find_first_not_of(' ');
            const size_t end = bottom.find_last_not_of(' ') + 1;
            bottom = bottom.substr(0, start) + colour + bottom.substr(start, end - start) + kReset + bottom.substr(end);
        }
        if (cell.today) {
            top = kReverse + top + kReverseOff;
            bottom = std::string(kReverse) + bottom + kReverseOff;
        }
    }
    return {top, bottom};
}

// The lines of one month, each kBlockWidth columns wide.
std::vector<std::string> month_block(const Context& context, int year, int month, bool with_year, int rows) {
    const Encoding enc = context.text.encoding();
    std::vector<std::string> lines;
    const std::string title = std::string(month_name(month)) + (with_year ? " " + std::to_string(year) : "");
    lines.push_back(centre(title, kBlockWidth, enc));
    std::string header;
    for (int weekday = 1; weekday <= kDaysPerWeek; ++weekday)
        header += (weekday > 1 ? " " : "") + centre(weekday_abbr(weekday), kCellWidth, enc);
    lines.push_back(header);
    const int weeks = weeksInMonth(static_cast<unsigned short>(year), static_cast<unsigned short>(month));
    for (int week = 0; week < rows; ++week) {
        std::string top, bottom;
        for (int weekday = 1; weekday <= kDaysPerWeek; ++weekday) {
            Cell cell;
            if (week < weeks) {
                const DateInt serial = getDateByWeeksday(static_cast<unsigned short>(year), static_cast<unsigned short>(month),
                                                         static_cast<unsigned char>(week), static_cast<unsigned char>(weekday));
                if (serial != 0) cell = make_cell(context, serial);  // 0: the cell belongs to another month
            }
            const auto [cell_top, cell_bottom] = render(context, cell);
            top += (weekday > 1 ? " " : "") + cell_top;
            bottom += (weekday > 1 ? " " : "") + cell_bottom;
        }
        lines.push_back(top);
        lines.push_back(bottom);
    }
    return lines;
}

// The month's solar terms and festivals, one line each, in date order.
std::string month_legend(const Context& context, int year, int month) {
    const Text& text = context.text;
    std::string out;
    for (int day = 1; day <= daysOfMonthG(year, month); ++day) {
        const Ymd date{year, month, day};
        char prefix[32];
        std::snprintf(prefix, sizeof prefix, "%3d %s  ", day, weekday_abbr(weekday_of(serial_of(date))));
        if (const auto t = term_on(date))
            out += prefix + text.own(term_name(t->term).chinese) + "  " + term_name(t->term).english + ", " +
                   term_clock(*t) + " UTC+8\n";
        for (const Festival* f : festivals_on(date))
            if (f->rule != FestivalRule::kSolarTerm) out += prefix + text.own(f->chinese) + "  " + f->english + "\n";
    }
    return out;
}

std::string trim_right(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

}  // namespace

void run_cal(const Context& context, int year, std::optional<int> month) {
    std::string out;
    if (month) {
        const int rows = weeksInMonth(static_cast<unsigned short>(year), static_cast<unsigned short>(*month));
        for (const std::string& line : month_block(context, year, *month, true, rows)) out += trim_right(line) + "\n";
        const std::string legend = month_legend(context, year, *month);
        if (!legend.empty()) out += "\n" + legend;
        write_out(out);
        return;
    }
    const int across = context.columns >= 3 * kBlockWidth + 2 * kBlockGap ? 3
                     : context.columns >= 2 * kBlockWidth + kBlockGap     ? 2 : 1;
    const int width = across * kBlockWidth + (across - 1) * kBlockGap;
    out += trim_right(centre(std::to_string(year), width, context.text.encoding())) + "\n";
    for (int first = 1; first <= 12; first += across) {
        std::vector<std::vector<std::string>> blocks;
        for (int m = first; m < first + across && m <= 12; ++m) blocks.push_back(month_block(context, year, m, false, kMaxWeekRows));
        out += "\n";
        for (size_t line = 0; line < blocks.front().size(); ++line) {
            std::string joined;
            for (size_t b = 0; b < blocks.size(); ++b) joined += (b ? std::string(kBlockGap, ' ') : "") + blocks[b][line];
            out += trim_right(joined) + "\n";
        }
    }
    write_out(out);
}

}  // namespace qeldate
