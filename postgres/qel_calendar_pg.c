/* qel_calendar_pg.c: the SQL functions of the qel_calendar extension, over
 * the C interface of qel_calendar.
 *
 * The library keeps no state, allocates nothing and answers every argument
 * with a value or a status code in bounded time, so every function here is
 * IMMUTABLE STRICT PARALLEL SAFE, and every status becomes an ERROR with a
 * SQLSTATE before anything is returned:
 *   22008 datetime_field_overflow   a date or year outside the covered range
 *   22007 invalid_datetime_format   a lunar date that does not exist
 *   22023 invalid_parameter_value   an unknown name, term number or option
 * ereport() unwinds with longjmp, so it is only ever called here, in C, and
 * never from inside the library's C++ frames.
 *
 * Day counts: PostgreSQL's date counts days from 2000-01-01 and its
 * timestamptz microseconds from 2000-01-01 00:00 UTC; the library counts
 * days from 1899-12-30 (serials) and seconds from 1970 (instants). The
 * infinities and the extremes of both types map to serials and instants far
 * outside the library's years, which it answers with QEL_E_RANGE. */
#include "postgres.h"

#include "access/htup_details.h"
#include "catalog/pg_type.h"
#include "fmgr.h"
#include "funcapi.h"
#include "libpq/pqformat.h"
#include "utils/array.h"
#include "utils/builtins.h"
#include "utils/date.h"
#include "utils/timestamp.h"

#include "qel_calendar.h"

PG_MODULE_MAGIC;

/* 946684800: Unix time of 2000-01-01 00:00 UTC. */
#define UNIX_SECONDS_AT_PG_EPOCH ((int64) (POSTGRES_EPOCH_JDATE - UNIX_EPOCH_JDATE) * SECS_PER_DAY)

static inline int64
serial_of_date(DateADT d)
{
	return (int64) d + QEL_EPOCH_POSTGRES;
}

static inline DateADT
date_of_serial(int64 serial)
{
	return (DateADT) (serial - QEL_EPOCH_POSTGRES);
}

/* Whole seconds, rounded down: 1 microsecond before a solar term is still
 * before it. */
static inline int64
instant_of_timestamptz(TimestampTz t)
{
	int64		seconds = t / USECS_PER_SEC;

	if (t % USECS_PER_SEC < 0)
		seconds--;
	return seconds + UNIX_SECONDS_AT_PG_EPOCH;
}

/* A naive timestamp is a wall time in China Standard Time: the instant is
 * eight hours earlier than the same wall time in UTC. */
static inline int64
instant_of_cst_timestamp(Timestamp t)
{
	return instant_of_timestamptz(t) - 8 * SECS_PER_HOUR;
}

static inline TimestampTz
timestamptz_of_instant(int64 instant)
{
	return (instant - UNIX_SECONDS_AT_PG_EPOCH) * USECS_PER_SEC;
}

/* ---- Errors -------------------------------------------------------------- */

static const char *
date_text(DateADT d)
{
	return DatumGetCString(DirectFunctionCall1(date_out, DateADTGetDatum(d)));
}

static const char *
timestamptz_text(TimestampTz t)
{
	return DatumGetCString(DirectFunctionCall1(timestamptz_out, TimestampTzGetDatum(t)));
}

static const char *
timestamp_text(Timestamp t)
{
	return DatumGetCString(DirectFunctionCall1(timestamp_out, TimestampGetDatum(t)));
}

/* An instant as a civil time in China Standard Time. */
static const char *
cst_text(int64 instant)
{
	int64		serial;
	int32		second;
	qel_day_facts day;

	if (qel_cst_of_instant(instant, &serial, &second) != QEL_OK || qel_day_facts_of(serial, 0, &day) != QEL_OK)
		return "?";
	return psprintf("%04d-%02d-%02d %02d:%02d:%02d UTC+8", (int) day.year, (int) day.month, (int) day.day,
					(int) (second / 3600), (int) (second / 60 % 60), (int) (second % 60));
}

#define RANGE_ERROR(message, hint) \
	ereport(ERROR, (errcode(ERRCODE_DATETIME_FIELD_OVERFLOW), errmsg message, errhint hint))
#define ARGUMENT_ERROR(message, hint) \
	ereport(ERROR, (errcode(ERRCODE_INVALID_PARAMETER_VALUE), errmsg message, errhint hint))

