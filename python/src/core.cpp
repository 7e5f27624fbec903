// qel_calendar._core: the CPython binding of the qel_calendar C interface.
//
// to_lunar and LunarDate are plain CPython (a METH_FASTCALL function, a static-size
// type): pybind11's dispatch and instance registry would cost more than the
// conversion itself, and scalar to_lunar is the call people make per row.
// The array calls take contiguous int64 day counts since 1970 (the view of
// NumPy datetime64[D] that the Python layer makes) and hand whole buffers to
// the batch C functions with the GIL released: they touch no Python object,
// so other threads run meanwhile and several threads can convert at once.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <datetime.h>
#include <structmember.h>
// NumPy's datetime64 scalar layout only (no NumPy C-API call, no import_array):
// reading its value and unit directly costs nanoseconds where astype() costs
// microseconds.
#define NPY_NO_DEPRECATED_API NPY_1_7_API_VERSION
// clang-format off
#include <numpy/ndarraytypes.h>
#include <numpy/arrayscalars.h>
// clang-format on

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "qel_calendar.h"

namespace py = pybind11;

namespace {

struct LunarDate {
    int32_t year, month, day;
    bool leap;
    int32_t calendar;  // qel_calendar_kind
};

struct LunarObject {
    PyObject_HEAD
    LunarDate d;
};

PyTypeObject* lunar_type = nullptr;  // created at import, kept for the life of the process

// numpy.datetime64 and numpy.bool_, looked up once at import; kept for the
// life of the process.
PyObject* datetime64_type = nullptr;
PyObject* numpy_bool_type = nullptr;

int32_t clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

std::string type_name(py::handle v) { return Py_TYPE(v.ptr())->tp_name; }

// An int argument: any object with __index__ (int, numpy integers, bool).
// Values beyond int64 saturate; the C call then reports them out of range.
int64_t int_arg(py::handle v, const char* what) {
    if (!PyIndex_Check(v.ptr()))
        throw py::type_error(std::string(what) + " must be an int, not " + type_name(v));
    py::object i = py::reinterpret_steal<py::object>(PyNumber_Index(v.ptr()));
    if (!i) throw py::error_already_set();
    int overflow = 0;
    const long long x = PyLong_AsLongLongAndOverflow(i.ptr(), &overflow);
    if (overflow) return overflow > 0 ? INT64_MAX : INT64_MIN;
    if (x == -1 && PyErr_Occurred()) throw py::error_already_set();
    return x;
}

// The leap flag: a bool (numpy.bool_ too, which NumPy no longer lets act as
// an index), or an int, which qel_check_lunar judges with the other fields.
int64_t leap_arg(py::handle v) {
    if (PyBool_Check(v.ptr())) return v.ptr() == Py_True;
    if (Py_TYPE(v.ptr()) == reinterpret_cast<PyTypeObject*>(numpy_bool_type)) {
        const int truth = PyObject_IsTrue(v.ptr());
        if (truth < 0) throw py::error_already_set();
        return truth;
    }
    return int_arg(v, "leap");
}

// The calendars by the keys the binding shows (LunarDate.calendar, repr),
// in the order of qel_calendar_kind; qel_calendar_of_name reads them back.
constexpr const char* kCalendarKeys[] = {"chinese", "korean", "vietnamese"};
static_assert(QEL_CALENDAR_CHINESE == 0 && QEL_CALENDAR_KOREAN == 1 && QEL_CALENDAR_VIETNAMESE == 2 &&
                  QEL_CALENDAR_COUNT == 3,
              "kCalendarKeys lists the calendars in the order of qel_calendar_kind");
// The language flag of qel_name for each calendar's own names.
constexpr uint32_t kCalendarNameFlags[] = {0, QEL_NAME_KOREAN, QEL_NAME_VIETNAMESE};

// A calendar= argument: a str that qel_calendar_of_name knows ("korean" in
// any ASCII case, 음력, âm lịch); absent (null) is the Chinese calendar.
int32_t calendar_arg(PyObject* v, const char* what = "calendar") {
    if (!v) return QEL_CALENDAR_CHINESE;
    if (!PyUnicode_Check(v))
        throw py::type_error(std::string(what) + " must be a str such as 'korean', not " + type_name(v));
    Py_ssize_t n = 0;
    const char* text = PyUnicode_AsUTF8AndSize(v, &n);
    if (!text) throw py::error_already_set();
    const int32_t c = qel_calendar_of_name(text, static_cast<size_t>(n));
    if (c < 0)
        throw py::value_error(std::string(what) + " must be 'chinese', 'korean' or 'vietnamese', not " +
                              std::string(py::repr(v)));
    return c;
}

// ---- The library's words --------------------------------------------------
// Every failure about a date, a lunar date, a time or a range reads as
// qel_calendar writes it; the binding only puts the call and the input in
// front: "from_lunar(2023, 2, 30): month 2 of lunar 2023 has 29 days, not 30".

template <typename Write>
std::string c_text(Write&& write) {
    char buf[256];
    return write(buf, sizeof buf) > 0 ? std::string(buf) : std::string();
}

std::string range_message(int32_t domain) {
    return c_text([&](char* b, size_t n) { return qel_range_message(domain, b, n); });
}

std::string status_message(int32_t status) {
    return c_text([&](char* b, size_t n) { return qel_status_message(status, b, n); });
}

// The reason a lunar date fails, or the bare meaning of the status where the
// check finds nothing wrong with the fields.
std::string lunar_message(int32_t calendar, int32_t y, int32_t m, int32_t d, int32_t leap, int32_t status) {
    const std::string text =
        c_text([&](char* b, size_t n) { return qel_lunar_message_in(calendar, y, m, d, leap, b, n); });
    return text.empty() ? status_message(status) : text;
}

// The reason civil fields fail: the date's, else the clock's.
std::string civil_message(int32_t y, int32_t mo, int32_t d, int32_t h, int32_t mi, int32_t s, int32_t status) {
    std::string text = c_text([&](char* b, size_t n) { return qel_date_message(y, mo, d, b, n); });
    if (text.empty()) text = c_text([&](char* b, size_t n) { return qel_time_message(h, mi, s, b, n); });
    return text.empty() ? status_message(status) : text;
}

// "from_lunar(2017, 6, 1, leap=True, calendar='korean')": the call as the
// user made it, each argument as str() shows it (a value beyond int64 too),
// the calendar when it is not the Chinese.
std::string call_text(const char* function, std::initializer_list<py::handle> args, int64_t leap = 0,
                      py::handle leap_value = {}, int32_t calendar = QEL_CALENDAR_CHINESE) {
    std::string s = std::string(function) + "(";
    const char* sep = "";
    for (py::handle a : args) s += sep + std::string(py::str(a)), sep = ", ";
    if (leap == 1) s += ", leap=True";
    else if (leap != 0) s += ", leap=" + std::string(py::str(leap_value));
    if (calendar != QEL_CALENDAR_CHINESE) s += std::string(", calendar='") + kCalendarKeys[calendar] + "'";
    return s + ")";
}

bool fits32(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

[[noreturn]] void fail(const std::string& call, const std::string& message) {
    throw py::value_error(call + ": " + message);
}

std::string iso(int64_t serial) {
    int32_t y = 0, m = 0, d = 0;
    if (qel_date_of_serial(serial, &y, &m, &d) != QEL_OK) return "day serial " + std::to_string(serial);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", static_cast<int>(y), static_cast<int>(m), static_cast<int>(d));
    return buf;
}

// Saturating a + b and a * k for the day counts: a value beyond every covered
// day stays beyond them instead of wrapping into one.
int64_t add_sat(int64_t a, int64_t b) {
    if (b > 0 && a > INT64_MAX - b) return INT64_MAX;
    if (b < 0 && a < INT64_MIN + 1 - b) return INT64_MIN + 1;
    return a + b;
}

int64_t mul_sat(int64_t a, int64_t k) {
    return a > INT64_MAX / k ? INT64_MAX : a < INT64_MIN / k ? INT64_MIN + 1 : a * k;
}

int64_t floor_div(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// The serial of 1 January (or the first of a month) `months` after 1970-01,
// saturated outside the years 1..9999.
int64_t serial_of_month(int64_t months) {
    if (months < -12 * 1969 || months >= 12 * 8030) return months < 0 ? INT64_MIN + 1 : INT64_MAX;
    const int64_t m = floor_div(months, 12);
    int64_t serial = 0;
    if (qel_serial_of_date(static_cast<int32_t>(1970 + m), static_cast<int32_t>(months - 12 * m + 1), 1, &serial) !=
        QEL_OK)
        return months < 0 ? INT64_MIN + 1 : INT64_MAX;
    return serial;
}

// A numpy.datetime64 floored to its day, read from the scalar itself for
// every unit of one (year, month, week, day, hour .. attosecond); NumPy's own
// conversion for multiples such as 2D.
int64_t serial_of_datetime64(py::handle v) {
    const auto* s = reinterpret_cast<const PyDatetimeScalarObject*>(v.ptr());
    const int64_t x = s->obval;
    if (x == NPY_DATETIME_NAT) throw py::value_error("NaT has no date");
    static constexpr int64_t per_day[] = {0, 0, 0, 0, 1, 24, 1440, 86400, 86400000, 86400000000,
                                          86400000000000, 86400000000000000};
    const int unit = s->obmeta.base;
    if (s->obmeta.num == 1) {
        if (unit == NPY_FR_Y) return serial_of_month(mul_sat(x, 12));
        if (unit == NPY_FR_M) return serial_of_month(x);
        if (unit == NPY_FR_W) return add_sat(mul_sat(x, 7), QEL_EPOCH_UNIX);
        if (unit >= NPY_FR_D && unit <= NPY_FR_ps) return add_sat(floor_div(x, per_day[unit]), QEL_EPOCH_UNIX);
        // A day has more femtoseconds than int64 holds: every value lies within
        // a day of the epoch (NumPy's astype overflows on these units).
        if (unit == NPY_FR_fs || unit == NPY_FR_as) return QEL_EPOCH_UNIX - (x < 0);
    }
    const auto days = v.attr("astype")("datetime64[D]").attr("astype")("int64").cast<int64_t>();
    if (days == INT64_MIN) throw py::value_error("NaT has no date");
    return add_sat(days, QEL_EPOCH_UNIX);
}

bool is_nat(PyObject* p) {
    // pandas.NaT is a datetime subclass whose fields mean nothing.
    return !PyDate_CheckExact(p) && !PyDateTime_CheckExact(p) && std::strstr(Py_TYPE(p)->tp_name, "NaTType");
}

// A missing value as pandas and NumPy spell it: None, NaN, pandas.NA, NaT.
bool is_missing(PyObject* p) {
    if (p == Py_None) return true;
    if (PyFloat_Check(p)) return std::isnan(PyFloat_AS_DOUBLE(p));
    if (PyDate_Check(p)) return is_nat(p);
    if (PyObject_TypeCheck(p, reinterpret_cast<PyTypeObject*>(datetime64_type)))
        return reinterpret_cast<const PyDatetimeScalarObject*>(p)->obval == NPY_DATETIME_NAT;
    const char* name = Py_TYPE(p)->tp_name;
    const size_t n = std::strlen(name);
    return n >= 6 && std::strcmp(name + n - 6, "NAType") == 0 && (n == 6 || name[n - 7] == '.');
}

// The day serial of a date-like value: a datetime.date or datetime.datetime
// (the date as written, whatever its tzinfo) or a numpy.datetime64 (floored
// to its day). TypeError for anything else, str included: text has more than
// one reading and the caller should parse it. ValueError for NaT. `function`
// is the public call the value was given to, for the message.
int64_t serial_of(py::handle v, const char* function) {
    PyObject* p = v.ptr();
    if (PyDate_Check(p)) {
        if (is_nat(p)) throw py::value_error("NaT has no date");
        int64_t serial = 0;
        qel_serial_of_date(PyDateTime_GET_YEAR(p), PyDateTime_GET_MONTH(p), PyDateTime_GET_DAY(p), &serial);
        return serial;  // Python's dates are the years 1..9999: always valid
    }
    if (PyObject_TypeCheck(p, reinterpret_cast<PyTypeObject*>(datetime64_type))) return serial_of_datetime64(v);
    throw py::type_error(std::string(function) +
                         "() takes a datetime.date, datetime.datetime or numpy.datetime64, not " + type_name(v));
}

// A day the user gave, for a message: its ISO date, or the value as they
// wrote it (numpy.datetime64('0000')) when it has no date of 0001-9999.
std::string day_text(py::handle value, int64_t serial) {
    return serial >= QEL_FIRST_SERIAL && serial <= QEL_LAST_SERIAL ? iso(serial) : std::string(py::repr(value));
}

py::object date_of_serial(int64_t serial) {
    int32_t y = 0, m = 0, d = 0;
    if (qel_date_of_serial(serial, &y, &m, &d) != QEL_OK) throw py::value_error(range_message(QEL_DOMAIN_GREGORIAN));
    PyObject* date = PyDate_FromDate(y, m, d);
    if (!date) throw py::error_already_set();
    return py::reinterpret_steal<py::object>(date);
}

// The day of the lunar date `f` (year, month, day, leap); ValueError in the
// library's words after the call text that call() makes. A field beyond
// int32 is clamped for the C check, which refuses it all the same; its
// message would name the clamped number, so such a year gets the lunar
// range and another field the bare status.
template <typename Call>
int64_t serial_of_lunar(Call&& call, int32_t calendar, const int64_t (&f)[4]) {
    const int32_t y = clamp32(f[0]), m = clamp32(f[1]), d = clamp32(f[2]), l = clamp32(f[3]);
    int64_t serial = 0;
    const int32_t st = qel_serial_of_lunar_in(calendar, y, m, d, l, &serial);
    if (st != QEL_OK)
        fail(call(), !fits32(f[0])                                  ? range_message(QEL_DOMAIN_LUNAR)
                     : !fits32(f[1]) || !fits32(f[2]) || !fits32(f[3]) ? status_message(st)
                                                                        : lunar_message(calendar, y, m, d, l, st));
    return serial;
}

// The fields of a lunar date given by the user, checked (its day into
// *serial when not null): ValueError names the call `function` as they made it.
LunarDate checked_lunar(const char* function, py::handle y, py::handle mo, py::handle d, py::handle leap,
                        int32_t calendar, int64_t* serial = nullptr) {
    const int64_t f[4] = {int_arg(y, "year"), int_arg(mo, "month"), int_arg(d, "day"), leap_arg(leap)};
    const int64_t day =
        serial_of_lunar([&] { return call_text(function, {y, mo, d}, f[3], leap, calendar); }, calendar, f);
    if (serial) *serial = day;
    return {static_cast<int32_t>(f[0]), static_cast<int32_t>(f[1]), static_cast<int32_t>(f[2]), f[3] == 1, calendar};
}

// A lunar date as its own calendar writes it, the month and day from
// qel_lunar_text in the calendar's language: "二〇一七年闰六月初一" (the year in
// Chinese digits), "2017년 윤6월 1일", "mùng 1 tháng Sáu nhuận năm 2017".
std::string lunar_text(const LunarDate& d) {
    char buf[64];
    qel_lunar_text(d.year, d.month, d.day, d.leap, kCalendarNameFlags[d.calendar] | QEL_OPT_CALENDAR(d.calendar), buf,
                   sizeof buf);
    const std::string y = std::to_string(d.year);
    if (d.calendar == QEL_CALENDAR_KOREAN) return y + "년 " + buf;
    if (d.calendar == QEL_CALENDAR_VIETNAMESE) return buf + (" năm " + y);
    static const char* const digits[] = {"〇", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    std::string s;
    for (char c : y) s += digits[c - '0'];
    return s + "年" + buf;
}

// Chronological order within a calendar: a leap month comes after the month
// it follows.
int64_t order_key(const LunarDate& d) { return ((int64_t{d.year} * 16 + d.month) * 2 + d.leap) * 32 + d.day; }

// ---- LunarDate and to_lunar in the plain C API ----------------------------

// Runs f, turning a C++ exception into the Python error it stands for.
template <typename F>
PyObject* guarded(F&& f) noexcept {
    try {
        return f();
    } catch (py::error_already_set& e) {
        e.restore();
    } catch (const py::builtin_exception& e) {
        e.set_error();
    } catch (const std::exception& e) {
        PyErr_SetString(PyExc_RuntimeError, e.what());
    }
    return nullptr;
}

PyObject* new_lunar(PyTypeObject* type, const LunarDate& d) {
    auto* o = reinterpret_cast<LunarObject*>(type->tp_alloc(type, 0));
    if (o) o->d = d;
    return reinterpret_cast<PyObject*>(o);
}

const LunarDate& lunar_of(PyObject* o) { return reinterpret_cast<LunarObject*>(o)->d; }

PyObject* lunar_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
    static const char* keywords[] = {"year", "month", "day", "leap", "calendar", nullptr};
    PyObject *y = nullptr, *mo = nullptr, *d = nullptr, *leap = Py_False, *calendar = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "OOO|OO:LunarDate", const_cast<char**>(keywords), &y, &mo, &d,
                                     &leap, &calendar))
        return nullptr;
    return guarded(
        [&] { return new_lunar(type, checked_lunar("LunarDate", y, mo, d, leap, calendar_arg(calendar))); });
}

PyObject* lunar_str(PyObject* self) {
    return guarded([&] { return py::str(lunar_text(lunar_of(self))).release().ptr(); });
}

PyObject* lunar_repr(PyObject* self) {
    const LunarDate& d = lunar_of(self);
    const char* calendar = d.calendar == QEL_CALENDAR_CHINESE ? "" : kCalendarKeys[d.calendar];
    return PyUnicode_FromFormat("LunarDate(%d, %d, %d%s%s%s%s)", d.year, d.month, d.day, d.leap ? ", leap=True" : "",
                                *calendar ? ", calendar='" : "", calendar, *calendar ? "'" : "");
}

Py_hash_t lunar_hash(PyObject* self) {
    const LunarDate& d = lunar_of(self);
    const auto h = static_cast<Py_hash_t>(order_key(d) + (int64_t{d.calendar} << 32));
    return h == -1 ? -2 : h;
}

// Dates of one calendar are ordered by time; dates of two calendars are
// unequal and unordered (the same fields are different days).
PyObject* lunar_richcompare(PyObject* a, PyObject* b, int op) {
    if (!PyObject_TypeCheck(b, lunar_type)) Py_RETURN_NOTIMPLEMENTED;
    if (lunar_of(a).calendar != lunar_of(b).calendar) {
        if (op == Py_EQ) Py_RETURN_FALSE;
        if (op == Py_NE) Py_RETURN_TRUE;
        Py_RETURN_NOTIMPLEMENTED;
    }
    Py_RETURN_RICHCOMPARE(order_key(lunar_of(a)), order_key(lunar_of(b)), op);
}

PyObject* lunar_to_date(PyObject* self, PyObject*) {
    return guarded([&] {
        const LunarDate& d = lunar_of(self);
        int64_t serial = 0;
        qel_serial_of_lunar_in(d.calendar, d.year, d.month, d.day, d.leap, &serial);  // checked when it was made
        return date_of_serial(serial).release().ptr();
    });
}

PyObject* lunar_reduce(PyObject* self, PyObject*) {
    const LunarDate& d = lunar_of(self);
    return Py_BuildValue("O(iiiOs)", reinterpret_cast<PyObject*>(Py_TYPE(self)), d.year, d.month, d.day,
                         d.leap ? Py_True : Py_False, kCalendarKeys[d.calendar]);
}

PyObject* lunar_get_leap(PyObject* self, void*) { return PyBool_FromLong(lunar_of(self).leap); }

PyObject* lunar_get_calendar(PyObject* self, void*) {
    return PyUnicode_FromString(kCalendarKeys[lunar_of(self).calendar]);
}

// The lunar date of a day in a calendar, or ValueError after the call text.
template <typename Call>
LunarDate lunar_of_day(int64_t serial, int32_t calendar, Call&& call) {
    qel_lunar_date l;
    if (qel_lunar_of_serial_in(calendar, serial, &l) != QEL_OK) fail(call(), range_message(QEL_DOMAIN_LUNAR));
    return {l.year, l.month, l.day, l.leap != 0, calendar};
}

// to_lunar(date, /, calendar='chinese') as METH_FASTCALL: the per-row call
// builds no argument tuple.
PyObject* to_lunar(PyObject*, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    return guarded([&] {
        PyObject* value = nargs > 0 ? args[0] : nullptr;
        PyObject* calendar = nargs > 1 ? args[1] : nullptr;
        const Py_ssize_t nkw = kwnames ? PyTuple_GET_SIZE(kwnames) : 0;
        for (Py_ssize_t i = 0; i < nkw; ++i) {
            PyObject* key = PyTuple_GET_ITEM(kwnames, i);
            if (calendar || PyUnicode_CompareWithASCIIString(key, "calendar") != 0)
                throw py::type_error("to_lunar() got an unexpected or repeated keyword argument '" +
                                     std::string(py::str(key)) + "'");
            calendar = args[nargs + i];
        }
        if (nargs < 1 || nargs > 2)
            throw py::type_error("to_lunar() takes a date and an optional calendar (" + std::to_string(nargs) +
                                 " positional arguments given)");
        const int32_t c = calendar_arg(calendar);
        const int64_t serial = serial_of(value, "to_lunar");
        return new_lunar(lunar_type, lunar_of_day(serial, c, [&] {
                             return "to_lunar(" + day_text(value, serial) +
                                    (c ? std::string(", calendar='") + kCalendarKeys[c] + "'" : std::string()) + ")";
                         }));
    });
}

PyObject* from_lunar(PyObject*, PyObject* args, PyObject* kwargs) {
    static const char* keywords[] = {"year", "month", "day", "leap", "calendar", nullptr};
    PyObject *y = nullptr, *mo = nullptr, *d = nullptr, *leap = Py_False, *calendar = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "OOO|OO:from_lunar", const_cast<char**>(keywords), &y, &mo, &d,
                                     &leap, &calendar))
        return nullptr;
    return guarded([&] {
        int64_t serial = 0;
        checked_lunar("from_lunar", y, mo, d, leap, calendar_arg(calendar), &serial);
        return date_of_serial(serial).release().ptr();
    });
}

