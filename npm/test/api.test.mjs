// The JavaScript face: every export on known days, the argument forms, the
// errors, and the three builds and the declarations agreeing.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import * as qel from 'qel-calendar';

const require = createRequire(import.meta.url);
const {
  FESTIVALS, VERSION, addLunarMonths, addLunarYears, addWorkdays, dayFacts, festivalDate, festivals, fromLunar, fromLunarBatch, holidayYears,
  holidays, isWorkday, leapMonth, lunarToDate, monthInfo, pillars, ranges, solarTerms, toLunar, toLunarBatch, workdays,
} = qel;

test('known days through every export', () => {
  // 2017 has a leap sixth month; 2017-07-23 is its first day.
  assert.deepEqual(toLunar('2017-07-23'), { year: 2017, month: 6, day: 1, leap: true, text: '闰六月初一' });
  assert.deepEqual([fromLunar({ year: 2017, month: 6, day: 1, leap: 1 }), fromLunar({ year: 2017, month: 6, day: 1 }),
                    leapMonth(2017), leapMonth(2018)], ['2017-07-23', '2017-06-24', 6, 0]);
  // Every field of the record: 除夕 of lunar 2024, a day off of the 春节 holiday.
  assert.deepEqual(dayFacts({ year: 2025, month: 1, day: 28 }), {
    date: '2025-01-28', weekday: 2, dayOfYear: 28, lunar: { year: 2024, month: 12, day: 29, leap: false, text: '腊月廿九' },
    lunarMonthDays: 29, lunarLeapMonth: 0, yearCycle: '甲辰', animal: '龙', dayCycle: '丁酉', term: null,
    festivals: [FESTIVALS[13]], holidayStatus: 'off', holiday: '春节',
  });
  const outside = dayFacts('0001-01-01');  // before the lunar, term and holiday tables
  assert.deepEqual([outside.lunar, outside.yearCycle, outside.animal, outside.lunarMonthDays, outside.holidayStatus,
                    outside.holiday, outside.dayCycle], [null, null, null, null, null, null, '己卯']);
  // 小年 on lunar 12-23 in the north, 12-24 in the south.
  assert.equal(dayFacts('2025-01-22').festivals[0].name, '小年');
  assert.deepEqual(dayFacts('2025-01-22', { southXiaonian: true }).festivals, []);
  assert.deepEqual([festivals(2025, { southXiaonian: true }).find((x) => x.key === 'xiaonian').date,
                    festivalDate('除夕', 2024), festivalDate('New Year\'s Eve', 2025), festivalDate('XIAONIAN', 2024),
                    festivalDate(24, 2025)], ['2025-01-23', '2025-01-28', '2026-02-16', '2025-01-22', '2025-10-01']);
  // The three calendars, their names in their languages. Vietnam has reckoned in UTC+7 since 1968: Tết 1985
  // fell a month before 春节. Korea's 2017 leap month is the fifth, China's the sixth.
  const ko = { calendar: 'Korean' }, vi = { calendar: 'vietnamese' };
  assert.deepEqual([toLunar('1985-01-21', vi), fromLunar({ year: 1985, month: 1, day: 1 }), fromLunar({ year: 1985, month: 1, day: 1 }, vi),
                    leapMonth(2017, ko), toLunar('2017-06-24', { calendar: '음력' }).text,
                    addLunarMonths({ year: 2017, month: 5, day: 1 }, 1, ko).text, addLunarYears({ year: 2017, month: 6, day: 1, leap: true }, 0, vi).text],
                   [{ year: 1985, month: 1, day: 1, leap: false, text: 'mùng 1 tháng Giêng' }, '1985-02-20', '1985-01-21',
                    5, '윤5월 1일', '윤5월 1일', 'mùng 1 tháng Sáu nhuận']);
  const tet = dayFacts('2025-01-29', vi), seollal = dayFacts('2025-01-29', ko);
  assert.deepEqual([tet.festivals[0].name, tet.yearCycle, tet.animal, seollal.festivals[0].name, seollal.dayCycle, seollal.lunar.text,
                    festivalDate('Giỗ Tổ Hùng Vương', 2025, vi), festivalDate(FESTIVALS.length - 1, 2025, vi),
                    festivals(2025, ko).some((f) => f.key === 'national-day')],
                   ['Tết Nguyên Đán', 'Ất Tỵ', 'Rắn', '설날', '무술', '정월 1일', '2025-04-07', '2025-04-07', false]);
  // Round trips in the 18th and 22nd centuries (lunar-javascript agrees on the Chinese days).
  for (const [date, year] of [['1760-02-17', 1760], ['2150-01-29', 2150]]) for (const o of [undefined, ko, vi])
    assert.deepEqual([fromLunar({ year, month: 1, day: 1 }, o), toLunar(date, o).day, toLunar(date, o).year], [date, 1, year]);
  // Provenance: 2057-09 published, its new moon minutes from midnight; 1645-06 as recorded, not as computed.
  assert.deepEqual(monthInfo(2057, 9), { year: 2057, month: 9, leap: false, days: 29, first: '2057-09-29', source: 'published',
                                         startUncertain: true, labelUncertain: false, enginesDiffer: false, computationDiffers: false });
  assert.deepEqual([monthInfo(1645, 6).source, monthInfo(1645, 6).computationDiffers, monthInfo(2017, 6, { leap: 1 }).first,
                    monthInfo(2017, 5, { leap: true, calendar: 'korean' }).first], ['record', true, '2017-07-23', '2017-06-24']);
  // A term instant past 2038, beyond int32 seconds.
  assert.equal(solarTerms(2100)[23].instant.toISOString(), '2100-12-21T19:50:35.000Z');
  assert.equal(VERSION, require('../package.json').version);
  // 2025: 28 days off and 5 weekend days worked; 41 working days in September and October.
  const h2025 = holidays(2025);
  assert.deepEqual([h2025.length, h2025.filter((h) => h.status === 'work').map((h) => h.date)],
                   [33, ['2025-01-26', '2025-02-08', '2025-04-27', '2025-09-28', '2025-10-11']]);
  assert.deepEqual(h2025[0], { date: '2025-01-01', status: 'off', holiday: '元旦', english: "New Year's Day", key: 'new-year' });
  assert.deepEqual([isWorkday('2025-09-27'), isWorkday('2025-09-28')], [false, true]);
  assert.deepEqual([workdays('2025-09-01', '2025-11-01'), workdays('2025-11-01', '2025-09-01')], [41, -41]);
  // The batch of lunar dates: valid, leap, then a leap month the year lacks, one
  // 2018 lacks, day 30 of a 29-day month, month 13, years beyond each end, leap 2.
  assert.deepEqual(fromLunarBatch({
    year: Int32Array.of(2017, 2017, 2017, 2018, 2024, 2017, ranges().lunar.firstYear - 1, ranges().lunar.lastYear + 1, 2017),
    month: Int32Array.of(6, 6, 5, 5, 12, 13, 12, 1, 6), day: Int32Array.of(1, 1, 1, 1, 30, 1, 1, 1, 1),
    leap: Uint8Array.of(0, 1, 1, 1, 0, 0, 0, 0, 2),
  }), { days: Int32Array.of(17341, 17370, 0, 0, 0, 0, 0, 0, 0), valid: Uint8Array.of(1, 1, 0, 0, 0, 0, 0, 0, 0) });
  assert.deepEqual(fromLunarBatch({ year: Int32Array.of(2017), month: Uint8Array.of(6), day: Int16Array.of(1) }, { epoch: 'serial' }),
                   { days: Int32Array.of(17341 + 25569), valid: Uint8Array.of(1) });
  // Pillars: civil fields in UTC+8 and the same instant as a Date; the epoch word in any case.
  const civil = { year: 2017, month: 7, day: 23, hour: 23, minute: 30 };
  assert.equal(pillars(civil).text, '丁酉 丁未 辛亥 庚子');
  assert.deepEqual(toLunarBatch(Int32Array.of(17370 + 25569), { epoch: 'SERIAL' }).day, Uint8Array.of(1));
  assert.deepEqual(pillars(new Date('2017-07-23T15:30:00Z')), pillars(civil));
});

