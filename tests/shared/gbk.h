// UTF-8 text in GBK, converted by the platform (glibc's iconv(3); code page
// 936 on Windows): the oracle of the GBK names, independent of their tables.
#pragma once

#include <string>

#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace qel::oracle {

inline std::string gbk(std::string utf8) {
#if defined(_WIN32)
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), int(wide.size()))));
    std::string out(2 * wide.size(), '\0');
    out.resize(size_t(WideCharToMultiByte(936, 0, wide.data(), int(wide.size()), out.data(), int(out.size()), nullptr,
                                          nullptr)));
    return out;
#else
    thread_local const iconv_t cd = iconv_open("GBK", "UTF-8");
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // the initial state
    std::string out(2 * utf8.size(), '\0');
    char *src = utf8.data(), *dst = out.data();
    size_t src_left = utf8.size(), dst_left = out.size();
    if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<size_t>(-1)) return "<not GBK>";
    return out.substr(0, out.size() - dst_left);
#endif
}

}  // namespace qel::oracle
