#include "terms.h"

#include "context.h"
#include "facts.h"
#include "model.h"

namespace qeldate {

void run_terms(const Context& context, const std::vector<int>& years) {
    std::vector<std::string> texts;
    std::vector<Json> objects;
    for (const int year : years) {
        Json terms = Json::array();
        std::string out = "Solar terms of " + std::to_string(year) + ", China Standard Time (UTC+8)\n";
        for (int k = 0; k < kTermCount; ++k) {
            const Term t = *term_of(year, k);
            const int weekday = day_of(t.serial, context).weekday;
            Json j = term_json(t);
            j["weekday"] = weekday;
            j["weekday_name"] = weekday_name(weekday);
            terms.push_back(j);
            out += format_date(t.date) + " " + clock(t) + "  " + weekday_abbr(weekday) + "  " + t.chinese + "  " + t.english + "\n";
        }
        objects.push_back(Json{{"year", year}, {"time_zone", "UTC+8"}, {"terms", terms}});
        texts.push_back(out);
    }
    write_years(context, texts, objects);
}

}  // namespace qeldate
