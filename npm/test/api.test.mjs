// The JavaScript face: argument forms and errors, the calendar facts that
// tie the calls together (terms, festivals and holidays against dayFacts in
// every year), and the three builds and the declarations agreeing.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import * as qel from 'qel-calendar';

const require = createRequire(import.meta.url);
const {
  CYCLE, FESTIVALS, TERMS, VERSION, dayFacts, festivals, fromLunar, fromLunarBatch, holidayYears, holidays,
  isWorkday, leapMonth, lunarToDate, pillars, solarTerms, toLunar, toLunarBatch, workdays,
} = qel;
const DAY = 86400000;
const isoOfDay = (d) => new Date(d * DAY).toISOString().slice(0, 10);

test('known days', () => {
  assert.deepEqual(toLunar('2017-07-23'), { year: 2017, month: 6, day: 1, leap: true, text: '闰六月初一' });
  assert.deepEqual(toLunar({ year: 2025, month: 1, day: 28 }),
                   { year: 2024, month: 12, day: 29, leap: false, text: '腊月廿九' });
  assert.equal(toLunar('1900-01-31').text, '正月初一');
  assert.equal(toLunar('2101-01-28').text, '腊月廿九');
  assert.equal(fromLunar({ year: 2017, month: 6, day: 1, leap: 1 }), '2017-07-23');
  assert.equal(fromLunar({ year: 2017, month: 6, day: 1 }), '2017-06-24');
  assert.equal(leapMonth(2017), 6);
  assert.equal(leapMonth(2018), 0);
  const f = dayFacts('2017-07-23');
  assert.deepEqual([f.weekday, f.dayOfYear, f.yearCycle, f.animal, f.dayCycle, f.lunarMonthDays, f.lunarLeapMonth],
                   [7, 204, '丁酉', '鸡', '辛亥', 30, 6]);
  const eve = dayFacts('2025-01-28');
  assert.deepEqual([eve.festivals.map((x) => x.key), eve.holidayStatus, eve.holiday],
                   [['new-years-eve'], 'off', '春节']);
  assert.deepEqual([dayFacts('2025-01-26').holidayStatus, dayFacts('2025-01-27').holidayStatus], ['work', 'ordinary']);
  const outside = dayFacts('0001-01-01');
  assert.deepEqual([outside.lunar, outside.yearCycle, outside.term, outside.holidayStatus, outside.weekday],
                   [null, null, null, null, 1]);
  assert.equal(dayFacts('2025-01-22').festivals[0].name, '小年');
  assert.equal(dayFacts('2025-01-22', { southXiaonian: true }).festivals.length, 0);
  assert.equal(dayFacts('2025-01-23', { southXiaonian: true }).festivals[0].name, '小年');
  assert.deepEqual([CYCLE.length, CYCLE[33], TERMS[23].name, FESTIVALS[13].short], [60, '丁酉', '冬至', '除夕']);
  assert.equal(VERSION, require('../package.json').version);
});

test('a Date is read in its local calendar date, in any time zone', () => {
  const saved = process.env.TZ;
  try {
    for (const tz of ['Pacific/Kiritimati', 'Pacific/Pago_Pago', 'Asia/Shanghai', 'UTC']) {
      process.env.TZ = tz;
      for (const hour of [0, 23])
        assert.equal(toLunar(new Date(2017, 6, 23, hour, 59)).text, '闰六月初一', `${tz} ${hour}:59`);
      const d = lunarToDate({ year: 2017, month: 6, day: 1, leap: true });
      assert.deepEqual([d.getFullYear(), d.getMonth(), d.getDate(), d.getHours()], [2017, 6, 23, 0], tz);
    }
  } finally {
    if (saved === undefined) delete process.env.TZ;
    else process.env.TZ = saved;
  }
});

test('pillars: instants, civil fields in UTC+8, the 子 hour conventions and the first 立春', () => {
  const civil = { year: 2017, month: 7, day: 23, hour: 23, minute: 30 };
  assert.equal(pillars(civil).text, '丁酉 丁未 辛亥 庚子');
  assert.equal(pillars(civil, { zi: 'early' }).text, '丁酉 丁未 壬子 庚子');
  assert.deepEqual(pillars(new Date('2017-07-23T15:30:00Z')), pillars(civil));
  assert.equal(pillars({ year: 1900, month: 2, day: 4, hour: 13, minute: 51, second: 30 }).year, '庚子');
  assert.throws(() => pillars({ year: 1900, month: 2, day: 4, hour: 13, minute: 51, second: 29 }), RangeError);
  assert.throws(() => pillars(new Date(Date.UTC(1900, 1, 4, 5, 51, 29))), RangeError);
  assert.equal(pillars(new Date(Date.UTC(1900, 1, 4, 5, 51, 30))).year, '庚子');
});

