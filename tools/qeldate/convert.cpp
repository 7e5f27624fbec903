#include "convert.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "context.h"
#include "model.h"
#include "terminal.h"

namespace qeldate {
namespace {

constexpr size_t kBlockLines = 4096;
constexpr size_t kFlushBytes = 1 << 16;
constexpr size_t kShownBytes = 64;  // of a line too long to keep
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Names read once from qel_calendar, so that a line costs no library text call.
struct Names {
    std::array<std::string, 60> cycle;
    std::array<std::string, 12> animal;
    std::array<std::array<std::string, 13>, 2> month;  // [leap][month]
    std::array<std::string, 31> day;
    std::array<std::string, kTermCount> term;
    std::array<std::string, QEL_FESTIVAL_COUNT> festival;
    int32_t calendar;
    // `flags`: QEL_NAME_PLAIN_MONTHS and a language.
    Names(uint32_t flags, uint32_t language, int32_t in) : calendar(in) {
        for (int i = 0; i < 60; ++i) cycle[size_t(i)] = name(QEL_NAME_CYCLE, i, language);
        for (int i = 0; i < 12; ++i) animal[size_t(i)] = name(QEL_NAME_ANIMAL, i, language);
        for (int m = 1; m <= 12; ++m)
            for (int leap = 0; leap < 2; ++leap)
                month[size_t(leap)][size_t(m)] = name(QEL_NAME_LUNAR_MONTH, m, flags | (leap ? QEL_NAME_LEAP : 0u));
        for (int d = 1; d <= 30; ++d) day[size_t(d)] = name(QEL_NAME_LUNAR_DAY, d, language);
        for (int k = 0; k < kTermCount; ++k) term[size_t(k)] = name(QEL_NAME_TERM, k);
        for (int f = 0; f < QEL_FESTIVAL_COUNT; ++f) festival[size_t(f)] = qeldate::festival(f, language).chinese;
        text_flags = flags | QEL_OPT_CALENDAR(in);
    }
    uint32_t text_flags = 0;
    // The text of a lunar date: the names above in Chinese order, where the
    // month's and the day's names make it; qel_lunar_text for the other
    // languages, whose order and spacing are their own.
    std::string text(const qel_day_facts& f, bool chinese_order) const {
        if (chinese_order) return month[size_t(f.lunar_leap)][size_t(f.lunar_month)] + day[size_t(f.lunar_day)];
        return lunar_text({f.lunar_year, f.lunar_month, f.lunar_day, f.lunar_leap}, text_flags);
    }
};

constexpr const char* kColumns[] = {"input", "date", "weekday", "lunar_year", "lunar_month", "lunar_day", "leap",
                                    "lunar_text", "year_name", "animal", "day_cycle", "solar_term", "festivals",
                                    "lunar_source", "lunar_note", "error"};

struct Line {
    std::string input;
    int64_t serial = 0;
    std::string error;  // empty: parsed
};

// Two digits of a fixed-position date, or -1.
int two(std::string_view s, size_t at) {
    const char a = s[at], b = s[at + 1];
    return a >= '0' && a <= '9' && b >= '0' && b <= '9' ? (a - '0') * 10 + (b - '0') : -1;
}

// The serial of a Gregorian date line: YYYY-MM-DD directly, other forms
// through the tool's parser.
int64_t gregorian_serial(std::string_view text) {
    if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        const int hi = two(text, 0), lo = two(text, 2), m = two(text, 5), d = two(text, 8);
        int64_t serial = 0;
        if (hi >= 0 && lo >= 0 && m >= 0 && d >= 0 && qel_serial_of_date(hi * 100 + lo, m, d, &serial) == QEL_OK)
            return serial;
    }
    return serial_of(parse_date(text));
}

// A lunar line, in the grammar of every lunar date the tool reads.
int64_t lunar_serial(std::string_view text, int32_t calendar) {
    const LunarArg l = parse_lunar(text, true);
    return serial_of_lunar({l.year, l.month, l.day, l.leap ? 1 : 0}, calendar);
}

class Writer {
public:
    Writer(ConvertFormat format, const Names& names, bool chinese_order)
        : format_(format), names_(names), chinese_order_(chinese_order) {}
    void header() {
        if (format_ == ConvertFormat::kJsonLines) return;
        for (size_t i = 0; i < std::size(kColumns); ++i) {
            if (i) out_ += separator();
            out_ += kColumns[i];
        }
        out_ += '\n';
    }
    void record(const Line& line, const qel_day_facts* f) {
        if (format_ == ConvertFormat::kJsonLines) return json(line, f);
        field(line.input);
        if (f) {
            char date[16];
            std::snprintf(date, sizeof date, "%04d-%02d-%02d", f->year, f->month, f->day);
            out_ += separator() + date + separator() + std::to_string(f->weekday);
            MonthSource source;
            if (f->flags & QEL_DAY_NO_LUNAR) {
                for (int i = 0; i < 7; ++i) out_ += separator();
            } else {
                source = month_source(names_.calendar, {f->lunar_year, f->lunar_month, f->lunar_day, f->lunar_leap});
                out_ += separator() + std::to_string(f->lunar_year) + separator() + std::to_string(f->lunar_month) + separator() +
                        std::to_string(f->lunar_day) + separator() + (f->lunar_leap ? "1" : "0") + separator() +
                        names_.text(*f, chinese_order_) + separator() + names_.cycle[size_t(f->year_cycle)] + separator() + names_.animal[size_t(f->year_cycle % 12)];
            }
            out_ += separator() + names_.cycle[size_t(f->day_cycle)] + separator();
            if (f->term >= 0) out_ += names_.term[size_t(f->term)];
            out_ += separator() + festivals(f->festivals) + separator();
            if (!(f->flags & QEL_DAY_NO_LUNAR)) out_ += source.word();
            out_ += separator();
            field(source.note());
            out_ += separator();
        } else {
            for (size_t i = 1; i < std::size(kColumns); ++i) out_ += separator();  // to the error column
            field(line.error);
        }
        out_ += '\n';
        if (out_.size() >= kFlushBytes) flush();
    }
    void flush() {
        write_out(out_);
        out_.clear();
    }

private:
    std::string separator() const { return format_ == ConvertFormat::kTsv ? "\t" : ","; }
    std::string festivals(uint64_t bits) const {
        std::string out;
        for (int k = 0; k < QEL_FESTIVAL_COUNT; ++k)
            if (bits >> k & 1u) out += (out.empty() ? "" : ";") + names_.festival[size_t(k)];
        return out;
    }
    // CSV quotes a field with a comma, quote or line break (RFC 4180); TSV
    // turns tabs and carriage returns into spaces.
    void field(std::string_view text) {
        if (format_ == ConvertFormat::kTsv) {
            for (const char c : text) out_ += c == '\t' || c == '\r' ? ' ' : c;
        } else if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
            out_ += text;
        } else {
            out_ += '"';
            for (const char c : text) out_ += c == '"' ? std::string("\"\"") : std::string(1, c);
            out_ += '"';
        }
    }
    void json(const Line& line, const qel_day_facts* f) {
        nlohmann::ordered_json j;
        j["input"] = line.input;
        if (!f) {
            j["error"] = line.error;
        } else {
            char date[16];
            std::snprintf(date, sizeof date, "%04d-%02d-%02d", f->year, f->month, f->day);
            j["date"] = date;
            j["weekday"] = f->weekday;
            if (!(f->flags & QEL_DAY_NO_LUNAR)) {
                j["lunar"] = {{"year", f->lunar_year}, {"month", f->lunar_month}, {"day", f->lunar_day},
                              {"leap", f->lunar_leap != 0},
                              {"text", names_.text(*f, chinese_order_)},
                              {"year_name", names_.cycle[size_t(f->year_cycle)]}, {"animal", names_.animal[size_t(f->year_cycle % 12)]}};
                const MonthSource source = month_source(names_.calendar, {f->lunar_year, f->lunar_month, f->lunar_day, f->lunar_leap});
                j["lunar"]["source"] = source.word();
                if (const std::string note = source.note(); !note.empty()) j["lunar"]["note"] = note;
            } else {
                j["lunar"] = nullptr;
            }
            j["day_cycle"] = names_.cycle[size_t(f->day_cycle)];
            j["solar_term"] = f->term >= 0 ? nlohmann::ordered_json(names_.term[size_t(f->term)]) : nlohmann::ordered_json(nullptr);
            j["festivals"] = nlohmann::ordered_json::array();
            for (int k = 0; k < QEL_FESTIVAL_COUNT; ++k)
                if (f->festivals >> k & 1u) j["festivals"].push_back(names_.festival[size_t(k)]);
        }
        // Every field is valid UTF-8 already; replacing is only the last guard
        // of the promise that the output is UTF-8 and the run is not cut short.
        out_ += j.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
        if (out_.size() >= kFlushBytes) flush();
    }

