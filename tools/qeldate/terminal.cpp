#include "terminal.h"

#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace qeldate {
namespace {

constexpr int kDefaultColumns = 80;

#if defined(_WIN32)
HANDLE stdout_console() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return out != INVALID_HANDLE_VALUE && GetConsoleMode(out, &mode) ? out : nullptr;
}
#endif

}  // namespace

#if defined(_WIN32)

std::vector<std::string> utf8_arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return {argv, argv + argc};
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) args.push_back(utf16_to_utf8(wide[i]));
    LocalFree(wide);
    return args;
}

bool stdout_is_terminal() { return stdout_console() != nullptr; }

int terminal_columns() {
    if (const char* columns = std::getenv("COLUMNS"); columns && std::atoi(columns) > 0) return std::atoi(columns);
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (const HANDLE console = stdout_console(); console && GetConsoleScreenBufferInfo(console, &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
    return kDefaultColumns;
}

// Bytes in and out as they are: in text mode Windows would end standard
// input at the first Ctrl-Z byte (0x1A) and turn line ends around.
void binary_standard_streams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

void prepare_output(Encoding encoding, bool colour) {
    if (const HANDLE console = stdout_console()) {
        SetConsoleOutputCP(encoding == Encoding::kUtf8 ? CP_UTF8 : 936);  // GB2312 is written as its GBK bytes
        DWORD mode = 0;
        if (colour && GetConsoleMode(console, &mode)) SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    }
}

#else

std::vector<std::string> utf8_arguments(int argc, char** argv) { return {argv, argv + argc}; }

bool stdout_is_terminal() { return isatty(STDOUT_FILENO) != 0; }

int terminal_columns() {
    if (const char* columns = std::getenv("COLUMNS"); columns && std::atoi(columns) > 0) return std::atoi(columns);
    winsize size{};
    if (stdout_is_terminal() && ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return kDefaultColumns;
}

void binary_standard_streams() {}

void prepare_output(Encoding, bool) {}

#endif

void write_error(Encoding encoding, std::string_view message) {
    const std::string line = from_utf8_escaped("qeldate: " + std::string(message) + "\n", encoding);
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

}  // namespace qeldate
