// Fuzzes the text members of TDateTime: the three renderings of any word and
// fromDateString on arbitrary bytes, copied into a heap block of exactly their
// length plus the terminator, so AddressSanitizer reports any read past the
// end of a short text. The checks are those of shared/datetime_checks.h.
#include <memory>

#include "fuzz_support.h"
#include "shared/datetime_checks.h"

using namespace qel::fuzz;
using namespace qel::checks;

namespace {

void render(Args& a) {
    const DateTimeInt w = a.word();
    QEL_FUZZ_CHECK(check_render(w, a.word()));
}

void parse(Args& a) {
    char bytes[25];
    const size_t n = a.text(bytes, sizeof bytes);
    const std::unique_ptr<char[]> exact(new char[n + 1]);
    std::memcpy(exact.get(), bytes, n + 1);
    QEL_FUZZ_CHECK(check_parse(exact.get(), a.word()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return run_operations(data, size, {parse, render});
}
