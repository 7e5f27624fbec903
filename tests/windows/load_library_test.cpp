// qel_datetime.dll and qel_calendar.dll as a Windows application meets them
// at run time: loaded with LoadLibrary, their C functions found by name,
// called from many threads at once, then unloaded, five times over. Every
// thread must get the answers of the first, single-threaded run, and after
// FreeLibrary no DLL of the project may stay in the process.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

#include "qel_calendar.h"
#include "qel_datetime.h"

namespace {

struct Api {
    decltype(&EncodeDate) encode = nullptr;
    decltype(&GDateToPDate) to_lunar = nullptr;
    decltype(&getLunarTermDay) term_day = nullptr;
    decltype(&qel_lunar_of_serial) calendar_lunar = nullptr;
};

template <class F>
void find(HMODULE module, const char* name, F& out) {
    out = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (!out) std::printf("GetProcAddress(%s) failed\n", name);
}

// Every seventh day of 1900-2100 through both libraries' lunar conversions,
// and every solar term, folded into one checksum: enough calls for the
// threads to overlap. (What each call answers is the unit tests' job; they
// run under Wine too.)
uint64_t workload(const Api& api) {
    uint64_t sum = 0;
    for (DateInt serial = api.encode(1900, 1, 1); serial <= api.encode(2100, 12, 31); serial += 7) {
        qel_lunar_date c{};
        sum = sum * 31 + uint64_t(api.calendar_lunar(serial, &c)) + uint64_t(c.year * 10000 + c.month * 100 + c.day) * 2 + uint64_t(c.leap);
    }
    for (int32_t y = 1900; y <= 2100; y += 3) {
        int32_t ly = 0, lm = 0, ld = 0, leap = 0;
        sum = sum * 31 + uint64_t(api.to_lunar(y, 5, 17, &ly, &lm, &ld, &leap)) + uint64_t(ly * 10000 + lm * 100 + ld + leap);
        for (int32_t term = 0; term < 24; ++term) sum = sum * 31 + api.term_day(y, term);
    }
    return sum;
}

int run_once(int round, uint64_t& expected) {
    HMODULE module = LoadLibraryW(L"qel_datetime.dll"), calendar = LoadLibraryW(L"qel_calendar.dll");
    if (!module || !calendar) {
        std::printf("round %d: LoadLibrary failed (error %lu)\n", round, GetLastError());
        return 1;
    }
    Api api;
    find(module, "EncodeDate", api.encode), find(module, "GDateToPDate", api.to_lunar);
    find(module, "getLunarTermDay", api.term_day), find(calendar, "qel_lunar_of_serial", api.calendar_lunar);
    int failures = api.encode && api.to_lunar && api.term_day && api.calendar_lunar ? 0 : 1;
    if (failures == 0) {
        // 2000-01-01 is serial 36526; 2017-07-23 is the first day of the leap sixth month.
        int32_t ly = 0, lm = 0, ld = 0, leap = 0;
        api.to_lunar(2017, 7, 23, &ly, &lm, &ld, &leap);
        if (expected == 0) expected = workload(api);
        if (api.encode(2000, 1, 1) != 36526 || ly != 2017 || lm != 6 || ld != 1 || leap != 1 || expected == 0) {
            std::printf("round %d: known dates answered wrongly\n", round);
            ++failures;
        }
        std::atomic<int> wrong{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t) threads.emplace_back([&] { wrong += workload(api) != expected; });
        for (std::thread& t : threads) t.join();
        if (wrong != 0) std::printf("round %d: %d of 8 threads got different answers\n", round, wrong.load());
        failures += wrong != 0;
    }
    if (!(FreeLibrary(calendar) & FreeLibrary(module))) {  // both, whatever the first returns
        std::printf("round %d: FreeLibrary failed\n", round);
        ++failures;
    }
    for (const wchar_t* name : {L"qel_calendar.dll", L"qel_datetime.dll", L"qel_common.dll"})
        if (GetModuleHandleW(name)) {
            std::printf("round %d: %ls still loaded after FreeLibrary\n", round, name);
            ++failures;
        }
    return failures;
}

}  // namespace

int main() {
    uint64_t expected = 0;
    int failures = 0;
    for (int round = 1; round <= 5; ++round) failures += run_once(round, expected);
    std::printf("%s: 5 rounds of load, 8 threads, unload\n", failures ? "FAILED" : "passed");
    return failures ? 1 : 0;
}
