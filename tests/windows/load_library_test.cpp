// qel_datetime.dll and qel_calendar.dll as a Windows application meets them
// at run time: loaded with LoadLibrary, their C functions found by name,
// called from many threads at once, then unloaded, and all of that several
// times over. Every thread must get the answers of the first, single-threaded
// run, and after FreeLibrary no DLL of the project may stay in the process.
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
    decltype(&EncodeDate) encode;
    decltype(&DecodeDate) decode;
    decltype(&DayOfWeek) weekday;
    decltype(&GDateToPDate) to_lunar;
    decltype(&PDateToGDate) to_gregorian;
    decltype(&getLunarTermDay) term_day;
    decltype(&qel_lunar_of_serial) calendar_lunar;
};

template <class F>
bool find(HMODULE module, const char* name, F& out) {
    out = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (!out) std::printf("GetProcAddress(%s) failed\n", name);
    return out != nullptr;
}

// Every day of 1900-2100 through the Gregorian and lunar conversions and back,
// and every solar term, folded into one checksum; a round trip that fails, or
// a lunar date on which the two libraries disagree, poisons it.
uint64_t workload(const Api& api) {
    uint64_t sum = 0;
    for (DateInt serial = api.encode(1900, 1, 1), last = api.encode(2100, 12, 31); serial <= last; ++serial) {
        unsigned short y = 0, m = 0, d = 0;
        api.decode(serial, &y, &m, &d);
        int32_t ly = 0, lm = 0, ld = 0, leap = 0, gy = 0, gm = 0, gd = 0;
        const int32_t status = api.to_lunar(y, m, d, &ly, &lm, &ld, &leap);
        const bool back = api.to_gregorian(ly, lm, ld, leap, &gy, &gm, &gd) == 1 && gy == y && gm == m && gd == d;
        qel_lunar_date c{};
        const bool agree = serial < QEL_FIRST_LUNAR_SERIAL ||
                           (api.calendar_lunar(serial, &c) == QEL_OK && c.year == ly && c.month == lm &&
                            c.day == ld && c.leap == leap);
        if (api.encode(y, m, d) != serial || status != 1 || !back || !agree) return 0;
        sum = sum * 31 + uint64_t(ly * 10000 + lm * 100 + ld) * 2 + uint64_t(leap) + uint64_t(api.weekday(serial));
    }
    for (int32_t year = 1900; year <= 2100; ++year)
        for (int32_t term = 1; term <= 24; ++term) sum = sum * 31 + api.term_day(year, term);
    return sum;
}

int run_once(int round, uint64_t& expected) {
    HMODULE module = LoadLibraryW(L"qel_datetime.dll"), calendar = LoadLibraryW(L"qel_calendar.dll");
    if (!module || !calendar) {
        std::printf("round %d: LoadLibrary failed (error %lu)\n", round, GetLastError());
        return 1;
    }
    Api api{};
    const bool found = find(module, "EncodeDate", api.encode) && find(module, "DecodeDate", api.decode) &&
                       find(module, "DayOfWeek", api.weekday) && find(module, "GDateToPDate", api.to_lunar) &&
                       find(module, "PDateToGDate", api.to_gregorian) &&
                       find(module, "getLunarTermDay", api.term_day) &&
                       find(calendar, "qel_lunar_of_serial", api.calendar_lunar);
    int failures = found ? 0 : 1;
    if (found) {
        // Facts known from the calendar itself: 2000-01-01 is serial 36526, a
        // Saturday; 2017-07-23 is the first day of the leap sixth month.
        int32_t ly = 0, lm = 0, ld = 0, leap = 0;
        api.to_lunar(2017, 7, 23, &ly, &lm, &ld, &leap);
        if (api.encode(2000, 1, 1) != 36526 || api.weekday(36526) != 6 || ly != 2017 || lm != 6 || ld != 1 || leap != 1) {
            std::printf("round %d: known dates answered wrongly\n", round);
            ++failures;
        }
        if (expected == 0) expected = workload(api);
        if (expected == 0) {
            std::printf("round %d: a round trip failed\n", round);
            ++failures;
        }
        std::atomic<int> wrong{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < 8; ++t)
            threads.emplace_back([&] {
                if (workload(api) != expected) ++wrong;
            });
        for (std::thread& t : threads) t.join();
        if (wrong != 0) {
            std::printf("round %d: %d of 8 threads got different answers\n", round, wrong.load());
            ++failures;
        }
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
