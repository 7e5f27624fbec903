// Every day of the lunar table and two months beyond each end once through
// each path of the binding (toLunar from all three date forms, dayFacts,
// fromLunar, lunarToDate, the batch calls in chunks of 8,192) in each of the
// three calendars. The library's own tests check its tables against
// independent engines; this checks that the binding passes every day through
// whole, in the calendar asked for.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { dayFacts, fromLunar, fromLunarBatch, lunarToDate, ranges, toLunar, toLunarBatch } from 'qel-calendar';

const DAY = 86400000;

const lunarOrError = (date, o) => { try { return toLunar(date, o); } catch (e) { return e.constructor.name; } };

for (const calendar of ['chinese', 'korean', 'vietnamese'])
test(`every day of the ${calendar} calendar: the scalar calls and the batch calls agree`, () => {
  const { lunar } = ranges(), o = { calendar };
  const first = Date.parse(lunar.first) / DAY - 61, last = Date.parse(lunar.last) / DAY + 61;
  const days = Int32Array.from({ length: last - first + 1 }, (_, i) => first + i);  // days since 1970
  const batch = toLunarBatch(days, o);
  const back = fromLunarBatch(batch, o);
  const unexplained = [];
  let lunarDays = 0, otherThanChinese = 0;
  days.forEach((n, i) => {
    const date = new Date(n * DAY).toISOString().slice(0, 10);
    const [y, m, d] = date.split('-').map(Number);
    const f = dayFacts(date, o), l = f.lunar;
    const fromBatch = batch.valid[i] ? { year: batch.year[i], month: batch.month[i], day: batch.day[i],
                                         leap: batch.leap[i] === 1, text: l?.text } : 'RangeError';
    const forms = [date, new Date(y, m - 1, d, 12), { year: y, month: m, day: d }].map((x) => lunarOrError(x, o));
    if (f.date !== date || f.weekday !== (new Date(n * DAY).getUTCDay() || 7) ||
        forms.concat([fromBatch]).some((x) => JSON.stringify(x) !== JSON.stringify(l ?? 'RangeError')))
      unexplained.push({ date, f, forms, fromBatch });
    if (!l) {
      if (batch.year[i] || batch.month[i] || batch.day[i] || batch.leap[i] || back.valid[i] || back.days[i])
        unexplained.push({ date, masked: [batch.year[i], batch.month[i], batch.day[i], back.days[i]] });
      return;
    }
    lunarDays++;
    const there = lunarToDate(l, o);
    if (fromLunar(l, o) !== date || !back.valid[i] || back.days[i] !== n ||
        there.getFullYear() !== y || there.getMonth() !== m - 1 || there.getDate() !== d || there.getHours() !== 0)
      unexplained.push({ date, back: back.days[i], fromLunar: fromLunar(l, o), lunarToDate: there.toString() });
    if (calendar !== 'chinese') {
      const c = toLunar(date);
      otherThanChinese += c.year !== l.year || c.month !== l.month || c.day !== l.day || c.leap !== l.leap;
    }
  });
  assert.deepEqual(unexplained.slice(0, 10), []);
  assert.equal(lunarDays, (Date.parse(lunar.last) - Date.parse(lunar.first)) / DAY + 1);
  // The other calendars part from the Chinese on some days.
  if (calendar !== 'chinese') assert.ok(otherThanChinese > 100 && otherThanChinese < lunarDays / 10, `${otherThanChinese} days differ`);
});