test('solar terms and festivals fall on the days whose facts name them, 1900-2100', () => {
  const bad = [];
  for (let y = 1900; y <= 2100; y++) {
    const terms = solarTerms(y);
    terms.forEach((t, k) => {
      const f = dayFacts(t.date);
      if (t.number !== k || !t.date.startsWith(`${y}-`) || f.term?.number !== k ||
          f.term.instant.getTime() !== t.instant.getTime())
        bad.push({ y, k, t });
    });
    const fs2 = festivals(y);
    if (fs2.length !== 25 || fs2.some((x, i) => i > 0 && x.date < fs2[i - 1].date)) bad.push({ y, order: fs2 });
    for (const x of fs2)
      if (!dayFacts(x.date).festivals.some((g) => g.number === x.number)) bad.push({ y, festival: x });
  }
  assert.deepEqual(bad.slice(0, 5), []);
  assert.equal(festivals(2024).find((x) => x.key === 'new-years-eve').date, '2025-01-28');
  assert.equal(festivals(2024, { southXiaonian: true }).find((x) => x.key === 'xiaonian').date, '2025-01-23');
});

test('holidays, isWorkday and workdays agree with dayFacts on every day of the table', () => {
  const { first, last } = holidayYears();
  assert.deepEqual([first <= 2004, last >= 2025], [true, true]);
  const bad = [];
  for (let y = first; y <= last; y++) {
    const listed = new Map(holidays(y).map((h) => [h.date, h]));
    let worked = 0;
    for (let t = Date.UTC(y, 0, 1); t < Date.UTC(y + 1, 0, 1); t += DAY) {
      const date = isoOfDay(t / DAY);
      const f = dayFacts(date);
      const h = listed.get(date);
      const works = f.holidayStatus === 'work' || (f.holidayStatus === 'ordinary' && f.weekday < 6);
      if (isWorkday(date) !== works || (h ? h.status !== f.holidayStatus || h.holiday !== f.holiday
                                          : f.holidayStatus !== 'ordinary'))
        bad.push({ date, f, h });
      worked += works;
    }
    if (workdays(`${y}-01-01`, `${y + 1}-01-01`) !== worked || workdays(`${y + 1}-01-01`, `${y}-01-01`) !== -worked)
      bad.push({ y, worked });
  }
  assert.deepEqual(bad.slice(0, 5), []);
  const h2025 = holidays(2025);
  assert.deepEqual([h2025.filter((h) => h.status === 'off').length, h2025.filter((h) => h.status === 'work').map((h) => h.date)],
                   [28, ['2025-01-26', '2025-02-08', '2025-04-27', '2025-09-28', '2025-10-11']]);
  assert.equal(workdays('2025-09-01', '2025-11-01'), 41);
});

