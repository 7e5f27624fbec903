// Types of qel-calendar: the Chinese, Korean and Vietnamese lunisolar
// calendars (qel_calendar in WebAssembly).
// The covered years, the rules and the texts of failures are qel_calendar's
// (include/qel_calendar.h); ranges() gives the ranges at run time.
// Every function is synchronous. The default builds carry the wasm inline
// and are ready on import; qel-calendar/file fetches the same inline copy
// (qel_calendar.inline.json) and is ready once init() resolves. Where WebAssembly
// cannot run (a Content-Security-Policy without 'wasm-unsafe-eval'), the
// import still succeeds: init() rejects, and every call throws, saying why.
//
// A date argument is a Date, read in its *local* calendar date (what
// getFullYear/getMonth/getDate give; the time and the time zone play no
// further part), a "YYYY-MM-DD" string, or {year, month, day}. Dates come back
// as "YYYY-MM-DD" strings. Wrong types throw TypeError; dates that do not
// exist or lie outside the covered years, and option strings outside their
// set, throw RangeError saying why (for dates, times and ranges in the
// library's own words). Option strings match ASCII
// case-insensitively ("Early" is "early").
//
// The lunar calls take options.calendar: "chinese" (the default), "korean"
// or "vietnamese" (or 农历, 음력, âm lịch). The three share the rules and
// differ in the meridian of their days, so a month can start a day apart
// (Tết 1985 fell on 1985-01-21, 春节 on 1985-02-20) or the leap month
// differ (2017: the Chinese 闰六月, the Korean 윤5월). Names follow the
// calendar: Korean in 한글, Vietnamese in quốc ngữ.

/** A calendar by name: "chinese", "korean", "vietnamese" in any ASCII case, or 农历, 음력, âm lịch. */
export type CalendarName = 'chinese' | 'korean' | 'vietnamese' | (string & {});

export interface CalendarOptions {
  /** the lunar calendar, "chinese" when left out */
  calendar?: CalendarName;
}

/** A date argument: a Date (its local calendar date), "YYYY-MM-DD", or fields. */
export type DateInput = Date | string | { year: number; month: number; day: number };

/** A date of a lunisolar calendar (the Chinese unless options.calendar says another). */
export interface LunarDate {
  /** a lunar year of ranges().lunar */
  year: number;
  /** 1..12; a leap month carries the number of the month it follows */
  month: number;
  /** 1..30 */
  day: number;
  /** true in the leap month */
  leap: boolean;
  /** as its calendar prints it: "闰六月初一"; Korean "윤6월 1일"; Vietnamese "mùng 1 tháng Sáu nhuận" */
  text: string;
}

export interface LunarDateInput {
  year: number;
  month: number;
  day: number;
  /** a boolean, or 0 and 1; false when left out */
  leap?: boolean | 0 | 1;
}

export interface Term {
  /** within the Gregorian year: 0 = 小寒 Minor Cold .. 5 = 春分 .. 23 = 冬至 Winter Solstice */
  number: number;
  /** 小寒 */
  name: string;
  /** Minor Cold */
  english: string;
  /** minor-cold */
  key: string;
}

export interface SolarTerm extends Term {
  /** the instant (apparent Sun), truncated to the second */
  instant: Date;
  /** its day in China Standard Time (UTC+8), "YYYY-MM-DD" */
  date: string;
}

export interface Festival {
  /** index into FESTIVALS */
  number: number;
  /** in the calendar's language: 中秋节, 추석, Tết Trung Thu */
  name: string;
  /** for calendar cells: 中秋 (two characters); the name in Korean and Vietnamese */
  short: string;
  english: string;
  /** mid-autumn */
  key: string;
}

export interface DatedFestival extends Festival {
  /** "YYYY-MM-DD" */
  date: string;
}

export interface DayFacts {
  /** "YYYY-MM-DD" */
  date: string;
  /** ISO: 1 = Monday .. 7 = Sunday */
  weekday: number;
  dayOfYear: number;
  /** null outside the lunar table (ranges().lunar) */
  lunar: LunarDate | null;
  /** 29 or 30 */
  lunarMonthDays: number | null;
  /** the month the lunar year's leap month follows, 0 for none */
  lunarLeapMonth: number | null;
  /** stem-branch of the lunar year, in the calendar's language: 丁酉, 정유, Đinh Dậu */
  yearCycle: string | null;
  /** animal of the lunar year: 鸡, 닭, Gà */
  animal: string | null;
  /** stem-branch of the day */
  dayCycle: string;
  /** the solar term falling on the day (in UTC+8) */
  term: SolarTerm | null;
  /** the festivals the calendar keeps on the day (the Korean and Vietnamese: no PRC observances) */
  festivals: Festival[];
  /** PRC working days, whatever the calendar: "off" (休), "work" (班, a weekend day worked in exchange), "ordinary"; null outside holidayYears() */
  holidayStatus: 'ordinary' | 'off' | 'work' | null;
  /** the holiday of an off or work day: 春节 */
  holiday: string | null;
}

