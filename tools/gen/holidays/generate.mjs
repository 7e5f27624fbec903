// Writes the PRC public-holiday table (src/calendar/holiday_table.h) from
// three published copies of the State Council's yearly holiday notices, and
// each copy's own days as a test fixture
// (tests/calendar/fixtures/holidays_<package>.tsv), before any merging, so
// that the C++ test merges them again by the same rule and compares:
//
//   chinese-days      its shipped dist/chinese-days.json: "holidays" (days off),
//                     "workdays" (weekend days worked, 班) and "inLieuDays"
//                     (weekdays off in exchange, a subset of "holidays")
//   lunar-javascript  HolidayUtil: a packed string of 18-character records
//                     (day, name, work flag, the holiday's own date)
//   tyme4ts           LegalHoliday: a packed string of 13-character records
//                     (day, work flag, name, offset to the holiday's date)
//
// lunar-javascript and tyme4ts have one author and one data lineage, so a day
// on which they agree and chinese-days differs is still a one-against-one
// disagreement: it needs a line in resolutions.tsv, which names the day's
// status from the State Council notice and why.
//
//   node generate.mjs REPO_ROOT
//
// The run fails (exit 1) listing the days when the sources disagree on a day
// that resolutions.tsv does not settle, when a resolution no longer matches a
// disagreement, or when a resolved day breaks a calendar fact (a make-up
// working day that is not a Saturday or Sunday). The output depends on the
// pinned packages and resolutions.tsv only: days are walked with Date.UTC and
// the getUTC* getters, never the machine's time zone.

import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const here = path.dirname(fileURLToPath(import.meta.url));
const root = process.argv[2];
if (!root) {
  console.error('usage: node generate.mjs REPO_ROOT');
  process.exit(2);
}

// Read from node_modules directly: tyme4ts's "exports" hides its package.json.
const version = (pkg) =>
  JSON.parse(fs.readFileSync(path.join(here, 'node_modules', pkg, 'package.json'), 'utf8')).version;
const PACKAGES = ['chinese-days', 'lunar-javascript', 'tyme4ts'];
const SOURCES = PACKAGES.map((pkg) => `${pkg} ${version(pkg)}`);

// ---- Holiday keys ---------------------------------------------------------
// The numbers are the table's, and the C interface's enum. 8 is one holiday
// period that holds both 中秋节 and 国庆节 (the notice then names them
// together, "中秋节、国庆节"); 9 is the one-off day off of 3 September 2015, the
// 70th anniversary of the victory in the War of Resistance against Japan.
const KEYS = [
  null,
  'new-year', // 1 元旦
  'spring-festival', // 2 春节
  'qingming', // 3 清明节
  'labour-day', // 4 劳动节
  'dragon-boat', // 5 端午节
  'mid-autumn', // 6 中秋节
  'national-day', // 7 国庆节
  'mid-autumn-national-day', // 8 中秋节、国庆节
  'victory-day', // 9 抗战胜利70周年纪念日
];
const MID_AUTUMN = 6;
const NATIONAL_DAY = 7;
const MERGED = 8;
const keyOfName = (name) => {
  const key = KEYS.indexOf(name);
  if (key < 1) throw new Error(`unknown holiday key: ${name}`);
  return key;
};

// Each source's holiday names, to our keys. lunar-javascript and tyme4ts name
// a merged period 国庆中秋 themselves; chinese-days has no such name and labels
// the days of a merged period by whichever of the two festivals it thinks
// each belongs to, so the merge is worked out from the periods (below).
const NAME_KEYS = new Map([
  ['元旦', 1], ['元旦节', 1],
  ['春节', 2],
  ['清明', 3], ['清明节', 3],
  ['劳动节', 4],
  ['端午', 5], ['端午节', 5],
  ['中秋', 6], ['中秋节', 6],
  ['国庆节', 7],
  ['国庆中秋', 8],
  ['抗战胜利日', 9], ['中国人民抗日战争暨世界反法西斯战争胜利70周年纪念日', 9],
]);
function keyOf(source, name) {
  const key = NAME_KEYS.get(name);
  if (key === undefined) throw new Error(`${source}: unknown holiday name ${name}`);
  return key;
}

