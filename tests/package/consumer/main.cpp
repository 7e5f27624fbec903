#include <cstdio>

#include <qel_datetime.h>

int main() {
    TDateTime t(2000, 2, 29, 23, 59, 58);
    TAnsiString s;
    s.Sprintf("%d", static_cast<int>(EncodeDate(2000, 2, 29)));
    const bool ok = t.asUInt64() == 0x1F40BB7EFAull && s.length() == 5 && t.year() == 2000;
    std::puts(ok ? "consumer: ok" : "consumer: wrong answers");
    return ok ? 0 : 1;
}
