// A month calendar on qel-calendar: lunar days, solar terms, festivals, the
// PRC days off (休) and weekend days worked (班), and a converter. The month
// shown follows the URL hash (#2017-07), so views can be linked.
import { dayFacts, fromLunar, holidayYears, leapMonth, ranges, toLunar, VERSION } from 'qel-calendar';

const $ = (id) => document.getElementById(id);
const pad = (n) => String(n).padStart(2, '0');
const iso = (y, m, d) => `${y}-${pad(m)}-${pad(d)}`;
const MONTHS = ['正月', '二月', '三月', '四月', '五月', '六月', '七月', '八月', '九月', '十月', '冬月', '腊月'];
const DAYS = [...'初一初二初三初四初五初六初七初八初九初十十一十二十三十四十五十六十七十八十九二十廿一廿二廿三廿四廿五廿六廿七廿八廿九三十']
  .reduce((a, c, i) => (i % 2 ? a[a.length - 1] += c : a.push(c), a), []);
// The lunar table as the library covers it, and the whole Gregorian years
// inside it: the months the page shows.
const LUNAR = ranges().lunar;
const FIRST_YEAR = +LUNAR.first.slice(0, 4) + (LUNAR.first.endsWith('-01-01') ? 0 : 1);
const LAST_YEAR = +LUNAR.last.slice(0, 4) - (LUNAR.last.endsWith('-12-31') ? 0 : 1);
const state = { year: 0, month: 0, selected: '' };
const todayIso = () => { const t = new Date(); return iso(t.getFullYear(), t.getMonth() + 1, t.getDate()); };
// The library gives term instants in China Standard Time, UTC+8 all year.
// A named zone (Asia/Shanghai) would add the summer time of 1919, 1940-1949
// and 1986-1991 and show 1988's 夏至 an hour late.
const cstTime = (instant) => new Date(instant.getTime() + 8 * 3600000).toISOString().slice(11, 19);

function el(tag, props = {}, ...children) {
  const e = document.createElement(tag);
  Object.assign(e, props);
  e.append(...children);
  return e;
}

// The small line of a cell: a festival, else the term, else the lunar day
// (the month's name on its first day), as printed calendars do.
function cellLabel(f) {
  if (f.festivals.length) return { text: f.festivals[0].short, kind: 'festival' };
  if (f.term) return { text: f.term.name, kind: 'term' };
  if (!f.lunar) return { text: '', kind: '' };
  if (f.lunar.day === 1) return { text: (f.lunar.leap ? '闰' : '') + MONTHS[f.lunar.month - 1], kind: 'month' };
  return { text: f.lunar.text.slice(-2), kind: '' };
}

function render() {
  const { year, month } = state;
  $('year').value = year;
  $('month').value = month;
  const first = dayFacts({ year, month, day: 1 });
  $('title').textContent = `${year}年${month}月 · ${first.yearCycle}年（${first.animal}）`;
  const days = new Date(Date.UTC(year, month, 0)).getUTCDate();
  const body = $('calendar').tBodies[0];
  body.replaceChildren();
  let row = el('tr');
  for (let i = 1; i < first.weekday; i++) row.append(el('td', { className: 'empty' }));
  for (let d = 1; d <= days; d++) {
    const f = dayFacts({ year, month, day: d });
    const label = cellLabel(f);
    const cell = el('td', { className: `day ${f.weekday >= 6 ? 'weekend' : ''}` },
      el('span', { className: 'solar' }, String(d)),
      el('span', { className: `lunar ${label.kind}` }, label.text));
    cell.dataset.date = f.date;
    cell.title = [f.lunar && f.lunar.text, f.term && f.term.name, ...f.festivals.map((x) => x.name), f.holiday]
      .filter(Boolean).join(' · ');
    if (f.holidayStatus === 'off' || f.holidayStatus === 'work') {
      cell.classList.add(f.holidayStatus);
      cell.append(el('span', { className: 'badge' }, f.holidayStatus === 'off' ? '休' : '班'));
    }
    if (f.date === state.selected) cell.classList.add('selected');
    if (f.date === todayIso()) cell.classList.add('today');
    cell.addEventListener('click', () => select(f.date));
    row.append(cell);
    if (f.weekday === 7) body.append(row), row = el('tr');
  }
  if (row.children.length) {
    while (row.children.length < 7) row.append(el('td', { className: 'empty' }));
    body.append(row);
  }
  showDetails(state.selected.startsWith(iso(year, month, 1).slice(0, 8)) ? state.selected : iso(year, month, 1));
  // The first and the last month: no wrapping round, the buttons that would leave the table are off.
  $('prev-month').disabled = $('prev-year').disabled = year === FIRST_YEAR && month === 1;
  $('prev-year').disabled ||= year === FIRST_YEAR;
  $('next-month').disabled = $('next-year').disabled = year === LAST_YEAR && month === 12;
  $('next-year').disabled ||= year === LAST_YEAR;
}

