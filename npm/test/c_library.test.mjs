// Every day 1899-12 .. 2101-02 against the native C library (qeldate convert
// of the release build, run now: no fixture is checked in), and the batch
// calls against the scalar ones on the same days and on every lunar field
// combination.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { fileURLToPath } from 'node:url';
import { dayFacts, fromLunar, fromLunarBatch, lunarToDate, toLunar, toLunarBatch } from 'qel-calendar';

const qeldate = process.env.QELDATE ??
  fileURLToPath(new URL('../../build/release/tools/qeldate/qeldate', import.meta.url));

const DAY = 86400000;
const SERIAL_OF_1970 = 25569;
const first = Date.UTC(1899, 11, 1) / DAY, last = Date.UTC(2101, 1, 28) / DAY;
const days = Int32Array.from({ length: last - first + 1 }, (_, i) => first + i);  // days since 1970
const dates = Array.from(days, (d) => new Date(d * DAY).toISOString().slice(0, 10));

// Lunar fields or a thrown error's class, for comparing the scalar calls.
function lunarOrError(date) {
  try {
    return toLunar(date);
  } catch (e) {
    return e.constructor.name;
  }
}

test('dayFacts and toLunar equal the C library on every day', () => {
  assert.ok(fs.existsSync(qeldate), `${qeldate} is missing: build it with scripts/qeldate --version (or set QELDATE)`);
  const tsv = execFileSync(qeldate, ['convert', '--format', 'tsv'],
                           { input: dates.join('\n') + '\n', maxBuffer: 64 << 20, encoding: 'utf8' });
  const rows = tsv.split('\n');
  assert.equal(rows.pop(), '');
  assert.equal(rows.shift(), 'input\tdate\tweekday\tlunar_year\tlunar_month\tlunar_day\tleap\tlunar_text\t' +
                             'year_name\tanimal\tday_cycle\tsolar_term\tfestivals\terror');
  assert.equal(rows.length, dates.length);
  const mismatches = [];
  let lunarDays = 0;
  rows.forEach((row, i) => {
    const f = dayFacts(dates[i]);
    const l = f.lunar;
    const mine = [dates[i], f.date, f.weekday, l ? l.year : '', l ? l.month : '', l ? l.day : '', l ? +l.leap : '',
                  l ? l.text : '', f.yearCycle ?? '', f.animal ?? '', f.dayCycle, f.term ? f.term.name : '',
                  f.festivals.map((x) => x.name).join(';'), ''].join('\t');
    if (mine !== row) mismatches.push({ c: row, js: mine });
    // The other forms of the same date give the same answer.
    const [y, m, d] = dates[i].split('-').map(Number);
    const want = l ?? 'RangeError';
    for (const form of [dates[i], new Date(y, m - 1, d, 12), { year: y, month: m, day: d }])
      if (JSON.stringify(lunarOrError(form)) !== JSON.stringify(want)) mismatches.push({ form, want });
    if (l) {
      lunarDays++;
      if (fromLunar(l) !== dates[i]) mismatches.push({ fromLunar: l, want: dates[i] });
      const back = lunarToDate(l);
      if (back.getFullYear() !== y || back.getMonth() !== m - 1 || back.getDate() !== d || back.getHours() !== 0)
        mismatches.push({ lunarToDate: l, got: back.toString() });
    }
  });
  assert.deepEqual(mismatches.slice(0, 5), []);
  assert.equal(lunarDays, 73412);  // 1900-01-31 .. 2101-01-28
});

test('toLunarBatch equals toLunar, in order, shuffled and by serial', () => {
  const shuffled = days.slice();
  let seed = 7;
  for (let i = shuffled.length - 1; i > 0; i--) {
    seed = (seed * 1103515245 + 12345) >>> 0;
    const j = seed % (i + 1);
    [shuffled[i], shuffled[j]] = [shuffled[j], shuffled[i]];
  }
  for (const [input, options] of [[days], [shuffled], [days.map((d) => d + SERIAL_OF_1970), { epoch: 'serial' }]]) {
    const b = toLunarBatch(input, options);
    const bad = [];
    input.forEach((_, i) => {
      const date = new Date((options ? input[i] - SERIAL_OF_1970 : input[i]) * DAY).toISOString().slice(0, 10);
      const l = lunarOrError(date);
      const got = b.valid[i] ? { year: b.year[i], month: b.month[i], day: b.day[i], leap: b.leap[i] === 1 }
        : [b.year[i], b.month[i], b.day[i], b.leap[i]].join() === '0,0,0,0' ? 'RangeError' : 'garbage';
      const want = typeof l === 'string' ? l : { year: l.year, month: l.month, day: l.day, leap: l.leap };
      if (JSON.stringify(got) !== JSON.stringify(want)) bad.push({ date, got, want });
    });
    assert.deepEqual(bad.slice(0, 5), []);
  }
  assert.equal(toLunarBatch(new Int32Array(0)).year.length, 0);
});

test('fromLunarBatch equals fromLunar on every field combination', () => {
  const year = [], month = [], day = [], leap = [];
  for (let y = 1899; y <= 2101; y++)
    for (let m = 0; m <= 13; m++)
      for (let d = 0; d <= 31; d++)
        for (let l = 0; l <= 1; l++) year.push(y), month.push(m), day.push(d), leap.push(l);
  const b = fromLunarBatch({ year: Int32Array.from(year), month: Int32Array.from(month), day: Int32Array.from(day),
                             leap: Uint8Array.from(leap) });
  const serial = fromLunarBatch({ year: Int32Array.from(year), month: Int32Array.from(month),
                                  day: Int32Array.from(day), leap: Uint8Array.from(leap) }, { epoch: 'serial' });
  const bad = [];
  let valid = 0;
  year.forEach((_, i) => {
    let want = null;
    try {
      want = fromLunar({ year: year[i], month: month[i], day: day[i], leap: leap[i] });
    } catch (e) {
      if (!(e instanceof RangeError)) throw e;
    }
    const got = b.valid[i] ? new Date(b.days[i] * DAY).toISOString().slice(0, 10) : b.days[i] === 0 ? null : 'garbage';
    if (got !== want || serial.days[i] !== (b.valid[i] ? b.days[i] + SERIAL_OF_1970 : 0))
      bad.push({ lunar: [year[i], month[i], day[i], leap[i]], got, want });
    valid += b.valid[i];
  });
  assert.deepEqual(bad.slice(0, 5), []);
  assert.equal(valid, 73412);
  // toLunarBatch's own output types go straight back.
  const l = toLunarBatch(days);
  const back = fromLunarBatch(l);
  assert.ok(days.every((d, i) => l.valid[i] === back.valid[i] && (!l.valid[i] || back.days[i] === d)));
});
