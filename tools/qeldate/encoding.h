// Text in qeldate: UTF-8 inside, converted to GBK (code page 936) or GB2312
// (EUC-CN, code page 20936) only when written, if the user or the locale asks
// for it. Conversions go through iconv on POSIX
// systems and through the code-page functions on Windows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qeldate {

enum class Encoding { kUtf8, kGbk, kGb2312 };

// "utf8", "utf-8", "gbk", "gb18030", "cp936", "gb2312", "euc-cn", any case;
// nothing for another name.
std::optional<Encoding> encoding_named(std::string_view name);
// The encoding of the locale (LC_ALL, else LC_CTYPE, else LANG): GBK when its
// codeset is GBK, GB18030 or CP936 (zh_CN.GBK); GB2312 when it is GB2312 or
// EUC-CN, or when a zh_CN or zh_SG locale names no codeset (glibc's zh_CN is
// GB2312); else UTF-8.
Encoding locale_encoding();
// Whether the locale's language is Chinese (zh_*): Chinese-first output.
bool locale_is_chinese();
// The locale's language: the two letters before "_" (ko of ko_KR.UTF-8), ""
// for none (C, POSIX, unset).
std::string locale_language();

// Whole-text conversions; bytes that are not valid in the source encoding,
// or a character the target lacks (named by its code point), throw
// std::runtime_error (the tool then exits with status 1).
std::string gbk_to_utf8(std::string_view gbk);
std::string from_utf8(std::string_view utf8, Encoding to);
// The same for messages, which must always get through: a character the
// target lacks becomes \uXXXX.
std::string from_utf8_escaped(std::string_view utf8, Encoding to);
#if defined(_WIN32)
// Text from a Windows API (UTF-16) as UTF-8.
std::string utf16_to_utf8(std::wstring_view utf16);
#endif

bool is_valid_utf8(std::string_view text);
// `text` with every byte that is not part of a valid UTF-8 sequence written as
// \xNN, so that it can stand in UTF-8 output; with `reversible`, a backslash
// as \\ too, so that the bytes can be read back.
std::string escape_invalid_utf8(std::string_view text, bool reversible = false);

// Terminal columns of UTF-8 text: a CJK character two, others one.
int display_width(std::string_view text);
// `text` padded with spaces: on the right to `width` columns, or centred (the
// odd column goes to the right).
std::string pad_right(std::string_view text, int width);
std::string centre(std::string_view text, int width);

// User input as an error message may show it: in quotes, control characters,
// invisible format characters (a byte order mark, zero-width spaces) and
// invalid bytes escaped (\x1b, \ufeff), cut after 40 characters with "...".
std::string quote_input(std::string_view input);

}  // namespace qeldate