// serial_of(date, function): the day serial, with errors in the words of
// the public call `function`.
PyObject* serial_of_py(PyObject*, PyObject* args) {
    PyObject* date = nullptr;
    const char* function = nullptr;
    if (!PyArg_ParseTuple(args, "Os:serial_of", &date, &function)) return nullptr;
    return guarded([&] { return PyLong_FromLongLong(serial_of(date, function)); });
}

// day_facts_of(date, options): qel_day_facts_of as a flat tuple, for the one
// DayFacts a scalar call builds (a NumPy record per call would cost ten
// times the calendar work).
PyObject* day_facts_of(PyObject*, PyObject* args) {
    PyObject* date = nullptr;
    unsigned int options = 0;
    if (!PyArg_ParseTuple(args, "OI:day_facts_of", &date, &options)) return nullptr;
    return guarded([&] {
        const int64_t serial = serial_of(date, "day_facts");
        qel_day_facts f;
        const int32_t st = qel_day_facts_of(serial, options, &f);
        if (st == QEL_E_RANGE) fail("day_facts(" + day_text(date, serial) + ")", range_message(QEL_DOMAIN_GREGORIAN));
        if (st != QEL_OK) throw py::value_error("unknown option");
        return Py_BuildValue("(iiiiiiiiiiiiiiiiiLK)", f.year, f.month, f.day, f.weekday, f.day_of_year, f.flags,
                             f.lunar_year, f.lunar_month, f.lunar_day, f.lunar_leap, f.lunar_month_days,
                             f.lunar_leap_month, f.year_cycle, f.day_cycle, f.term, f.holiday_status, f.holiday,
                             static_cast<long long>(f.term_instant), static_cast<unsigned long long>(f.festivals));
    });
}

