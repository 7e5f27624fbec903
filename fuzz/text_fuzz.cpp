// Fuzzes the text members of TDateTime: the three renderings of any word and
// fromDateString on arbitrary bytes. The bytes are copied into a heap block
// of exactly their length plus the terminator, so AddressSanitizer reports
// any read past the end of a short text.
#include <cstring>
#include <memory>

#include "fuzz_support.h"

using namespace qel::fuzz;
using namespace qel::datetime;

namespace {

void check_render(Args& a) {
    const DateTimeInt w = a.word();
    const TDateTime t(w);
    char want[64];
    std::snprintf(want, sizeof want, "%d-%02d-%02d %02d:%02d:%02d", t.year(), t.month(), t.day(), t.hour(),
                  t.minute(), t.second());
    const TAnsiString text = t.asDateTimeString();
    QEL_FUZZ_CHECK(std::strcmp(text.c_str(), want) == 0 && text.length() == std::strlen(want));
    const TWideString wide = t.asDateTimeStringW();  // the same text in 16-bit code units
    QEL_FUZZ_CHECK(wide.length() == text.length());
    for (size_t i = 0; i <= text.length(); ++i)
        QEL_FUZZ_CHECK(wide.c_str()[i] == static_cast<unsigned char>(text.c_str()[i]));
    const TAnsiString date = t.asDateString();
    const size_t date_length = std::strchr(want, ' ') - want;
    QEL_FUZZ_CHECK(date.length() == date_length && std::strncmp(date.c_str(), want, date_length) == 0);
    // A four-digit year reads back from the fixed positions.
    if (t.year() >= 1000) {
        TDateTime back(a.word());
        const DateTimeInt kept = back.value & ~kDateBits;
        back.fromDateString(text.c_str());
        QEL_FUZZ_CHECK((back.value & kDateBits) == (w & kDateBits) && (back.value & ~kDateBits) == kept);
    }
}

void check_parse(Args& a) {
    char bytes[25];
    const size_t n = a.text(bytes, sizeof bytes);
    const std::unique_ptr<char[]> exact(new char[n + 1]);
    std::memcpy(exact.get(), bytes, n + 1);
    const DateTimeInt w = a.word();
    TDateTime t(w);
    QEL_FUZZ_CHECK(&t.fromDateString(exact.get()) == &t);
    const DateTimeInt want = pack(TAnsiString::StrToInt(exact.get(), 0, 4), TAnsiString::StrToInt(exact.get(), 5, 2),
                                  TAnsiString::StrToInt(exact.get(), 8, 2), 0, 0, 0);
    QEL_FUZZ_CHECK((t.value & kDateBits) == want && (t.value & ~kDateBits) == (w & ~kDateBits));
    t.fromDateString(nullptr);  // a null text changes nothing
    QEL_FUZZ_CHECK((t.value & kDateBits) == want);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return run_operations(data, size, {check_parse, check_render});
}