export interface Pillars {
  /** stem-branch names */
  year: string;
  month: string;
  day: string;
  hour: string;
  /** "丙午 己亥 乙卯 己卯" */
  text: string;
}

export interface CivilTime {
  year: number;
  month: number;
  day: number;
  hour: number;
  minute?: number;
  second?: number;
}

export interface HolidayDay {
  /** "YYYY-MM-DD" */
  date: string;
  /** "off": a day of a holiday period; "work": a weekend day worked in exchange */
  status: 'off' | 'work';
  /** 春节 */
  holiday: string;
  english: string;
  key: string;
}

export interface FestivalOptions extends CalendarOptions {
  /** 小年 on lunar 12-24, as in the south, instead of 12-23 */
  southXiaonian?: boolean;
}

export interface BatchOptions extends CalendarOptions {
  /** what the day numbers count: "unix", days since 1970-01-01 (the default; Date.getTime() / 86400000),
   * or "serial", days since 1899-12-30 */
  epoch?: 'unix' | 'serial' | (string & {});
}

export interface LunarBatch {
  /** 0 where not valid */
  year: Uint16Array;
  month: Uint8Array;
  day: Uint8Array;
  /** 1 in a leap month */
  leap: Uint8Array;
  /** 0 for a day outside the lunar table */
  valid: Uint8Array;
}

/** "1.0.0", the library's version */
export declare const VERSION: string;
/** The sixty stem-branch names, 0 = 甲子 .. 59 = 癸亥 */
export declare const CYCLE: readonly string[];
/** The 24 solar terms, 0 = 小寒 .. 23 = 冬至 */
export declare const TERMS: readonly Term[];
/** The festivals by number, with their Chinese names (雄王祭 for the Vietnamese Giỗ Tổ Hùng Vương) */
export declare const FESTIVALS: readonly Festival[];
/** The first day of the lunar table, ranges().lunar.first */
export declare const FIRST_LUNAR_DATE: string;
/** The last day of the lunar table, ranges().lunar.last */
export declare const LAST_LUNAR_DATE: string;

/** A covered range, as qel_domain_range gives it. */
export interface CoveredRange {
  /** the first and last year: lunar years for ranges().lunar, Gregorian otherwise */
  firstYear: number;
  lastYear: number;
  /** the first and last day covered, "YYYY-MM-DD" */
  first: string;
  last: string;
  /** the first and last second covered (for the day ranges: the days' first and last second in UTC+8) */
  firstInstant: Date;
  lastInstant: Date;
}

/**
 * The covered ranges, read from qel_calendar when the module loads: Gregorian dates (dayFacts), the
 * lunar table (toLunar, fromLunar, the lunar steps), the solar terms and festivals' years, the
 * four pillars' span and the PRC holiday table's years (holidayYears()).
 */
export declare function ranges(): {
  readonly gregorian: CoveredRange; readonly lunar: CoveredRange; readonly terms: CoveredRange;
  readonly pillars: CoveredRange; readonly holidays: CoveredRange;
};

/**
 * Resolves when the calls are ready; rejects with an Error saying why WebAssembly cannot run here.
 * The default builds are ready on import (init() only reports). In qel-calendar/file it fetches and
 * compiles the module: from source when given (a URL, a fetch Response or its promise, wasm bytes or a
 * WebAssembly.Module), else from qel_calendar.inline.json beside the module. Calls before then throw.
 */
export declare function init(source?: string | URL | Response | PromiseLike<Response> | BufferSource | WebAssembly.Module): Promise<void>;
/** Makes the module now from wasm bytes or a WebAssembly.Module (a no-op once ready); throws why it cannot. */
export declare function initSync(source: BufferSource | WebAssembly.Module): void;

/** The lunar date of a day of ranges().lunar. */
export declare function toLunar(date: DateInput, options?: CalendarOptions): LunarDate;
/** The day of a lunar date, "YYYY-MM-DD". */
export declare function fromLunar(lunar: LunarDateInput, options?: CalendarOptions): string;
/** The day of a lunar date as a Date at local midnight. */
export declare function lunarToDate(lunar: LunarDateInput, options?: CalendarOptions): Date;
/** The month the lunar year's leap month follows (2..11), 0 for none. */
export declare function leapMonth(year: number, options?: CalendarOptions): number;

/** A lunar month, where it comes from and how sure it is (qel_lunar_month_info). */
export interface MonthInfo {
  year: number;
  month: number;
  leap: boolean;
  /** 29 or 30 */
  days: number;
  /** its first day, "YYYY-MM-DD" */
  first: string;
  /** a published table (the Chinese calendar's of the 20th and 21st centuries, the Korean KASI table),
   * computed from the ephemerides, or the historical record where it departs from computation */
  source: 'published' | 'computed' | 'record';
  /** its new moon falls within the margin of error of midnight: the first day could move */
  startUncertain: boolean;
  /** a principal term or new moon within its margin of midnight could move the leap month or the numbering */
  labelUncertain: boolean;
  /** the second ephemeris starts or labels the month otherwise */
  enginesDiffer: boolean;
  /** computation starts or labels the month otherwise (the published table or the record decides) */
  computationDiffers: boolean;
}
export interface MonthInfoOptions extends CalendarOptions {
  /** the leap month of that number; false when left out */
  leap?: boolean | 0 | 1;
}
/** A month of a lunar year of ranges().lunar; RangeError for a month the year does not have. */
export declare function monthInfo(year: number, month: number, options?: MonthInfoOptions): MonthInfo;

