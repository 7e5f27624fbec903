// qel_calendar._core: the CPython binding of the qel_calendar C interface.
//
// to_lunar and LunarDate are plain CPython (a METH_O function, a static-size
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

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "qel_calendar.h"

namespace py = pybind11;

namespace {

struct LunarDate {
    int32_t year, month, day;
    bool leap;
};

struct LunarObject {
    PyObject_HEAD
    LunarDate d;
};

PyTypeObject* lunar_type = nullptr;  // created at import, kept for the life of the process

// numpy.datetime64, looked up once at import; kept for the life of the process.
PyObject* datetime64_type = nullptr;

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

// The leap flag: a bool, or the ints 0 and 1.
bool leap_arg(py::handle v) {
    if (PyBool_Check(v.ptr())) return v.ptr() == Py_True;
    const int64_t x = int_arg(v, "leap");
    if (x != 0 && x != 1) throw py::value_error("leap must be True, False, 0 or 1, not " + std::to_string(x));
    return x == 1;
}

std::string iso(int64_t serial) {
    qel_day_facts f;
    if (qel_day_facts_of(serial, 0, &f) != QEL_OK) return "day serial " + std::to_string(serial);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", static_cast<int>(f.year), static_cast<int>(f.month),
                  static_cast<int>(f.day));
    return buf;
}

// The day serial of a date-like value: a datetime.date or datetime.datetime
// (the date as written, whatever its tzinfo) or a numpy.datetime64 (floored
// to its day). TypeError for anything else, str included: text has more than
// one reading and the caller should parse it. ValueError for NaT.
int64_t serial_of(py::handle v, const char* function) {
    PyObject* p = v.ptr();
    if (PyDate_Check(p)) {
        // pandas.NaT is a datetime subclass whose fields mean nothing.
        if (!PyDate_CheckExact(p) && !PyDateTime_CheckExact(p) && std::strstr(Py_TYPE(p)->tp_name, "NaTType"))
            throw py::value_error("NaT has no date");
        int64_t serial = 0;
        qel_serial_of_date(PyDateTime_GET_YEAR(p), PyDateTime_GET_MONTH(p), PyDateTime_GET_DAY(p), &serial);
        return serial;  // Python's dates are the years 1..9999: always valid
    }
    if (PyObject_TypeCheck(p, reinterpret_cast<PyTypeObject*>(datetime64_type))) {
        const auto days = v.attr("astype")("datetime64[D]").attr("astype")("int64").cast<int64_t>();
        if (days == INT64_MIN) throw py::value_error("NaT has no date");
        return days > INT64_MAX - QEL_EPOCH_UNIX ? INT64_MAX : days + QEL_EPOCH_UNIX;
    }
    throw py::type_error(std::string(function) +
                         "() takes a datetime.date, datetime.datetime or numpy.datetime64, not " + type_name(v));
}

py::object date_of_serial(int64_t serial) {
    qel_day_facts f;
    if (qel_day_facts_of(serial, 0, &f) != QEL_OK) throw py::value_error(iso(serial) + " is outside 0001-9999");
    PyObject* d = PyDate_FromDate(f.year, f.month, f.day);
    if (!d) throw py::error_already_set();
    return py::reinterpret_steal<py::object>(d);
}

// ValueError for a lunar date that qel_serial_of_lunar refused, saying why.
[[noreturn]] void lunar_date_error(int32_t status, int64_t year, int64_t month, int64_t day, bool leap) {
    const std::string date = std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day) +
                             (leap ? " (leap month)" : "");
    if (status == QEL_E_RANGE) throw py::value_error("lunar year " + std::to_string(year) + " is outside 1900-2100");
    const int32_t y = clamp32(year);
    if (month < 1 || month > 12) throw py::value_error("lunar " + date + ": the month is not 1..12");
    if (leap && qel_lunar_leap_month(y) != month) {
        const int32_t has = qel_lunar_leap_month(y);
        throw py::value_error("lunar " + date + ": the year's leap month " +
                              (has ? "follows month " + std::to_string(has) : std::string("does not exist")));
    }
    throw py::value_error("lunar " + date + ": the month has " +
                          std::to_string(qel_lunar_month_days(y, clamp32(month), leap)) + " days");
}

