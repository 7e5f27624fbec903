// A small JSON writer for --json: objects, arrays, strings (UTF-8, escaped
// per RFC 8259), integers, booleans and null, two spaces per level.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qeldate {

class Json {
public:
    Json& begin_object();
    Json& end_object();
    Json& begin_array();
    Json& end_array();
    Json& key(std::string_view name);  // the next value belongs to this key
    Json& value(std::string_view text);
    Json& value(const char* text) { return value(std::string_view(text)); }
    Json& value(int64_t number);
    Json& value(int number) { return value(static_cast<int64_t>(number)); }
    Json& value(bool flag);
    Json& null();
    // The document, ending in a newline.
    std::string str() const { return out_ + "\n"; }

private:
    void separate();  // comma and indentation before a new member or element
    Json& close(char bracket);

    std::string out_;
    std::vector<bool> has_members_;  // per open level: anything written yet
    bool after_key_ = false;
};

}  // namespace qeldate
