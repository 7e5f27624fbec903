// The questions every surface answers alike (tests/contract/questions.tsv),
// answered with the package's public calls. A failure's answer is the text
// qel_calendar gives, which the thrown Error must contain.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import * as qel from 'qel-calendar';

const rows = fs.readFileSync(new URL('../../tests/contract/questions.tsv', import.meta.url), 'utf8')
  .split('\n').filter((line) => line && !line.startsWith('#')).map((line) => line.split('\t'));

// "2017-6-1 leap" and back.
const lunarIn = (text) => {
  const [ymd, leap] = text.split(' '), [year, month, day] = ymd.split('-').map(Number);
  return { year, month, day, leap: leap === 'leap' };
};
const lunarOut = (l) => `${l.year}-${l.month}-${l.day}${l.leap ? ' leap' : ''}`;
// "Y-M-D[ leap] N": the date and the count.
const step = (input) => { const at = input.lastIndexOf(' '); return [lunarIn(input.slice(0, at)), Number(input.slice(at + 1))]; };

const ask = {
  lunar: (input) => lunarOut(qel.toLunar(input)),
  solar: (input) => qel.fromLunar(lunarIn(input)),
  festival: (input) => {
    const [year, key] = input.split(' ');
    return qel.festivals(Number(year)).filter((f) => f.key === key).map((f) => f.date).join(' ') || '-';
  },
  festival_of_lunar_year: (input) => { const [year, key] = input.split(' '); return qel.festivalDate(key, Number(year)); },
  pillars: (input) => {
    const [, year, month, day, hour, minute, second] = /^(\d+)-(\d+)-(\d+)T(\d+):(\d+):(\d+) /.exec(input).map(Number);
    return qel.pillars({ year, month, day, hour, minute, second }, { zi: input.split(' ')[1] }).text;
  },
  add_months: (input) => lunarOut(qel.addLunarMonths(...step(input))),
  add_years: (input) => lunarOut(qel.addLunarYears(...step(input))),
  add_workdays: (input) => { const [date, n] = input.split(' '); return qel.addWorkdays(date, Number(n)); },
};

test('the contract questions', () => {
  assert.ok(rows.length > 40, 'the questions file is read');
  const wrong = [];
  for (const [kind, input, answer] of rows) {
    let got;
    try { got = ask[kind](input); } catch (e) { got = e; }
    const ok = answer.startsWith('! ') ? got instanceof Error && got.message.includes(answer.slice(2)) : got === answer;
    if (!ok) wrong.push(`${kind} ${input}: expected ${answer}, got ${got instanceof Error ? `! ${got.message}` : got}`);
  }
  assert.deepEqual(wrong, []);
});
