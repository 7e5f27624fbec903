// What qeldate needs from the console it runs in, on POSIX systems and on
// Windows: the arguments as UTF-8, whether standard output is a terminal and
// how wide, and an output stream that passes bytes through unchanged.
#pragma once

#include <string>
#include <vector>

#include "encoding.h"

namespace qeldate {

// The command line as UTF-8 strings. POSIX systems pass the bytes as typed
// (UTF-8 in any current locale); Windows hands programs its ANSI code page,
// so there the arguments are read again as UTF-16 and converted.
std::vector<std::string> utf8_arguments(int argc, char** argv);

bool stdout_is_terminal();

// The terminal's width in columns: $COLUMNS, else the console's, else 80.
int terminal_columns();

// First thing in main. Windows: standard output and error in binary mode, so
// that a "\n" stays one byte (golden files, iCalendar's own CRLF). Nothing to
// do elsewhere.
void binary_standard_streams();

// Before the first output. Windows: a console shows the chosen encoding and
// interprets the colour escapes. Nothing to do elsewhere.
void prepare_output(Encoding encoding, bool colour);

// "qeldate: MESSAGE" on standard error, in the encoding of the text output
// (the terminal's), with a character it lacks escaped rather than lost.
void write_error(Encoding encoding, std::string_view message);

}  // namespace qeldate
