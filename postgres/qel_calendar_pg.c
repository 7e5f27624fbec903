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

/* ---- Lunar dates --------------------------------------------------------- */

static qel_lunar_date
lunar_of_date(DateADT d)
{
	qel_lunar_date lunar;

	if (qel_lunar_of_serial(serial_of_date(d), &lunar) != QEL_OK)
		RANGE_ERROR(("date %s is outside the lunar years 1900 to 2100", date_text(d)),
					("Lunar dates are known from 1900-01-31 (lunar 1900-01-01) to 2101-01-28 (lunar 2100-12-29)."));
	return lunar;
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

/* The fields of a lunar_date value; false when one of them is NULL. */
static bool
lunar_fields(HeapTupleHeader row, int32 *year, int32 *month, int32 *day, bool *leap)
{
	bool		isnull[4];
	Datum		v[4];

	for (int i = 0; i < 4; i++)
	{
		v[i] = GetAttributeByNum(row, (AttrNumber) (i + 1), &isnull[i]);
		if (isnull[i])
			return false;
	}
	*year = DatumGetInt32(v[0]);
	*month = DatumGetInt32(v[1]);
	*day = DatumGetInt32(v[2]);
	*leap = DatumGetBool(v[3]);
	return true;
}

/* The result row type of a function, looked up once per call site. */
static TupleDesc
result_row_type(FunctionCallInfo fcinfo)
{
	TupleDesc	desc = (TupleDesc) fcinfo->flinfo->fn_extra;

	if (desc == NULL)
	{
		MemoryContext previous = MemoryContextSwitchTo(fcinfo->flinfo->fn_mcxt);

		if (get_call_result_type(fcinfo, NULL, &desc) != TYPEFUNC_COMPOSITE)
			elog(ERROR, "function returning a row called in a context that cannot accept one");
		desc = BlessTupleDesc(desc);
		MemoryContextSwitchTo(previous);
		fcinfo->flinfo->fn_extra = desc;
	}
	return desc;
}

PG_FUNCTION_INFO_V1(sql_lunar);
Datum
sql_lunar(PG_FUNCTION_ARGS)
{
	qel_lunar_date lunar = lunar_of_date(PG_GETARG_DATEADT(0));
	TupleDesc	desc = result_row_type(fcinfo);
	Datum		values[4];
	bool		nulls[4] = {false, false, false, false};

	values[0] = Int32GetDatum(lunar.year);
	values[1] = Int32GetDatum(lunar.month);
	values[2] = Int32GetDatum(lunar.day);
	values[3] = BoolGetDatum(lunar.leap != 0);
	PG_RETURN_DATUM(HeapTupleGetDatum(heap_form_tuple(desc, values, nulls)));
}

PG_FUNCTION_INFO_V1(sql_lunar_year);
Datum
sql_lunar_year(PG_FUNCTION_ARGS)
{
	PG_RETURN_INT32(lunar_of_date(PG_GETARG_DATEADT(0)).year);
}

PG_FUNCTION_INFO_V1(sql_lunar_month);
Datum
sql_lunar_month(PG_FUNCTION_ARGS)
{
	PG_RETURN_INT32(lunar_of_date(PG_GETARG_DATEADT(0)).month);
}

PG_FUNCTION_INFO_V1(sql_lunar_day);
Datum
sql_lunar_day(PG_FUNCTION_ARGS)
{
	PG_RETURN_INT32(lunar_of_date(PG_GETARG_DATEADT(0)).day);
}

PG_FUNCTION_INFO_V1(sql_lunar_is_leap);
Datum
sql_lunar_is_leap(PG_FUNCTION_ARGS)
{
	PG_RETURN_BOOL(lunar_of_date(PG_GETARG_DATEADT(0)).leap != 0);
}

PG_FUNCTION_INFO_V1(sql_lunar_text);
Datum
sql_lunar_text(PG_FUNCTION_ARGS)
{
	qel_lunar_date lunar = lunar_of_date(PG_GETARG_DATEADT(0));

	PG_RETURN_TEXT_P(lunar_text_of(lunar.year, lunar.month, lunar.day, lunar.leap));
}

/* lunar_date::text. A row built by hand may hold a date that does not exist:
 * the same error as from_lunar. */
PG_FUNCTION_INFO_V1(sql_lunar_date_text);
Datum
sql_lunar_date_text(PG_FUNCTION_ARGS)
{
	int32		year, month, day;
	bool		leap;

	if (!lunar_fields(PG_GETARG_HEAPTUPLEHEADER(0), &year, &month, &day, &leap))
		PG_RETURN_NULL();
	date_of_lunar(year, month, day, leap);
	PG_RETURN_TEXT_P(lunar_text_of(year, month, day, leap ? 1 : 0));
}

PG_FUNCTION_INFO_V1(sql_from_lunar);
Datum
sql_from_lunar(PG_FUNCTION_ARGS)
{
	PG_RETURN_DATEADT(date_of_lunar(PG_GETARG_INT32(0), PG_GETARG_INT32(1), PG_GETARG_INT32(2),
									PG_GETARG_BOOL(3)));
}

PG_FUNCTION_INFO_V1(sql_from_lunar_date);
Datum
sql_from_lunar_date(PG_FUNCTION_ARGS)
{
	int32		year, month, day;
	bool		leap;

	if (!lunar_fields(PG_GETARG_HEAPTUPLEHEADER(0), &year, &month, &day, &leap))
		PG_RETURN_NULL();
	PG_RETURN_DATEADT(date_of_lunar(year, month, day, leap));
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
		RANGE_ERROR(("date %s is outside the years of the solar-term table", date_text(d)),
					("Solar terms are known for the years 1900 to 2100."));
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
		RANGE_ERROR(("date %s is outside the years of the festival table", date_text(d)),
					("A day's festivals are known from 1900-01-31 (lunar 1900-01-01) to 2100-12-31."));
	for (int32 f = 0; f < QEL_FESTIVAL_COUNT; f++)
		if (facts.festivals & ((uint64) 1 << f))
			names[count++] = PointerGetDatum(calendar_name(QEL_NAME_FESTIVAL, f));
	if (count == 0)
		PG_RETURN_ARRAYTYPE_P(construct_empty_array(TEXTOID));
	PG_RETURN_ARRAYTYPE_P(construct_array(names, count, TEXTOID, -1, false, TYPALIGN_INT));
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
		RANGE_ERROR(("date %s is outside the years 1 to 9999", date_text(d)),
					("Day pillars are counted for every day of the years 1 to 9999."));
	PG_RETURN_TEXT_P(calendar_name(QEL_NAME_CYCLE, facts.day_cycle));
}

/* pillars(at, zi): {year, month, day, hour} of an instant seen in UTC+8. */
PG_FUNCTION_INFO_V1(sql_pillars);
Datum
sql_pillars(PG_FUNCTION_ARGS)
{
	TimestampTz at = PG_GETARG_TIMESTAMPTZ(0);
	text	   *zi_name = PG_GETARG_TEXT_PP(1);
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
	if (qel_pillars_of_instant(instant_of_timestamptz(at), zi, &p) != QEL_OK)
	{
		int64		first = 0;

		qel_term_instant(QEL_FIRST_YEAR, 2, &first);
		RANGE_ERROR(("timestamp %s is outside the range of the four pillars", timestamptz_text(at)),
					("The pillars are known from the 立春 of 1900 (%s) to 2100-12-31 23:59:59 UTC+8.",
					 cst_text(first)));
	}
	names[0] = PointerGetDatum(calendar_name(QEL_NAME_CYCLE, p.year));
	names[1] = PointerGetDatum(calendar_name(QEL_NAME_CYCLE, p.month));
	names[2] = PointerGetDatum(calendar_name(QEL_NAME_CYCLE, p.day));
	names[3] = PointerGetDatum(calendar_name(QEL_NAME_CYCLE, p.hour));
	PG_RETURN_ARRAYTYPE_P(construct_array(names, 4, TEXTOID, -1, false, TYPALIGN_INT));
}

/* ---- Working days ------------------------------------------------------------ */

PG_FUNCTION_INFO_V1(sql_is_workday);
Datum
sql_is_workday(PG_FUNCTION_ARGS)
{
	DateADT		d = PG_GETARG_DATEADT(0);
	int32		status = qel_is_workday(serial_of_date(d), NULL);

	if (status < 0)
		holiday_range_error(psprintf("date %s", date_text(d)));
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
