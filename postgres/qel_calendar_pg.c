/* qel_calendar_pg.c: the SQL functions of the qel_calendar extension, over
 * the C interface of qel_calendar.
 *
 * The library keeps no state, allocates nothing and answers every argument
 * with a value or a status code in bounded time, so every function here is
 * IMMUTABLE STRICT PARALLEL SAFE, and every status becomes an ERROR with a
 * SQLSTATE before anything is returned:
 *   22008 datetime_field_overflow   outside a covered range; a Gregorian date
 *                                   or a time of day that does not exist
 *   22007 invalid_datetime_format   a lunar date that does not exist
 *   22023 invalid_parameter_value   an unknown name, calendar, term number or
 *                                   option; a festival the calendar does
 *                                   not keep
 * The message of every error about a date, a time or a range is the
 * library's own text (qel_range_message, qel_date_message, ...), so a bad
 * input reads the same here as in qeldate and the bindings; the detail
 * names the argument.
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
#include "nodes/supportnodes.h"
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

/* The day serial and the second of the day of a naive timestamp. */
static inline int64
serial_of_timestamp(Timestamp t, int32 *second_of_day)
{
	int64		days = t / USECS_PER_DAY;
	int64		usecs = t % USECS_PER_DAY;

	if (usecs < 0)
	{
		days--;
		usecs += USECS_PER_DAY;
	}
	*second_of_day = (int32) (usecs / USECS_PER_SEC);
	return days + QEL_EPOCH_POSTGRES;
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

#define ARGUMENT_ERROR(message, hint) \
	ereport(ERROR, (errcode(ERRCODE_INVALID_PARAMETER_VALUE), errmsg message, errhint hint))

/* Every message of the library fits (the longest is under 100 bytes). */
#define MESSAGE_BUFFER 160

/* Outside the covered range of a domain (qel_domain): the library's text,
 * as qel_range_message writes it, and the argument. */
static void range_error(int32 domain, const char *argument) pg_attribute_noreturn();

static void
range_error(int32 domain, const char *argument)
{
	char		message[MESSAGE_BUFFER];

	qel_range_message(domain, message, sizeof message);
	ereport(ERROR, (errcode(ERRCODE_DATETIME_FIELD_OVERFLOW), errmsg("%s", message),
					errdetail("The argument is %s.", argument)));
}

/* A lunar date that qel_check_lunar_in rejects in `calendar`: its reason in
 * the library's words ("lunar 2023 has no leap month 3 (its leap month is
 * 2)"); `argument` names it in the detail. */
static void lunar_date_error(int32 calendar, int32 year, int32 month, int32 day, bool leap,
							 const char *argument) pg_attribute_noreturn();

static void
lunar_date_error(int32 calendar, int32 year, int32 month, int32 day, bool leap, const char *argument)
{
	char		message[MESSAGE_BUFFER];
	int32		status = qel_check_lunar_in(calendar, year, month, day, leap ? 1 : 0, NULL);

	qel_lunar_message_in(calendar, year, month, day, leap ? 1 : 0, message, sizeof message);
	ereport(ERROR, (errcode(status == QEL_E_RANGE ? ERRCODE_DATETIME_FIELD_OVERFLOW : ERRCODE_INVALID_DATETIME_FORMAT),
					errmsg("%s", message), errdetail("The argument is %s%s.", argument, leap ? " (leap month)" : "")));
}

/* A Gregorian date or a time of day that qel_check_date or qel_check_time
 * rejects, with the library's text ("2023-02 has 28 days, not 29", "hour 24
 * is not 0-23"); `argument` is what the caller gave. */
static void field_error(const char *message, const char *argument) pg_attribute_noreturn();

static void
field_error(const char *message, const char *argument)
{
	ereport(ERROR, (errcode(ERRCODE_DATETIME_FIELD_OVERFLOW), errmsg("%s", message),
					errdetail("The argument is %s.", argument)));
}

static void
check_date_fields(int32 year, int32 month, int32 day, const char *argument)
{
	char		message[MESSAGE_BUFFER];

	if (qel_check_date(year, month, day, NULL) == QEL_OK)
		return;
	qel_date_message(year, month, day, message, sizeof message);
	field_error(message, argument);
}

static void
check_time_fields(int32 hour, int32 minute, int32 second, const char *argument)
{
	char		message[MESSAGE_BUFFER];

	if (qel_check_time(hour, minute, second, NULL) == QEL_OK)
		return;
	qel_time_message(hour, minute, second, message, sizeof message);
	field_error(message, argument);
}

/* ---- Calendars --------------------------------------------------------------- */

/* The calendars by the words of their English names, for messages. */
static const char *const calendar_words[] = {"Chinese", "Korean", "Vietnamese"};

static const char *
calendar_word(int32 calendar)
{
	return calendar >= 0 && calendar < (int32) lengthof(calendar_words) ? calendar_words[calendar] : "chosen";
}

/* The calendar of a name, as qel_calendar_of_name reads it: chinese,
 * korean, vietnamese in any ASCII case, or 农历, 음력, âm lịch. */
static int32
calendar_of_text(text *name)
{
	int32		calendar = qel_calendar_of_name(VARDATA_ANY(name), VARSIZE_ANY_EXHDR(name));

	if (calendar < 0)
		ARGUMENT_ERROR(("unknown calendar \"%s\"", text_to_cstring(name)),
					   ("Use 'chinese', 'korean' or 'vietnamese' (or 农历, 음력, âm lịch)."));
	return calendar;
}

/* The calendar of argument n, the Chinese when the call has fewer. */
static int32
calendar_arg(FunctionCallInfo fcinfo, int n)
{
	return PG_NARGS() > n ? calendar_of_text(PG_GETARG_TEXT_PP(n)) : QEL_CALENDAR_CHINESE;
}

/* A calendar's names and dates are written in its own language: 설날 and
 * 윤6월 1일 in the Korean, Tết Nguyên Đán and mùng 1 tháng Sáu nhuận in the
 * Vietnamese. */
static uint32
language_of(int32 calendar)
{
	switch (calendar)
	{
		case QEL_CALENDAR_KOREAN:
			return QEL_NAME_KOREAN;
		case QEL_CALENDAR_VIETNAMESE:
			return QEL_NAME_VIETNAMESE;
		default:
			return 0;
	}
}

/* ---- Names --------------------------------------------------------------- */

/* Every name the library has fits: the longest is an English festival name. */
#define NAME_BUFFER 96

static text *
name_in(int32 kind, int32 index, uint32 flags)
{
	char		buf[NAME_BUFFER];
	int32		length = qel_name(kind, index, flags, buf, sizeof buf);

	if (length < 0 || length >= (int32) sizeof buf)
		elog(ERROR, "qel_name(%d, %d, %u) returned %d", (int) kind, (int) index, (unsigned) flags, (int) length);
	return cstring_to_text_with_len(buf, length);
}

static text *
calendar_name(int32 kind, int32 index)
{
	return name_in(kind, index, 0);
}

/* A lunar date as a calendar of `calendar` prints it, in its language. */
static text *
lunar_text_of(int32 calendar, int32 year, int32 month, int32 day, int32 leap)
{
	char		buf[NAME_BUFFER];
	int32		length = qel_lunar_text(year, month, day, leap, QEL_OPT_CALENDAR(calendar) | language_of(calendar),
										buf, sizeof buf);

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

/* The lunar date of a day in `calendar`; false outside the lunar years when
 * `lenient`, else an error there. */
static bool
lunar_of_date(DateADT d, bool lenient, int32 calendar, qel_lunar_date *lunar)
{
	if (qel_lunar_of_serial_in(calendar, serial_of_date(d), lunar) == QEL_OK)
		return true;
	if (!lenient)
		range_error(QEL_DOMAIN_LUNAR, psprintf("date %s", date_text(d)));
	return false;
}

/* The day of a lunar date in `calendar`, or the library's reason why there
 * is none. */
static DateADT
date_of_lunar(int32 calendar, int32 year, int32 month, int32 day, bool leap)
{
	int64		serial;

	if (qel_serial_of_lunar_in(calendar, year, month, day, leap ? 1 : 0, &serial) != QEL_OK)
		lunar_date_error(calendar, year, month, day, leap,
						 psprintf("lunar date %d-%d-%d", (int) year, (int) month, (int) day));
	return date_of_serial(serial);
}

/* lunar_date holds the day itself, as date does (days from 2000-01-01), so
 * every comparison, hash and sort is date's, by time. Its lunar date is the
 * Chinese calendar's, and a value always lies within its lunar years:
 * input, receive and every constructor check. */

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

	lunar_of_date(d, false, QEL_CALENDAR_CHINESE, &lunar);
	length = qel_lunar_text(lunar.year, lunar.month, lunar.day, lunar.leap, 0, buf, sizeof buf);
	if (length < 0 || length >= (int32) sizeof buf)
		elog(ERROR, "qel_lunar_text(%d, %d, %d, %d) returned %d",
			 (int) lunar.year, (int) lunar.month, (int) lunar.day, (int) lunar.leap, (int) length);
	out = psprintf("%s%s%s%s" YEAR_MARK "%s", year_digits[lunar.year / 1000], year_digits[lunar.year / 100 % 10],
				   year_digits[lunar.year / 10 % 10], year_digits[lunar.year % 10], buf);
	return out;
}

/* The name of kind `kind` from index 1 on (as far as the library has names
 * of the kind) that `text` starts with, its length in *matched; 0 when none
 * does. */
static int32
leading_name(const char *text, int32 kind, uint32 flags, size_t *matched)
{
	for (int32 i = 1;; i++)
	{
		char		buf[NAME_BUFFER];
		int32		length = qel_name(kind, i, flags, buf, sizeof buf);

		if (length < 0)
			return 0;
		if (length > 0 && strncmp(text, buf, (size_t) length) == 0)
		{
			*matched = (size_t) length;
			return i;
		}
	}
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
	month = leading_name(p, QEL_NAME_LUNAR_MONTH, QEL_NAME_LEAP, &matched);
	if (month != 0)
		leap = true;
	else
		month = leading_name(p, QEL_NAME_LUNAR_MONTH, 0, &matched);
	if (month == 0)
		lunar_date_syntax_error(input);
	p += matched;
	day = leading_name(p, QEL_NAME_LUNAR_DAY, 0, &matched);
	if (day == 0 || p + matched != end)
		lunar_date_syntax_error(input);
	PG_RETURN_DATEADT(date_of_lunar(QEL_CALENDAR_CHINESE, year, month, day, leap));
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

	lunar_of_date(d, false, QEL_CALENDAR_CHINESE, &lunar);
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

	if (!lunar_of_date(d, lenient(fcinfo), QEL_CALENDAR_CHINESE, &lunar))
		PG_RETURN_NULL();
	PG_RETURN_DATEADT(d);
}

/* Y-M-D with a four-digit year (and optional blanks around it), the form
 * that a date literal reads as year, month, day whatever the DateStyle. */
static bool
iso_date_fields(const char *s, int32 *year, int32 *month, int32 *day)
{
	int32	   *fields[3] = {year, month, day};

	while (*s == ' ')
		s++;
	for (int i = 0; i < 3; i++)
	{
		int			digits = 0;

		*fields[i] = 0;
		while (*s >= '0' && *s <= '9' && digits < 4)
		{
			*fields[i] = *fields[i] * 10 + (*s++ - '0');
			digits++;
		}
		if (i == 0 ? digits != 4 : digits < 1 || digits > 2)
			return false;
		if (i < 2 && *s++ != '-')
			return false;
	}
	while (*s == ' ')
		s++;
	return *s == '\0';
}

/* lunar(text): the string as a date literal reads it. An ISO date is read
 * here, so that one that does not exist (2023-02-29) fails with the
 * library's reason, as on every other surface. */
PG_FUNCTION_INFO_V1(sql_lunar_of_text);
Datum
sql_lunar_of_text(PG_FUNCTION_ARGS)
{
	char	   *input = text_to_cstring(PG_GETARG_TEXT_PP(0));
	int32		year;
	int32		month;
	int32		day;
	DateADT		d;
	qel_lunar_date lunar;

	if (iso_date_fields(input, &year, &month, &day))
	{
		int64		serial;

		check_date_fields(year, month, day, psprintf("date '%s'", input));
		qel_serial_of_date(year, month, day, &serial);
		d = date_of_serial(serial);
	}
	else
		d = DatumGetDateADT(DirectFunctionCall1(date_in, CStringGetDatum(input)));
	lunar_of_date(d, false, QEL_CALENDAR_CHINESE, &lunar);
	PG_RETURN_DATEADT(d);
}

/* The day of a naive timestamp (a UTC+8 wall time) is its date part. */
PG_FUNCTION_INFO_V1(sql_lunar_of_timestamp);
Datum
sql_lunar_of_timestamp(PG_FUNCTION_ARGS)
{
	Timestamp	t = PG_GETARG_TIMESTAMP(0);
	int32		second;
	int64		serial = serial_of_timestamp(t, &second);
	qel_lunar_date lunar;

	if (qel_lunar_of_serial(serial, &lunar) != QEL_OK)
		range_error(QEL_DOMAIN_LUNAR, psprintf("timestamp %s", timestamp_text(t)));
	PG_RETURN_DATEADT(date_of_serial(serial));
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
		range_error(QEL_DOMAIN_LUNAR, psprintf("timestamp %s", timestamptz_text(t)));
	PG_RETURN_DATEADT(date_of_serial(serial));
}

PG_FUNCTION_INFO_V1(sql_lunar_year);
Datum
sql_lunar_year(PG_FUNCTION_ARGS)
{
	qel_lunar_date lunar;

	if (!lunar_of_date(PG_GETARG_DATEADT(0), lenient(fcinfo), calendar_arg(fcinfo, 2), &lunar))
		PG_RETURN_NULL();
	PG_RETURN_INT32(lunar.year);
}

PG_FUNCTION_INFO_V1(sql_lunar_month);
Datum
sql_lunar_month(PG_FUNCTION_ARGS)
{
	qel_lunar_date lunar;

	if (!lunar_of_date(PG_GETARG_DATEADT(0), lenient(fcinfo), calendar_arg(fcinfo, 2), &lunar))
		PG_RETURN_NULL();
	PG_RETURN_INT32(lunar.month);
}

PG_FUNCTION_INFO_V1(sql_lunar_day);
Datum
sql_lunar_day(PG_FUNCTION_ARGS)
{
	qel_lunar_date lunar;

	if (!lunar_of_date(PG_GETARG_DATEADT(0), lenient(fcinfo), calendar_arg(fcinfo, 2), &lunar))
		PG_RETURN_NULL();
	PG_RETURN_INT32(lunar.day);
}

PG_FUNCTION_INFO_V1(sql_lunar_is_leap);
Datum
sql_lunar_is_leap(PG_FUNCTION_ARGS)
{
	qel_lunar_date lunar;

	if (!lunar_of_date(PG_GETARG_DATEADT(0), lenient(fcinfo), calendar_arg(fcinfo, 2), &lunar))
		PG_RETURN_NULL();
	PG_RETURN_BOOL(lunar.leap != 0);
}

PG_FUNCTION_INFO_V1(sql_lunar_text);
Datum
sql_lunar_text(PG_FUNCTION_ARGS)
{
	int32		calendar = calendar_arg(fcinfo, 2);
	qel_lunar_date lunar;

	if (!lunar_of_date(PG_GETARG_DATEADT(0), lenient(fcinfo), calendar, &lunar))
		PG_RETURN_NULL();
	PG_RETURN_TEXT_P(lunar_text_of(calendar, lunar.year, lunar.month, lunar.day, lunar.leap));
}

/* lunar_fields(date, strict, calendar): the lunar date of a day in any of
 * the calendars as a row (year, month, day, leap); lunar_date holds the
 * Chinese one only. */
PG_FUNCTION_INFO_V1(sql_lunar_fields);
Datum
sql_lunar_fields(PG_FUNCTION_ARGS)
{
	qel_lunar_date lunar;
	TupleDesc	desc;
	Datum		values[4];
	bool		nulls[4] = {false, false, false, false};

	if (!lunar_of_date(PG_GETARG_DATEADT(0), lenient(fcinfo), calendar_arg(fcinfo, 2), &lunar))
		PG_RETURN_NULL();
	if (get_call_result_type(fcinfo, NULL, &desc) != TYPEFUNC_COMPOSITE)
		elog(ERROR, "function returning a row called in a context that cannot accept one");
	values[0] = Int32GetDatum(lunar.year);
	values[1] = Int32GetDatum(lunar.month);
	values[2] = Int32GetDatum(lunar.day);
	values[3] = BoolGetDatum(lunar.leap != 0);
	PG_RETURN_DATUM(HeapTupleGetDatum(heap_form_tuple(BlessTupleDesc(desc), values, nulls)));
}

/* from_lunar(year, month, day, leap, calendar) and lunar_date(year, month,
 * day, leap): both are the day, as date and as lunar_date (which is the
 * Chinese calendar's). */
PG_FUNCTION_INFO_V1(sql_from_lunar);
Datum
sql_from_lunar(PG_FUNCTION_ARGS)
{
	PG_RETURN_DATEADT(date_of_lunar(calendar_arg(fcinfo, 4), PG_GETARG_INT32(0), PG_GETARG_INT32(1),
									PG_GETARG_INT32(2), PG_GETARG_BOOL(3)));
}

/* lunar_month_info(year, month, leap, calendar): a month's first day and
 * length, where it comes from (the published table, computation from the
 * ephemerides, or the historical record) and how sure it is: a new moon or
 * principal term within its margin of midnight, or the second ephemeris or
 * the computation disagreeing. */
static const char *const source_words[] = {
	[QEL_SOURCE_PUBLISHED] = "published",
	[QEL_SOURCE_COMPUTED] = "computed",
	[QEL_SOURCE_RECORD] = "record",
};

PG_FUNCTION_INFO_V1(sql_lunar_month_info);
Datum
sql_lunar_month_info(PG_FUNCTION_ARGS)
{
	int32		year = PG_GETARG_INT32(0);
	int32		month = PG_GETARG_INT32(1);
	bool		leap = PG_GETARG_BOOL(2);
	int32		calendar = calendar_arg(fcinfo, 3);
	qel_month_info info;
	TupleDesc	desc;
	Datum		values[7];
	bool		nulls[7] = {false, false, false, false, false, false, false};

	if (qel_lunar_month_info(calendar, year, month, leap ? 1 : 0, &info) != QEL_OK)
		lunar_date_error(calendar, year, month, 1, leap, psprintf("lunar month %d-%d", (int) year, (int) month));
	if (info.source < 0 || info.source >= (int32) lengthof(source_words))
		elog(ERROR, "qel_lunar_month_info gave the unknown source %d", (int) info.source);
	if (get_call_result_type(fcinfo, NULL, &desc) != TYPEFUNC_COMPOSITE)
		elog(ERROR, "function returning a row called in a context that cannot accept one");
	values[0] = DateADTGetDatum(date_of_serial(info.first_serial));
	values[1] = Int32GetDatum(info.days);
	values[2] = PointerGetDatum(cstring_to_text(source_words[info.source]));
	values[3] = BoolGetDatum((info.flags & QEL_MONTH_START_UNCERTAIN) != 0);
	values[4] = BoolGetDatum((info.flags & QEL_MONTH_LABEL_UNCERTAIN) != 0);
	values[5] = BoolGetDatum((info.flags & QEL_MONTH_ENGINES_DIFFER) != 0);
	values[6] = BoolGetDatum((info.flags & QEL_MONTH_COMPUTATION_DIFFERS) != 0);
	PG_RETURN_DATUM(HeapTupleGetDatum(heap_form_tuple(BlessTupleDesc(desc), values, nulls)));
}

/* lunar_add_months(l, n) and lunar_add_years(l, n): qel_lunar_step, the
 * one stepping rule of every surface (leap months counted in calendar order;
 * a leap month kept only where the new year has the same one; day 30 of a
 * month of 29 days becomes 29). */
static DateADT
lunar_step(DateADT d, int32 count, int32 unit)
{
	qel_lunar_date from;
	qel_lunar_date to;
	int32		status;

	lunar_of_date(d, false, QEL_CALENDAR_CHINESE, &from);
	status = qel_lunar_step(from.year, from.month, from.day, from.leap, count, unit, 0, &to);
	if (status == QEL_E_RANGE)
		range_error(QEL_DOMAIN_LUNAR, psprintf("%s moved by %d lunar %s%s", lunar_date_cstring(d), (int) count,
											   unit == QEL_UNIT_YEAR ? "year" : "month", count == 1 || count == -1 ? "" : "s"));
	if (status < 0)
		elog(ERROR, "qel_lunar_step returned %d", (int) status);
	return date_of_lunar(QEL_CALENDAR_CHINESE, to.year, to.month, to.day, to.leap != 0);
}

PG_FUNCTION_INFO_V1(sql_lunar_add_months);
Datum
sql_lunar_add_months(PG_FUNCTION_ARGS)
{
	PG_RETURN_DATEADT(lunar_step(PG_GETARG_DATEADT(0), PG_GETARG_INT32(1), QEL_UNIT_MONTH));
}

PG_FUNCTION_INFO_V1(sql_lunar_add_years);
Datum
sql_lunar_add_years(PG_FUNCTION_ARGS)
{
	PG_RETURN_DATEADT(lunar_step(PG_GETARG_DATEADT(0), PG_GETARG_INT32(1), QEL_UNIT_YEAR));
}

/* ---- Solar terms ----------------------------------------------------------- */

static void term_year_error(int32 year) pg_attribute_noreturn();

static void
term_year_error(int32 year)
{
	range_error(QEL_DOMAIN_TERMS, psprintf("year %d", (int) year));
}

/* The facts of a day, with the lunar fields and festivals of `calendar`;
 * false outside the days where the terms and the festivals are known
 * (QEL_DOMAIN_TERMS). */
static bool
facts_of_terms_day(DateADT d, int32 calendar, qel_day_facts *facts)
{
	int64		serial = serial_of_date(d);
	qel_range	range;

	return qel_domain_range(QEL_DOMAIN_TERMS, &range) == QEL_OK && serial >= range.first_serial &&
		serial <= range.last_serial &&
		qel_day_facts_get(serial, QEL_OPT_CALENDAR(calendar), facts, sizeof *facts) == QEL_OK;
}

PG_FUNCTION_INFO_V1(sql_solar_term);
Datum
sql_solar_term(PG_FUNCTION_ARGS)
{
	DateADT		d = PG_GETARG_DATEADT(0);
	qel_day_facts facts;

	if (!facts_of_terms_day(d, QEL_CALENDAR_CHINESE, &facts))
	{
		if (lenient(fcinfo))
			PG_RETURN_NULL();
		range_error(QEL_DOMAIN_TERMS, psprintf("date %s", date_text(d)));
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
	{
		int32		last = qel_count(QEL_COUNT_TERMS) - 1;

		ARGUMENT_ERROR(("solar term number %d is out of range", (int) term),
					   ("Terms are numbered 0 (%s, %s) to %d (%s, %s) within a Gregorian year.",
						text_to_cstring(calendar_name(QEL_NAME_TERM, 0)),
						text_to_cstring(calendar_name(QEL_NAME_TERM_ENGLISH, 0)), (int) last,
						text_to_cstring(calendar_name(QEL_NAME_TERM, last)),
						text_to_cstring(calendar_name(QEL_NAME_TERM_ENGLISH, last))));
	}
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
		call->max_calls = (uint64) qel_count(QEL_COUNT_TERMS);
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

/* The festival of a name (中秋节, 中秋, Mid-Autumn Festival, mid-autumn). */
static int32
festival_of_text(text *name)
{
	int32		festival = qel_festival_of_name(VARDATA_ANY(name), VARSIZE_ANY_EXHDR(name));

	if (festival < 0)
		ARGUMENT_ERROR(("unknown festival \"%s\"", text_to_cstring(name)),
					   ("Give a Chinese name (中秋节 or 中秋), an English name (Mid-Autumn Festival) or a key (mid-autumn)."));
	return festival;
}

/* The festival of a name, which `calendar` must keep: the Chinese keeps all
 * but the Hùng Kings' day, the Korean and the Vietnamese those they name. */
static int32
festival_in(text *name, int32 calendar)
{
	int32		festival = festival_of_text(name);
	qel_range	range;
	int64		serial;

	if (qel_domain_range(QEL_DOMAIN_TERMS, &range) == QEL_OK &&
		qel_festival_date(festival, range.first_year, QEL_OPT_CALENDAR(calendar), &serial) == QEL_E_ARGUMENT)
		ereport(ERROR, (errcode(ERRCODE_INVALID_PARAMETER_VALUE),
						errmsg("the %s calendar does not keep the festival \"%s\"", calendar_word(calendar),
							   text_to_cstring(name))));
	return festival;
}

/* festival(date, strict, calendar): the festivals the library marks on a
 * day in the calendar, in its order and language, '{}' for none; known in
 * the Gregorian years of the terms. Before the lunar calendar opens no lunar
 * festival is marked. */
PG_FUNCTION_INFO_V1(sql_festival);
Datum
sql_festival(PG_FUNCTION_ARGS)
{
	DateADT		d = PG_GETARG_DATEADT(0);
	int32		calendar = calendar_arg(fcinfo, 2);
	qel_day_facts facts;
	Datum		names[QEL_FESTIVAL_COUNT];
	int			count = 0;

	if (!facts_of_terms_day(d, calendar, &facts))
	{
		if (lenient(fcinfo))
			PG_RETURN_NULL();
		range_error(QEL_DOMAIN_TERMS, psprintf("date %s", date_text(d)));
	}
	for (int32 f = 0; f < QEL_FESTIVAL_COUNT; f++)
		if (facts.festivals & ((uint64) 1 << f))
			names[count++] = PointerGetDatum(name_in(QEL_NAME_FESTIVAL, f, language_of(calendar)));
	if (count == 0)
		PG_RETURN_ARRAYTYPE_P(construct_empty_array(TEXTOID));
	PG_RETURN_ARRAYTYPE_P(construct_array(names, count, TEXTOID, -1, false, TYPALIGN_INT));
}

/* festivals(year, festival, calendar): rows (day, name), the festival days
 * inside a Gregorian year as qel_festivals_of_year lists them (by day, then
 * in the library's festival order), or those of one festival; 'all' (the
 * default, no festival's name) keeps every one. */
static bool
all_festivals(text *festival)
{
	return VARSIZE_ANY_EXHDR(festival) == 3 && pg_strncasecmp(VARDATA_ANY(festival), "all", 3) == 0;
}

PG_FUNCTION_INFO_V1(sql_festivals);
Datum
sql_festivals(PG_FUNCTION_ARGS)
{
	FuncCallContext *call;
	qel_festival_day *days;

	if (SRF_IS_FIRSTCALL())
	{
		int32		year = PG_GETARG_INT32(0);
		int32		calendar = calendar_arg(fcinfo, 2);
		int32		festival = PG_NARGS() > 1 && !all_festivals(PG_GETARG_TEXT_PP(1)) ?
			festival_in(PG_GETARG_TEXT_PP(1), calendar) : -1;
		MemoryContext previous;
		TupleDesc	desc;
		int32		count;
		int32		kept = 0;

		call = SRF_FIRSTCALL_INIT();
		previous = MemoryContextSwitchTo(call->multi_call_memory_ctx);
		days = palloc(sizeof(qel_festival_day) * QEL_FESTIVAL_DAYS_MAX);
		count = qel_festivals_of_year(year, QEL_OPT_CALENDAR(calendar), days, QEL_FESTIVAL_DAYS_MAX);
		if (count == QEL_E_RANGE)
			term_year_error(year);
		if (count < 0 || count > QEL_FESTIVAL_DAYS_MAX)
			elog(ERROR, "qel_festivals_of_year(%d) returned %d", (int) year, (int) count);
		for (int32 i = 0; i < count; i++)
			if (festival < 0 || days[i].festival == festival)
				days[kept++] = days[i];
		if (get_call_result_type(fcinfo, NULL, &desc) != TYPEFUNC_COMPOSITE)
			elog(ERROR, "function returning a row called in a context that cannot accept one");
		call->tuple_desc = BlessTupleDesc(desc);
		call->user_fctx = days;
		call->max_calls = (uint64) kept;
		MemoryContextSwitchTo(previous);
	}
	call = SRF_PERCALL_SETUP();
	days = (qel_festival_day *) call->user_fctx;
	if (call->call_cntr < call->max_calls)
	{
		qel_festival_day *f = &days[call->call_cntr];
		Datum		values[2];
		bool		nulls[2] = {false, false};

		values[0] = DateADTGetDatum(date_of_serial(f->serial));
		values[1] = PointerGetDatum(name_in(QEL_NAME_FESTIVAL, f->festival, language_of(calendar_arg(fcinfo, 2))));
		SRF_RETURN_NEXT(call, HeapTupleGetDatum(heap_form_tuple(call->tuple_desc, values, nulls)));
	}
	SRF_RETURN_DONE(call);
}

/* festival_date(year, name, calendar): the lunar year for the lunar
 * festivals, the Gregorian year for the others. */
PG_FUNCTION_INFO_V1(sql_festival_date);
Datum
sql_festival_date(PG_FUNCTION_ARGS)
{
	int32		year = PG_GETARG_INT32(0);
	int32		calendar = calendar_arg(fcinfo, 2);
	int32		festival = festival_in(PG_GETARG_TEXT_PP(1), calendar);
	int64		serial;

	if (qel_festival_date(festival, year, QEL_OPT_CALENDAR(calendar), &serial) != QEL_OK)
		term_year_error(year);
	PG_RETURN_DATEADT(date_of_serial(serial));
}

/* Row estimates for the planner, from the library's counts: the 24 terms of
 * a year; about one day per festival in a year, one for a single festival. */
static Datum
rows_estimate(Node *request, double rows)
{
	if (!IsA(request, SupportRequestRows))
		return PointerGetDatum(NULL);
	((SupportRequestRows *) request)->rows = rows;
	return PointerGetDatum(request);
}

PG_FUNCTION_INFO_V1(sql_solar_terms_rows);
Datum
sql_solar_terms_rows(PG_FUNCTION_ARGS)
{
	return rows_estimate((Node *) PG_GETARG_POINTER(0), qel_count(QEL_COUNT_TERMS));
}

PG_FUNCTION_INFO_V1(sql_festivals_rows);
Datum
sql_festivals_rows(PG_FUNCTION_ARGS)
{
	Node	   *request = (Node *) PG_GETARG_POINTER(0);
	bool		one_festival = false;

	/* The planner has filled in the defaults: one festival unless the
	 * festival argument is the constant 'all'. */
	if (IsA(request, SupportRequestRows) && IsA(((SupportRequestRows *) request)->node, FuncExpr))
	{
		List	   *args = ((FuncExpr *) ((SupportRequestRows *) request)->node)->args;
		Node	   *festival = list_length(args) > 1 ? lsecond(args) : NULL;

		one_festival = festival != NULL &&
			!(IsA(festival, Const) && !((Const *) festival)->constisnull &&
			  all_festivals(DatumGetTextPP(((Const *) festival)->constvalue)));
	}

	return rows_estimate(request, one_festival ? 1 : qel_count(QEL_COUNT_FESTIVALS));
}

/* ---- Pillars ----------------------------------------------------------------- */

PG_FUNCTION_INFO_V1(sql_day_pillar);
Datum
sql_day_pillar(PG_FUNCTION_ARGS)
{
	DateADT		d = PG_GETARG_DATEADT(0);
	qel_day_facts facts;

	if (qel_day_facts_get(serial_of_date(d), 0, &facts, sizeof facts) != QEL_OK)
	{
		if (lenient(fcinfo))
			PG_RETURN_NULL();
		range_error(QEL_DOMAIN_GREGORIAN, psprintf("date %s", date_text(d)));
	}
	PG_RETURN_TEXT_P(calendar_name(QEL_NAME_CYCLE, facts.day_cycle));
}

/* The zi convention of its option word, in any ASCII case. */
static int32
zi_of_text(text *name)
{
	int32		zi = qel_zi_of_name(VARDATA_ANY(name), VARSIZE_ANY_EXHDR(name));

	if (zi < 0)
		ARGUMENT_ERROR(("unknown zi convention \"%s\"", text_to_cstring(name)),
					   ("Use 'late' (23:00-24:00 keeps the day's own day pillar) or 'early' (the day pillar changes at 23:00)."));
	return zi;
}

/* {year, month, day, hour} as text[]. */
static ArrayType *
pillar_names(const qel_pillars *p)
{
	Datum		names[4];

	names[0] = PointerGetDatum(calendar_name(QEL_NAME_CYCLE, p->year));
	names[1] = PointerGetDatum(calendar_name(QEL_NAME_CYCLE, p->month));
	names[2] = PointerGetDatum(calendar_name(QEL_NAME_CYCLE, p->day));
	names[3] = PointerGetDatum(calendar_name(QEL_NAME_CYCLE, p->hour));
	return construct_array(names, 4, TEXTOID, -1, false, TYPALIGN_INT);
}

PG_FUNCTION_INFO_V1(sql_pillars);
Datum
sql_pillars(PG_FUNCTION_ARGS)
{
	TimestampTz at = PG_GETARG_TIMESTAMPTZ(0);
	int32		zi = zi_of_text(PG_GETARG_TEXT_PP(1));
	qel_pillars p;

	if (qel_pillars_of_instant(instant_of_timestamptz(at), zi, &p) != QEL_OK)
		range_error(QEL_DOMAIN_PILLARS, psprintf("timestamp %s", timestamptz_text(at)));
	PG_RETURN_ARRAYTYPE_P(pillar_names(&p));
}

/* A naive timestamp is a wall time in UTC+8, whatever the session's zone. */
PG_FUNCTION_INFO_V1(sql_pillars_of_timestamp);
Datum
sql_pillars_of_timestamp(PG_FUNCTION_ARGS)
{
	Timestamp	at = PG_GETARG_TIMESTAMP(0);
	int32		zi = zi_of_text(PG_GETARG_TEXT_PP(1));
	int32		second;
	int64		serial = serial_of_timestamp(at, &second);
	int64		instant;
	qel_pillars p;

	if (qel_instant_of_cst(serial, second, &instant) != QEL_OK || qel_pillars_of_instant(instant, zi, &p) != QEL_OK)
		range_error(QEL_DOMAIN_PILLARS, psprintf("timestamp %s", timestamp_text(at)));
	PG_RETURN_ARRAYTYPE_P(pillar_names(&p));
}

/* pillars(year, month, day, hour, minute, second, zi): a UTC+8 wall time by
 * its fields, as qel_pillars_of_cst takes it, so that fields that are no
 * date or time fail with the library's reason. */
PG_FUNCTION_INFO_V1(sql_pillars_of_fields);
Datum
sql_pillars_of_fields(PG_FUNCTION_ARGS)
{
	int32		f[6];
	int32		zi = zi_of_text(PG_GETARG_TEXT_PP(6));
	const char *argument;
	int32		status;
	qel_pillars p;

	for (int i = 0; i < 6; i++)
		f[i] = PG_GETARG_INT32(i);
	status = qel_pillars_of_cst(f[0], f[1], f[2], f[3], f[4], f[5], zi, &p);
	if (status == QEL_OK)
		PG_RETURN_ARRAYTYPE_P(pillar_names(&p));
	argument = psprintf("%04d-%02d-%02d %02d:%02d:%02d UTC+8", (int) f[0], (int) f[1], (int) f[2], (int) f[3],
						(int) f[4], (int) f[5]);
	if (status == QEL_E_DATE)
	{
		check_date_fields(f[0], f[1], f[2], argument);
		check_time_fields(f[3], f[4], f[5], argument);
	}
	if (status == QEL_E_RANGE)
		range_error(QEL_DOMAIN_PILLARS, argument);
	elog(ERROR, "qel_pillars_of_cst returned %d", (int) status);
	pg_unreachable();
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
		range_error(QEL_DOMAIN_HOLIDAYS, psprintf("date %s", date_text(d)));
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
		range_error(QEL_DOMAIN_HOLIDAYS, psprintf("the range %s to %s", date_text(from), date_text(to)));
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
		range_error(QEL_DOMAIN_HOLIDAYS, psprintf("%d working days from %s", (int) n, date_text(from)));
	PG_RETURN_DATEADT(date_of_serial(serial));
}