function showDetails(date) {
  const f = dayFacts(date);
  const weekday = '一二三四五六日'[f.weekday - 1];
  const lines = [
    el('h2', {}, `${f.date} 星期${weekday}`),
    el('p', { className: 'big' }, f.lunar ? `农历${f.yearCycle}年${f.lunar.text}` : '农历表外'),
    el('p', {}, `${f.animal ? `生肖${f.animal} · ` : ''}${f.dayCycle}日${f.term ? ` · ${f.term.name} ${cstTime(f.term.instant)}（北京时间）` : ''}`),
  ];
  if (f.festivals.length) lines.push(el('p', {}, f.festivals.map((x) => x.name).join('、')));
  if (f.holiday) lines.push(el('p', {}, `${f.holiday}${f.holidayStatus === 'off' ? '放假' : '调休上班'}`));
  $('details').replaceChildren(...lines);
}

function select(date) {
  state.selected = date;
  for (const c of document.querySelectorAll('td.selected')) c.classList.remove('selected');
  const cell = document.querySelector(`td[data-date="${date}"]`);
  if (cell) cell.classList.add('selected');
  showDetails(date);
}

// Months counted from year 0 make the arithmetic and the clamping at the
// first and last month one step each.
function go(year, month) {
  const index = Math.min(LAST_YEAR * 12 + 11, Math.max(FIRST_YEAR * 12, year * 12 + month - 1));
  year = Math.floor(index / 12), month = index % 12 + 1;
  history.replaceState(null, '', `#${year}-${pad(month)}`);
  Object.assign(state, { year, month });
  render();
}

// The month of the URL's fragment (#2025-01); a fragment that is not one
// is said so, and the page shows this month.
function fromHash() {
  const hash = decodeURIComponent(location.hash);
  const m = /^#(\d{4})-(\d{2})$/.exec(hash);
  let notice = '';
  if (m && +m[2] >= 1 && +m[2] <= 12 && +m[1] >= FIRST_YEAR && +m[1] <= LAST_YEAR) {
    go(+m[1], +m[2]);
  } else {
    if (hash.length > 1)
      notice = m ? `网址中的 ${hash} 超出本月历的范围（${FIRST_YEAR}-01 至 ${LAST_YEAR}-12），现显示本月。`
        : `无法识别网址中的 ${hash}：应写作 #年-月，如 #2025-01。现显示本月。`;
    const now = new Date();
    state.selected = todayIso();
    go(now.getFullYear(), now.getMonth() + 1);
  }
  $('notice').textContent = notice;
  $('notice').hidden = !notice;
}

// ---- the converter -----------------------------------------------------------

function convertToLunar() {
  const v = $('solar-input').value;
  if (!v) return;
  try {
    const l = toLunar(v);
    const f = dayFacts(v);
    $('to-lunar-result').textContent = `农历${l.year}年（${f.yearCycle}）${l.text}`;
  } catch (e) {
    showError('to-lunar-result', e, /^\d{4}-\d{2}-\d{2}$/.test(v) && e instanceof RangeError
      ? `农历表只含 ${LUNAR.first} 至 ${LUNAR.last} 的日子` : '请输入公历日期');
  }
}

