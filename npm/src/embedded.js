// The default builds (Node's, the browsers' and bundlers'): the wasm travels
// inside the package as deflated base64 (qel_calendar.inline.json, shared by
// the CommonJS and the ES module build) and is compiled synchronously on
// load, so every call works at once. init() only reports the outcome: it
// resolves, or rejects with why WebAssembly cannot run on this page.
import wasm from './qel_calendar.inline.json' with { type: 'json' };
import { wasmOfInline } from './inline.js';
import { initSync, whenReady } from './lifecycle.js';

try {
  initSync(wasmOfInline(wasm));
} catch {
  // Kept: init() rejects with it and every call throws it.
}

export {
  VERSION, CYCLE, TERMS, FESTIVALS, FIRST_LUNAR_DATE, LAST_LUNAR_DATE, initSync,
  ranges, toLunar, fromLunar, lunarToDate, leapMonth, monthInfo, addLunarMonths, addLunarYears, dayFacts, pillars, solarTerms, festivals, festivalDate,
  holidayYears, holidays, isWorkday, workdays, addWorkdays, toLunarBatch, fromLunarBatch,
} from './lifecycle.js';
export { whenReady as init };
