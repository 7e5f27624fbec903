// GBK <-> UTF-8 (iconv on POSIX systems, the code-page functions of Windows)
// and the column width of CJK text.
#include "encoding.h"

#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace qeldate {
namespace {

#if defined(_WIN32)
constexpr UINT kGbkCodePage = 936;  // Windows' GBK

// Windows converts between code pages through UTF-16.
std::wstring to_utf16(std::string_view text, UINT code_page, const char* name) {
    if (text.empty()) return {};
    const int in_size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text.data(), in_size, nullptr, 0);
    if (n <= 0) throw std::runtime_error(std::string("text is not valid ") + name);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text.data(), in_size, out.data(), n);
    return out;
}

// UTF-16 to a code page; a character the code page lacks is an error, never
// a silent '?'. (The used-default flag is only defined for code pages other
// than UTF-8, and UTF-8 can encode every character anyway.)
std::string from_utf16(std::wstring_view text, UINT code_page, const char* name) {
    if (text.empty()) return {};
    const int in_size = static_cast<int>(text.size());
    BOOL used_default = FALSE;
    BOOL* lossy = code_page == CP_UTF8 ? nullptr : &used_default;
    const int n = WideCharToMultiByte(code_page, 0, text.data(), in_size, nullptr, 0, nullptr, lossy);
    if (n <= 0 || used_default) throw std::runtime_error(std::string("text has no ") + name + " form");
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(code_page, 0, text.data(), in_size, out.data(), n, nullptr, nullptr);
    return out;
}
#else
// One iconv conversion of a whole text. GBK characters take two bytes and at
// most three in UTF-8, so the output never needs more than twice the input
// (plus room for the shift-free reset).
std::string convert(std::string_view text, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    std::string out(text.size() * 2 + 8, '\0');
    char* in_ptr = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char* out_ptr = out.data();
    size_t out_left = out.size();
    const size_t done = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    const int error = errno;
    iconv_close(cd);
    if (done == static_cast<size_t>(-1) || in_left != 0)
        throw std::runtime_error(std::string("text is not valid ") + from + (error == EILSEQ ? "" : " (truncated)"));
    out.resize(out.size() - out_left);
    return out;
}
#endif

// East Asian Wide and Fullwidth blocks (Unicode UAX #11) that Chinese text uses.
bool is_wide(char32_t cp) {
    return (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) || (cp >= 0xAC00 && cp <= 0xD7A3) ||
           (cp >= 0xF900 && cp <= 0xFAFF) || (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
           (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x20000 && cp <= 0x3FFFD);
}

}  // namespace

#if defined(_WIN32)
std::string utf16_to_utf8(std::wstring_view utf16) { return from_utf16(utf16, CP_UTF8, "UTF-8"); }
std::string gbk_to_utf8(std::string_view gbk) { return utf16_to_utf8(to_utf16(gbk, kGbkCodePage, "GBK")); }
std::string utf8_to_gbk(std::string_view utf8) { return from_utf16(to_utf16(utf8, CP_UTF8, "UTF-8"), kGbkCodePage, "GBK"); }
#else
std::string gbk_to_utf8(std::string_view gbk) { return convert(gbk, "UTF-8", "GBK"); }
std::string utf8_to_gbk(std::string_view utf8) { return convert(utf8, "GBK", "UTF-8"); }
#endif

int display_width(std::string_view text, Encoding encoding) {
    if (encoding == Encoding::kGbk) return static_cast<int>(text.size());
    int width = 0;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t len = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t cp = len == 1 ? lead : lead & (0x3F >> (len - 1));
        for (size_t k = 1; k < len && i + k < text.size(); ++k) cp = (cp << 6) | (text[i + k] & 0x3F);
        width += is_wide(cp) ? 2 : 1;
        i += len;
    }
    return width;
}

std::string pad_right(std::string_view text, int width, Encoding encoding) {
    const int used = display_width(text, encoding);
    return std::string(text) + std::string(static_cast<size_t>(used < width ? width - used : 0), ' ');
}

std::string centre(std::string_view text, int width, Encoding encoding) {
    const int used = display_width(text, encoding);
    const int left = used < width ? (width - used) / 2 : 0;
    return pad_right(std::string(static_cast<size_t>(left), ' ') + std::string(text), width, encoding);
}

std::string Text::lib(const TAnsiString& gbk) const {
    const std::string_view bytes(gbk.c_str(), gbk.length());
    return encoding_ == Encoding::kGbk ? std::string(bytes) : gbk_to_utf8(bytes);
}

std::string Text::own(std::string_view utf8) const {
    return encoding_ == Encoding::kUtf8 ? std::string(utf8) : utf8_to_gbk(utf8);
}

}  // namespace qeldate