PyMemberDef lunar_members[] = {
    {"year", T_INT, offsetof(LunarObject, d.year), READONLY, "The lunar year."},
    {"month", T_INT, offsetof(LunarObject, d.month), READONLY,
     "1..12; a leap month carries the number of the month it follows."},
    {"day", T_INT, offsetof(LunarObject, d.day), READONLY, "1..30."},
    {nullptr, 0, 0, 0, nullptr}};

PyGetSetDef lunar_getset[] = {{"leap", lunar_get_leap, nullptr, "True in a leap month.", nullptr},
                              {"calendar", lunar_get_calendar, nullptr,
                               "The calendar of the date: 'chinese', 'korean' or 'vietnamese'.", nullptr},
                              {nullptr, nullptr, nullptr, nullptr, nullptr}};

PyMethodDef lunar_methods[] = {
    {"to_date", lunar_to_date, METH_NOARGS, "to_date($self, /)\n--\n\nThe Gregorian date of this day."},
    {"__reduce__", lunar_reduce, METH_NOARGS,
     "__reduce__($self, /)\n--\n\nPickle support: the fields and the calendar."},
    {nullptr, nullptr, 0, nullptr}};

const char lunar_doc[] = R"(LunarDate(year, month, day, leap=False, calendar='chinese')
--