static void holiday_range_error(const char *what) pg_attribute_noreturn();

static void
holiday_range_error(const char *what)
{
	int32		first = 0;
	int32		last = 0;

	qel_holiday_years(&first, &last);
	RANGE_ERROR(("%s is not within the years of the PRC holiday table", what),
				("Public holidays and make-up working days are known for the years %d to %d.",
				 (int) first, (int) last));
}

/* ---- Names --------------------------------------------------------------- */

/* Every name the library has fits: the longest is an English festival name. */
#define NAME_BUFFER 96

static text *
calendar_name(int32 kind, int32 index)
{
	char		buf[NAME_BUFFER];
	int32		length = qel_name(kind, index, 0, buf, sizeof buf);

	if (length < 0 || length >= (int32) sizeof buf)
		elog(ERROR, "qel_name(%d, %d) returned %d", (int) kind, (int) index, (int) length);
	return cstring_to_text_with_len(buf, length);
}

static text *
lunar_text_of(int32 year, int32 month, int32 day, int32 leap)
{
	char		buf[NAME_BUFFER];
	int32		length = qel_lunar_text(year, month, day, leap, 0, buf, sizeof buf);

	if (length < 0 || length >= (int32) sizeof buf)
		elog(ERROR, "qel_lunar_text(%d, %d, %d, %d) returned %d",
			 (int) year, (int) month, (int) day, (int) leap, (int) length);
	return cstring_to_text_with_len(buf, length);
}

/* ---- Range errors or NULL ---------------------------------------------------- */

/* The forms of a function with a second argument `strict`: with false, a
 * day outside the covered years answers NULL instead of an error. */
static inline bool
lenient(FunctionCallInfo fcinfo)
{
	return PG_NARGS() > 1 && !PG_GETARG_BOOL(1);
}

/* ---- Lunar dates --------------------------------------------------------- */

static void lunar_range_error(const char *what) pg_attribute_noreturn();

static void
lunar_range_error(const char *what)
{
	RANGE_ERROR(("%s is outside the lunar years 1900 to 2100", what),
				("Lunar dates are known from 1900-01-31 (lunar 1900-01-01) to 2101-01-28 (lunar 2100-12-29)."));
}

/* The lunar date of a day; false outside the lunar years when `lenient`,
 * else an error there. */
static bool
lunar_of_date(DateADT d, bool lenient, qel_lunar_date *lunar)
{
	if (qel_lunar_of_serial(serial_of_date(d), lunar) == QEL_OK)
		return true;
	if (!lenient)
		lunar_range_error(psprintf("date %s", date_text(d)));
	return false;
}

/* The day of a lunar date, or an error that says what is wrong with it. */
static DateADT
date_of_lunar(int32 year, int32 month, int32 day, bool leap)
{
	int64		serial;
	int32		status = qel_serial_of_lunar(year, month, day, leap ? 1 : 0, &serial);
	int32		leap_month;

	if (status == QEL_OK)
		return date_of_serial(serial);
	if (status == QEL_E_RANGE)
		RANGE_ERROR(("lunar year %d is outside the lunar years 1900 to 2100", (int) year),
					("The lunar table covers the lunar years 1900 to 2100."));

#define NO_SUCH_LUNAR_DATE(hint) \
	ereport(ERROR, (errcode(ERRCODE_INVALID_DATETIME_FORMAT), \
					errmsg("lunar date %d-%d-%d%s does not exist", (int) year, (int) month, (int) day, \
						   leap ? " (leap month)" : ""), \
					errhint hint))
	leap_month = qel_lunar_leap_month(year);
	if (month < 1 || month > 12)
		NO_SUCH_LUNAR_DATE(("Lunar months are numbered 1 to 12; a leap month takes the number of the month it follows."));
	if (leap && leap_month == 0)
		NO_SUCH_LUNAR_DATE(("Lunar year %d has no leap month.", (int) year));
	if (leap && leap_month != month)
		NO_SUCH_LUNAR_DATE(("The leap month of lunar year %d follows month %d.", (int) year, (int) leap_month));
	NO_SUCH_LUNAR_DATE(("%s %d of lunar year %d has %d days.", leap ? "Leap month" : "Month", (int) month,
						(int) year, (int) qel_lunar_month_days(year, month, leap ? 1 : 0)));
#undef NO_SUCH_LUNAR_DATE
	pg_unreachable();
}

