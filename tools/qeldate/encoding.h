// Output text of qeldate: the library's Chinese names arrive as GBK bytes
// (code page 936), the tool's own names are UTF-8 literals; both leave in the
// encoding the user asked for. Conversions go through iconv on POSIX systems
// and through the code-page functions (GBK is code page 936) on Windows.
#pragma once

#include <string>
#include <string_view>

#include "qel_datetime.h"

namespace qeldate {

enum class Encoding { kUtf8, kGbk };

// Whole-text conversions; bytes that are not valid in the source encoding
// throw std::runtime_error (the tool then exits with status 1).
std::string gbk_to_utf8(std::string_view gbk);
std::string utf8_to_gbk(std::string_view utf8);
#if defined(_WIN32)
// Text from a Windows API (UTF-16) as UTF-8.
std::string utf16_to_utf8(std::wstring_view utf16);
#endif

// Terminal columns the text takes: a CJK character two, ASCII one. In GBK
// every byte of a two-byte character counts one column, so the width is the
// byte count; in UTF-8 it is counted per code point.
int display_width(std::string_view text, Encoding encoding);

// `text` padded with spaces: on the right to `width` columns, or centred
// (the odd column goes to the right).
std::string pad_right(std::string_view text, int width, Encoding encoding);
std::string centre(std::string_view text, int width, Encoding encoding);

// Text in the chosen output encoding.
class Text {
public:
    explicit Text(Encoding encoding) : encoding_(encoding) {}
    Encoding encoding() const { return encoding_; }
    // A string the library filled: its GBK bytes unchanged, or as UTF-8.
    std::string lib(const TAnsiString& gbk) const;
    // The tool's own UTF-8 text, converted to GBK on request.
    std::string own(std::string_view utf8) const;

private:
    Encoding encoding_;
};

}  // namespace qeldate