A date of a lunisolar calendar, the Chinese (default), the Korean or the
Vietnamese, in the covered lunar years (see qel_calendar.ranges()).

Immutable and hashable; ordered by time within its calendar (a leap month
after the month it follows); dates of two calendars are never equal and not
ordered. str() gives the date as its calendar writes it, "二〇一七年闰六月初一",
"2017년 윤6월 1일", "mùng 1 tháng Sáu nhuận năm 2017"; repr() the fields.

Raises ValueError for a date the lunar year does not have.)";

PyType_Slot lunar_slots[] = {{Py_tp_new, reinterpret_cast<void*>(lunar_new)},
                             {Py_tp_str, reinterpret_cast<void*>(lunar_str)},
                             {Py_tp_repr, reinterpret_cast<void*>(lunar_repr)},
                             {Py_tp_hash, reinterpret_cast<void*>(lunar_hash)},
                             {Py_tp_richcompare, reinterpret_cast<void*>(lunar_richcompare)},
                             {Py_tp_members, lunar_members},
                             {Py_tp_getset, lunar_getset},
                             {Py_tp_methods, lunar_methods},
                             {Py_tp_doc, const_cast<char*>(lunar_doc)},
                             {0, nullptr}};

PyType_Spec lunar_spec = {"qel_calendar.LunarDate", sizeof(LunarObject), 0, Py_TPFLAGS_DEFAULT, lunar_slots};