test('wrong types throw TypeError, impossible or uncovered values RangeError, saying why', () => {
  const { first, last } = holidayYears();
  const span = `${first}-${last}`;
  const cases = [
    [() => toLunar(), TypeError, /toLunar: the date is missing \(expected a Date, a "YYYY-MM-DD" string or \{year, month, day\}\)$/],
    [() => toLunar({}), TypeError, /toLunar: date\.year is missing \(expected an integer\)$/],
    [() => toLunar(20170723), TypeError, /must be a Date, a "YYYY-MM-DD" string or \{year, month, day\}, not number/],
    [() => toLunar('2017-7-23'), RangeError, /"2017-7-23" is not a date written YYYY-MM-DD/],
    [() => toLunar(new Date(NaN)), RangeError, /Invalid Date/],
    [() => toLunar({ year: 2017, month: '7', day: 23 }), TypeError, /date\.month must be a number, not the string "7"/],
    [() => toLunar({ year: 2017.5, month: 7, day: 23 }), RangeError, /date\.year must be an integer, not 2017\.5/],
    // 2^32 + 2017 would read as 2017 if it reached the int32 call.
    [() => toLunar({ year: 2 ** 32 + 2017, month: 7, day: 23 }), RangeError, /out of range/],
    [() => dayFacts({ year: 10000, month: 1, day: 1 }), RangeError, /year 10000 is outside 1-9999/],
    [() => dayFacts('2017-07-23', { southXiaonian: 1 }), TypeError, /southXiaonian must be a boolean/],
    [() => fromLunar('2017-06-01'), TypeError, /must be \{year, month, day, leap\}/],
    [() => fromLunar({ year: 2017, month: 6, day: 1, leap: 'yes' }), TypeError, /leap must be a boolean/],
    [() => leapMonth(ranges().lunar.lastYear + 1), RangeError, /lunar year \d+ is outside/],
    [() => addLunarMonths({ year: 2017, month: 5, day: 1, leap: true }, 1), RangeError, /addLunarMonths: lunar 2017 has no leap month 5/],
    [() => addLunarYears({ year: 2023, month: 12, day: 30 }, 1, { clamp: false }), RangeError, /addLunarYears: month 12 of lunar 2024 has 29 days, not 30/],
    [() => addLunarYears({ year: ranges().lunar.lastYear, month: 1, day: 1 }, 1), RangeError, /the date 1 year from lunar \d+-1-1 is outside the lunar years/],
    [() => addLunarMonths({ year: 2017, month: 6, day: 1 }, 1.5), RangeError, /n must be an integer/],
    [() => pillars('2017-07-23 12:00'), TypeError, /must be a Date or \{year, month, day, hour/],
    [() => pillars({ year: 2017, month: 7, day: 23 }), TypeError, /moment\.hour is missing/],
    [() => pillars(new Date(0), { zi: 'toString' }), RangeError, /options\.zi must be "late" or "early", not "toString"/],
    [() => pillars(new Date(0), { zi: 'middle' }), RangeError, /options\.zi must be "late" or "early", not "middle"/],
    [() => pillars(new Date(0), { zi: 1 }), TypeError, /options\.zi must be a string, "late" or "early", not number 1/],
    [() => festivalDate('spring', 2024), RangeError, /"spring" is not a festival/],
    [() => festivalDate(FESTIVALS.length, 2024), RangeError, /festival \d+ is not a festival number 0-\d+$/],
    [() => festivalDate('national-day', 2025, { calendar: 'korean' }), RangeError, /the korean calendar does not keep National Day/],
    [() => toLunar('2017-01-01', { calendar: 'japanese' }), RangeError, /options\.calendar must be "chinese", "korean" or "vietnamese", not "japanese"/],
    [() => fromLunar({ year: 2017, month: 6, day: 1, leap: true }, { calendar: 'korean' }), RangeError, /lunar 2017 has no leap month 6 \(its leap month is 5\)/],
    [() => monthInfo(2017, 5, { leap: true }), RangeError, /monthInfo: lunar 2017 has no leap month 5/],
    [() => festivalDate(null, 2024), TypeError, /must be a name, a key or a number, not null/],
    [() => festivalDate('laba', ranges().terms.lastYear + 1), RangeError, /year \d+ is outside the years/],
    [() => addWorkdays(`${last}-12-31`, 5), RangeError, new RegExp(`the day 5 working days from ${last}-12-31 is outside`)],
    [() => addWorkdays('2025-01-01', 1.5), RangeError, /n must be an integer/],
    [() => festivals('2017'), TypeError, /year must be a number/],
    [() => holidays(first - 1), RangeError, new RegExp(`year ${first - 1} is outside the years ${span} of the holiday table`)],
    [() => isWorkday(`${last + 1}-01-01`), RangeError, new RegExp(`outside the years ${span} of the holiday table`)],
    [() => isWorkday('2025-02-30'), RangeError, /isWorkday: 2025-02 has 28 days, not 30/],
    [() => workdays('2025-01-01', `${last + 1}-01-02`), RangeError, /the range 2025-01-01 \.\./],
    [() => workdays('2025-01-01', '2025-13-01'), RangeError, /workdays: month 13 is not 1-12/],
    [() => toLunarBatch([1, 2]), TypeError, /days must be an Int32Array \(Int32Array\.from\(list\) makes one\), not an array/],
    [() => toLunarBatch(new Int32Array(2), { epoch: 'excel' }), RangeError, /options\.epoch must be "unix" or "serial", not "excel"/],
    [() => fromLunarBatch({ year: new Int32Array(2), month: new Int32Array(1), day: new Int32Array(2) }), RangeError, /differ in length/],
    [() => fromLunarBatch({ year: new Float32Array(1), month: new Int32Array(1), day: new Int32Array(1) }), TypeError, /year must be an integer typed array/],
  ];
  const says = (call) => { try { call(); return 'no error'; } catch (e) { return `${e.constructor.name}: ${e.message}`; } };
  assert.deepEqual(cases.filter(([call, type, message]) => !says(call).startsWith(type.name + ':') || !message.test(says(call)))
    .map(([call]) => `${call} -> ${says(call)}`), []);
});

test('ranges() are the edges of the calls: the first and last day work, one day beyond says why', () => {
  const r = ranges();
  const day = (date, n) => {
    const t = new Date(`${date}T00:00:00Z`);
    t.setUTCDate(t.getUTCDate() + n);
    return { year: t.getUTCFullYear(), month: t.getUTCMonth() + 1, day: t.getUTCDate() };
  };
  const second = (instant, n) => new Date(instant.getTime() + n * 1000);
  // [the range, the call, its argument n days (seconds for the pillars) from an edge]
  const calls = [
    [r.gregorian, dayFacts, day],
    [r.lunar, toLunar, day],
    [r.lunar, fromLunar, (date, n) => { const l = toLunar(date); return { ...l, year: l.year + n }; }],  // a year beyond
    [r.lunar, (y) => monthInfo(y, 1), (date, n) => toLunar(date).year + n],
    [r.terms, solarTerms, (date, n) => day(date, n).year],
    [r.terms, festivals, (date, n) => day(date, n).year],
    [r.pillars, pillars, (_, n, instant) => second(instant, n)],
    [r.holidays, isWorkday, day],
  ];
  const says = (call, arg) => { try { call(arg); return 'ok'; } catch (e) { return `${e.constructor.name}: ${e.message}`; } };
  const wrong = [];
  for (const [range, call, at] of calls)
    for (const [date, instant, out] of [[range.first, range.firstInstant, -1], [range.last, range.lastInstant, 1]]) {
      const inside = says(call, at(date, 0, instant)), beyond = says(call, at(date, out, instant));
      if (inside !== 'ok' || !/^RangeError: .*outside/.test(beyond)) wrong.push(`${call.name} at ${date}: ${inside}; beyond: ${beyond}`);
    }
  assert.deepEqual(wrong, []);
  assert.deepEqual([qel.FIRST_LUNAR_DATE, qel.LAST_LUNAR_DATE, r.holidays.firstYear, r.holidays.lastYear],
                   [r.lunar.first, r.lunar.last, holidayYears().first, holidayYears().last]);
});

test('the CommonJS, ES module, browser and file builds and the declarations have the same API', async () => {
  // The file build first: the browser build, sharing its core, would make it ready.
  const cjs = require('qel-calendar'), file = await import('../dist/qel_calendar.file.mjs');
  // Nothing works before init(), a failed init says why and leaves it usable.
  assert.throws(() => file.toLunar('2017-07-23'), /qel-calendar is not ready: await init\(\) first/);
  await assert.rejects(file.init(Uint8Array.of(0, 97, 115, 109)), /qel-calendar cannot run here: its WebAssembly module could not be compiled/);
  assert.throws(() => file.toLunar('2017-07-23'), /could not be compiled/);
  await assert.rejects(file.init('http://127.0.0.1:9/qel_calendar.wasm'), /qel-calendar could not fetch http:\/\/127\.0\.0\.1:9\/qel_calendar\.wasm/);
  assert.equal(file.VERSION, undefined);
  await file.init(fs.readFileSync(new URL('../dist/qel_calendar.wasm', import.meta.url)));
  assert.deepEqual([file.VERSION, file.toLunar('2017-07-23')], [cjs.VERSION, cjs.toLunar('2017-07-23')]);
  const browser = await import('../dist/qel_calendar.browser.mjs');
  await Promise.all([qel.init(), cjs.init(), browser.init()]);
  const names = Object.keys(cjs).sort();
  assert.deepEqual([Object.keys(qel).sort(), Object.keys(browser).sort(), Object.keys(file).sort()], [names, names, names]);
  assert.equal(qel.toLunar, cjs.toLunar, 'import and require share one instance');
  assert.deepEqual(browser.dayFacts('2025-01-28'), cjs.dayFacts('2025-01-28'));
  const days = Int32Array.from({ length: 20000 }, (_, i) => -25600 + i * 4);
  assert.deepEqual(browser.toLunarBatch(days), cjs.toLunarBatch(days));
  const dts = fs.readFileSync(new URL('../dist/qel_calendar.d.ts', import.meta.url), 'utf8');
  const declared = [...dts.matchAll(/^export declare (?:function|const) (\w+)/gm)].map((m) => m[1]).sort();
  assert.deepEqual(declared, names);
  assert.equal(fs.readFileSync(new URL('../dist/qel_calendar.d.mts', import.meta.url), 'utf8'), dts);
});

// Last in the file: it leaves process.env.TZ changed.
test('a Date is read in its local calendar date, in any time zone', () => {
  for (const tz of ['Pacific/Kiritimati', 'Pacific/Pago_Pago', 'Asia/Shanghai', 'UTC']) {
    process.env.TZ = tz;
    for (const hour of [0, 23])
      assert.equal(toLunar(new Date(2017, 6, 23, hour, 59)).text, '闰六月初一', `${tz} ${hour}:59`);
    const d = lunarToDate({ year: 2017, month: 6, day: 1, leap: true });
    assert.deepEqual([d.getFullYear(), d.getMonth(), d.getDate(), d.getHours()], [2017, 6, 23, 0], tz);
  }
});