export interface LunarStepOptions extends CalendarOptions {
  /** false: a step to day 30 of a month of 29 days throws instead of giving day 29 */
  clamp?: boolean;
}

/**
 * A lunar date moved by n months, qel_lunar_step's rule (include/qel_calendar.h): months in calendar
 * order, leap months included (one month after 六月 of 2017 is 闰六月, one after 闰六月 is 七月); day 30
 * becomes 29 where the new month has 29 days. RangeError for a start that is no date or a result
 * outside ranges().lunar.
 */
export declare function addLunarMonths(lunar: LunarDateInput, n: number, options?: LunarStepOptions): LunarDate;
/**
 * A lunar date moved by n years, qel_lunar_step's rule: the month is kept; a leap month stays leap only
 * where the new year has the same leap month, else it becomes the ordinary month of its number; day 30
 * becomes 29 where the new month has 29 days.
 */
export declare function addLunarYears(lunar: LunarDateInput, n: number, options?: LunarStepOptions): LunarDate;
/** Everything the calendar says about a day of ranges().gregorian; the lunar fields and names are options.calendar's. */
export declare function dayFacts(date: DateInput, options?: FestivalOptions): DayFacts;
/**
 * The four pillars (四柱, 八字) of a moment: a Date (an instant, seen in UTC+8) or civil fields in
 * UTC+8. Mean civil time. The year changes at the instant of 立春, the month at each 节. zi "late"
 * (the default) keeps 23:00-24:00 on the day's own day pillar, "early" gives it to the next day.
 * Covered: ranges().pillars, from the first 立春 of the table.
 */
export declare function pillars(moment: Date | CivilTime, options?: { zi?: 'late' | 'early' | (string & {}) }): Pillars;
/** The 24 solar terms of a Gregorian year of ranges().terms, 小寒 first. */
export declare function solarTerms(year: number): SolarTerm[];
/**
 * The festival days inside a Gregorian year of ranges().terms, in date order: 2022 has two 腊八 (2022-01-10 of
 * lunar 2021 and 2022-12-30 of lunar 2022); 2025 has the 除夕 2025-01-28 of lunar 2024 and not the
 * 2026-02-16 of lunar 2025. (The first year lacks the lunar festivals before ranges().lunar.first.)
 */
export declare function festivals(year: number, options?: FestivalOptions): DatedFestival[];
/**
 * The day of a festival in one year of its own calendar, "YYYY-MM-DD": the lunar year for
 * the lunar festivals (除夕 of lunar 2024 is 2025-01-28), the Gregorian year for 清明, 冬至 and the
 * fixed days. The festival: its number, key ("mid-autumn"), Chinese name or short form, its name in the
 * calendar's language, or English name. RangeError for a festival the calendar does not keep.
 */
export declare function festivalDate(festival: number | string, year: number, options?: FestivalOptions): string;
/** The Gregorian years of the built-in PRC holiday table. */
export declare function holidayYears(): { first: number; last: number };
/** The days off (休) and weekend days worked (班) of a year of the holiday table. */
export declare function holidays(year: number): HolidayDay[];
/** Whether a day is worked in the PRC; RangeError outside holidayYears(). */
export declare function isWorkday(date: DateInput): boolean;
/**
 * The day n working days after date (before it for n < 0), "YYYY-MM-DD"; n = 0 gives the date itself
 * when it is worked, else the next working day. chinese-days' findWorkday(n, date).
 * RangeError when the answer lies outside holidayYears().
 */
export declare function addWorkdays(date: DateInput, n: number): string;
/** The working days in [start, end) (negative when end < start); RangeError unless holidayYears() covers it. */
export declare function workdays(start: DateInput, end: DateInput): number;
/** The lunar dates of many days in one call per 8,192 days. */
export declare function toLunarBatch(days: Int32Array, options?: BatchOptions): LunarBatch;
/** Integer typed arrays, as fromLunarBatch takes them (toLunarBatch's fields among them). */
export type IntegerArray = Int8Array | Uint8Array | Uint8ClampedArray | Int16Array | Uint16Array | Int32Array | Uint32Array;

/** The days of many lunar dates (0 and valid 0 where a date does not exist). */
export declare function fromLunarBatch(
  lunar: { year: IntegerArray; month: IntegerArray; day: IntegerArray; leap?: IntegerArray },
  options?: BatchOptions,
): { days: Int32Array; valid: Uint8Array };