    ConvertFormat format_;
    const Names& names_;
    bool chinese_order_;
    std::string out_;
};

struct FileCloser {
    void operator()(std::FILE* f) const {
        if (f && f != stdin) std::fclose(f);
    }
};

// One line of a file: at most kMaxLineBytes kept, the rest skipped to the
// line end. False at the end of the file (or a read error).
bool read_line(std::FILE* in, std::string& line, bool& too_long) {
    line.clear();
    too_long = false;
    int c = 0;
    while ((c = std::getc(in)) != EOF && c != '\n') {
        if (line.size() < kMaxLineBytes) line += static_cast<char>(c);
        else too_long = true;
    }
    return c != EOF || !line.empty();
}

// The record of one line as read (without its line end).
Line parse_line(std::string text, bool too_long, bool lunar, int32_t calendar) {
    if (too_long) {
        size_t cut = kShownBytes;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
        return {escape_invalid_utf8(text.substr(0, cut), true) + "...", 0,
                "the line is longer than " + std::to_string(kMaxLineBytes) + " bytes: no date is that long"};
    }
    if (!is_valid_utf8(text)) return {escape_invalid_utf8(text, true), 0, quote_input(text) + " is not UTF-8 text"};
    const size_t first = text.find_first_not_of(" \t\r");
    text = first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
    if (text.empty()) return {"", 0, "the line is empty"};
    Line l{text, 0, ""};
    try {
        l.serial = lunar ? lunar_serial(text, calendar) : gregorian_serial(text);
    } catch (const UsageError& e) {
        l.error = e.what();
    }
    return l;
}

}  // namespace