function fillLunarChoices() {
  const year = +$('lunar-year').value;
  let leap = 0;
  try { leap = leapMonth(year); } catch { /* outside the lunar years: fromLunar says so */ }
  const box = $('lunar-leap');
  box.disabled = leap === 0;
  if (box.disabled) box.checked = false;
  const month = $('lunar-month');
  const keep = month.value;
  month.replaceChildren(...MONTHS.map((name, i) => el('option', { value: i + 1 }, (box.checked && i + 1 === leap ? '闰' : '') + name)));
  month.value = box.checked ? String(leap) : keep || '1';
  month.disabled = box.checked;
}

function convertFromLunar() {
  fillLunarChoices();
  const lunar = { year: +$('lunar-year').value, month: +$('lunar-month').value, day: +$('lunar-day').value,
                  leap: $('lunar-leap').checked };
  try {
    const date = fromLunar(lunar);
    const out = $('from-lunar-result');
    out.replaceChildren(el('a', { href: `#${date.slice(0, 7)}` }, date));
    out.firstChild.addEventListener('click', () => setTimeout(() => select(date)));
  } catch (e) {
    showError('from-lunar-result', e, lunarError(lunar));
  }
}

// The library's errors are English; the page says why in Chinese and keeps
// the library's words in the tooltip.
function showError(id, e, text) {
  $(id).textContent = text;
  $(id).title = e.message;
}

// Why a lunar date does not exist, from the calendar's own answers.
function lunarError({ year, month, day, leap }) {
  if (!(year >= LUNAR.firstYear && year <= LUNAR.lastYear)) return `农历年份须在 ${LUNAR.firstYear} 至 ${LUNAR.lastYear} 之间`;
  const leapOf = leapMonth(year);
  if (leap && leapOf === 0) return `农历${year}年没有闰月`;
  if (leap && leapOf !== month) return `农历${year}年闰${MONTHS[leapOf - 1]}，不闰${MONTHS[month - 1]}`;
  const days = dayFacts(fromLunar({ year, month, day: 1, leap })).lunarMonthDays;
  return `农历${year}年${leap ? '闰' : ''}${MONTHS[month - 1]}只有${days}天`;
}

// ---- wiring ----------------------------------------------------------------------

$('month').append(...Array.from({ length: 12 }, (_, i) => el('option', { value: i + 1 }, `${i + 1}月`)));
$('lunar-day').append(...DAYS.map((name, i) => el('option', { value: i + 1 }, name)));
$('prev-year').onclick = () => go(state.year - 1, state.month);
$('next-year').onclick = () => go(state.year + 1, state.month);
$('prev-month').onclick = () => go(state.year, state.month - 1);
$('next-month').onclick = () => go(state.year, state.month + 1);
$('today').onclick = () => { const t = new Date(); state.selected = todayIso(); go(t.getFullYear(), t.getMonth() + 1); };
$('year').onchange = () => go(+$('year').value || state.year, state.month);
$('month').onchange = () => go(state.year, +$('month').value);
$('solar-input').oninput = convertToLunar;
for (const id of ['lunar-year', 'lunar-month', 'lunar-day', 'lunar-leap']) $(id).oninput = convertFromLunar;
for (const id of ['to-lunar', 'from-lunar']) $(id).onsubmit = (e) => e.preventDefault();
window.addEventListener('hashchange', fromHash);

// The inputs' limits and the footer follow the library's ranges.
Object.assign($('year'), { min: FIRST_YEAR, max: LAST_YEAR });
Object.assign($('solar-input'), { min: LUNAR.first, max: LUNAR.last });
Object.assign($('lunar-year'), { min: LUNAR.firstYear, max: LUNAR.lastYear });
$('lunar-years').textContent = `${LUNAR.firstYear}-${LUNAR.lastYear}`;
$('version').textContent = VERSION;
const hy = holidayYears();
$('holiday-years').textContent = `${hy.first}-${hy.last}`;
const today = new Date();
$('lunar-year').value = toLunar(today).year;
convertFromLunar();
fromHash();
document.body.dataset.ready = 'true';
