// TDateTime and TDate: construction, field access, whole-word operations,
// comparison, and the two C-linkage functions that pack and unpack the word.
// Nothing here steps through the calendar except the conversions with day
// serials, which go through the Gregorian encoder and decoder.
#include <cstdint>
#include <type_traits>

#include "datetime/packed.h"
#include "gregorian/civil.h"
#include "qel_datetime.h"

using namespace qel::datetime;
namespace greg = qel::gregorian;

// ---- TDateTime ----

TDateTime::TDateTime() noexcept : value(0) {}

TDateTime::TDateTime(QelLong year, QelLong month, QelLong day, QelLong hour, QelLong minute,
                     QelLong second) noexcept
    : value(pack(year, month, day, hour, minute, second)) {}

TDateTime::TDateTime(DateTimeInt word) noexcept : value(word) {}

// Writes only the date fields; the time of day and the reserved bits start at
// 0, as in the other constructors.
TDateTime::TDateTime(const TDate& date) noexcept : value(pack(date.wYear, date.wMonth, date.wDay, 0, 0, 0)) {}

TDateTime& TDateTime::operator=(const TDateTime& other) noexcept {
    value = other.value;
    return *this;
}

bool TDateTime::operator==(DateTimeInt& word) const noexcept { return value == word; }
bool TDateTime::operator==(const TDateTime& other) const noexcept { return value == other.value; }
bool TDateTime::operator!=(DateTimeInt& word) const noexcept { return value != word; }
bool TDateTime::operator<(const TDateTime& other) const noexcept {
    return (value & kKeyBits) < (other.value & kKeyBits);
}
bool TDateTime::operator<=(const TDateTime& other) const noexcept {
    return (value & kKeyBits) <= (other.value & kKeyBits);
}
bool TDateTime::operator>(const TDateTime& other) const noexcept {
    return (value & kKeyBits) > (other.value & kKeyBits);
}
bool TDateTime::operator>=(const TDateTime& other) const noexcept {
    return (value & kKeyBits) >= (other.value & kKeyBits);
}

void TDateTime::clear() noexcept { value = 0; }
bool TDateTime::isNull() const noexcept { return value == 0; }
TDateTime TDateTime::null() noexcept { return TDateTime(); }

TDateTime& TDateTime::copyDate(const TDateTime& other) noexcept {
    value = (value & ~kDateBits) | (other.value & kDateBits);
    return *this;
}

bool TDateTime::dateEqual(DateTimeInt& word) noexcept { return ((value ^ word) & kDateBits) == 0; }
bool TDateTime::dateEqual(const TDateTime& other) noexcept {
    return ((value ^ other.value) & kDateBits) == 0;
}

int32_t TDateTime::year() const noexcept { return kYear.get(value); }
int32_t TDateTime::getYear() const noexcept { return kYear.get(value); }
int32_t TDateTime::month() const noexcept { return kMonth.get(value); }
int32_t TDateTime::day() const noexcept { return kDay.get(value); }
int32_t TDateTime::hour() const noexcept { return kHour.get(value); }
int32_t TDateTime::minute() const noexcept { return kMinute.get(value); }
int32_t TDateTime::second() const noexcept { return kSecond.get(value); }

void TDateTime::setYear(QelLong year) noexcept { value = kYear.set(value, year); }
void TDateTime::setMonth(QelLong month) noexcept { value = kMonth.set(value, month); }
void TDateTime::setday(int32_t day) noexcept { value = kDay.set(value, day); }
void TDateTime::sethour(int32_t hour) noexcept { value = kHour.set(value, hour); }
void TDateTime::setminute(int32_t minute) noexcept { value = kMinute.set(value, minute); }
void TDateTime::setsecond(int32_t second) noexcept { value = kSecond.set(value, second); }

TDateTime& TDateTime::setDate(QelLong year, QelLong month, QelLong day) noexcept {
    value = kDay.set(kMonth.set(kYear.set(value, year), month), day);
    return *this;
}

TDateTime& TDateTime::setDate(const int64_t& serial) noexcept {
    const greg::CivilDate date = greg::decode(serial);
    return setDate(date.year, date.month, date.day);
}

TDateTime& TDateTime::setTime(QelLong hour, QelLong minute, QelLong second) noexcept {
    value = kSecond.set(kMinute.set(kHour.set(value, hour), minute), second);
    return *this;
}

TDateTime& TDateTime::setDateTime(QelLong year, QelLong month, QelLong day, QelLong hour,
                                  QelLong minute, QelLong second) noexcept {
    value = (value & kReservedBits) | pack(year, month, day, hour, minute, second);
    return *this;
}

TDateTime& TDateTime::setUInt64(DateTimeInt word) noexcept {
    value = word;
    return *this;
}

// The writable reference of a const member: the word itself, for callers that
// hold the value in non-const storage.
DateTimeInt& TDateTime::asDateTimeInt() const noexcept { return const_cast<DateTimeInt&>(value); }
const DateTimeInt& TDateTime::asUInt64() const noexcept { return value; }

// ---- TDate ----

TDate::TDate() noexcept : wYear(0), wMonth(0), wDay(0) {}

TDate::TDate(unsigned short year, unsigned short month, unsigned short day) noexcept
    : wYear(year), wMonth(month), wDay(day) {}

TDate::TDate(int64_t serial) noexcept {
    const greg::CivilDate date = greg::decode(serial);
    wYear = date.year;
    wMonth = date.month;
    wDay = date.day;
}

TDate& TDate::setdays(int32_t year, int32_t month, int32_t day) noexcept {
    wYear = static_cast<uint16_t>(year);
    wMonth = static_cast<uint16_t>(month);
    wDay = static_cast<uint16_t>(day);
    return *this;
}

TDate& TDate::operator=(const TDate& other) noexcept {
    wYear = other.wYear;
    wMonth = other.wMonth;
    wDay = other.wDay;
    return *this;
}

DateInt TDate::asDateInt() const noexcept { return EncodeDate(wYear, wMonth, wDay); }
int32_t TDate::year() const noexcept { return wYear; }
int32_t TDate::month() const noexcept { return wMonth; }
int32_t TDate::day() const noexcept { return wDay; }

TDate& TDate::fromDateTime(const TDateTime& value) noexcept {
    wYear = static_cast<uint16_t>(kYear.get(value.value));
    wMonth = static_cast<uint16_t>(kMonth.get(value.value));
    wDay = static_cast<uint16_t>(kDay.get(value.value));
    return *this;
}

// ---- C linkage ----

extern "C" {

DateTimeInt EncodeMinuteTime(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                             int32_t second) noexcept {
    return pack(year, month, day, hour, minute, second);
}

void DecodeMinuteTime(DateTimeInt value, int32_t* year, int32_t* month, int32_t* day, int32_t* hour,
                      int32_t* minute, int32_t* second) noexcept {
    if (year) *year = kYear.get(value);
    if (month) *month = kMonth.get(value);
    if (day) *day = kDay.get(value);
    if (hour) *hour = kHour.get(value);
    if (minute) *minute = kMinute.get(value);
    if (second) *second = kSecond.get(value);
}

}  // extern "C"

static_assert(sizeof(TDateTime) == 8, "TDateTime is one 64-bit word");
static_assert(sizeof(TDate) == 6, "TDate is three 16-bit fields");
static_assert(std::is_standard_layout_v<TDateTime> && std::is_standard_layout_v<TDate>, "plain data");
