#include "json.h"

#include <cstdio>

namespace qeldate {

void Json::separate() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (has_members_.empty()) return;
    if (has_members_.back()) out_ += ',';
    has_members_.back() = true;
    out_ += '\n';
    out_.append(2 * has_members_.size(), ' ');
}

Json& Json::begin_object() {
    separate();
    out_ += '{';
    has_members_.push_back(false);
    return *this;
}

Json& Json::begin_array() {
    separate();
    out_ += '[';
    has_members_.push_back(false);
    return *this;
}

Json& Json::close(char bracket) {
    const bool had_members = has_members_.back();
    has_members_.pop_back();
    if (had_members) {
        out_ += '\n';
        out_.append(2 * has_members_.size(), ' ');
    }
    out_ += bracket;
    return *this;
}

Json& Json::end_object() { return close('}'); }
Json& Json::end_array() { return close(']'); }

Json& Json::key(std::string_view name) {
    value(name);
    out_ += ": ";
    after_key_ = true;
    return *this;
}

Json& Json::value(std::string_view text) {
    separate();
    out_ += '"';
    for (const char c : text) {
        switch (c) {
            case '"': out_ += "\\\""; break;
            case '\\': out_ += "\\\\"; break;
            case '\n': out_ += "\\n"; break;
            case '\t': out_ += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
                    out_ += escaped;
                } else {
                    out_ += c;  // UTF-8 passes through
                }
        }
    }
    out_ += '"';
    return *this;
}

Json& Json::value(int64_t number) {
    separate();
    out_ += std::to_string(number);
    return *this;
}

Json& Json::value(bool flag) {
    separate();
    out_ += flag ? "true" : "false";
    return *this;
}

Json& Json::null() {
    separate();
    out_ += "null";
    return *this;
}

}  // namespace qeldate