int64_t serial_of_lunar(int64_t year, int64_t month, int64_t day, bool leap) {
    int64_t serial = 0;
    const int32_t st = qel_serial_of_lunar(clamp32(year), clamp32(month), clamp32(day), leap, &serial);
    if (st != QEL_OK) lunar_date_error(st, year, month, day, leap);
    return serial;
}

// "二〇一七年闰六月初一": the year in Chinese digits, then the month and day as
// a Chinese calendar prints them.
std::string lunar_text(const LunarDate& d) {
    static const char* const digits[] = {"〇", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    const std::string y = std::to_string(d.year);
    std::string s;
    for (char c : y) s += digits[c - '0'];
    char buf[64];
    qel_lunar_text(d.year, d.month, d.day, d.leap, 0, buf, sizeof buf);
    return s + "年" + buf;
}

// Chronological order: a leap month comes after the month it follows.
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

LunarDate checked_lunar(py::handle y, py::handle mo, py::handle d, py::handle leap) {
    const bool l = leap_arg(leap);
    const int64_t year = int_arg(y, "year"), month = int_arg(mo, "month"), day = int_arg(d, "day");
    serial_of_lunar(year, month, day, l);
    return {static_cast<int32_t>(year), static_cast<int32_t>(month), static_cast<int32_t>(day), l};
}

PyObject* lunar_new(PyTypeObject* type, PyObject* args, PyObject* kwargs) {
    static const char* keywords[] = {"year", "month", "day", "leap", nullptr};
    PyObject *y = nullptr, *mo = nullptr, *d = nullptr, *leap = Py_False;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "OOO|O:LunarDate", const_cast<char**>(keywords), &y, &mo, &d,
                                     &leap))
        return nullptr;
    return guarded([&] { return new_lunar(type, checked_lunar(y, mo, d, leap)); });
}

PyObject* lunar_str(PyObject* self) {
    return guarded([&] { return py::str(lunar_text(lunar_of(self))).release().ptr(); });
}

PyObject* lunar_repr(PyObject* self) {
    const LunarDate& d = lunar_of(self);
    return PyUnicode_FromFormat(d.leap ? "LunarDate(%d, %d, %d, leap=True)" : "LunarDate(%d, %d, %d)", d.year,
                                d.month, d.day);
}

Py_hash_t lunar_hash(PyObject* self) {
    const auto h = static_cast<Py_hash_t>(order_key(lunar_of(self)));
    return h == -1 ? -2 : h;
}

PyObject* lunar_richcompare(PyObject* a, PyObject* b, int op) {
    if (!PyObject_TypeCheck(b, lunar_type)) Py_RETURN_NOTIMPLEMENTED;
    Py_RETURN_RICHCOMPARE(order_key(lunar_of(a)), order_key(lunar_of(b)), op);
}

PyObject* lunar_to_date(PyObject* self, PyObject*) {
    return guarded([&] {
        const LunarDate& d = lunar_of(self);
        return date_of_serial(serial_of_lunar(d.year, d.month, d.day, d.leap)).release().ptr();
    });
}

PyObject* lunar_reduce(PyObject* self, PyObject*) {
    const LunarDate& d = lunar_of(self);
    return Py_BuildValue("O(iiiO)", reinterpret_cast<PyObject*>(Py_TYPE(self)), d.year, d.month, d.day,
                         d.leap ? Py_True : Py_False);
}

PyObject* lunar_get_leap(PyObject* self, void*) { return PyBool_FromLong(lunar_of(self).leap); }

PyObject* to_lunar(PyObject*, PyObject* value) {
    return guarded([&] {
        const int64_t serial = serial_of(value, "to_lunar");
        qel_lunar_date l;
        if (qel_lunar_of_serial(serial, &l) != QEL_OK)
            throw py::value_error(iso(serial) + " is outside the lunar calendar's days 1900-01-31 .. 2101-01-28");
        return new_lunar(lunar_type, {l.year, l.month, l.day, l.leap != 0});
    });
}

PyMemberDef lunar_members[] = {
    {"year", T_INT, offsetof(LunarObject, d.year), READONLY, "The lunar year, 1900..2100."},
    {"month", T_INT, offsetof(LunarObject, d.month), READONLY,
     "1..12; a leap month carries the number of the month it follows."},
    {"day", T_INT, offsetof(LunarObject, d.day), READONLY, "1..30."},
    {nullptr, 0, 0, 0, nullptr}};