bool run_convert(const Context& context, const ConvertRequest& r) {
    const Names names(context.name_flags, context.language, context.calendar);
    Writer writer(r.format, names, context.language == 0);
    writer.header();
    long long bad = 0, number = 0, unreadable = 0;
    std::vector<Line> block;
    std::vector<int64_t> serials;
    std::vector<qel_day_facts> facts(kBlockLines);
    const auto convert_block = [&] {
        serials.clear();
        for (const Line& l : block) serials.push_back(l.error.empty() ? l.serial : INT64_MIN);
        qel_day_facts_of_days(serials.data(), serials.size(), QEL_EPOCH_SERIAL, context.festival_options, facts.data(), nullptr);
        for (size_t i = 0; i < block.size(); ++i) writer.record(block[i], block[i].error.empty() ? &facts[i] : nullptr);
        block.clear();
    };
    // A file that cannot be opened or read is named, and the others are read
    // all the same: one bad file in a list must not cost the rest.
    const auto cannot_read = [&](const std::string& path, int error) {
        convert_block();
        writer.flush();
        const std::string message = "convert: cannot read " + (path == "-" ? std::string("standard input") : quote_input(path)) +
                                    ": " + std::strerror(error);
        if (r.strict) throw UsageError(message);
        write_error(context.encoding, message);
        ++unreadable;
    };
    std::vector<std::string> files = r.files;
    if (files.empty()) files.push_back("-");
    for (const std::string& path : files) {
        // A folder is named as one on every system (Windows would say only
        // "Permission denied").
        std::error_code is_folder_error;
        if (path != "-" && std::filesystem::is_directory(path, is_folder_error)) {
            cannot_read(path, EISDIR);
            continue;
        }
        errno = 0;
        std::unique_ptr<std::FILE, FileCloser> in(path == "-" ? stdin : std::fopen(path.c_str(), "rb"));
        if (!in) {
            cannot_read(path, errno);
            continue;
        }
        std::string line;
        bool too_long = false;
        for (bool first = true; read_line(in.get(), line, too_long); first = false) {
            ++number;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            // A byte order mark, as some Windows editors write, starts the text.
            if (first && line.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0) line.erase(0, kByteOrderMark.size());
            Line l = parse_line(std::move(line), too_long, r.lunar, context.calendar);
            if (!l.error.empty()) {
                if (r.strict) {
                    convert_block();
                    writer.flush();
                    throw UsageError("line " + std::to_string(number) + ": " + l.error);
                }
                ++bad;
            }
            block.push_back(std::move(l));
            if (block.size() == kBlockLines) convert_block();
        }
        if (std::ferror(in.get())) cannot_read(path, errno);
    }
    convert_block();
    writer.flush();
    if (bad > 0)
        write_error(context.encoding, "convert: " + std::to_string(bad) + (bad == 1 ? " line" : " lines") +
                                          " could not be read (error records written)");
    return bad == 0 && unreadable == 0;
}

}  // namespace qeldate