test('wrong types throw TypeError, impossible or uncovered values RangeError, saying why', () => {
  const { first, last } = holidayYears();
  const span = `${first}-${last}`;
  const cases = [
    [() => toLunar(20170723), TypeError, /must be a Date, a "YYYY-MM-DD" string or \{year, month, day\}, not number/],
    [() => toLunar(null), TypeError, /not null/],
    [() => toLunar([2017, 7, 23]), TypeError, /not an array/],
    [() => toLunar('2017-7-23'), RangeError, /"2017-7-23" is not a date written YYYY-MM-DD/],
    [() => toLunar('2017-07-2x'), RangeError, /YYYY-MM-DD/],
    [() => toLunar('2023-02-29'), RangeError, /2023-02-29 is not a date/],
    [() => toLunar('1900-01-30'), RangeError, /1900-01-30 is outside the lunar years 1900-2100/],
    [() => toLunar('2101-01-29'), RangeError, /outside the lunar years/],
    [() => toLunar(new Date(NaN)), RangeError, /Invalid Date/],
    [() => toLunar({ year: 2017, month: '7', day: 23 }), TypeError, /date\.month must be a number, not the string "7"/],
    [() => toLunar({ year: 2017.5, month: 7, day: 23 }), RangeError, /date\.year must be an integer, not 2017\.5/],
    // 2^32 + 2017 would read as 2017 if it reached the int32 call.
    [() => toLunar({ year: 2 ** 32 + 2017, month: 7, day: 23 }), RangeError, /out of range/],
    [() => dayFacts({ year: 10000, month: 1, day: 1 }), RangeError, /year 10000 is outside 1-9999/],
    [() => dayFacts('2017-07-23', { southXiaonian: 1 }), TypeError, /southXiaonian must be a boolean/],
    [() => dayFacts('2017-07-23', 'south'), TypeError, /options must be an object/],
    [() => fromLunar('2017-06-01'), TypeError, /must be \{year, month, day, leap\}/],
    [() => fromLunar({ year: 2017, month: 5, day: 1, leap: true }), RangeError, /leap month of lunar 2017 follows month 6/],
    [() => fromLunar({ year: 2018, month: 5, day: 1, leap: true }), RangeError, /lunar 2018 has no leap month/],
    [() => fromLunar({ year: 2024, month: 12, day: 30 }), RangeError, /the month has 29 days/],
    [() => fromLunar({ year: 2017, month: 13, day: 1 }), RangeError, /the month is not 1-12/],
    [() => fromLunar({ year: 2101, month: 1, day: 1 }), RangeError, /the year is outside 1900-2100/],
    [() => fromLunar({ year: 2017, month: 6, day: 1, leap: 'yes' }), TypeError, /leap must be a boolean/],
    [() => lunarToDate({ year: 1899, month: 1, day: 1 }), RangeError, /outside 1900-2100/],
    [() => leapMonth(2101), RangeError, /outside 1900-2100/],
    [() => pillars('2017-07-23 12:00'), TypeError, /must be a Date or \{year, month, day, hour/],
    [() => pillars({ year: 2017, month: 7, day: 23 }), TypeError, /hour must be a number, not undefined/],
    [() => pillars({ year: 2017, month: 2, day: 30, hour: 0 }), RangeError, /no date and time/],
    [() => pillars(new Date(0), { zi: 'toString' }), TypeError, /zi must be "late" or "early"/],
    [() => solarTerms(1899), RangeError, /year 1899 is outside 1900-2100/],
    [() => solarTerms('2017'), TypeError, /year must be a number/],
    [() => festivals(2101), RangeError, /outside 1900-2100/],
    [() => holidays(first - 1), RangeError, new RegExp(`year ${first - 1} is outside the holiday table's years ${span}`)],
    [() => isWorkday(`${last + 1}-01-01`), RangeError, new RegExp(`outside the holiday table's years ${span}`)],
    [() => isWorkday('2025-02-30'), RangeError, /2025-02-30 is not a date/],
    [() => workdays('2025-01-01', `${last + 1}-01-02`), RangeError, /the range 2025-01-01 \.\./],
    [() => workdays('2025-01-01', '2025-13-01'), RangeError, /2025-13-01 is not a date/],
    [() => workdays('2025-01-01'), TypeError, /the end must be/],
    [() => toLunarBatch([1, 2]), TypeError, /days must be an Int32Array \(Int32Array\.from\(list\) makes one\), not an array/],
    [() => toLunarBatch(new Float64Array(2)), TypeError, /not a Float64Array/],
    [() => toLunarBatch(new Int32Array(2), { epoch: 'excel' }), TypeError, /epoch must be "unix" or "serial"/],
    [() => fromLunarBatch({ year: new Int32Array(2), month: new Int32Array(1), day: new Int32Array(2) }), RangeError, /differ in length/],
    [() => fromLunarBatch({ year: new Float32Array(1), month: new Int32Array(1), day: new Int32Array(1) }), TypeError, /year must be an integer typed array/],
  ];
  for (const [call, type, message] of cases)
    assert.throws(call, (e) => e.constructor === type && message.test(e.message), String(call));
});

test('the CommonJS, ES module and browser builds and the declarations have the same API', async () => {
  const cjs = require('qel-calendar');
  const browser = await import('../dist/qel_calendar.browser.mjs');
  const names = Object.keys(cjs).sort();
  assert.deepEqual(Object.keys(qel).sort(), names);
  assert.deepEqual(Object.keys(browser).sort(), names);
  assert.equal(qel.toLunar, cjs.toLunar, 'import and require share one instance');
  for (const d of ['1900-01-31', '2017-07-23', '2025-01-28', '2101-01-28'])
    assert.deepEqual(browser.dayFacts(d), cjs.dayFacts(d));
  const days = Int32Array.from({ length: 20000 }, (_, i) => -25600 + i * 4);
  assert.deepEqual(browser.toLunarBatch(days), cjs.toLunarBatch(days));
  const dts = fs.readFileSync(new URL('../dist/qel_calendar.d.ts', import.meta.url), 'utf8');
  const declared = [...dts.matchAll(/^export declare (?:function|const) (\w+)/gm)].map((m) => m[1]).sort();
  assert.deepEqual(declared, names);
  assert.equal(fs.readFileSync(new URL('../dist/qel_calendar.d.mts', import.meta.url), 'utf8'), dts);
});