PyMethodDef module_functions[] = {
    {"to_lunar", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(to_lunar)),
     METH_FASTCALL | METH_KEYWORDS, R"(to_lunar(date, /, calendar='chinese')
--

The lunar date of a day (date, datetime or numpy.datetime64) in a calendar:
'chinese', 'korean' or 'vietnamese' (any ASCII case; also 农历, 음력, âm lịch).

A datetime counts by its date as written; its tzinfo is not applied.
ValueError outside the lunar calendar's days (see qel_calendar.ranges()) or
for NaT; TypeError for other types, str included.)"},
    {"from_lunar", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(from_lunar)),
     METH_VARARGS | METH_KEYWORDS, R"(from_lunar(year, month, day, leap=False, calendar='chinese')
--

The Gregorian date (datetime.date) of a lunar date of a calendar ('chinese',
'korean' or 'vietnamese').

A leap month carries the number of the month it follows: from_lunar(2017, 6,
1, leap=True) is the first day of 闰六月, 2017-07-23. ValueError for a year
outside the covered lunar years or a date the year does not have (day 30 of a
29-day month, a leap month the year lacks), in qel_calendar's words;
TypeError for non-ints.)"},
    {"serial_of", serial_of_py, METH_VARARGS, nullptr},
    {"day_facts_of", day_facts_of, METH_VARARGS, nullptr},
    {nullptr, nullptr, 0, nullptr}};

std::string name(int32_t kind, int32_t index, uint32_t flags = 0) {
    char buf[64];
    const int32_t n = qel_name(kind, index, flags, buf, sizeof buf);
    if (n < 0) throw py::value_error("no name of kind " + std::to_string(kind) + " for " + std::to_string(index));
    return buf;
}

// The 子 hour convention, its name matched as qel_zi_of_name matches option
// words on every surface (any ASCII case).
int32_t zi_arg(py::handle zi) {
    if (!PyUnicode_Check(zi.ptr())) throw py::type_error("zi must be 'late' or 'early', not " + type_name(zi));
    const std::string text = zi.cast<std::string>();
    const int32_t z = qel_zi_of_name(text.data(), text.size());
    if (z < 0) throw py::value_error("zi must be 'late' or 'early', not '" + text + "'");
    return z;
}

// A year argument for the calls by year: clamped to int32, which keeps a
// year beyond it outside every covered range for the C call to refuse.
int32_t year_arg(py::handle year) { return clamp32(int_arg(year, "year")); }

py::tuple pillar_tuple(const qel_pillars& p) { return py::make_tuple(p.year, p.month, p.day, p.hour); }

template <typename T>
py::array_t<T> empty(size_t n) {
    return py::array_t<T>(static_cast<py::ssize_t>(n));
}

using Days = py::array_t<int64_t, py::array::c_style>;
using Ints = py::array_t<int32_t, py::array::c_style>;

// Days to lunar fields. The C call writes the year, month and day straight
// into the result; leap and status go through a small buffer that stays in
// L1 cache and come out as the bool arrays leap and valid.
py::tuple lunar_of_days(const Days& days, int32_t calendar) {
    const auto n = static_cast<size_t>(days.size());
    auto year = empty<int32_t>(n), month = empty<int32_t>(n), day = empty<int32_t>(n);
    auto leap = empty<bool>(n), valid = empty<bool>(n);
    const int64_t* in = days.data();
    int32_t *y = year.mutable_data(), *m = month.mutable_data(), *d = day.mutable_data();
    bool *l = leap.mutable_data(), *v = valid.mutable_data();
    {
        py::gil_scoped_release nogil;
        constexpr size_t kChunk = 4096;
        int32_t leap_buf[kChunk];
        int8_t status_buf[kChunk];
        for (size_t i = 0; i < n; i += kChunk) {
            const size_t k = std::min(kChunk, n - i);
            qel_lunar_of_days_in(calendar, in + i, k, QEL_EPOCH_UNIX, y + i, m + i, d + i, leap_buf, status_buf);
            for (size_t j = 0; j < k; ++j) l[i + j] = leap_buf[j] != 0, v[i + j] = status_buf[j] == QEL_OK;
        }
    }
    return py::make_tuple(year, month, day, leap, valid);
}

py::array_t<int64_t> days_of_lunar(const Ints& year, const Ints& month, const Ints& day, const Ints& leap,
                                   int32_t calendar) {
    const auto n = static_cast<size_t>(year.size());
    if (month.size() != year.size() || day.size() != year.size() || leap.size() != year.size())
        throw py::value_error("year, month, day and leap must have one length");
    auto days = empty<int64_t>(n);
    int64_t* out = days.mutable_data();
    {
        py::gil_scoped_release nogil;
        qel_days_of_lunar_in(calendar, year.data(), month.data(), day.data(), leap.data(), n, QEL_EPOCH_UNIX, out,
                             nullptr);
    }
    return days;
}

// The NumPy record of qel_day_facts as the library lays it out
// (qel_day_facts_field): each field that this header's structure holds,
// `reserved` (padding) left out. Made once at import.
PyObject* facts_dtype = nullptr;

py::dtype day_facts_dtype() {
    py::list names, formats, offsets;
    const int32_t count = qel_count(QEL_COUNT_DAY_FACTS_FIELDS);
    for (int32_t i = 0; i < count; ++i) {
        qel_field f;
        if (qel_day_facts_field(i, &f) != QEL_OK || f.offset + f.size > sizeof(qel_day_facts) ||
            std::strcmp(f.name, "reserved") == 0)
            continue;
        names.append(f.name);
        formats.append((f.is_signed ? "i" : "u") + std::to_string(f.size));
        offsets.append(f.offset);
    }
    py::dict layout;
    layout["names"] = names, layout["formats"] = formats, layout["offsets"] = offsets;
    layout["itemsize"] = sizeof(qel_day_facts);
    return py::dtype::from_args(layout);
}

py::array day_facts_of_days(const Days& days, uint32_t options) {
    const auto n = static_cast<size_t>(days.size());
    py::array facts(py::reinterpret_borrow<py::dtype>(facts_dtype),
                    py::array::ShapeContainer{static_cast<py::ssize_t>(n)});
    void* out = facts.mutable_data();
    int64_t r = 0;
    {
        py::gil_scoped_release nogil;
        r = qel_day_facts_of_days_strided(days.data(), n, QEL_EPOCH_UNIX, options, out, sizeof(qel_day_facts),
                                          nullptr);
    }
    if (r < 0) throw py::value_error("unknown option");
    return facts;
}

