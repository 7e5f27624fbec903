#include "bazi.h"

#include <cstdio>
#include <string>

#include "context.h"
#include "facts.h"
#include "model.h"

namespace qeldate {
namespace {

// A pillar's start as HH:MM:SS, HH:MM only on a whole minute: "since 立春
// 16:27" for 立春 at 16:27:02 would pass 16:27:00, still the old year, as
// the new one.
std::string boundary_clock(const Term& t) {
    if (t.second_of_day % 60 == 0) return clock(t);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", t.second_of_day / 3600, t.second_of_day / 60 % 60, t.second_of_day % 60);
    return buffer;
}

}  // namespace

void run_bazi(const Context& context, const Moment& when, bool zi_early) {
    qel_pillars p{};
    const int32_t status = qel_pillars_of_cst(when.date.year, when.date.month, when.date.day, when.hour, when.minute,
                                              when.second, zi_early ? QEL_ZI_EARLY : QEL_ZI_LATE, &p);
    if (status != QEL_OK) throw UsageError(format_moment(when) + " is " + range_message(QEL_DOMAIN_PILLARS));
    const Term year_start = term_of(p.year_start), month_start = term_of(p.month_start);
    const int indices[4] = {p.year, p.month, p.day, p.hour};
    const char* labels[4] = {"year", "month", "day", "hour"};
    const std::string zi = zi_early ? "early" : "late";
    if (context.json) {
        Json pillars;
        for (int i = 0; i < 4; ++i) pillars[labels[i]] = {{"name", name(QEL_NAME_CYCLE, indices[i])}, {"index", indices[i]}};
        write_out(Json{{"datetime", format_moment(when)}, {"time_zone", "UTC+8"}, {"zi", zi},
                       {"pillars", pillars}, {"year_start", term_json(year_start)}, {"month_start", term_json(month_start)}}
                      .dump(2) + "\n");
        return;
    }
    std::string out = format_moment(when) + " China Standard Time (UTC+8)\n";
    std::string all;
    for (int i = 0; i < 4; ++i) all.append(i ? " " : "").append(name(QEL_NAME_CYCLE, indices[i]));
    out += "  八字     " + all + "\n";
    out += "  year     " + name(QEL_NAME_CYCLE, p.year) + "  since " + year_start.chinese + " " + format_date(year_start.date) +
           " " + boundary_clock(year_start) + "\n";
    out += "  month    " + name(QEL_NAME_CYCLE, p.month) + "  since " + month_start.chinese + " " +
           format_date(month_start.date) + " " + boundary_clock(month_start) + "\n";
    out += "  day      " + name(QEL_NAME_CYCLE, p.day) +
           (when.hour == 23 ? zi_early ? "  (23:00: the next day's, --zi early)" : "  (23:00: still this day's, --zi late)" : "") + "\n";
    out += "  hour     " + name(QEL_NAME_CYCLE, p.hour) + "  " + name(QEL_NAME_BRANCH, p.hour % 12) + "时\n";
    // A month begins at the even-numbered terms (小寒, 立春, 惊蛰, ...): one
    // within the minute after the moment turns its pillars seconds later.
    if (qel_term t{}; qel_term_next(instant_of(when), &t) == QEL_OK && t.term % 2 == 0 && t.instant - instant_of(when) < 60) {
        const Term next = term_of(t);
        out += "  next     " + next.chinese + " at " + boundary_clock(next) + ", " +
               std::to_string(t.instant - instant_of(when)) + (t.instant - instant_of(when) == 1 ? " second" : " seconds") +
               " later, starts a new month" +
               (t.term == 2 ? " and year" : "") + "\n";
    }
    write_text(context, out);
}

}  // namespace qeldate
