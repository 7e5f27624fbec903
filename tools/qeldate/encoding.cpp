// GBK <-> UTF-8 (iconv on POSIX systems, the code-page functions of Windows)
// and the column width of CJK text.
#include "encoding.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>

#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>
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

// GB2312 in its EUC-CN form is the part of GBK whose two bytes both lie in
// A1-FE: GBK kept GB2312's codes and put its additions elsewhere. Windows
// installations (and Wine) may lack code page 20936, so GB2312 is GBK with
// that check rather than a code page of its own.
bool within_gb2312(std::string_view gbk) {
    for (size_t i = 0; i < gbk.size(); ++i) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead < 0x80) continue;
        if (i + 1 >= gbk.size()) return false;
        const auto trail = static_cast<unsigned char>(gbk[++i]);
        if (lead < 0xA1 || lead > 0xFE || trail < 0xA1 || trail > 0xFE) return false;
    }
    return true;
}

// Valid UTF-8 in a Chinese code page, or nothing when a character has no form there.
std::optional<std::string> encode(std::string_view utf8, Encoding to) {
    try {
        std::string gbk = from_utf16(to_utf16(utf8, CP_UTF8, "UTF-8"), kGbkCodePage, "GBK");
        if (to == Encoding::kGb2312 && !within_gb2312(gbk)) return std::nullopt;
        return gbk;
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}
#else
// One iconv conversion of a whole text, or nothing when a byte sequence is
// invalid in `from` or has no form in `to`. GBK characters take two bytes and
// at most three in UTF-8, so the output never needs more than twice the input
// (plus room for the shift-free reset).
std::optional<std::string> convert(std::string_view text, const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    std::string out(text.size() * 2 + 8, '\0');
    char* in_ptr = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char* out_ptr = out.data();
    size_t out_left = out.size();
    const size_t done = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1) || in_left != 0) return std::nullopt;
    out.resize(out.size() - out_left);
    return out;
}

std::optional<std::string> encode(std::string_view utf8, Encoding to) {
    return convert(utf8, to == Encoding::kGbk ? "GBK" : "GB2312", "UTF-8");
}
#endif

const char* encoding_label(Encoding e) { return e == Encoding::kGbk ? "GBK" : e == Encoding::kGb2312 ? "GB2312" : "UTF-8"; }

// One UTF-8 sequence at text[i]: its code point and length, or length 0 for
// a byte that starts no valid sequence.
struct Decoded {
    char32_t code = 0;
    size_t length = 0;
};
Decoded decode(std::string_view text, size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t len = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 0;
    if (len == 0 || i + len > text.size() || !is_valid_utf8(text.substr(i, len))) return {lead, 0};
    char32_t code = len == 1 ? lead : lead & (0xFFu >> (len + 1));
    for (size_t k = 1; k < len; ++k) code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
    return {code, len};
}

std::string code_point_name(char32_t code) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(code));
    return buffer;
}

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
#else
std::string gbk_to_utf8(std::string_view gbk) {
    std::optional<std::string> utf8 = convert(gbk, "UTF-8", "GBK");
    if (!utf8) throw std::runtime_error("text is not valid GBK");
    return *std::move(utf8);
}
#endif

// A failed conversion is found again character by character, so that the
// message can name the character (a user with a GB2312 terminal learns which
// one needs GBK or UTF-8).
std::string from_utf8(std::string_view utf8, Encoding to) {
    if (to == Encoding::kUtf8) return std::string(utf8);
    if (std::optional<std::string> out = encode(utf8, to)) return *std::move(out);
    for (size_t i = 0; i < utf8.size();) {
        const Decoded d = decode(utf8, i);
        if (d.length == 0) throw std::runtime_error("text is not valid UTF-8");
        if (!encode(utf8.substr(i, d.length), to))
            throw std::runtime_error("the character " + code_point_name(d.code) + " has no " + encoding_label(to) +
                                     " form: use --encoding utf8" + (to == Encoding::kGb2312 ? " or gbk" : ""));
        i += d.length;
    }
    throw std::runtime_error(std::string("text has no ") + encoding_label(to) + " form");
}

std::string from_utf8_escaped(std::string_view utf8, Encoding to) {
    const std::string text = escape_invalid_utf8(utf8);
    if (to == Encoding::kUtf8) return text;
    if (std::optional<std::string> out = encode(text, to)) return *std::move(out);
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const Decoded d = decode(text, i);
        if (const std::optional<std::string> one = encode(text.substr(i, d.length), to)) {
            out += *one;
        } else {
            char escaped[16];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(d.code));
            out += escaped;
        }
        i += d.length;
    }
    return out;
}