PyGetSetDef lunar_getset[] = {{"leap", lunar_get_leap, nullptr, "True in a leap month.", nullptr},
                              {nullptr, nullptr, nullptr, nullptr, nullptr}};

PyMethodDef lunar_methods[] = {
    {"to_date", lunar_to_date, METH_NOARGS, "to_date($self, /)\n--\n\nThe Gregorian date of this day."},
    {"__reduce__", lunar_reduce, METH_NOARGS, nullptr},
    {nullptr, nullptr, 0, nullptr}};

const char lunar_doc[] = R"(LunarDate(year, month, day, leap=False)
--

A date of the Chinese lunisolar calendar, lunar years 1900-2100.

Immutable and hashable; ordered by time (a leap month after the month it
follows). str() gives the date as a Chinese calendar writes it,
"二〇一七年闰六月初一"; repr() the fields.

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
    {"to_lunar", to_lunar, METH_O, R"(to_lunar(date, /)
--

The lunar date of a day (date, datetime or numpy.datetime64).

A datetime counts by its date as written; its tzinfo is not applied.
ValueError outside 1900-01-31 .. 2101-01-28 (lunar 1900-01-01 .. 2100-12-29)
or for NaT; TypeError for other types, str included.)"},
    {nullptr, nullptr, 0, nullptr}};

std::string name(int32_t kind, int32_t index, uint32_t flags = 0) {
    char buf[64];
    const int32_t n = qel_name(kind, index, flags, buf, sizeof buf);
    if (n < 0) throw py::value_error("no name of kind " + std::to_string(kind) + " for " + std::to_string(index));
    return buf;
}

int32_t zi_arg(const std::string& zi) {
    if (zi == "late") return QEL_ZI_LATE;
    if (zi == "early") return QEL_ZI_EARLY;
    throw py::value_error("zi must be 'late' or 'early', not '" + zi + "'");
}

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
py::tuple lunar_of_days(const Days& days) {
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
            qel_lunar_of_days(in + i, k, QEL_EPOCH_UNIX, y + i, m + i, d + i, leap_buf, status_buf);
            for (size_t j = 0; j < k; ++j) l[i + j] = leap_buf[j] != 0, v[i + j] = status_buf[j] == QEL_OK;
        }
    }
    return py::make_tuple(year, month, day, leap, valid);
}

py::array_t<int64_t> days_of_lunar(const Ints& year, const Ints& month, const Ints& day, const Ints& leap) {
    const auto n = static_cast<size_t>(year.size());
    if (month.size() != year.size() || day.size() != year.size() || leap.size() != year.size())
        throw py::value_error("year, month, day and leap must have one length");
    auto days = empty<int64_t>(n);
    int64_t* out = days.mutable_data();
    {
        py::gil_scoped_release nogil;
        qel_days_of_lunar(year.data(), month.data(), day.data(), leap.data(), n, QEL_EPOCH_UNIX, out, nullptr);
    }
    return days;
}

