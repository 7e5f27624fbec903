// qel-calendar/file: the module fetched and compiled when the caller awaits
// init(), off the page's first load: by default the package's one copy,
// dist/qel_calendar.inline.json beside this file (a bundler that knows
// new URL(..., import.meta.url) copies it along). A page can pass its own
// URL of a .wasm, a Response, bytes or a WebAssembly.Module instead.
import { wasmOfInline } from './inline.js';
import { load } from './lifecycle.js';

export {
  VERSION, CYCLE, TERMS, FESTIVALS, FIRST_LUNAR_DATE, LAST_LUNAR_DATE, initSync,
  ranges, toLunar, fromLunar, lunarToDate, leapMonth, monthInfo, addLunarMonths, addLunarYears, dayFacts, pillars, solarTerms, festivals, festivalDate,
  holidayYears, holidays, isWorkday, workdays, addWorkdays, toLunarBatch, fromLunarBatch,
} from './lifecycle.js';

async function fetchInline(url) {
  const response = await fetch(url);
  if (!response.ok) throw new Error(`HTTP ${response.status}`);
  return wasmOfInline(await response.json());
}

export const init = (source) => {
  if (source !== undefined) return load(source);
  const url = new URL('./qel_calendar.inline.json', import.meta.url);
  return load(() => fetchInline(url), url);
};