// A flat object array of dates (a list of them, a pandas object column) to
// days since 1970: each element as the scalars read it, missing values
// (None, NaN, pandas.NA, NaT) as NaT. TypeError naming the first element of
// another type.
Days days_of_objects(const py::array& dates, const char* function) {
    if (dates.dtype().kind() != 'O' || dates.ndim() != 1 || !(dates.flags() & py::array::c_style))
        throw py::type_error("days_of_objects takes a flat contiguous object array");
    const auto n = static_cast<size_t>(dates.size());
    Days days(static_cast<py::ssize_t>(n));
    int64_t* out = days.mutable_data();
    PyObject* const* in = static_cast<PyObject* const*>(dates.data());
    for (size_t i = 0; i < n; ++i) {
        PyObject* v = in[i];
        if (is_missing(v)) {
            out[i] = INT64_MIN;
            continue;
        }
        if (!PyDate_Check(v) && !PyObject_TypeCheck(v, reinterpret_cast<PyTypeObject*>(datetime64_type)))
            throw py::type_error(std::string(function) +
                                 "() takes dates (datetime.date, datetime.datetime, numpy.datetime64; None, NaN, NA "
                                 "or NaT where missing), not " +
                                 type_name(v) + " at index " + std::to_string(i));
        out[i] = add_sat(serial_of(v, function), -QEL_EPOCH_UNIX);  // never INT64_MIN, which is NaT
    }
    return days;
}

// qel_add_workdays over arrays of one length; NaT in, or an answer outside
// the holiday table, gives NaT.
Days add_workdays_of_days(const Days& days, const Days& n) {
    if (days.size() != n.size()) throw py::value_error("days and n must have one length");
    const auto count = static_cast<size_t>(days.size());
    Days out(static_cast<py::ssize_t>(count));
    const int64_t *in = days.data(), *k = n.data();
    int64_t* o = out.mutable_data();
    {
        py::gil_scoped_release nogil;
        for (size_t i = 0; i < count; ++i) {
            int64_t serial = 0;
            const bool ok = in[i] != INT64_MIN && in[i] < INT64_MAX - QEL_EPOCH_UNIX &&
                            qel_add_workdays(in[i] + QEL_EPOCH_UNIX, k[i], nullptr, &serial) == QEL_OK;
            o[i] = ok ? serial - QEL_EPOCH_UNIX : INT64_MIN;
        }
    }
    return out;
}

// The bare batch call into arrays the caller allocated: the benchmark's
// measure of the C library alone, without the binding's allocation and
// bool conversion.
int64_t raw_lunar_of_days(const Days& days, py::array_t<int32_t> year, py::array_t<int32_t> month,
                          py::array_t<int32_t> day, py::array_t<int32_t> leap, py::array_t<int8_t> status) {
    const auto n = static_cast<size_t>(days.size());
    for (const py::array* a : {static_cast<py::array*>(&year), static_cast<py::array*>(&month),
                               static_cast<py::array*>(&day), static_cast<py::array*>(&leap),
                               static_cast<py::array*>(&status)})
        if (static_cast<size_t>(a->size()) != n || !(a->flags() & py::array::c_style) || !a->writeable())
            throw py::value_error("every output must be a writable contiguous array as long as days");
    int32_t *y = year.mutable_data(), *m = month.mutable_data(), *d = day.mutable_data(), *l = leap.mutable_data();
    int8_t* s = status.mutable_data();
    py::gil_scoped_release nogil;
    return qel_lunar_of_days(days.data(), n, QEL_EPOCH_UNIX, y, m, d, l, s);
}

}  // namespace

