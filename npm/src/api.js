// The JavaScript API over the exports of qel_calendar's WebAssembly module
// (wasm_api.cpp). bind() takes an instance's exports and returns the API;
// lifecycle.js decides when and from which bytes that instance is made.
//
// Scalar calls cross into WebAssembly once with int32 arguments and get one
// packed int32 back; the batch calls copy 8,192 elements at a time into
// static buffers and cross once per chunk.

// Texts of the module's name table are UTF-8. TextDecoder is missing from
// some test environments (Jest's jsdom); the fallback is the classic
// escape/decodeURIComponent round trip, fine for a few hundred short names.
const utf8 = typeof TextDecoder === 'function' ? new TextDecoder()
  : { decode: (b) => decodeURIComponent(escape(String.fromCharCode(...b))) };
// And the way back, for the names of calendars (음력, âm lịch).
const utf8Bytes = typeof TextEncoder === 'function' ? (t) => new TextEncoder().encode(t)
  : (t) => { try { return Uint8Array.from(unescape(encodeURIComponent(t)), (c) => c.charCodeAt(0)); } catch { return null; } };

export function bind(x) {
  'use strict';
  const memory = x.memory.buffer;  // fixed: the module's memory does not grow
  const H8 = new Uint8Array(memory), H16 = new Uint16Array(memory), H32 = new Int32Array(memory);
  const F64 = new Float64Array(memory);
  const w = {};
  for (const f of ['buffers', 'chunk', 'lunar_of_ymd', 'ymd_of_lunar', 'lunar_leap_month', 'month_info',
                   'calendar_of_name', 'language', 'lunar_text',
                   'day_facts', 'term_instant', 'festival_date', 'pillars_of_cst', 'pillars_of_instant',
                   'holiday_status', 'is_workday', 'holiday_years', 'workdays', 'add_workdays', 'festivals_of_year', 'name', 'version',
                   'count', 'fact_field', 'range', 'epoch', 'lunar_step', 'zi_of_name',
                   'date_message', 'lunar_message', 'time_message', 'range_message',
                   'lunar_batch', 'days_batch'])
    w[f] = x['qjs_' + f];

  // Static buffers of wasm_api.cpp (qjs_buffers), as indices into the views.
  const B = Array.from({ length: 13 }, (_, i) => w.buffers(i));
  const [B_IN, B_MONTH32, B_DAY32, B_LEAP32, B_OUT_DAYS] = B.slice(0, 5).map((p) => p >> 2);
  const B_YEAR16 = B[5] >> 1, [B_MONTH8, B_DAY8, B_LEAP8, B_VALID8] = B.slice(6, 10);
  const B_FACTS = B[10], B_F64 = B[11] >> 3, B_TEXT = B[12];
  const CHUNK = w.chunk();

  const E_RANGE = -1, E_DATE = -2;
  // The batch epochs by name: the day serial of day 0, from the header's
  // QEL_EPOCH_* (wasm_api.cpp's qjs_epoch numbers them in this order).
  const EPOCHS = { unix: w.epoch(0), serial: w.epoch(1) };
  // qel_count kinds
  const COUNT_FESTIVALS = 0, COUNT_HOLIDAYS = 1, COUNT_TERMS = 2, COUNT_DOMAINS = 4, COUNT_FACT_FIELDS = 6,
    COUNT_CALENDARS = 7;

  const cString = (p) => utf8.decode(H8.subarray(p, H8.indexOf(0, p)));
  const name = (kind, index, flags = 0) => {
    const n = w.name(kind, index, flags);
    if (n < 0) throw new Error(`qel_name(${kind}, ${index}) failed`);
    return utf8.decode(H8.subarray(B_TEXT, B_TEXT + n));
  };
  // A festival's name, or null in a language whose calendar does not keep it.
  const festivalName = (kind, index, flags) => (w.name(kind, index, flags) < 0 ? null : name(kind, index, flags));
  // qel_name kinds
  const STEM_BRANCH = 2, ANIMAL = 3, MONTH = 4, DAY = 5, TERM = 6, TERM_EN = 7, TERM_KEY = 8;
  const FEST = 9, FEST_SHORT = 10, FEST_EN = 11, FEST_KEY = 12, HOLIDAY = 13, HOLIDAY_EN = 14, HOLIDAY_KEY = 15;
  const LEAP_MARK = 1;

  const freeze = Object.freeze;
  const CYCLE = freeze(Array.from({ length: 60 }, (_, i) => name(STEM_BRANCH, i)));
  const ANIMALS = Array.from({ length: 12 }, (_, i) => name(ANIMAL, i));
  const TERMS = freeze(Array.from({ length: w.count(COUNT_TERMS) }, (_, i) =>
    freeze({ number: i, name: name(TERM, i), english: name(TERM_EN, i), key: name(TERM_KEY, i) })));
  const FESTIVALS = freeze(Array.from({ length: w.count(COUNT_FESTIVALS) }, (_, i) => freeze({
    number: i, name: name(FEST, i), short: name(FEST_SHORT, i), english: name(FEST_EN, i), key: name(FEST_KEY, i),
  })));
  const HOLIDAYS = [null];
  for (let i = 1; i < w.count(COUNT_HOLIDAYS); i++)
    HOLIDAYS.push(freeze({ name: name(HOLIDAY, i), english: name(HOLIDAY_EN, i), key: name(HOLIDAY_KEY, i) }));
  const STATUS = ['ordinary', 'off', 'work'];
  // The text of every lunar month and day, indexed by bits 0-9 of a packed
  // lunar date (leap | day << 1 | month << 6).
  const TEXT = new Array(1024).fill('');
  for (let m = 1; m <= 12; m++)
    for (let leap = 0; leap < 2; leap++) {
      const month = name(MONTH, m, leap ? LEAP_MARK : 0);
      for (let d = 1; d <= 30; d++) TEXT[m << 6 | d << 1 | leap] = month + name(DAY, d);
    }
  // The names each calendar prints in its own language (qjs_language: 한글
  // for the Korean, quốc ngữ for the Vietnamese), made on first use; the
  // Chinese are the tables above. A festival the calendar does not keep is
  // null in its FESTIVALS.
  const CALENDARS = ['chinese', 'korean', 'vietnamese'].slice(0, w.count(COUNT_CALENDARS));
  const LOCAL = [{ CYCLE, ANIMALS, TERMS, FESTIVALS, TEXT }];
  function local(c) {
    if (LOCAL[c] !== undefined) return LOCAL[c];
    const lang = w.language(c);
    return LOCAL[c] = {
      CYCLE: freeze(Array.from({ length: 60 }, (_, i) => name(STEM_BRANCH, i, lang))),
      ANIMALS: Array.from({ length: 12 }, (_, i) => name(ANIMAL, i, lang)),
      TERMS: freeze(TERMS.map((t) => freeze({ ...t, name: name(TERM, t.number, lang) }))),
      FESTIVALS: freeze(FESTIVALS.map((f) => {
        const n = festivalName(FEST, f.number, lang);
        return n === null ? null : freeze({ ...f, name: n, short: festivalName(FEST_SHORT, f.number, lang) });
      })),
      TEXT: [],  // filled by lunarOf
    };
  }
  const VERSION = cString(w.version());
  // The members of qel_day_facts by name, as qel_day_facts_field lays them
  // out: a 32-bit member as its index into H32, a 64-bit one as a reader.
  // Only the 64-bit term_instant and festivals need two halves (an instant
  // far below 2^53 s, a mask of fewer than 53 festival bits: exact doubles).
  const U32 = new Uint32Array(memory), FACT = {};
  for (let i = 0, n = w.count(COUNT_FACT_FIELDS); i < n; i++) {
    const r = w.fact_field(i), at = (B_FACTS + (r & 0xfff)) >> 2, signed = r >> 20 & 1;
    FACT[cString(B_TEXT)] = (r >> 12 & 0xff) === 4 ? at
      : signed ? () => H32[at + 1] * 4294967296 + U32[at] : () => U32[at + 1] * 4294967296 + U32[at];
  }
  const {
    year: F_YEAR, month: F_MONTH, day: F_DAY, weekday: F_WEEKDAY, day_of_year: F_DAY_OF_YEAR, flags: F_FLAGS,
    lunar_year: F_LUNAR_YEAR, lunar_month: F_LUNAR_MONTH, lunar_day: F_LUNAR_DAY, lunar_leap: F_LUNAR_LEAP,
    lunar_month_days: F_LUNAR_MONTH_DAYS, lunar_leap_month: F_LUNAR_LEAP_MONTH, year_cycle: F_YEAR_CYCLE,
    day_cycle: F_DAY_CYCLE, term: F_TERM, holiday_status: F_HOLIDAY_STATUS, holiday: F_HOLIDAY,
    term_instant: termInstantOfFacts, festivals: festivalsOfFacts,
  } = FACT;

  // ---- arguments ---------------------------------------------------------------

  const describe = (v) => v === null ? 'null' : Array.isArray(v) ? 'an array'
    : typeof v === 'object' ? (v.constructor && v.constructor !== Object ? `a ${v.constructor.name}` : 'an object')
    : typeof v === 'string' ? `the string ${JSON.stringify(v)}` : v === undefined ? 'undefined'
    : typeof v === 'symbol' || typeof v === 'function' ? `a ${typeof v}` : `${typeof v} ${String(v)}`;
  const pad2 = (n) => (n < 10 ? '0' : '') + n;
  const iso = (y, m, d) => (y >= 0 && y < 10000 ? String(y).padStart(4, '0') : String(y)) + '-' + pad2(m) + '-' + pad2(d);
  const isoOfPacked = (p) => iso((p / 10000) | 0, ((p / 100) | 0) % 100, p % 100);

  // An integer that WebAssembly takes as int32 without wrapping.
  function int(v, what, fn) {
    if (typeof v === 'number' && (v | 0) === v) return v;
    if (v === undefined) throw new TypeError(`${fn}: ${what} is missing (expected an integer)`);
    if (typeof v !== 'number') throw new TypeError(`${fn}: ${what} must be a number, not ${describe(v)}`);
    if (!Number.isInteger(v)) throw new RangeError(`${fn}: ${what} must be an integer, not ${v}`);
    throw new RangeError(`${fn}: ${what} ${v} is out of range`);
  }

  // The Gregorian date of an argument into Y, MO, D: a Date (its local
  // calendar date, as getFullYear/getMonth/getDate read it), "YYYY-MM-DD",
  // or {year, month, day}. Module variables instead of a returned object: the
  // scalar calls allocate nothing but their result.
  let Y = 0, MO = 0, D = 0;
  function readDate(v, fn, what = 'date') {
    if (typeof v === 'string') {
      if (v.length === 10 && v.charCodeAt(4) === 45 && v.charCodeAt(7) === 45) {
        let y = 0, bad = 0;
        for (let i = 0; i < 4; i++) { const c = v.charCodeAt(i) - 48; bad |= c >>> 0 > 9; y = y * 10 + c; }
        const m1 = v.charCodeAt(5) - 48, m2 = v.charCodeAt(6) - 48, d1 = v.charCodeAt(8) - 48, d2 = v.charCodeAt(9) - 48;
        if (!(bad | m1 >>> 0 > 9 | m2 >>> 0 > 9 | d1 >>> 0 > 9 | d2 >>> 0 > 9)) {
          Y = y, MO = m1 * 10 + m2, D = d1 * 10 + d2;
          return;
        }
      }
      throw new RangeError(`${fn}: ${JSON.stringify(v)} is not a date written YYYY-MM-DD`);
    }
    if (v instanceof Date) {
      if (Number.isNaN(v.getTime())) throw new RangeError(`${fn}: the ${what} is an Invalid Date`);
      Y = v.getFullYear(), MO = v.getMonth() + 1, D = v.getDate();
      return;
    }
    if (typeof v === 'object' && v !== null && !Array.isArray(v)) {
      Y = int(v.year, `${what}.year`, fn), MO = int(v.month, `${what}.month`, fn), D = int(v.day, `${what}.day`, fn);
      return;
    }
    const expected = 'a Date, a "YYYY-MM-DD" string or {year, month, day}';
    if (v === undefined) throw new TypeError(`${fn}: the ${what} is missing (expected ${expected})`);
    throw new TypeError(`${fn}: the ${what} must be ${expected}, not ${describe(v)}`);
  }

  // The texts of failures are qel_calendar's own (qjs_*_message into the
  // text buffer), so a bad input reads the same in every binding.
  const said = (n) => (n > 0 ? utf8.decode(H8.subarray(B_TEXT, B_TEXT + n)) : '');
  const GREGORIAN = 0, LUNAR = 1, TERMS_YEARS = 2, PILLARS = 3, HOLIDAY_TABLE = 4;  // qel_domain
  const outside = (domain) => said(w.range_message(domain));

  // The covered ranges, qel_domain_range's, by the names of qel_domain's
  // values in order.
  const DOMAINS = ['gregorian', 'lunar', 'terms', 'pillars', 'holidays'].slice(0, w.count(COUNT_DOMAINS));
  const RANGES = freeze(Object.fromEntries(DOMAINS.map((key, domain) => {
    w.range(domain);
    const v = F64.slice(B_F64, B_F64 + 6);
    return [key, freeze({ firstYear: v[0], lastYear: v[1], first: isoOfPacked(v[2]), last: isoOfPacked(v[3]),
                          firstInstant: new Date(v[4] * 1000), lastInstant: new Date(v[5] * 1000) })];
  })));
  const FIRST_LUNAR_DATE = RANGES.lunar.first, LAST_LUNAR_DATE = RANGES.lunar.last;

  // The error of a failed call on the date in Y, MO, D: why it is no date,
  // else the range of the domain it falls outside.
  function dateError(fn, domain) {
    return new RangeError(`${fn}: ${said(w.date_message(Y, MO, D)) || `${iso(Y, MO, D)} is ${outside(domain)}`}`);
  }

  function options(o, fn) {
    if (o === undefined) return {};
    if (typeof o !== 'object' || o === null) throw new TypeError(`${fn}: options must be an object, not ${describe(o)}`);
    return o;
  }
  // An option whose value is one of a set of names, matched ASCII
  // case-insensitively (as SQL matches keywords): the wrong type is a
  // TypeError, a string outside the set a RangeError.
  const asciiLower = (t) => t.replace(/[A-Z]+/g, (c) => c.toLowerCase());
  function choice(opts, key, table, dflt, fn) {
    const v = options(opts, fn)[key];
    if (v === undefined) return table[dflt];
    const names = Object.keys(table).map((k) => JSON.stringify(k)).join(' or ');
    if (typeof v !== 'string') throw new TypeError(`${fn}: options.${key} must be a string, ${names}, not ${describe(v)}`);
    const k = asciiLower(v);
    if (!Object.hasOwn(table, k)) throw new RangeError(`${fn}: options.${key} must be ${names}, not ${JSON.stringify(v)}`);
    return table[k];
  }
  // options.calendar: a name qel_calendar_of_name takes ("korean", 음력, ...),
  // remembered once it has matched; 0, the Chinese calendar, by default.
  const CALENDAR_WORDS = CALENDARS.map((k) => JSON.stringify(k)).join(', ').replace(/, (?=[^,]*$)/, ' or ');
  const calendarOfName = new Map();
  function calendarOf(opts, fn) {
    if (opts === undefined) return 0;
    const v = options(opts, fn).calendar;
    if (v === undefined) return 0;
    if (typeof v !== 'string') throw new TypeError(`${fn}: options.calendar must be a string, ${CALENDAR_WORDS}, not ${describe(v)}`);
    let c = calendarOfName.get(v);
    if (c === undefined) {
      const bytes = v.length < 256 ? utf8Bytes(v) : null;
      c = bytes !== null && bytes.length < 256 ? (H8.set(bytes, B_TEXT), w.calendar_of_name(bytes.length)) : -1;
      if (c < 0) throw new RangeError(`${fn}: options.calendar must be ${CALENDAR_WORDS}, not ${JSON.stringify(v)}`);
      if (calendarOfName.size < 64) calendarOfName.set(v, c);
    }
    return c;
  }
  function southXiaonian(o, fn) {
    const v = options(o, fn).southXiaonian;
    if (v !== undefined && typeof v !== 'boolean')
      throw new TypeError(`${fn}: options.southXiaonian must be a boolean, not ${describe(v)}`);
    return v ? 1 : 0;
  }

  // ---- lunar dates -------------------------------------------------------------

  // A packed lunar date of calendar c. The texts of the other calendars come
  // from qel_lunar_text once for each month, day and leap flag.
  function lunarOf(r, c = 0) {
    const year = (r >> 10) & 0xfffff, month = (r >> 6) & 15, day = (r >> 1) & 31, leap = r & 1;
    let text = TEXT[r & 1023];
    if (c !== 0) {
      const T = local(c).TEXT;
      text = T[r & 1023] ??= said(w.lunar_text(year, month, day, leap, c));
    }
    return { year, month, day, leap: leap === 1, text };
  }

  function toLunar(date, opts) {
    readDate(date, 'toLunar');
    const c = calendarOf(opts, 'toLunar');
    const r = w.lunar_of_ymd(Y, MO, D, c);
    if (r < 0) throw dateError('toLunar', LUNAR);
    return lunarOf(r, c);
  }

  // The Gregorian date of a lunar date as yyyymmdd; RangeError saying what is wrong.
  const leapFlag = (l, what, fn) => {
    if (l !== undefined && typeof l !== 'boolean' && l !== 0 && l !== 1)
      throw new TypeError(`${fn}: ${what} must be a boolean (or 0 or 1), not ${describe(l)}`);
    return l ? 1 : 0;
  };
  function ymdOfLunar(v, fn, c) {
    if (typeof v !== 'object' || v === null)
      throw new TypeError(`${fn}: the lunar date must be {year, month, day, leap}, not ${describe(v)}`);
    const y = int(v.year, 'year', fn), m = int(v.month, 'month', fn), d = int(v.day, 'day', fn);
    const leap = leapFlag(v.leap, 'leap', fn);
    const r = w.ymd_of_lunar(y, m, d, leap, c);
    return r >= 0 ? r : new RangeError(`${fn}: ${said(w.lunar_message(y, m, d, leap, c))}`);
  }

  function fromLunar(lunar, opts) {
    const r = ymdOfLunar(lunar, 'fromLunar', calendarOf(opts, 'fromLunar'));
    if (typeof r !== 'number') throw r;
    return isoOfPacked(r);
  }

  function lunarToDate(lunar, opts) {
    const r = ymdOfLunar(lunar, 'lunarToDate', calendarOf(opts, 'lunarToDate'));
    if (typeof r !== 'number') throw r;
    return new Date((r / 10000) | 0, (((r / 100) | 0) % 100) - 1, r % 100);
  }

  function leapMonth(year, opts) {
    const y = int(year, 'year', 'leapMonth'), c = calendarOf(opts, 'leapMonth'), r = w.lunar_leap_month(y, c);
    if (r < 0) throw new RangeError(`leapMonth: ${said(w.lunar_message(y, 1, 1, 0, c))}`);
    return r;
  }

  // Where a month of a calendar comes from and how sure it is
  // (qel_lunar_month_info; qjs_month_info packs the source and the flags).
  const SOURCES = ['published', 'computed', 'record'];
  function monthInfo(year, month, opts) {
    const fn = 'monthInfo';
    const y = int(year, 'year', fn), m = int(month, 'month', fn), c = calendarOf(opts, fn);
    const leap = leapFlag(opts === undefined ? undefined : options(opts, fn).leap, 'options.leap', fn);
    const r = w.month_info(y, m, leap, c);
    if (r < 0) throw new RangeError(`${fn}: ${said(w.lunar_message(y, m, 1, leap, c))}`);
    return {
      year: y, month: m, leap: leap === 1, days: r >> 12, first: isoOfPacked(F64[B_F64]), source: SOURCES[r & 15],
      startUncertain: (r & 16) !== 0, labelUncertain: (r & 32) !== 0, enginesDiffer: (r & 64) !== 0,
      computationDiffers: (r & 128) !== 0,
    };
  }

  // A lunar date moved by n months or years under qel_lunar_step's rule
  // (months in calendar order, leap months included; a year step keeps a
  // leap month only where the new year has the same one; day 30 becomes 29
  // where the new month is short, or with { clamp: false } throws).
  function lunarStep(lunar, n, years, opts, fn) {
    const c = calendarOf(opts, fn);
    const r = ymdOfLunar(lunar, fn, c);  // the start's own failure first
    if (typeof r !== 'number') throw r;
    const count = int(n, 'n', fn), o = options(opts, fn);
    if (o.clamp !== undefined && typeof o.clamp !== 'boolean')
      throw new TypeError(`${fn}: options.clamp must be a boolean, not ${describe(o.clamp)}`);
    const { year, month, day } = lunar, leap = lunar.leap ? 1 : 0;
    const s = w.lunar_step(year, month, day, leap, count, years, o.clamp === false ? 1 : 0, c);
    if (s === E_RANGE) throw new RangeError(`${fn}: the date ${count} ${years ? 'year' : 'month'}${count === 1 || count === -1 ? '' : 's'} from lunar ${year}-${month}-${day}${leap ? ' leap' : ''} is ${outside(LUNAR)}`);
    if (s < 0) {
      const to = w.lunar_step(year, month, day, leap, count, years, 0, c);
      throw new RangeError(`${fn}: ${said(w.lunar_message(to >> 10 & 0xfffff, to >> 6 & 15, day, to & 1, c))}`);
    }
    return lunarOf(s, c);
  }
  const addLunarMonths = (lunar, n, opts) => lunarStep(lunar, n, 0, opts, 'addLunarMonths');
  const addLunarYears = (lunar, n, opts) => lunarStep(lunar, n, 1, opts, 'addLunarYears');

  // ---- the facts of a day --------------------------------------------------------

  const cstDate = (instant) => {
    const t = new Date((instant + 8 * 3600) * 1000);
    return iso(t.getUTCFullYear(), t.getUTCMonth() + 1, t.getUTCDate());
  };
  const termOf = (k, instant, terms = TERMS) => ({ ...terms[k], instant: new Date(instant * 1000), date: cstDate(instant) });

  function dayFacts(date, opts) {
    readDate(date, 'dayFacts');
    const c = calendarOf(opts, 'dayFacts'), L = local(c);
    const st = w.day_facts(Y, MO, D, southXiaonian(opts, 'dayFacts'), c);
    if (st < 0) throw dateError('dayFacts', GREGORIAN);
    const f = H32;
    const hasLunar = (f[F_FLAGS] & 1) === 0;  // QEL_DAY_NO_LUNAR
    const lunar = hasLunar
      ? lunarOf(f[F_LUNAR_YEAR] << 10 | f[F_LUNAR_MONTH] << 6 | f[F_LUNAR_DAY] << 1 | f[F_LUNAR_LEAP], c)
      : null;
    const festivals = [];
    for (let bits = festivalsOfFacts(), i = 0; bits !== 0; bits = Math.floor(bits / 2), i++)
      if (bits % 2) festivals.push(L.FESTIVALS[i]);
    const status = f[F_HOLIDAY_STATUS], term = f[F_TERM];
    return {
      date: iso(f[F_YEAR], f[F_MONTH], f[F_DAY]),
      weekday: f[F_WEEKDAY],
      dayOfYear: f[F_DAY_OF_YEAR],
      lunar,
      lunarMonthDays: hasLunar ? f[F_LUNAR_MONTH_DAYS] : null,
      lunarLeapMonth: hasLunar ? f[F_LUNAR_LEAP_MONTH] : null,
      yearCycle: hasLunar ? L.CYCLE[f[F_YEAR_CYCLE]] : null,
      animal: hasLunar ? L.ANIMALS[f[F_YEAR_CYCLE] % 12] : null,
      dayCycle: L.CYCLE[f[F_DAY_CYCLE]],
      term: term >= 0 ? termOf(term, termInstantOfFacts(), L.TERMS) : null,
      festivals,
      holidayStatus: status >= 0 ? STATUS[status] : null,
      holiday: status > 0 ? HOLIDAYS[f[F_HOLIDAY]].name : null,
    };
  }

  // ---- pillars, terms, festivals -----------------------------------------------------

  // The zi convention of options.zi, matched by qel_zi_of_name (its words in
  // any ASCII case); the default is late, QEL_ZI_LATE.
  function ziOf(opts, fn) {
    const v = options(opts, fn).zi;
    if (v === undefined) return 0;
    const words = '"late" or "early"';
    if (typeof v !== 'string') throw new TypeError(`${fn}: options.zi must be a string, ${words}, not ${describe(v)}`);
    const n = Math.min(v.length, 255);
    for (let i = 0; i < n; i++) { const c = v.charCodeAt(i); H8[B_TEXT + i] = c < 128 ? c : 255; }
    const zi = v.length < 256 ? w.zi_of_name(n) : -1;
    if (zi < 0) throw new RangeError(`${fn}: options.zi must be ${words}, not ${JSON.stringify(v)}`);
    return zi;
  }

  function pillars(moment, opts) {
    const fn = 'pillars';
    const zi = ziOf(opts, fn);
    let r;
    if (moment instanceof Date) {
      const t = moment.getTime();
      if (Number.isNaN(t)) throw new RangeError(`${fn}: the moment is an Invalid Date`);
      r = w.pillars_of_instant(Math.floor(t / 1000), zi);
    } else if (typeof moment === 'object' && moment !== null) {
      const f = (k, dflt) => (moment[k] === undefined && dflt !== undefined ? dflt : int(moment[k], `moment.${k}`, fn));
      const y = f('year'), mo = f('month'), d = f('day'), h = f('hour'), mi = f('minute', 0), s = f('second', 0);
      r = w.pillars_of_cst(y, mo, d, h, mi, s, zi);
      if (r === E_DATE) throw new RangeError(`${fn}: ${said(w.date_message(y, mo, d)) || said(w.time_message(h, mi, s))}`);
    } else {
      throw new TypeError(`${fn}: the moment must be a Date or {year, month, day, hour, minute, second} in UTC+8, not ${describe(moment)}`);
    }
    if (r < 0) throw new RangeError(`${fn}: the moment is ${outside(PILLARS)}`);
    const p = { year: CYCLE[r >> 18], month: CYCLE[(r >> 12) & 63], day: CYCLE[(r >> 6) & 63], hour: CYCLE[r & 63] };
    p.text = `${p.year} ${p.month} ${p.day} ${p.hour}`;
    return p;
  }

  const outsideTerms = (fn, y) => new RangeError(`${fn}: year ${y} is ${outside(TERMS_YEARS)}`);

  function solarTerms(year) {
    const y = int(year, 'year', 'solarTerms');
    if (w.term_instant(y, 0) === E_RANGE) throw outsideTerms('solarTerms', y);
    return TERMS.map((_, k) => (w.term_instant(y, k), termOf(k, F64[B_F64])));
  }

  // The festival days inside Gregorian year y as [festival, yyyymmdd] in date
  // order (qel_festivals_of_year: 2022 has two 腊八, lunar 2024's 除夕 is in
  // 2025).
  function festivalDaysOfYear(y, o, c) {
    const n = w.festivals_of_year(y, o, c), days = [], L = local(c);
    for (let i = 0; i < n; i++) days.push([L.FESTIVALS[H32[B_MONTH32 + i]], H32[B_IN + i]]);
    return days;
  }

  function festivals(year, opts) {
    const y = int(year, 'year', 'festivals'), o = southXiaonian(opts, 'festivals'), c = calendarOf(opts, 'festivals');
    if (w.festivals_of_year(y, o, c) === E_RANGE) throw outsideTerms('festivals', y);
    return festivalDaysOfYear(y, o, c).map(([f, r]) => ({ ...f, date: isoOfPacked(r) }));
  }

  // A festival by number, key, Chinese name or short form, its name in the
  // calendar's language, or English name (key and English ASCII
  // case-insensitive), as qel_festival_of_name takes it.
  function festivalOf(v, fn, c) {
    if (typeof v === 'number') {
      if (Number.isInteger(v) && v >= 0 && v < FESTIVALS.length) return FESTIVALS[v];
      throw new RangeError(`${fn}: festival ${v} is not a festival number 0-${FESTIVALS.length - 1}`);
    }
    if (typeof v !== 'string') throw new TypeError(`${fn}: the festival must be a name, a key or a number, not ${describe(v)}`);
    const k = asciiLower(v), own = local(c).FESTIVALS;
    const f = FESTIVALS.find((x, i) => x.name === v || x.short === v || x.key === k || asciiLower(x.english) === k ||
                                       own[i]?.name === v);
    if (f === undefined) throw new RangeError(`${fn}: ${JSON.stringify(v)} is not a festival (a key such as "mid-autumn", or 中秋节)`);
    return f;
  }

  // The day of a festival of one year of its own calendar: the lunar year for
  // the lunar festivals (除夕 of lunar 2024 is 2025-01-28), the Gregorian year
  // for 清明, 冬至 and the fixed Gregorian days.
  function festivalDate(festival, year, opts) {
    const fn = 'festivalDate';
    const c = calendarOf(opts, fn), f = festivalOf(festival, fn, c), y = int(year, 'year', fn);
    if (local(c).FESTIVALS[f.number] === null)
      throw new RangeError(`${fn}: the ${CALENDARS[c]} calendar does not keep ${f.english} (${f.key})`);
    const r = w.festival_date(f.number, y, southXiaonian(opts, fn), c);
    if (r === E_RANGE) throw outsideTerms(fn, y);
    return isoOfPacked(r);
  }

  // ---- PRC holidays and working days -------------------------------------------------

  function holidayYears() {
    const r = w.holiday_years();
    return { first: r >> 16, last: r & 0xffff };
  }
  const outsideHolidays = (fn, what) => new RangeError(`${fn}: ${what} is ${outside(HOLIDAY_TABLE)}`);

  function holidays(year) {
    const y = int(year, 'year', 'holidays');
    const days = [];
    for (let m = 1; m <= 12; m++)
      for (let d = 1; d <= 31; d++) {
        const r = w.holiday_status(y, m, d);
        if (r === E_RANGE) throw outsideHolidays('holidays', `year ${y}`);
        if (r > 0) {
          const h = HOLIDAYS[r >> 4];
          days.push({ date: iso(y, m, d), status: STATUS[r & 15], holiday: h.name, english: h.english, key: h.key });
        }
      }
    return days;
  }

  function isWorkday(date) {
    readDate(date, 'isWorkday');
    const r = w.is_workday(Y, MO, D);
    if (r === E_DATE) throw dateError('isWorkday', HOLIDAY_TABLE);
    if (r < 0) throw outsideHolidays('isWorkday', iso(Y, MO, D));
    return r === 1;
  }

  // The day n working days after date (before it for n < 0); n = 0 gives the
  // date itself when it is worked, else the next working day: chinese-days'
  // findWorkday(n, date).
  function addWorkdays(date, n) {
    const fn = 'addWorkdays';
    readDate(date, fn);
    const r = w.add_workdays(Y, MO, D, int(n, 'n', fn));
    if (r === E_DATE) throw dateError(fn, HOLIDAY_TABLE);
    if (r < 0) throw outsideHolidays(fn, `the day ${n} working days from ${iso(Y, MO, D)}`);
    return isoOfPacked(r);
  }

  function workdays(start, end) {
    readDate(start, 'workdays', 'start');
    const y1 = Y, m1 = MO, d1 = D;
    readDate(end, 'workdays', 'end');
    const st = w.workdays(y1, m1, d1, Y, MO, D);
    if (st === E_DATE) throw new RangeError(`workdays: ${said(w.date_message(y1, m1, d1)) || said(w.date_message(Y, MO, D))}`);
    if (st < 0) throw outsideHolidays('workdays', `the range ${iso(y1, m1, d1)} .. ${iso(Y, MO, D)}`);
    return F64[B_F64];
  }

  // ---- batch calls ---------------------------------------------------------------------

  const epochOf = (opts, fn) => choice(opts, 'epoch', EPOCHS, 'unix', fn);

  function toLunarBatch(days, opts) {
    if (!(days instanceof Int32Array))
      throw new TypeError(`toLunarBatch: days must be an Int32Array (Int32Array.from(list) makes one), not ${describe(days)}`);
    const epoch = epochOf(opts, 'toLunarBatch'), cal = calendarOf(opts, 'toLunarBatch');
    const n = days.length;
    const year = new Uint16Array(n), month = new Uint8Array(n), day = new Uint8Array(n);
    const leap = new Uint8Array(n), valid = new Uint8Array(n);
    for (let i = 0; i < n; i += CHUNK) {
      const k = Math.min(CHUNK, n - i);
      H32.set(days.subarray(i, i + k), B_IN);
      w.lunar_batch(k, epoch, cal);
      year.set(H16.subarray(B_YEAR16, B_YEAR16 + k), i);
      month.set(H8.subarray(B_MONTH8, B_MONTH8 + k), i);
      day.set(H8.subarray(B_DAY8, B_DAY8 + k), i);
      leap.set(H8.subarray(B_LEAP8, B_LEAP8 + k), i);
      valid.set(H8.subarray(B_VALID8, B_VALID8 + k), i);
    }
    return { year, month, day, leap, valid };
  }

  const INTEGER_ARRAYS = [Int8Array, Uint8Array, Uint8ClampedArray, Int16Array, Uint16Array, Int32Array, Uint32Array];
  function fromLunarBatch(lunar, opts) {
    const fn = 'fromLunarBatch';
    if (typeof lunar !== 'object' || lunar === null) throw new TypeError(`${fn}: expected {year, month, day, leap}, not ${describe(lunar)}`);
    const { year, month, day, leap } = lunar;
    for (const [k, a] of [['year', year], ['month', month], ['day', day], ['leap', leap]])
      if (!(INTEGER_ARRAYS.some((T) => a instanceof T) || (k === 'leap' && a === undefined)))
        throw new TypeError(`${fn}: ${k} must be an integer typed array (Int32Array, Uint8Array, ...), not ${describe(a)}`);
    const n = year.length;
    if (month.length !== n || day.length !== n || (leap !== undefined && leap.length !== n))
      throw new RangeError(`${fn}: the arrays differ in length`);
    const epoch = epochOf(opts, fn), cal = calendarOf(opts, fn);
    const days = new Int32Array(n), valid = new Uint8Array(n);
    for (let i = 0; i < n; i += CHUNK) {
      const k = Math.min(CHUNK, n - i);
      H32.set(year.subarray(i, i + k), B_IN);
      H32.set(month.subarray(i, i + k), B_MONTH32);
      H32.set(day.subarray(i, i + k), B_DAY32);
      if (leap === undefined) H32.fill(0, B_LEAP32, B_LEAP32 + k);
      else H32.set(leap.subarray(i, i + k), B_LEAP32);
      w.days_batch(k, epoch, cal);
      days.set(H32.subarray(B_OUT_DAYS, B_OUT_DAYS + k), i);
      valid.set(H8.subarray(B_VALID8, B_VALID8 + k), i);
    }
    return { days, valid };
  }

  return {
    VERSION, CYCLE, TERMS, FESTIVALS, FIRST_LUNAR_DATE, LAST_LUNAR_DATE, ranges: () => RANGES,
    toLunar, fromLunar, lunarToDate, leapMonth, monthInfo, addLunarMonths, addLunarYears, dayFacts, pillars, solarTerms, festivals, festivalDate,
    holidayYears, holidays, isWorkday, workdays, addWorkdays, toLunarBatch, fromLunarBatch,
  };
}
