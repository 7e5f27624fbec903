// The contract in one place: the covered range of each domain, the reason a
// date or a time fails, the English text of every failure, the counts of the
// enumerations, the layout of qel_day_facts and the option words. Every
// surface (qeldate, Python, JavaScript, SQL) shows these texts rather than
// composing its own.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "calendar/checks.h"
#include "calendar/day.h"
#include "calendar/holidays.h"
#include "calendar/names.h"
#include "calendar/terms.h"
#include "calendar/text.h"
#include "gregorian/civil.h"
#include "qel_calendar.h"

namespace qel::calendar {
namespace {

// A message built without allocating: text, decimal numbers and zero-padded
// date fields, up to 160 bytes (the longest message is under 100).
class Message {
public:
    Message& operator<<(std::string_view s) noexcept {
        const size_t n = s.size() < sizeof text_ - length_ ? s.size() : sizeof text_ - length_;
        std::memcpy(text_ + length_, s.data(), n);
        length_ += n;
        return *this;
    }
    Message& operator<<(int64_t v) noexcept { return number(v, 1); }
    Message& operator<<(int32_t v) noexcept { return number(v, 1); }
    // At least `width` digits, zero-padded: 2023-02, 0001-01-01.
    Message& number(int64_t v, int width) noexcept {
        char digits[24];
        size_t n = 0;
        // Through the unsigned magnitude, so that INT64_MIN has one too.
        uint64_t m = v < 0 ? 0u - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
        do {
            digits[n++] = static_cast<char>('0' + m % 10);
            m /= 10;
        } while (m != 0);
        while (n < static_cast<size_t>(width) && n < sizeof digits) digits[n++] = '0';
        if (v < 0) *this << "-";
        while (n > 0) *this << std::string_view(&digits[--n], 1);
        return *this;
    }
    Message& date(int64_t serial) noexcept {
        const gregorian::CivilDate c = gregorian::civil_from_serial(serial);
        number(c.year, 4) << "-";
        pad2(c.month) << "-";
        return pad2(c.day);
    }
    Message& clock(int64_t second_of_day) noexcept {
        pad2(second_of_day / 3600) << ":";
        pad2(second_of_day / 60 % 60) << ":";
        return pad2(second_of_day % 60);
    }
    Message& pad2(int64_t v) noexcept { return number(v, 2); }
    int32_t write(char* buf, size_t size) const noexcept { return write_text({text_, length_}, buf, size); }

private:
    char text_[160] = {};
    size_t length_ = 0;
};

constexpr int64_t kLastDayInstant = kSecondsPerDay - 1;

constexpr int64_t first_second(int64_t serial) noexcept {
    return (serial - kSerialOf1970) * kSecondsPerDay - kCstOffset;
}

constexpr qel_range day_range(int32_t first_year, int32_t last_year, int64_t first, int64_t last) noexcept {
    return {first_year, last_year, first, last, first_second(first), first_second(last) + kLastDayInstant};
}

constexpr int64_t serial_of_jan1(int32_t year) noexcept {
    return gregorian::serial_from_civil(static_cast<uint32_t>(year), 1, 1);
}

// Indexed by qel_domain.
constexpr qel_range kRanges[QEL_DOMAIN_COUNT] = {
    day_range(1, 9999, QEL_FIRST_SERIAL, QEL_LAST_SERIAL),
    day_range(lunisolar::kFirstYear, lunisolar::kLastYear, lunisolar::kFirstSerial, lunisolar::kEndSerial - 1),
    day_range(QEL_FIRST_YEAR, QEL_LAST_YEAR, serial_of_jan1(QEL_FIRST_YEAR), serial_of_jan1(QEL_LAST_YEAR + 1) - 1),
    {QEL_FIRST_YEAR, QEL_LAST_YEAR,
     (kPillarsFirstInstant + kCstOffset - floor_mod(kPillarsFirstInstant + kCstOffset, static_cast<int32_t>(kSecondsPerDay))) /
             kSecondsPerDay + kSerialOf1970,
     serial_of_jan1(QEL_LAST_YEAR + 1) - 1, kPillarsFirstInstant, kPillarsEndInstant - 1},
    day_range(kHolidayFirstYear, kHolidayLastYear, kHolidayFirstSerial, kHolidayEndSerial - 1),
};
static_assert(kRanges[QEL_DOMAIN_LUNAR].first_serial == lunisolar::kFirstSerial &&
                  kRanges[QEL_DOMAIN_LUNAR].last_serial == lunisolar::kEndSerial - 1,
              "the lunar range is the table's");

int32_t checked(int32_t reason, int32_t* out) noexcept {
    if (out) *out = reason;
    return status_of(reason);
}

// The layout of qel_day_facts, member by member.
#define QEL_FIELD(member)                                                                                  \
    qel_field {                                                                                           \
        #member, static_cast<uint32_t>(offsetof(qel_day_facts, member)),                                  \
            static_cast<uint32_t>(sizeof(qel_day_facts::member)),                                         \
            static_cast<int32_t>(static_cast<decltype(qel_day_facts::member)>(-1) < 0), 0                 \
    }
constexpr qel_field kDayFactsFields[] = {
    QEL_FIELD(serial),       QEL_FIELD(year),           QEL_FIELD(month),          QEL_FIELD(day),
    QEL_FIELD(weekday),      QEL_FIELD(day_of_year),    QEL_FIELD(flags),          QEL_FIELD(lunar_year),
    QEL_FIELD(lunar_month),  QEL_FIELD(lunar_day),      QEL_FIELD(lunar_leap),     QEL_FIELD(lunar_month_days),
    QEL_FIELD(lunar_leap_month), QEL_FIELD(year_cycle), QEL_FIELD(day_cycle),      QEL_FIELD(term),
    QEL_FIELD(holiday_status), QEL_FIELD(holiday),      QEL_FIELD(reserved),       QEL_FIELD(term_instant),
    QEL_FIELD(festivals),
};
#undef QEL_FIELD

constexpr bool fields_cover_the_structure() noexcept {
    uint32_t end = 0;
    for (const qel_field& f : kDayFactsFields) {
        if (f.offset != end) return false;
        end = f.offset + f.size;
    }
    return end == sizeof(qel_day_facts);
}
static_assert(fields_cover_the_structure(), "every byte of qel_day_facts is a listed field, in order");
static_assert(sizeof(qel_day_facts) == QEL_DAY_FACTS_SIZE_1_0, "the 1.0 layout");

}  // namespace
}  // namespace qel::calendar

