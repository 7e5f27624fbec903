// The solar terms as instants: by year and number, and around an instant.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calendar/names.h"
#include "calendar/terms.h"
#include "qel_calendar.h"

using namespace qel::calendar;

extern "C" {

int32_t qel_term_instant(int32_t year, int32_t term, int64_t* instant) noexcept {
    if (term < 0 || term >= kTermsPerYear || instant == nullptr) return QEL_E_ARGUMENT;
    if (year < QEL_FIRST_YEAR || year > QEL_LAST_YEAR) return QEL_E_RANGE;
    *instant = term_instant(term_index(year, term));
    return QEL_OK;
}

int32_t qel_term_in_force(int64_t instant, qel_term* out) noexcept {
    if (out == nullptr) return QEL_E_ARGUMENT;
    const size_t n = terms_up_to(instant);
    if (n == 0) return QEL_E_RANGE;
    *out = term_at(n - 1);
    return QEL_OK;
}

int32_t qel_term_next(int64_t instant, qel_term* out) noexcept {
    if (out == nullptr) return QEL_E_ARGUMENT;
    const size_t n = terms_up_to(instant);
    if (n == size_t{kTermCount}) return QEL_E_RANGE;
    *out = term_at(n);
    return QEL_OK;
}

int32_t qel_term_previous(int64_t instant, qel_term* out) noexcept {
    if (out == nullptr) return QEL_E_ARGUMENT;
    // The last term strictly before: one second earlier, the last at or before.
    if (instant == INT64_MIN) return QEL_E_RANGE;
    return qel_term_in_force(instant - 1, out);
}

int32_t qel_term_of_name(const char* name, size_t length) noexcept {
    if (name == nullptr) return QEL_E_ARGUMENT;
    const std::string_view s(name, length);
    for (int32_t k = 0; k < kTermsPerYear; ++k) {
        const TermName& t = kTermNames[k];
        if (s == t.chinese || equal_ascii_nocase(s, t.english) || equal_ascii_nocase(s, t.key) || s == t.korean ||
            s == t.vietnamese)
            return k;
    }
    return QEL_E_ARGUMENT;
}

}  // extern "C"
