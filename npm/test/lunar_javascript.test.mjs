// Every day of the lunar table against lunar-javascript (pinned in
// package-lock.json), an independent implementation that computes new moons
// and terms from its own ephemeris: lunar date, its text, the year's and the
// day's stem-branch, and the solar term of the day.
//
// They differ in two months only. lunar-javascript starts lunar 2089-08 on
// 2089-09-04 and 2097-07 on 2097-08-07, a day before the published calendar:
// the new moons fall within three minutes before midnight UTC+8, inside the
// uncertainty of Delta T that far ahead. Each such month ends on the same day
// in both, so from its start there to its end lunar-javascript is one day
// ahead. Every disagreeing day must be one of those, with exactly that
// answer; anything else fails.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { dayFacts } from 'qel-calendar';

const require = createRequire(import.meta.url);
const { Solar } = require('lunar-javascript');

const DAY = 86400000;
const KNOWN = [  // [first day there, first day here, the lunar month]
  ['2089-09-04', '2089-09-05', { year: 2089, month: 8 }],
  ['2097-08-07', '2097-08-08', { year: 2097, month: 7 }],
];

// What lunar-javascript says on a day of a known month start, derived from
// our answer; undefined for every other day.
function knownDifference(date, mine) {
  for (const [there, here, m] of KNOWN) {
    if (date === there) return `${m.year}-${m.month}-1`;
    if (date >= here && mine.year === m.year && mine.month === m.month && !mine.leap)
      return `${m.year}-${m.month}-${mine.day + 1}`;
  }
  return undefined;
}

test('every day of 1900-01-31 .. 2101-01-28 equals lunar-javascript or is a known month start', () => {
  const unexplained = [];
  const explained = new Set();
  for (let t = Date.UTC(1900, 0, 31); t <= Date.UTC(2101, 0, 28); t += DAY) {
    const date = new Date(t).toISOString().slice(0, 10);
    const [y, m, d] = date.split('-').map(Number);
    const f = dayFacts(date);
    const l = Solar.fromYmd(y, m, d).getLunar();
    const theirs = `${l.getYear()}-${Math.abs(l.getMonth())}-${l.getDay()}${l.getMonth() < 0 ? ' leap' : ''}`;
    const mine = `${f.lunar.year}-${f.lunar.month}-${f.lunar.day}${f.lunar.leap ? ' leap' : ''}`;
    if (theirs !== mine) {
      if (knownDifference(date, f.lunar) === theirs) explained.add(date);
      else unexplained.push({ date, mine, theirs });
      continue;
    }
    const row = [f.lunar.text, f.yearCycle, f.dayCycle];
    const other = [`${l.getMonthInChinese()}月${l.getDayInChinese()}`, l.getYearInGanZhi(), l.getDayInGanZhi()];
    // The terms are those of the Gregorian years 1900-2100 here.
    if (y <= 2100) row.push(f.term ? f.term.name : ''), other.push(l.getJieQi());
    if (row.join() !== other.join()) unexplained.push({ date, mine: row.join(), theirs: other.join() });
  }
  assert.deepEqual(unexplained.slice(0, 10), []);
  // Both month starts are seen, each over its whole month (30 days there, 29 here).
  assert.equal(explained.size, 60);
});