using namespace qel::calendar;

extern "C" {

int32_t qel_domain_range(int32_t domain, qel_range* out) noexcept {
    if (domain < 0 || domain >= QEL_DOMAIN_COUNT || out == nullptr) return QEL_E_ARGUMENT;
    *out = kRanges[domain];
    return QEL_OK;
}

int32_t qel_check_date(int32_t year, int32_t month, int32_t day, int32_t* reason) noexcept {
    return checked(date_reason(year, month, day), reason);
}

int32_t qel_check_lunar_in(int32_t calendar, int32_t year, int32_t month, int32_t day, int32_t leap,
                           int32_t* reason) noexcept {
    if (!lunisolar::calendar_ok(calendar)) return checked(QEL_REASON_NONE, reason), QEL_E_ARGUMENT;
    return checked(lunar_reason(static_cast<size_t>(calendar), year, month, day, leap), reason);
}

int32_t qel_check_lunar(int32_t year, int32_t month, int32_t day, int32_t leap, int32_t* reason) noexcept {
    return qel_check_lunar_in(QEL_CALENDAR_CHINESE, year, month, day, leap, reason);
}

int32_t qel_check_time(int32_t hour, int32_t minute, int32_t second, int32_t* reason) noexcept {
    return checked(time_reason(hour, minute, second), reason);
}

int32_t qel_date_message(int32_t year, int32_t month, int32_t day, char* buf, size_t size) noexcept {
    Message m;
    switch (date_reason(year, month, day)) {
        case QEL_REASON_YEAR: m << "year " << year << " is outside 1-9999"; break;
        case QEL_REASON_MONTH: m << "month " << month << " is not 1-12"; break;
        case QEL_REASON_DAY: m << "day " << day << " is not 1-31"; break;
        case QEL_REASON_MONTH_LENGTH:
            m.number(year, 4) << "-";
            m.pad2(month) << " has " << qel::gregorian::days_in_month(year, static_cast<uint32_t>(month))
                          << " days, not " << day;
            break;
        default: break;
    }
    return m.write(buf, size);
}

int32_t qel_lunar_message_in(int32_t calendar, int32_t year, int32_t month, int32_t day, int32_t leap, char* buf,
                             size_t size) noexcept {
    if (!lunisolar::calendar_ok(calendar)) return fail_text(QEL_E_ARGUMENT, buf, size);
    const auto c = static_cast<size_t>(calendar);
    Message m;
    switch (lunar_reason(c, year, month, day, leap)) {
        case QEL_REASON_YEAR:
            m << "lunar year " << year << " is outside " << lunisolar::kFirstYear << "-" << lunisolar::kLastYear;
            break;
        case QEL_REASON_LEAP_FLAG: m << "the leap flag " << leap << " is not 0 or 1"; break;
        case QEL_REASON_MONTH: m << "lunar month " << month << " is not 1-12"; break;
        case QEL_REASON_DAY: m << "lunar day " << day << " is not 1-30"; break;
        case QEL_REASON_NO_LEAP_MONTH: m << "lunar " << year << " has no leap month"; break;
        case QEL_REASON_OTHER_LEAP_MONTH:
            m << "lunar " << year << " has no leap month " << month << " (its leap month is "
              << lunisolar::leap_month(c, year) << ")";
            break;
        case QEL_REASON_MONTH_LENGTH:
            if (leap) m << "leap month " << month << " of lunar " << year;
            else m << "month " << month << " of lunar " << year;
            m << " has " << lunisolar::month_days(c, year, month, leap) << " days, not " << day;
            break;
        default: break;
    }
    return m.write(buf, size);
}

int32_t qel_lunar_message(int32_t year, int32_t month, int32_t day, int32_t leap, char* buf, size_t size) noexcept {
    return qel_lunar_message_in(QEL_CALENDAR_CHINESE, year, month, day, leap, buf, size);
}

int32_t qel_time_message(int32_t hour, int32_t minute, int32_t second, char* buf, size_t size) noexcept {
    Message m;
    switch (time_reason(hour, minute, second)) {
        case QEL_REASON_HOUR: m << "hour " << hour << " is not 0-23"; break;
        case QEL_REASON_MINUTE: m << "minute " << minute << " is not 0-59"; break;
        case QEL_REASON_SECOND: m << "second " << second << " is not 0-59"; break;
        default: break;
    }
    return m.write(buf, size);
}

int32_t qel_range_message(int32_t domain, char* buf, size_t size) noexcept {
    if (domain < 0 || domain >= QEL_DOMAIN_COUNT) return fail_text(QEL_E_ARGUMENT, buf, size);
    const qel_range& r = kRanges[domain];
    Message m;
    switch (domain) {
        case QEL_DOMAIN_GREGORIAN: m << "outside the years " << r.first_year << "-" << r.last_year; break;
        case QEL_DOMAIN_LUNAR:
            m << "outside the lunar years " << r.first_year << "-" << r.last_year << " (";
            m.date(r.first_serial) << " to ";
            m.date(r.last_serial) << ")";
            break;
        case QEL_DOMAIN_TERMS:
            m << "outside the years " << r.first_year << "-" << r.last_year << " of the solar terms and festivals";
            break;
        case QEL_DOMAIN_PILLARS:
            m << "outside the four pillars' span, ";
            m.date(r.first_serial) << " ";
            m.clock(r.first_instant - first_second(r.first_serial)) << " to ";
            m.date(r.last_serial) << " ";
            m.clock(kLastDayInstant) << " UTC+8";
            break;
        default:
            m << "outside the years " << r.first_year << "-" << r.last_year << " of the holiday table";
            break;
    }
    return m.write(buf, size);
}

int32_t qel_status_message(int32_t status, char* buf, size_t size) noexcept {
    Message m;
    switch (status) {
        case QEL_OK: break;
        case QEL_E_RANGE: m << "out of range"; break;
        case QEL_E_DATE: m << "no such date"; break;
        case QEL_E_ARGUMENT: m << "invalid argument"; break;
        default: m << "unknown status " << status; break;
    }
    return m.write(buf, size);
}

int32_t qel_count(int32_t what) noexcept {
    switch (what) {
        case QEL_COUNT_FESTIVALS: return QEL_FESTIVAL_COUNT;
        case QEL_COUNT_HOLIDAYS: return QEL_HOLIDAY_COUNT;
        case QEL_COUNT_TERMS: return kTermsPerYear;
        case QEL_COUNT_NAME_KINDS: return QEL_NAME_KIND_COUNT;
        case QEL_COUNT_DOMAINS: return QEL_DOMAIN_COUNT;
        case QEL_COUNT_REASONS: return QEL_REASON_COUNT;
        case QEL_COUNT_DAY_FACTS_FIELDS: return static_cast<int32_t>(std::size(kDayFactsFields));
        case QEL_COUNT_CALENDARS: return QEL_CALENDAR_COUNT;
        default: return QEL_E_ARGUMENT;
    }
}

int32_t qel_day_facts_field(int32_t index, qel_field* out) noexcept {
    if (index < 0 || static_cast<size_t>(index) >= std::size(kDayFactsFields) || out == nullptr)
        return QEL_E_ARGUMENT;
    *out = kDayFactsFields[index];
    return QEL_OK;
}

int32_t qel_calendar_of_name(const char* name, size_t length) noexcept {
    if (name == nullptr) return QEL_E_ARGUMENT;
    const std::string_view s(name, length);
    if (equal_ascii_nocase(s, "chinese") || s == "农历") return QEL_CALENDAR_CHINESE;
    if (equal_ascii_nocase(s, "korean") || s == "음력") return QEL_CALENDAR_KOREAN;
    if (equal_ascii_nocase(s, "vietnamese") || s == "âm lịch") return QEL_CALENDAR_VIETNAMESE;
    return QEL_E_ARGUMENT;
}

int32_t qel_zi_of_name(const char* name, size_t length) noexcept {
    if (name == nullptr) return QEL_E_ARGUMENT;
    const std::string_view s(name, length);
    if (equal_ascii_nocase(s, "late")) return QEL_ZI_LATE;
    if (equal_ascii_nocase(s, "early")) return QEL_ZI_EARLY;
    return QEL_E_ARGUMENT;
}

}  // extern "C"
