// Fuzzes every export of qel_common, qel_datetime and qel_calendar through the probe list
// of tests/reliability/probes.h, the one list the thread, allocation and
// timing tests walk: the input picks a probe and, for each parameter, a value
// of its hostile domain (shared/hostile.h), one moved by a small signed step,
// or raw bytes. AddressSanitizer, UBSan and libFuzzer's timeout catch any
// out-of-bounds access, overflow or long loop; a probe that answers twice
// differently for the same arguments aborts. Arbitrary bytes also go to the
// text parsers in a heap block of exactly their length, so a read past the
// end is reported. What each export must answer is checked by the unit
// tests, which sweep the checks of tests/shared over whole ranges.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "reliability/probes.h"

namespace {

using qel::reliability::Kind;

// Parameters whose value indexes a buffer, a table or a list: from the domain only.
bool indexes_storage(Kind k) { return k == Kind::Out || k == Kind::Table || k == Kind::Text || k == Kind::Size; }

int64_t value(FuzzedDataProvider& in, Kind kind) {
    const auto& domain = qel::reliability::values_of(kind);
    const auto how = in.ConsumeIntegral<uint8_t>();
    const int64_t base = domain[how % domain.size()];
    if (how < 96 || indexes_storage(kind)) return base;
    if (how < 208)  // a neighbour of a boundary, wrapping like two's complement
        return static_cast<int64_t>(static_cast<uint64_t>(base) + static_cast<uint64_t>(in.ConsumeIntegral<int8_t>()));
    return in.ConsumeIntegral<int64_t>();
}

void parse_text(FuzzedDataProvider& in) {
    const std::string bytes = in.ConsumeRandomLengthString(32);
    const std::unique_ptr<char[]> exact(new char[bytes.size() + 1]);
    std::memcpy(exact.get(), bytes.c_str(), bytes.size() + 1);
    TDateTime parsed(in.ConsumeIntegral<uint64_t>());
    parsed.fromDateString(exact.get());
    qel_term_of_name(exact.get(), bytes.size());
    qel_festival_of_name(exact.get(), bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const auto& probes = qel::reliability::probes();
    while (in.remaining_bytes() > 0) {
        const size_t pick = in.ConsumeIntegral<uint16_t>() % (probes.size() + 1);  // the last: text
        if (pick == probes.size()) {
            parse_text(in);
            continue;
        }
        const auto& probe = probes[pick];
        int64_t args[16] = {};
        for (size_t k = 0; k < probe.kinds.size(); ++k) args[k] = value(in, probe.kinds[k]);
        const uint64_t first = probe.call(args);
        if (!(probe.traits & qel::reliability::kReadsClock) && probe.call(args) != first) std::abort();
    }
    return 0;
}
