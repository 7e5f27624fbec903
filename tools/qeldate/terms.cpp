#include "terms.h"

#include "context.h"
#include "facts.h"
#include "model.h"

namespace qeldate {

void run_terms(const Context& context, int year) {
    if (context.json) {
        Json terms = Json::array();
        for (int k = 0; k < kTermCount; ++k) {
            const Term t = *term_of(year, k);
            Json j = term_json(t);
            const int weekday = day_of(t.serial, context).weekday;
            j["weekday"] = weekday;
            j["weekday_name"] = weekday_name(weekday);
            terms.push_back(j);
        }
        write_out(Json{{"year", year}, {"time_zone", "UTC+8"}, {"terms", terms}}.dump(2) + "\n");
        return;
    }
    std::string out = "Solar terms of " + std::to_string(year) + ", China Standard Time (UTC+8)\n";
    for (int k = 0; k < kTermCount; ++k) {
        const Term t = *term_of(year, k);
        out += format_date(t.date) + " " + clock(t) + "  " + weekday_abbr(day_of(t.serial, context).weekday) + "  " +
               t.chinese + "  " + t.english + "\n";
    }
    write_text(context, out);
}

}  // namespace qeldate