py::array_t<qel_day_facts> day_facts_of_days(const Days& days, uint32_t options) {
    const auto n = static_cast<size_t>(days.size());
    auto facts = empty<qel_day_facts>(n);
    qel_day_facts* out = facts.mutable_data();
    int64_t r = 0;
    {
        py::gil_scoped_release nogil;
        r = qel_day_facts_of_days(days.data(), n, QEL_EPOCH_UNIX, options, out, nullptr);
    }
    if (r < 0) throw py::value_error("unknown option");
    return facts;
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
    // The facts of a day as a NumPy record; `reserved` stays out (padding).
    PYBIND11_NUMPY_DTYPE(qel_day_facts, serial, year, month, day, weekday, day_of_year, flags, lunar_year,
                         lunar_month, lunar_day, lunar_leap, lunar_month_days, lunar_leap_month, year_cycle,
                         day_cycle, term, holiday_status, holiday, term_instant, festivals);
    m.doc() = "The compiled core of qel_calendar; use the qel_calendar package.";

    lunar_type = reinterpret_cast<PyTypeObject*>(PyType_FromSpec(&lunar_spec));
    if (!lunar_type) throw py::error_already_set();
    m.attr("LunarDate") = py::reinterpret_borrow<py::object>(reinterpret_cast<PyObject*>(lunar_type));
    if (PyModule_AddFunctions(m.ptr(), module_functions) != 0) throw py::error_already_set();

    m.def(
        "from_lunar",
        [](py::handle y, py::handle mo, py::handle d, py::handle leap) {
            const bool l = leap_arg(leap);
            return date_of_serial(serial_of_lunar(int_arg(y, "year"), int_arg(mo, "month"), int_arg(d, "day"), l));
        },
        py::arg("year"), py::arg("month"), py::arg("day"), py::arg("leap") = false,
        R"(The Gregorian date of a lunar date.

ValueError for a year outside 1900-2100 or a date the year does not have (day
30 of a 29-day month, a leap month the year lacks); TypeError for non-ints.)");
    m.def("serial_of", [](py::handle v) { return serial_of(v, "serial_of"); }, py::arg("date"),
          "The day serial (days since 1899-12-30) of a date, datetime or numpy.datetime64.");

    m.def("lunar_of_days", &lunar_of_days, py::arg("days"),
          "(year, month, day, leap, valid) arrays of int64 days since 1970; 0/False where not valid.");
    m.def("days_of_lunar", &days_of_lunar, py::arg("year"), py::arg("month"), py::arg("day"), py::arg("leap"),
          "int64 days since 1970 of int32 lunar fields; INT64_MIN (NaT) where the date does not exist.");
    m.def("day_facts_of_days", &day_facts_of_days, py::arg("days"), py::arg("options") = 0,
          "Structured array of the facts of int64 days since 1970.");
    m.def("raw_lunar_of_days", &raw_lunar_of_days, py::arg("days"), py::arg("year").noconvert(),
          py::arg("month").noconvert(), py::arg("day").noconvert(), py::arg("leap").noconvert(),
          py::arg("status").noconvert(),
          "The bare qel_lunar_of_days call into preallocated arrays (a timing hook for benchmarks).");

    m.def("name", [](int32_t kind, int32_t index, uint32_t flags) { return name(kind, index, flags); },
          py::arg("kind"), py::arg("index"), py::arg("flags") = 0, "qel_name: a UTF-8 name by kind and index.");
    m.def(
        "term_instant",
        [](int32_t year, int32_t term) {
            int64_t t = 0;
            if (qel_term_instant(year, term, &t) != QEL_OK)
                throw py::value_error("solar terms cover the years 1900-2100, not " + std::to_string(year));
            return t;
        },
        py::arg("year"), py::arg("term"), "Unix seconds of solar term 0..23 of a Gregorian year.");
    m.def(
        "festival_date",
        [](int32_t festival, int32_t year, uint32_t options) {
            int64_t serial = 0;
            if (qel_festival_date(festival, year, options, &serial) != QEL_OK)
                throw py::value_error("festivals cover the years 1900-2100, not " + std::to_string(year));
            return serial;
        },
        py::arg("festival"), py::arg("year"), py::arg("options") = 0, "Day serial of a festival in a year.");
    m.def(
        "pillars_of_cst",
        [](int32_t y, int32_t mo, int32_t d, int32_t h, int32_t mi, int32_t s, const std::string& zi) {
            qel_pillars p;
            if (qel_pillars_of_cst(y, mo, d, h, mi, s, zi_arg(zi), &p) != QEL_OK)
                throw py::value_error("the four pillars cover the 立春 of 1900 (1900-02-04 13:51:30 UTC+8) to the "
                                      "end of 2100");
            return pillar_tuple(p);
        },
        py::arg("year"), py::arg("month"), py::arg("day"), py::arg("hour"), py::arg("minute"), py::arg("second"),
        py::arg("zi") = "late", "Sexagenary indices (year, month, day, hour) of a civil time in UTC+8.");
    m.def(
        "pillars_of_instant",
        [](int64_t instant, const std::string& zi) {
            qel_pillars p;
            if (qel_pillars_of_instant(instant, zi_arg(zi), &p) != QEL_OK)
                throw py::value_error("the four pillars cover the 立春 of 1900 (1900-02-04 13:51:30 UTC+8) to the "
                                      "end of 2100");
            return pillar_tuple(p);
        },
        py::arg("instant"), py::arg("zi") = "late", "Sexagenary indices (year, month, day, hour) of Unix seconds.");
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
                throw py::value_error("the holiday table does not cover every day of " + iso(from) + " .. " +
                                      iso(to));
            return count;
        },
        py::arg("start"), py::arg("end"), "Working days in [start, end) of day serials.");
    m.attr("VERSION") = qel_calendar_version();
}