/* lunar_date holds the day itself, as date does (days from 2000-01-01), so
 * every comparison, hash and sort is date's, by time. A value always lies
 * within the lunar table: input, receive and every constructor check. */

/* The year of the text form in Chinese digits, as calendars write it:
 * 二〇一七年. Each digit is three bytes in UTF-8. */
static const char *const year_digits[10] = {"〇", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
#define YEAR_DIGIT_BYTES 3
#define YEAR_MARK "年"

static char *
lunar_date_cstring(DateADT d)
{
	qel_lunar_date lunar;
	char		buf[NAME_BUFFER];
	char	   *out;
	int32		length;

	lunar_of_date(d, false, &lunar);
	length = qel_lunar_text(lunar.year, lunar.month, lunar.day, lunar.leap, 0, buf, sizeof buf);
	if (length < 0 || length >= (int32) sizeof buf)
		elog(ERROR, "qel_lunar_text(%d, %d, %d, %d) returned %d",
			 (int) lunar.year, (int) lunar.month, (int) lunar.day, (int) lunar.leap, (int) length);
	out = psprintf("%s%s%s%s" YEAR_MARK "%s", year_digits[lunar.year / 1000], year_digits[lunar.year / 100 % 10],
				   year_digits[lunar.year / 10 % 10], year_digits[lunar.year % 10], buf);
	return out;
}

/* The name of kind `kind` in 1..last that `text` starts with, its length in
 * *matched; 0 when none does. */
static int32
leading_name(const char *text, int32 kind, int32 last, uint32 flags, size_t *matched)
{
	for (int32 i = 1; i <= last; i++)
	{
		char		buf[NAME_BUFFER];
		int32		length = qel_name(kind, i, flags, buf, sizeof buf);

		if (length > 0 && strncmp(text, buf, (size_t) length) == 0)
		{
			*matched = (size_t) length;
			return i;
		}
	}
	return 0;
}

static void lunar_date_syntax_error(const char *input) pg_attribute_noreturn();

static void
lunar_date_syntax_error(const char *input)
{
	ereport(ERROR, (errcode(ERRCODE_INVALID_DATETIME_FORMAT),
					errmsg("invalid input syntax for type lunar_date: \"%s\"", input),
					errhint("Write a lunar date as a Chinese calendar does: 二〇一七年闰六月初一, 二〇二五年正月十五.")));
}

PG_FUNCTION_INFO_V1(sql_lunar_date_in);
Datum
sql_lunar_date_in(PG_FUNCTION_ARGS)
{
	const char *input = PG_GETARG_CSTRING(0);
	const char *p = input;
	const char *end;
	int32		year = 0;
	int32		month;
	int32		day;
	bool		leap = false;
	size_t		matched = 0;

	while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r')
		p++;
	end = p + strlen(p);
	while (end > p && (end[-1] == ' ' || end[-1] == '\t' || end[-1] == '\n' || end[-1] == '\r'))
		end--;
	for (int i = 0; i < 4; i++)
	{
		int			digit = 0;

		while (digit < 10 && strncmp(p, year_digits[digit], YEAR_DIGIT_BYTES) != 0)
			digit++;
		if (digit == 10)
			lunar_date_syntax_error(input);
		year = year * 10 + digit;
		p += YEAR_DIGIT_BYTES;
	}
	if (strncmp(p, YEAR_MARK, strlen(YEAR_MARK)) != 0)
		lunar_date_syntax_error(input);
	p += strlen(YEAR_MARK);
	month = leading_name(p, QEL_NAME_LUNAR_MONTH, 12, QEL_NAME_LEAP, &matched);
	if (month != 0)
		leap = true;
	else
		month = leading_name(p, QEL_NAME_LUNAR_MONTH, 12, 0, &matched);
	if (month == 0)
		lunar_date_syntax_error(input);
	p += matched;
	day = leading_name(p, QEL_NAME_LUNAR_DAY, 30, 0, &matched);
	if (day == 0 || p + matched != end)
		lunar_date_syntax_error(input);
	PG_RETURN_DATEADT(date_of_lunar(year, month, day, leap));
}

PG_FUNCTION_INFO_V1(sql_lunar_date_out);
Datum
sql_lunar_date_out(PG_FUNCTION_ARGS)
{
	PG_RETURN_CSTRING(lunar_date_cstring(PG_GETARG_DATEADT(0)));
}

/* The binary form is date's: the days from 2000-01-01 as a 32-bit integer. */
PG_FUNCTION_INFO_V1(sql_lunar_date_recv);
Datum
sql_lunar_date_recv(PG_FUNCTION_ARGS)
{
	DateADT		d = (DateADT) pq_getmsgint((StringInfo) PG_GETARG_POINTER(0), sizeof(DateADT));
	qel_lunar_date lunar;

	lunar_of_date(d, false, &lunar);
	PG_RETURN_DATEADT(d);
}

PG_FUNCTION_INFO_V1(sql_lunar_date_send);
Datum
sql_lunar_date_send(PG_FUNCTION_ARGS)
{
	StringInfoData buf;

	pq_begintypsend(&buf);
	pq_sendint32(&buf, PG_GETARG_DATEADT(0));
	PG_RETURN_BYTEA_P(pq_endtypsend(&buf));
}

/* lunar(date): the day itself, once it is known to have a lunar date. */
PG_FUNCTION_INFO_V1(sql_lunar);
Datum
sql_lunar(PG_FUNCTION_ARGS)
{
	DateADT		d = PG_GETARG_DATEADT(0);
	qel_lunar_date lunar;

	if (!lunar_of_date(d, lenient(fcinfo), &lunar))
		PG_RETURN_NULL();
	PG_RETURN_DATEADT(d);
}

/* lunar(text): the string as a date literal reads it. */
PG_FUNCTION_INFO_V1(sql_lunar_of_text);
Datum
sql_lunar_of_text(PG_FUNCTION_ARGS)
{
	DateADT		d = DatumGetDateADT(DirectFunctionCall1(date_in, CStringGetDatum(text_to_cstring(PG_GETARG_TEXT_PP(0)))));
	qel_lunar_date lunar;

	lunar_of_date(d, false, &lunar);
	PG_RETURN_DATEADT(d);
}

/* The day of a naive timestamp (a UTC+8 wall time) is its date part. */
PG_FUNCTION_INFO_V1(sql_lunar_of_timestamp);
Datum
sql_lunar_of_timestamp(PG_FUNCTION_ARGS)
{
	Timestamp	t = PG_GETARG_TIMESTAMP(0);
	int64		days = t / USECS_PER_DAY;
	qel_lunar_date lunar;

	if (t % USECS_PER_DAY < 0)
		days--;
	if (qel_lunar_of_serial(days + QEL_EPOCH_POSTGRES, &lunar) != QEL_OK)
		lunar_range_error(psprintf("timestamp %s", timestamp_text(t)));
	PG_RETURN_DATEADT(date_of_serial(days + QEL_EPOCH_POSTGRES));
}

/* The day of an instant in UTC+8. */
PG_FUNCTION_INFO_V1(sql_lunar_of_timestamptz);
Datum
sql_lunar_of_timestamptz(PG_FUNCTION_ARGS)
{
	TimestampTz t = PG_GETARG_TIMESTAMPTZ(0);
	int64		serial;
	int32		second;
	qel_lunar_date lunar;

	if (qel_cst_of_instant(instant_of_timestamptz(t), &serial, &second) != QEL_OK ||
		qel_lunar_of_serial(serial, &lunar) != QEL_OK)
		lunar_range_error(psprintf("timestamp %s", timestamptz_text(t)));
	PG_RETURN_DATEADT(date_of_serial(serial));
}

PG_FUNCTION_INFO_V1(sql_lunar_year);
Datum
sql_lunar_year(PG_FUNCTION_ARGS)
{
	qel_lunar_date lunar;

	if (!lunar_of_date(PG_GETARG_DATEADT(0), lenient(fcinfo), &lunar))
		PG_RETURN_NULL();
	PG_RETURN_INT32(lunar.year);
}

PG_FUNCTION_INFO_V1(sql_lunar_month);
Datum
sql_lunar_month(PG_FUNCTION_ARGS)
{
	qel_lunar_date lunar;

	if (!lunar_of_date(PG_GETARG_DATEADT(0), lenient(fcinfo), &lunar))
		PG_RETURN_NULL();
	PG_RETURN_INT32(lunar.month);
}

PG_FUNCTION_INFO_V1(sql_lunar_day);
Datum
sql_lunar_day(PG_FUNCTION_ARGS)
{
	qel_lunar_date lunar;

	if (!lunar_of_date(PG_GETARG_DATEADT(0), lenient(fcinfo), &lunar))
		PG_RETURN_NULL();
	PG_RETURN_INT32(lunar.day);
}

PG_FUNCTION_INFO_V1(sql_lunar_is_leap);
Datum
sql_lunar_is_leap(PG_FUNCTION_ARGS)
{
	qel_lunar_date lunar;

	if (!lunar_of_date(PG_GETARG_DATEADT(0), lenient(fcinfo), &lunar))
		PG_RETURN_NULL();
	PG_RETURN_BOOL(lunar.leap != 0);
}

PG_FUNCTION_INFO_V1(sql_lunar_text);
Datum
sql_lunar_text(PG_FUNCTION_ARGS)
{
	qel_lunar_date lunar;

	if (!lunar_of_date(PG_GETARG_DATEADT(0), lenient(fcinfo), &lunar))
		PG_RETURN_NULL();
	PG_RETURN_TEXT_P(lunar_text_of(lunar.year, lunar.month, lunar.day, lunar.leap));
}

/* from_lunar(year, month, day, leap) and lunar_date(year, month, day,
 * leap): both are the day, as date and as lunar_date. */
PG_FUNCTION_INFO_V1(sql_from_lunar);
Datum
sql_from_lunar(PG_FUNCTION_ARGS)
{
	PG_RETURN_DATEADT(date_of_lunar(PG_GETARG_INT32(0), PG_GETARG_INT32(1), PG_GETARG_INT32(2),
									PG_GETARG_BOOL(3)));
}

/* ---- Solar terms ----------------------------------------------------------- */

static void term_year_error(int32 year) pg_attribute_noreturn();

static void
term_year_error(int32 year)
{
	RANGE_ERROR(("year %d is outside the years of the solar-term table", (int) year),
				("Solar terms are known for the years 1900 to 2100."));
}

/* The facts of a day, false outside the Gregorian years 1900-2100, where
 * the terms and the Gregorian festivals are known. */
static bool
facts_1900_2100(DateADT d, qel_day_facts *facts)
{
	return qel_day_facts_of(serial_of_date(d), 0, facts) == QEL_OK && facts->year >= QEL_FIRST_YEAR &&
		facts->year <= QEL_LAST_YEAR;
}

PG_FUNCTION_INFO_V1(sql_solar_term);
Datum
sql_solar_term(PG_FUNCTION_ARGS)
{
	DateADT		d = PG_GETARG_DATEADT(0);
	qel_day_facts facts;

	if (!facts_1900_2100(d, &facts))
	{
		if (lenient(fcinfo))
			PG_RETURN_NULL();
		RANGE_ERROR(("date %s is outside the years of the solar-term table", date_text(d)),
					("Solar terms are known for the years 1900 to 2100."));
	}
	if (facts.term < 0)
		PG_RETURN_NULL();
	PG_RETURN_TEXT_P(calendar_name(QEL_NAME_TERM, facts.term));
}

static TimestampTz
term_at(int32 year, int32 term)
{
	int64		instant;
	int32		status = qel_term_instant(year, term, &instant);

	if (status == QEL_E_RANGE)
		term_year_error(year);
	if (status != QEL_OK)
		ARGUMENT_ERROR(("solar term number %d is out of range", (int) term),
					   ("Terms are numbered 0 (小寒, Minor Cold) to 23 (冬至, Winter Solstice) within a Gregorian year."));
	return timestamptz_of_instant(instant);
}

PG_FUNCTION_INFO_V1(sql_solar_term_at);
Datum
sql_solar_term_at(PG_FUNCTION_ARGS)
{
	PG_RETURN_TIMESTAMPTZ(term_at(PG_GETARG_INT32(0), PG_GETARG_INT32(1)));
}

PG_FUNCTION_INFO_V1(sql_solar_term_at_name);
Datum
sql_solar_term_at_name(PG_FUNCTION_ARGS)
{
	text	   *name = PG_GETARG_TEXT_PP(1);
	int32		term = qel_term_of_name(VARDATA_ANY(name), VARSIZE_ANY_EXHDR(name));

	if (term < 0)
		ARGUMENT_ERROR(("unknown solar term \"%s\"", text_to_cstring(name)),
					   ("Give a Chinese name (清明), an English name (Clear and Bright) or a key (clear-and-bright)."));
	PG_RETURN_TIMESTAMPTZ(term_at(PG_GETARG_INT32(0), term));
}

/* solar_terms(year): the 24 terms of a Gregorian year in order. */
PG_FUNCTION_INFO_V1(sql_solar_terms);
Datum
sql_solar_terms(PG_FUNCTION_ARGS)
{
	FuncCallContext *call;
	int32		year = PG_GETARG_INT32(0);

	if (SRF_IS_FIRSTCALL())
	{
		int64		instant;
		MemoryContext previous;
		TupleDesc	desc;

		if (qel_term_instant(year, 0, &instant) != QEL_OK)
			term_year_error(year);
		call = SRF_FIRSTCALL_INIT();
		previous = MemoryContextSwitchTo(call->multi_call_memory_ctx);
		if (get_call_result_type(fcinfo, NULL, &desc) != TYPEFUNC_COMPOSITE)
			elog(ERROR, "function returning a row called in a context that cannot accept one");
		call->tuple_desc = BlessTupleDesc(desc);
		MemoryContextSwitchTo(previous);
		call->max_calls = 24;
	}
	call = SRF_PERCALL_SETUP();
	if (call->call_cntr < call->max_calls)
	{
		int32		term = (int32) call->call_cntr;
		Datum		values[2];
		bool		nulls[2] = {false, false};

		values[0] = PointerGetDatum(calendar_name(QEL_NAME_TERM, term));
		values[1] = TimestampTzGetDatum(term_at(year, term));
		SRF_RETURN_NEXT(call, HeapTupleGetDatum(heap_form_tuple(call->tuple_desc, values, nulls)));
	}
	SRF_RETURN_DONE(call);
}

/* ---- Festivals ------------------------------------------------------------- */

/* festival(date): the festivals of a day, in the library's order, '{}' for
 * none. Both kinds must be known for the answer to be complete: the
 * Gregorian ones (and 清明, 冬至) in 1900-2100, the lunar ones from lunar
 * 1900-01-01 (1900-01-31) on. */
PG_FUNCTION_INFO_V1(sql_festival);
Datum
sql_festival(PG_FUNCTION_ARGS)
{
	DateADT		d = PG_GETARG_DATEADT(0);
	qel_day_facts facts;
	Datum		names[QEL_FESTIVAL_COUNT];
	int			count = 0;

	if (!facts_1900_2100(d, &facts) || (facts.flags & QEL_DAY_NO_LUNAR))
	{
		if (lenient(fcinfo))
			PG_RETURN_NULL();
		RANGE_ERROR(("date %s is outside the years of the festival table", date_text(d)),
					("A day's festivals are known from 1900-01-31 (lunar 1900-01-01) to 2100-12-31."));
	}
	for (int32 f = 0; f < QEL_FESTIVAL_COUNT; f++)
		if (facts.festivals & ((uint64) 1 << f))
			names[count++] = PointerGetDatum(calendar_name(QEL_NAME_FESTIVAL, f));
	if (count == 0)
		PG_RETURN_ARRAYTYPE_P(construct_empty_array(TEXTOID));
	PG_RETURN_ARRAYTYPE_P(construct_array(names, count, TEXTOID, -1, false, TYPALIGN_INT));
}

/* The festival days of a Gregorian year, in date order (the library's
 * festival order within a day): the only place that knows how they are
 * found, so that a call of the library for them replaces this one function.
 * Every day of the year must have its lunar date, so the years are
 * 1901-2100 (January 1900 precedes the lunar table). */
typedef struct festival_day
{
	int64		serial;
	int32		festival;
} festival_day;

#define FESTIVAL_DAYS_MAX (QEL_FESTIVAL_COUNT * 2)

static int32
festivals_of_year(int32 year, festival_day *out, int32 capacity)
{
	int64		first;
	int64		last;
	int32		count = 0;

	if (year <= QEL_FIRST_YEAR || year > QEL_LAST_YEAR || qel_serial_of_date(year, 1, 1, &first) != QEL_OK ||
		qel_serial_of_date(year, 12, 31, &last) != QEL_OK)
		return QEL_E_RANGE;
	for (int64 serial = first; serial <= last; serial++)
	{
		qel_day_facts facts;

		if (qel_day_facts_of(serial, 0, &facts) != QEL_OK || (facts.flags & QEL_DAY_NO_LUNAR))
			return QEL_E_RANGE;
		for (int32 f = 0; f < QEL_FESTIVAL_COUNT; f++)
			if (facts.festivals & ((uint64) 1 << f))
			{
				if (count == capacity)
					return QEL_E_ARGUMENT;
				out[count].serial = serial;
				out[count].festival = f;
				count++;
			}
	}
	return count;
}

/* festivals(year): rows (day, name). */
PG_FUNCTION_INFO_V1(sql_festivals);
Datum
sql_festivals(PG_FUNCTION_ARGS)
{
	FuncCallContext *call;
	festival_day *days;

	if (SRF_IS_FIRSTCALL())
	{
		int32		year = PG_GETARG_INT32(0);
		MemoryContext previous;
		TupleDesc	desc;
		int32		count;

		call = SRF_FIRSTCALL_INIT();
		previous = MemoryContextSwitchTo(call->multi_call_memory_ctx);
		days = palloc(sizeof(festival_day) * FESTIVAL_DAYS_MAX);
		count = festivals_of_year(year, days, FESTIVAL_DAYS_MAX);
		if (count == QEL_E_RANGE)
			RANGE_ERROR(("year %d is outside the years of the festival table", (int) year),
						("The festivals of a whole Gregorian year are known for the years 1901 to 2100."));
		if (count < 0)
			elog(ERROR, "more than %d festival days in %d", FESTIVAL_DAYS_MAX, (int) year);
		if (get_call_result_type(fcinfo, NULL, &desc) != TYPEFUNC_COMPOSITE)
			elog(ERROR, "function returning a row called in a context that cannot accept one");
		call->tuple_desc = BlessTupleDesc(desc);
		call->user_fctx = days;
		call->max_calls = (uint64) count;
		MemoryContextSwitchTo(previous);
	}
	call = SRF_PERCALL_SETUP();
	days = (festival_day *) call->user_fctx;
	if (call->call_cntr < call->max_calls)
	{
		festival_day *f = &days[call->call_cntr];
		Datum		values[2];
		bool		nulls[2] = {false, false};

		values[0] = DateADTGetDatum(date_of_serial(f->serial));
		values[1] = PointerGetDatum(calendar_name(QEL_NAME_FESTIVAL, f->festival));
		SRF_RETURN_NEXT(call, HeapTupleGetDatum(heap_form_tuple(call->tuple_desc, values, nulls)));
	}
	SRF_RETURN_DONE(call);
}

/* festival_date(year, name): the lunar year for the lunar festivals, the
 * Gregorian year for the others. */
PG_FUNCTION_INFO_V1(sql_festival_date);
Datum
sql_festival_date(PG_FUNCTION_ARGS)
{
	int32		year = PG_GETARG_INT32(0);
	text	   *name = PG_GETARG_TEXT_PP(1);
	int32		festival = qel_festival_of_name(VARDATA_ANY(name), VARSIZE_ANY_EXHDR(name));
	int64		serial;

	if (festival < 0)
		ARGUMENT_ERROR(("unknown festival \"%s\"", text_to_cstring(name)),
					   ("Give a Chinese name (中秋节 or 中秋), an English name (Mid-Autumn Festival) or a key (mid-autumn)."));
	if (qel_festival_date(festival, year, 0, &serial) != QEL_OK)
		RANGE_ERROR(("year %d is outside the years of the festival table", (int) year),
					("Festivals are known for the years 1900 to 2100 (lunar years for the lunar festivals)."));
	PG_RETURN_DATEADT(date_of_serial(serial));
}

/* ---- Pillars ----------------------------------------------------------------- */

PG_FUNCTION_INFO_V1(sql_day_pillar);
Datum
sql_day_pillar(PG_FUNCTION_ARGS)
{
	DateADT		d = PG_GETARG_DATEADT(0);
	qel_day_facts facts;

	if (qel_day_facts_of(serial_of_date(d), 0, &facts) != QEL_OK)
	{
		if (lenient(fcinfo))
			PG_RETURN_NULL();
		RANGE_ERROR(("date %s is outside the years 1 to 9999", date_text(d)),
					("Day pillars are counted for every day of the years 1 to 9999."));
	}
	PG_RETURN_TEXT_P(calendar_name(QEL_NAME_CYCLE, facts.day_cycle));
}

/* pillars(at, zi): {year, month, day, hour} of an instant seen in UTC+8;
 * `what` names the argument in the error. */
static ArrayType *
pillars_of_instant(int64 instant, text *zi_name, const char *(*what) (int64), int64 argument)
{
	const char *zi_text = VARDATA_ANY(zi_name);
	size_t		zi_length = VARSIZE_ANY_EXHDR(zi_name);
	int32		zi;
	qel_pillars p;
	Datum		names[4];

	if (zi_length == 4 && pg_strncasecmp(zi_text, "late", 4) == 0)
		zi = QEL_ZI_LATE;
	else if (zi_length == 5 && pg_strncasecmp(zi_text, "early", 5) == 0)
		zi = QEL_ZI_EARLY;
	else
		ARGUMENT_ERROR(("unknown zi convention \"%s\"", text_to_cstring(zi_name)),
					   ("Use 'late' (23:00-24:00 keeps the day's own day pillar) or 'early' (the day pillar changes at 23:00)."));
	if (qel_pillars_of_instant(instant, zi, &p) != QEL_OK)
	{
		int64		first = 0;

		qel_term_instant(QEL_FIRST_YEAR, 2, &first);
		RANGE_ERROR(("timestamp %s is outside the range of the four pillars", what(argument)),
					("The pillars are known from the 立春 of 1900 (%s) to 2100-12-31 23:59:59 UTC+8.",
					 cst_text(first)));
	}
	names[0] = PointerGetDatum(calendar_name(QEL_NAME_CYCLE, p.year));
	names[1] = PointerGetDatum(calendar_name(QEL_NAME_CYCLE, p.month));
	names[2] = PointerGetDatum(calendar_name(QEL_NAME_CYCLE, p.day));
	names[3] = PointerGetDatum(calendar_name(QEL_NAME_CYCLE, p.hour));
	return construct_array(names, 4, TEXTOID, -1, false, TYPALIGN_INT);
}

PG_FUNCTION_INFO_V1(sql_pillars);
Datum
sql_pillars(PG_FUNCTION_ARGS)
{
	TimestampTz at = PG_GETARG_TIMESTAMPTZ(0);

	PG_RETURN_ARRAYTYPE_P(pillars_of_instant(instant_of_timestamptz(at), PG_GETARG_TEXT_PP(1), timestamptz_text, at));
}

/* A naive timestamp is a wall time in UTC+8, whatever the session's zone. */
PG_FUNCTION_INFO_V1(sql_pillars_of_timestamp);
Datum
sql_pillars_of_timestamp(PG_FUNCTION_ARGS)
{
	Timestamp	at = PG_GETARG_TIMESTAMP(0);

	PG_RETURN_ARRAYTYPE_P(pillars_of_instant(instant_of_cst_timestamp(at), PG_GETARG_TEXT_PP(1), timestamp_text, at));
}

/* ---- Working days ------------------------------------------------------------ */

PG_FUNCTION_INFO_V1(sql_is_workday);
Datum
sql_is_workday(PG_FUNCTION_ARGS)
{
	DateADT		d = PG_GETARG_DATEADT(0);
	int32		status = qel_is_workday(serial_of_date(d), NULL);

	if (status < 0)
	{
		if (lenient(fcinfo))
			PG_RETURN_NULL();
		holiday_range_error(psprintf("date %s", date_text(d)));
	}
	PG_RETURN_BOOL(status == 1);
}

/* workdays(from, to): the working days in [from, to), negative when to <
 * from, as numpy's busday_count and PostgreSQL's own '[)' ranges count. */
PG_FUNCTION_INFO_V1(sql_workdays);
Datum
sql_workdays(PG_FUNCTION_ARGS)
{
	DateADT		from = PG_GETARG_DATEADT(0);
	DateADT		to = PG_GETARG_DATEADT(1);
	int64		count;

	if (qel_workdays_between(serial_of_date(from), serial_of_date(to), NULL, &count) != QEL_OK)
		holiday_range_error(psprintf("the range %s to %s", date_text(from), date_text(to)));
	PG_RETURN_INT32((int32) count);
}

PG_FUNCTION_INFO_V1(sql_add_workdays);
Datum
sql_add_workdays(PG_FUNCTION_ARGS)
{
	DateADT		from = PG_GETARG_DATEADT(0);
	int32		n = PG_GETARG_INT32(1);
	int64		serial;

	if (qel_add_workdays(serial_of_date(from), n, NULL, &serial) != QEL_OK)
		holiday_range_error(psprintf("the day %d working days from %s", (int) n, date_text(from)));
	PG_RETURN_DATEADT(date_of_serial(serial));
}