bool is_valid_utf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t len = 0;
        char32_t cp = 0;
        if (lead < 0x80) len = 1, cp = lead;
        else if (lead >= 0xC2 && lead < 0xE0) len = 2, cp = lead & 0x1Fu;
        else if (lead >= 0xE0 && lead < 0xF0) len = 3, cp = lead & 0x0Fu;
        else if (lead >= 0xF0 && lead < 0xF5) len = 4, cp = lead & 0x07u;
        else return false;
        if (i + len > text.size()) return false;
        for (size_t k = 1; k < len; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        // Overlong forms, surrogates and code points past U+10FFFF.
        if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

std::string escape_invalid_utf8(std::string_view text, bool reversible) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (reversible && text[i] == '\\') {
            out += "\\\\";
            ++i;
            continue;
        }
        if (const Decoded d = decode(text, i); d.length > 0) {
            out.append(text.substr(i, d.length));
            i += d.length;
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(text[i]));
        out += escaped;
        ++i;
    }
    return out;
}

int display_width(std::string_view text) {
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

std::string pad_right(std::string_view text, int width) {
    const int used = display_width(text);
    std::string out(text);
    out.append(static_cast<size_t>(used < width ? width - used : 0), ' ');
    return out;
}

std::string centre(std::string_view text, int width) {
    const int used = display_width(text);
    std::string out(static_cast<size_t>(used < width ? (width - used) / 2 : 0), ' ');
    out.append(text);
    return pad_right(out, width);
}

std::string quote_input(std::string_view input) {
    constexpr size_t kMaxShown = 40;
    std::string out = "'";
    size_t shown = 0;
    for (size_t i = 0; i < input.size(); ++shown) {
        if (shown == kMaxShown) {
            out += "...";
            break;
        }
        const auto c = static_cast<unsigned char>(input[i]);
        const size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        if (c >= 0x80 && i + len <= input.size() && is_valid_utf8(input.substr(i, len))) {
            uint32_t code = c & (0xFF >> (len + 1));
            for (size_t k = 1; k < len; ++k) code = code << 6 | (static_cast<unsigned char>(input[i + k]) & 0x3F);
            // C1 controls (U+009B opens a terminal sequence), the marks that
            // reorder the text around them, and the invisible ones (zero-width
            // spaces and joiners, the byte order mark) are shown, not sent to
            // the terminal.
            const bool control = code <= 0x9F || code == 0x061C || (code >= 0x200B && code <= 0x200F) ||
                                 (code >= 0x202A && code <= 0x202E) || (code >= 0x2060 && code <= 0x2069) ||
                                 code == 0xFEFF;
            char escaped[12];
            if (control) std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(code));
            out.append(control ? std::string_view(escaped) : input.substr(i, len));
            i += len;
            continue;
        }
        if (c < 0x20 || c == 0x7F || c >= 0x80 || c == '\\' || c == '\'') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, c == '\\' || c == '\'' ? "\\%c" : "\\x%02x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "'";
}

namespace {

std::string upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    return out;
}

// The locale's name as the C library reads it: LC_ALL, LC_CTYPE, LANG.
std::string locale_name() {
    for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"})
        if (const char* value = std::getenv(var); value && *value) return value;
    return "";
}

}  // namespace

std::optional<Encoding> encoding_named(std::string_view name) {
    const std::string n = upper(name);
    if (n == "UTF8" || n == "UTF-8") return Encoding::kUtf8;
    if (n == "GBK" || n == "GB18030" || n == "CP936") return Encoding::kGbk;
    if (n == "GB2312" || n == "EUC-CN" || n == "EUCCN") return Encoding::kGb2312;
    return std::nullopt;
}

Encoding locale_encoding() {
    const std::string name = upper(locale_name());
    const size_t dot = name.find('.');
    if (dot == std::string::npos) {
        // glibc's locales without a codeset: zh_CN and zh_SG are GB2312.
        const std::string language = name.substr(0, name.find('@'));
        return language == "ZH_CN" || language == "ZH_SG" ? Encoding::kGb2312 : Encoding::kUtf8;
    }
    const std::string codeset = name.substr(dot + 1, name.find('@') - dot - 1);
    if (codeset == "GB2312" || codeset == "EUCCN" || codeset == "EUC-CN") return Encoding::kGb2312;
    return codeset == "GBK" || codeset == "GB18030" || codeset == "CP936" ? Encoding::kGbk : Encoding::kUtf8;
}

bool locale_is_chinese() { return locale_name().rfind("zh", 0) == 0; }

std::string locale_language() {
    const std::string n = locale_name();
    return n.size() >= 2 && std::islower(static_cast<unsigned char>(n[0])) && std::islower(static_cast<unsigned char>(n[1])) &&
                   (n.size() == 2 || n[2] == '_' || n[2] == '.')
               ? n.substr(0, 2)
               : "";
}

}  // namespace qeldate