PYBIND11_MODULE(_core, m) {
    PyDateTime_IMPORT;
    if (!PyDateTimeAPI) throw py::error_already_set();
    datetime64_type = py::object(py::module_::import("numpy").attr("datetime64")).release().ptr();
    numpy_bool_type = py::object(py::module_::import("numpy").attr("bool_")).release().ptr();
    facts_dtype = day_facts_dtype().release().ptr();
    m.doc() = "The compiled core of qel_calendar; use the qel_calendar package.";

    lunar_type = reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&lunar_spec));
    if (!lunar_type) throw py::error_already_set();
    m.attr("LunarDate") = py::reinterpret_borrow<py::object>(reinterpret_cast<PyObject*>(lunar_type));
    if (PyModule_AddFunctions(m.ptr(), module_functions) != 0) throw py::error_already_set();

    m.def("lunar_of_days", &lunar_of_days, py::arg("days"), py::arg("calendar") = 0,
          "(year, month, day, leap, valid) arrays of int64 days since 1970; 0/False where not valid.");
    m.def("days_of_lunar", &days_of_lunar, py::arg("year"), py::arg("month"), py::arg("day"), py::arg("leap"),
          py::arg("calendar") = 0,
          "int64 days since 1970 of int32 lunar fields; INT64_MIN (NaT) where the date does not exist.");
    m.def("calendar_of_name", [](py::handle name) { return calendar_arg(name.ptr()); }, py::arg("name"),
          "qel_calendar_of_name: the calendar of a name; ValueError for an unknown one.");
    m.def("language_of_name", [](py::handle name) { return calendar_arg(name.ptr(), "lang"); }, py::arg("name"),
          "The calendar whose language a lang= name asks for.");
    m.def("day_facts_of_days", &day_facts_of_days, py::arg("days"), py::arg("options") = 0,
          "Structured array of the facts of int64 days since 1970.");
    m.def("raw_lunar_of_days", &raw_lunar_of_days, py::arg("days"), py::arg("year").noconvert(),
          py::arg("month").noconvert(), py::arg("day").noconvert(), py::arg("leap").noconvert(),
          py::arg("status").noconvert(),
          "The bare qel_lunar_of_days call into preallocated arrays (a timing hook for benchmarks).");

    m.def("name", [](int32_t kind, int32_t index, uint32_t flags) { return name(kind, index, flags); },
          py::arg("kind"), py::arg("index"), py::arg("flags") = 0, "qel_name: a UTF-8 name by kind and index.");
    m.def("count", &qel_count, py::arg("what"), "qel_count: the size of an enumeration (COUNT_*).");
    m.def(
        "domain_range",
        [](int32_t domain) {
            qel_range r;
            if (qel_domain_range(domain, &r) != QEL_OK) throw py::value_error("no domain " + std::to_string(domain));
            return py::make_tuple(r.first_year, r.last_year, date_of_serial(r.first_serial),
                                  date_of_serial(r.last_serial), r.first_instant, r.last_instant);
        },
        py::arg("domain"), "qel_domain_range: (first_year, last_year, first_date, last_date, first_instant, "
                           "last_instant) of a domain.");
    m.def("range_message", &range_message, py::arg("domain"), "qel_range_message: what lies outside a domain.");
    m.def(
        "term_instant",
        [](py::handle year, int32_t term) {
            int64_t t = 0;
            const int32_t st = qel_term_instant(year_arg(year), term, &t);
            if (st == QEL_E_RANGE) throw py::value_error(range_message(QEL_DOMAIN_TERMS));
            if (st != QEL_OK) throw py::value_error("no solar term " + std::to_string(term));
            return t;
        },
        py::arg("year"), py::arg("term"), "Unix seconds of a solar term of a Gregorian year.");
    m.def(
        "festival_date",
        [](int32_t festival, py::handle year, uint32_t options) {
            int64_t serial = 0;
            const int32_t st = qel_festival_date(festival, year_arg(year), options, &serial);
            if (st == QEL_E_RANGE) throw py::value_error(range_message(QEL_DOMAIN_TERMS));
            const uint32_t calendar = (options & QEL_OPT_CALENDAR_MASK) >> 8;
            if (st != QEL_OK && festival >= 0 && festival < qel_count(QEL_COUNT_FESTIVALS) &&
                calendar < QEL_CALENDAR_COUNT)
                throw py::value_error(std::string("the ") + kCalendarKeys[calendar] + " calendar does not keep it");
            if (st != QEL_OK) throw py::value_error("no festival " + std::to_string(festival));
            return date_of_serial(serial);
        },
        py::arg("festival"), py::arg("year"), py::arg("options") = 0, "The day of a festival in a year.");
    m.def(
        "festivals_of_year",
        [](py::handle year, uint32_t options) {
            qel_festival_day days[QEL_FESTIVAL_DAYS_MAX];
            const int32_t n = qel_festivals_of_year(year_arg(year), options, days, QEL_FESTIVAL_DAYS_MAX);
            if (n == QEL_E_RANGE) throw py::value_error(range_message(QEL_DOMAIN_TERMS));
            if (n < 0) throw py::value_error(status_message(n));
            py::list out;
            for (int32_t i = 0; i < std::min<int32_t>(n, QEL_FESTIVAL_DAYS_MAX); ++i)
                out.append(py::make_tuple(days[i].festival, date_of_serial(days[i].serial)));
            return out;
        },
        py::arg("year"), py::arg("options") = 0,
        "qel_festivals_of_year: (festival, date) of each festival day inside a Gregorian year, in order.");
    m.def(
        "festival_of_name",
        [](py::handle name) {
            if (!PyUnicode_Check(name.ptr()))
                throw py::type_error("a festival is named by a str, not " + type_name(name));
            const std::string text = name.cast<std::string>();
            const int32_t f = qel_festival_of_name(text.data(), text.size());
            if (f < 0)
                throw py::value_error("no festival is named '" + text +
                                      "' (a key such as 'mid-autumn', an English or a Chinese name)");
            return f;
        },
        py::arg("name"), "The festival of a key, English or Chinese name.");
    m.def(
        "leap_month",
        [](py::handle year, int32_t calendar) {
            const int32_t y = year_arg(year);
            qel_lunar_month months[QEL_LUNAR_MONTHS_MAX];
            const int32_t n = qel_lunar_year_months_in(calendar, y, months, QEL_LUNAR_MONTHS_MAX);
            if (n < 0) throw py::value_error(lunar_message(calendar, y, 1, 1, 0, n));
            for (int32_t i = 0; i < std::min<int32_t>(n, QEL_LUNAR_MONTHS_MAX); ++i)
                if (months[i].leap) return months[i].month;
            return 0;
        },
        py::arg("year"), py::arg("calendar") = 0, "The month the leap month of a lunar year follows, 0 for none.");
    m.def(
        "month_info",
        [](py::handle year, py::handle month, py::handle leap, int32_t calendar, const char* function) {
            const int64_t f[3] = {int_arg(year, "year"), int_arg(month, "month"), leap_arg(leap)};
            qel_month_info info;
            const int32_t st = qel_lunar_month_info(calendar, clamp32(f[0]), clamp32(f[1]), clamp32(f[2]), &info);
            if (st != QEL_OK)
                fail(call_text(function, {year, month}, f[2], leap, calendar),
                     st == QEL_E_RANGE || !fits32(f[0])   ? range_message(QEL_DOMAIN_LUNAR)
                     : !fits32(f[1]) || !fits32(f[2]) ? status_message(st)
                                                       : lunar_message(calendar, clamp32(f[0]), clamp32(f[1]), 1,
                                                                       clamp32(f[2]), st));
            return py::make_tuple(info.year, info.month, info.leap != 0, info.days, date_of_serial(info.first_serial),
                                  info.source, info.flags);
        },
        py::arg("year"), py::arg("month"), py::arg("leap"), py::arg("calendar"), py::arg("function"),
        "qel_lunar_month_info: (year, month, leap, days, first_date, source, flags) of a lunar month.");
    m.def(
        "to_lunar_ymd",
        [](py::handle year, py::handle month, py::handle day, int32_t calendar) {
            const int64_t y = int_arg(year, "year"), mo = int_arg(month, "month"), d = int_arg(day, "day");
            const std::string call = call_text("to_lunar_ymd", {year, month, day}, 0, {}, calendar);
            int64_t serial = 0;
            const int32_t st = qel_serial_of_date(clamp32(y), clamp32(mo), clamp32(d), &serial);
            if (st != QEL_OK)
                fail(call, fits32(y) && fits32(mo) && fits32(d)
                               ? civil_message(clamp32(y), clamp32(mo), clamp32(d), 0, 0, 0, st)
                               : status_message(st));
            return py::reinterpret_steal<py::object>(
                new_lunar(lunar_type, lunar_of_day(serial, calendar, [&] { return call; })));
        },
        py::arg("year"), py::arg("month"), py::arg("day"), py::arg("calendar") = 0,
        "The lunar date of Gregorian fields.");
    m.def(
        "lunar_step",
        [](py::handle start, py::handle count, int32_t unit, const char* function) {
            if (!PyObject_TypeCheck(start.ptr(), lunar_type))
                throw py::type_error(std::string(function) + "() takes a LunarDate, not " + type_name(start));
            const LunarDate& d = lunar_of(start.ptr());
            const int64_t n = int_arg(count, "n");
            qel_lunar_date out;
            const int32_t st =
                qel_lunar_step(d.year, d.month, d.day, d.leap, n, unit, QEL_OPT_CALENDAR(d.calendar), &out);
            if (st < 0)
                fail(std::string(function) + "(" + std::string(py::repr(start)) + ", " + std::to_string(n) + ")",
                     st == QEL_E_RANGE ? range_message(QEL_DOMAIN_LUNAR) : status_message(st));
            return py::reinterpret_steal<py::object>(
                new_lunar(lunar_type, {out.year, out.month, out.day, out.leap != 0, d.calendar}));
        },
        py::arg("start"), py::arg("count"), py::arg("unit"), py::arg("function"),
        "qel_lunar_step: a LunarDate moved by count months (UNIT_MONTH) or years (UNIT_YEAR).");
    m.def(
        "pillars_of_cst",
        [](py::handle y, py::handle mo, py::handle d, py::handle h, py::handle mi, py::handle s, py::handle zi) {
            const int32_t f[] = {clamp32(int_arg(y, "year")),  clamp32(int_arg(mo, "month")),
                                 clamp32(int_arg(d, "day")),   clamp32(int_arg(h, "hour")),
                                 clamp32(int_arg(mi, "minute")), clamp32(int_arg(s, "second"))};
            qel_pillars p;
            const int32_t st = qel_pillars_of_cst(f[0], f[1], f[2], f[3], f[4], f[5], zi_arg(zi), &p);
            if (st == QEL_E_RANGE) throw py::value_error(range_message(QEL_DOMAIN_PILLARS));
            if (st != QEL_OK) throw py::value_error(civil_message(f[0], f[1], f[2], f[3], f[4], f[5], st));
            return pillar_tuple(p);
        },
        py::arg("year"), py::arg("month"), py::arg("day"), py::arg("hour"), py::arg("minute"), py::arg("second"),
        py::arg("zi"), "Sexagenary indices (year, month, day, hour) of a civil time in UTC+8.");
    m.def(
        "pillars_of_instant",
        [](int64_t instant, py::handle zi) {
            qel_pillars p;
            const int32_t st = qel_pillars_of_instant(instant, zi_arg(zi), &p);
            if (st != QEL_OK) throw py::value_error(range_message(QEL_DOMAIN_PILLARS));
            return pillar_tuple(p);
        },
        py::arg("instant"), py::arg("zi"), "Sexagenary indices (year, month, day, hour) of Unix seconds.");
    m.def("days_of_objects", &days_of_objects, py::arg("dates"), py::arg("function"),
          "int64 days since 1970 of a flat object array of dates; INT64_MIN (NaT) for missing values.");
    m.def(
        "add_workdays",
        [](py::handle date, py::handle n) {
            const int64_t from = serial_of(date, "add_workdays");
            const int64_t count = int_arg(n, "n");
            int64_t serial = 0;
            if (qel_add_workdays(from, count, nullptr, &serial) != QEL_OK)
                fail("add_workdays(" + day_text(date, from) + ", " + std::to_string(count) + ")",
                     range_message(QEL_DOMAIN_HOLIDAYS));
            return date_of_serial(serial);
        },
        py::arg("date"), py::arg("n"), "The day n working days after a date.");
    m.def("add_workdays_of_days", &add_workdays_of_days, py::arg("days"), py::arg("n"),
          "int64 days since 1970 n working days after each day; INT64_MIN (NaT) where outside the table.");
    m.def("holiday_years", [] {
        int32_t first = 0, last = 0;
        qel_holiday_years(&first, &last);
        return py::make_tuple(first, last);
    }, "The Gregorian years of the built-in holiday table.");
    m.def(
        "holiday_status",
        [](int64_t serial) {
            int32_t holiday = 0;
            const int32_t st = qel_holiday_status(serial, nullptr, &holiday);
            return py::make_tuple(st, holiday);
        },
        py::arg("serial"), "(status, holiday) of a day serial; status -1 outside the table's years.");
    m.def("is_workday", [](int64_t serial) { return qel_is_workday(serial, nullptr); }, py::arg("serial"),
          "1, 0, or -1 outside the table's years.");
    m.def(
        "workdays_between",
        [](int64_t from, int64_t to) {
            int64_t count = 0;
            if (qel_workdays_between(from, to, nullptr, &count) != QEL_OK)
                fail("workdays(" + iso(from) + ", " + iso(to) + ")", range_message(QEL_DOMAIN_HOLIDAYS));
            return count;
        },
        py::arg("start"), py::arg("end"), "Working days in [start, end) of day serials.");
    m.attr("VERSION") = qel_calendar_version();
    // The header's numbers the Python layer needs, so that it restates none.
    m.attr("DOMAINS") = py::make_tuple("gregorian", "lunar", "terms", "pillars", "holidays");
    m.attr("CALENDARS") = py::make_tuple(kCalendarKeys[0], kCalendarKeys[1], kCalendarKeys[2]);
    // Per calendar: the option bits of QEL_OPT_CALENDAR and the qel_name flag of its language.
    m.attr("OPT_CALENDARS") = py::make_tuple(QEL_OPT_CALENDAR(0), QEL_OPT_CALENDAR(1), QEL_OPT_CALENDAR(2));
    m.attr("NAME_FLAGS") = py::make_tuple(kCalendarNameFlags[0], kCalendarNameFlags[1], kCalendarNameFlags[2]);
    m.attr("SOURCES") = py::make_tuple("published", "computed", "record");
    static_assert(QEL_SOURCE_PUBLISHED == 0 && QEL_SOURCE_COMPUTED == 1 && QEL_SOURCE_RECORD == 2,
                  "SOURCES lists the sources in the order of QEL_SOURCE_*");
    m.attr("MONTH_FLAGS") = py::make_tuple(
        py::make_tuple("start_uncertain", QEL_MONTH_START_UNCERTAIN),
        py::make_tuple("label_uncertain", QEL_MONTH_LABEL_UNCERTAIN),
        py::make_tuple("engines_differ", QEL_MONTH_ENGINES_DIFFER),
        py::make_tuple("computation_differs", QEL_MONTH_COMPUTATION_DIFFERS));
    static_assert(QEL_DOMAIN_GREGORIAN == 0 && QEL_DOMAIN_LUNAR == 1 && QEL_DOMAIN_TERMS == 2 &&
                      QEL_DOMAIN_PILLARS == 3 && QEL_DOMAIN_HOLIDAYS == 4 && QEL_DOMAIN_COUNT == 5,
                  "DOMAINS lists the domains in the order of qel_domain");
    const std::pair<const char*, int64_t> constants[] = {
        {"DAY_NO_LUNAR", QEL_DAY_NO_LUNAR},
        {"OPT_XIAONIAN_SOUTH", QEL_OPT_XIAONIAN_SOUTH},
        {"UNIT_MONTH", QEL_UNIT_MONTH},
        {"UNIT_YEAR", QEL_UNIT_YEAR},
        {"COUNT_FESTIVALS", QEL_COUNT_FESTIVALS},
        {"COUNT_HOLIDAYS", QEL_COUNT_HOLIDAYS},
        {"COUNT_TERMS", QEL_COUNT_TERMS},
        {"NAME_CYCLE", QEL_NAME_CYCLE},
        {"NAME_ANIMAL", QEL_NAME_ANIMAL},
        {"NAME_TERM", QEL_NAME_TERM},
        {"NAME_TERM_ENGLISH", QEL_NAME_TERM_ENGLISH},
        {"NAME_TERM_KEY", QEL_NAME_TERM_KEY},
        {"NAME_FESTIVAL", QEL_NAME_FESTIVAL},
        {"NAME_FESTIVAL_ENGLISH", QEL_NAME_FESTIVAL_ENGLISH},
        {"NAME_FESTIVAL_KEY", QEL_NAME_FESTIVAL_KEY},
        {"NAME_HOLIDAY", QEL_NAME_HOLIDAY},
    };
    for (const auto& [key, value] : constants) m.attr(key) = value;
}
