// qel-calendar/file: the wasm as a file of its own (dist/qel_calendar.wasm),
// fetched and compiled when the caller awaits init(). A bundler that knows
// new URL(..., import.meta.url) copies the file along; a page can pass its
// own URL, Response, bytes or WebAssembly.Module instead.
import { load } from './lifecycle.js';

export {
  VERSION, CYCLE, TERMS, FESTIVALS, FIRST_LUNAR_DATE, LAST_LUNAR_DATE, initSync,
  ranges, toLunar, fromLunar, lunarToDate, leapMonth, addLunarMonths, addLunarYears, dayFacts, pillars, solarTerms, festivals, festivalDate,
  holidayYears, holidays, isWorkday, workdays, addWorkdays, toLunarBatch, fromLunarBatch,
} from './lifecycle.js';
export const init = (source = new URL('./qel_calendar.wasm', import.meta.url)) => load(source);
