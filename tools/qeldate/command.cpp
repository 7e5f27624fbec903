#include "command.h"

#include <cstdio>
#include <stdexcept>

namespace qeldate {

void write_out(std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
        throw std::runtime_error("cannot write to standard output");
}

}  // namespace qeldate