// ---- Days, time-zone free --------------------------------------------------
const DAY_MS = 86400000;
const pad = (n, w = 2) => String(n).padStart(w, '0');
const isoOf = (t) => {
  const d = new Date(t);
  return `${pad(d.getUTCFullYear(), 4)}-${pad(d.getUTCMonth() + 1)}-${pad(d.getUTCDate())}`;
};
const timeOf = (iso) => {
  const [y, m, d] = iso.split('-').map(Number);
  return Date.UTC(y, m - 1, d);
};
const SERIAL_EPOCH = Date.UTC(1899, 11, 30); // serial 0; 1970-01-01 is 25569
const serialOf = (iso) => (timeOf(iso) - SERIAL_EPOCH) / DAY_MS;
const weekdayOf = (iso) => new Date(timeOf(iso)).getUTCDay(); // 0 Sunday
const yearOf = (iso) => Number(iso.slice(0, 4));

function* daysOf(first, last) {
  for (let t = Date.UTC(first, 0, 1); t <= Date.UTC(last, 11, 31); t += DAY_MS) yield isoOf(t);
}

// ---- Reading the sources ---------------------------------------------------
// Each source becomes a Map from 'YYYY-MM-DD' to { status: 'off' | 'work',
// name }, holding only the days it marks.

// The span of years asked of the two packed-string sources: well past both
// ends of what any of them carries, so that coverage is read, not assumed.
const PROBE_FIRST = 1990;
const PROBE_LAST = 2040;

function readChineseDays() {
  const data = require('chinese-days/dist/chinese-days.json');
  const days = new Map();
  const nameOf = (value) => value.split(',')[1]; // "English,中文,legal days"
  for (const [day, value] of Object.entries(data.holidays)) days.set(day, { status: 'off', name: nameOf(value) });
  for (const [day, value] of Object.entries(data.workdays)) {
    if (days.has(day)) throw new Error(`chinese-days: ${day} is both a holiday and a workday`);
    days.set(day, { status: 'work', name: nameOf(value) });
  }
  // inLieuDays only says which days off are weekdays given in exchange; each
  // must already be a day off.
  for (const day of Object.keys(data.inLieuDays)) {
    if (days.get(day)?.status !== 'off') throw new Error(`chinese-days: in-lieu day ${day} is not a holiday`);
  }
  return days;
}

function readLunarJavascript() {
  const { HolidayUtil } = require('lunar-javascript');
  const days = new Map();
  for (let y = PROBE_FIRST; y <= PROBE_LAST; y++) {
    for (const h of HolidayUtil.getHolidays(y)) {
      days.set(h.getDay(), { status: h.isWork() ? 'work' : 'off', name: h.getName() });
    }
  }
  return days;
}

function readTyme4ts() {
  const { LegalHoliday } = require('tyme4ts');
  const days = new Map();
  for (const day of daysOf(PROBE_FIRST, PROBE_LAST)) {
    const [y, m, d] = day.split('-').map(Number);
    const h = LegalHoliday.fromYmd(y, m, d);
    if (h) days.set(day, { status: h.isWork() ? 'work' : 'off', name: h.getName() });
  }
  return days;
}

// ---- Keys, with merged 中秋节、国庆节 periods -----------------------------
// A period is a run of consecutive days off that a source marks. When one
// period holds days of both 中秋节 and 国庆节 (or a day the source already
// names 国庆中秋), every day of it is key 8, and so is every make-up working
// day of either festival within two weeks of it: those belong to the same
// notice item. Then each day is { status, key }.
function keyed(source, days) {
  const out = new Map();
  for (const [day, { status, name }] of days) out.set(day, { status, key: keyOf(source, name) });

  const offDays = [...out.keys()].filter((d) => out.get(d).status === 'off').sort();
  const periods = [];
  for (const day of offDays) {
    const last = periods.at(-1);
    if (last && timeOf(day) - timeOf(last.at(-1)) === DAY_MS) last.push(day);
    else periods.push([day]);
  }
  for (const period of periods) {
    const keys = new Set(period.map((d) => out.get(d).key));
    if (!(keys.has(MERGED) || (keys.has(MID_AUTUMN) && keys.has(NATIONAL_DAY)))) continue;
    const from = timeOf(period[0]) - 14 * DAY_MS;
    const to = timeOf(period.at(-1)) + 14 * DAY_MS;
    for (const [day, value] of out) {
      const t = timeOf(day);
      if (t < from || t > to || ![MID_AUTUMN, NATIONAL_DAY, MERGED].includes(value.key)) continue;
      if (value.status === 'off' && !period.includes(day)) continue;
      value.key = MERGED;
    }
  }
  return out;
}

// ---- The years every source carries -----------------------------------------
// A source carries a year when it marks a day off in it. Only the years that
// all carry are written: a year that one source alone (or one lineage alone)
// carries is not cross-checked.
function yearsOf(days) {
  const years = new Set();
  for (const [day, { status }] of days) if (status === 'off') years.add(yearOf(day));
  return years;
}

// ---- Resolutions -----------------------------------------------------------
// YYYY-MM-DD<TAB>off|work|none<TAB>key or -<TAB>why; '#' lines are comments.
function readResolutions() {
  const file = path.join(here, 'resolutions.tsv');
  const out = new Map();
  fs.readFileSync(file, 'utf8').split('\n').forEach((line, i) => {
    if (line === '' || line.startsWith('#')) return;
    const fields = line.split('\t');
    const where = `resolutions.tsv:${i + 1}`;
    if (fields.length !== 4 || !/^\d{4}-\d\d-\d\d$/.test(fields[0]) || isoOf(timeOf(fields[0])) !== fields[0]) {
      throw new Error(`${where}: expected YYYY-MM-DD<TAB>off|work|none<TAB>key or -<TAB>why`);
    }
    const [day, status, key, why] = fields;
    if (out.has(day)) throw new Error(`${where}: ${day} resolved twice`);
    if (!why.trim()) throw new Error(`${where}: ${day} resolved without a reason`);
    if (status === 'none') {
      if (key !== '-') throw new Error(`${where}: an ordinary day has no key`);
      out.set(day, null);
    } else if (status === 'off' || status === 'work') {
      out.set(day, { status, key: keyOfName(key) });
    } else {
      throw new Error(`${where}: status ${status} is not off, work or none`);
    }
  });
  return out;
}

// ---- Cross-check -------------------------------------------------------------
const show = (v) => (v ? `${v.status} ${KEYS[v.key]}` : 'none');
const same = (a, b) => (a === null ? b === null : b !== null && a.status === b.status && a.key === b.key);

const raw = [readChineseDays(), readLunarJavascript(), readTyme4ts()];
const sources = raw.map((days, i) => keyed(PACKAGES[i], days));

const carried = raw.map(yearsOf);
for (let i = 0; i < PACKAGES.length; i++) {
  const ys = [...carried[i]].sort();
  console.log(`${SOURCES[i]}: days off in ${ys[0]}-${ys.at(-1)}`);
}
const common = [...carried[0]].filter((y) => carried.every((c) => c.has(y))).sort();
const FIRST = common[0];
const LAST = common.at(-1);
if (common.length !== LAST - FIRST + 1) throw new Error(`the years all sources carry are not contiguous: ${common}`);
console.log(`years all carry: ${FIRST}-${LAST}`);

const resolutions = readResolutions();
const problems = [];
const resolved = new Map(); // day -> { status, key }, ordinary days left out
for (const day of daysOf(FIRST, LAST)) {
  const says = sources.map((s) => s.get(day) ?? null);
  const agreed = says.every((v) => same(v, says[0]));
  let value = says[0];
  if (resolutions.has(day)) {
    value = resolutions.get(day);
    if (agreed) problems.push(`${day}: resolved, but all sources say ${show(says[0])}`);
    else if (!says.some((v) => same(v, value))) problems.push(`${day}: resolved as ${show(value)}, which no source says`);
  } else if (!agreed) {
    problems.push(`${day}: ${says.map((v, i) => `${PACKAGES[i]} ${show(v)}`).join(', ')}`);
    continue;
  }
  if (value === null) continue;
  const weekday = weekdayOf(day);
  if (value.status === 'work' && weekday !== 0 && weekday !== 6) {
    problems.push(`${day}: a make-up working day on a weekday`);
  }
  resolved.set(day, value);
}
for (const day of resolutions.keys()) {
  if (yearOf(day) < FIRST || yearOf(day) > LAST) problems.push(`${day}: resolved, but outside ${FIRST}-${LAST}`);
}
if (problems.length) {
  console.error(`${problems.length} day(s) not settled; see resolutions.tsv:`);
  for (const p of problems) console.error(`  ${p}`);
  process.exit(1);
}

// ---- Output ------------------------------------------------------------------
const generatedBy = `Generated by tools/gen/holidays/regenerate from ${SOURCES.slice(0, -1).join(', ')} and ${SOURCES.at(-1)} — do not edit`;
const days = [...resolved.keys()]; // already in date order

// The table: one run of consecutive days with the same status and key (a
// holiday period, a block of make-up days) starts a line, which names it;
// a run too long for one line of at most 120 columns goes on below.
const runs = [];
for (const day of days) {
  const v = resolved.get(day);
  const last = runs.at(-1);
  if (last && last.status === v.status && last.key === v.key && timeOf(day) - timeOf(last.days.at(-1)) === DAY_MS) {
    last.days.push(day);
  } else {
    runs.push({ status: v.status, key: v.key, days: [day] });
  }
}
const STATUS = { off: 1, work: 2 };
const WIDTH = 120;
const INDENT = '    ';
const entryLines = [];
for (const { status, key, days: run } of runs) {
  const span = run.length === 1 ? run[0] : `${run[0]}..${run.at(-1).slice(5)}`;
  const comment = `  // ${span} ${status} ${KEYS[key]}`;
  let line = INDENT;
  let first = true;
  for (const d of run) {
    const entry = `{${serialOf(d)}, ${STATUS[status]}, ${key}},`;
    const room = WIDTH - (first ? comment.length : 0);
    if (line !== INDENT && line.length + 1 + entry.length > room) {
      entryLines.push(first ? line + comment : line);
      line = INDENT;
      first = false;
    }
    line += (line === INDENT ? '' : ' ') + entry;
  }
  entryLines.push(first ? line + comment : line);
}

const header = [
  `// ${generatedBy}`,
  '//',
  `// PRC public holidays and make-up working days, ${FIRST}-${LAST}, as published by`,
  `// the State Council, cross-checked day by day between ${SOURCES[0]},`,
  `// ${SOURCES[1]} and ${SOURCES[2]} (the last two share an author and a data`,
  '// lineage). Where they differ, tools/gen/holidays/resolutions.tsv settles the',
  "// day from that year's notice and says why.",
  '//',
  '// A holiday period is every day of the break, weekend days included, as',
  '// lunar-javascript and tyme4ts mark it: a notice saying "6月10日放假，与周末连休"',
  '// makes 8-10 June 2024 one 端午节 break. A make-up working day (调休, 班) is a',
  '// Saturday or Sunday worked, and carries the key of the holiday it pays for.',
  `// The notice for ${LAST + 1} was not out when these sources were published: a make-up`,
  `// day it may put in late December ${LAST} is not here.`,
  '#pragma once',
  '#include <cstdint>',
  '',
  'namespace qel::calendar {',
  '',
  `inline constexpr int32_t kHolidayFirstYear = ${FIRST};`,
  `inline constexpr int32_t kHolidayLastYear = ${LAST};`,
  '',
  'struct HolidayDay {',
  '    int32_t serial;   // days since 1899-12-30 (1970-01-01 is 25569)',
  '    uint8_t status;   // 1 off, 2 work',
  '    uint8_t holiday;  // 1 new-year 元旦, 2 spring-festival 春节, 3 qingming 清明节,',
  '                      // 4 labour-day 劳动节, 5 dragon-boat 端午节, 6 mid-autumn 中秋节,',
  '                      // 7 national-day 国庆节, 8 mid-autumn-national-day 中秋节、国庆节',
  '                      // (one period holding both), 9 victory-day (3-5 September 2015,',
  '                      // the 70th anniversary of the victory over Japan)',
  '};',
  '',
  '// Sorted by serial; every day of kHolidayFirstYear..kHolidayLastYear not listed is an ordinary day.',
  '// One line per run of consecutive days of one status and holiday.',
  'inline constexpr HolidayDay kHolidayDays[] = {',
];
const footer = ['};', '', '}  // namespace qel::calendar'];

function write(relative, lines) {
  const file = path.join(root, relative);
  const text = lines.join('\n') + '\n';
  fs.mkdirSync(path.dirname(file), { recursive: true });
  fs.writeFileSync(file, text);
  console.log(`${relative}: ${lines.length} lines`);
}
write('src/calendar/holiday_table.h', [...header, ...entryLines, ...footer]);
// One fixture per source: every day it marks in the years it was asked
// about, as it says it, with the name mapped to our key (a merged 中秋节、国庆节
// period worked out from that source's own days, as above) and the name the
// source gives. No resolution and no other source touches these.
sources.forEach((days, i) => {
  const listed = [...days.keys()].sort();
  write(`tests/calendar/fixtures/holidays_${PACKAGES[i]}.tsv`, [
    `# Generated by tools/gen/holidays/regenerate from ${SOURCES[i]} — do not edit`,
    `# YYYY-MM-DD<TAB>off|work<TAB>holiday key<TAB>the source's name: every day ${PACKAGES[i]} marks in ${PROBE_FIRST}-${PROBE_LAST},`,
    '# before any cross-check; work is a weekend day worked (调休).',
    ...listed.map((d) => `${d}\t${days.get(d).status}\t${KEYS[days.get(d).key]}\t${raw[i].get(d).name}`),
  ]);
});
console.log(`${days.length} days in ${runs.length} runs, ${resolutions.size} resolved by resolutions.tsv`);
