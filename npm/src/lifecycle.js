// When and from which bytes the WebAssembly module is made, and the exported
// API in front of it. Every build shares this file:
// - embedded.js (the default builds) compiles the wasm carried inside the
//   package's JavaScript synchronously on load, so calls work at once;
// - file.js (qel-calendar/file) fetches and compiles it when the caller
//   awaits init().
// A failure to compile (a page whose Content-Security-Policy forbids
// WebAssembly, a runtime without it) never throws at import: it is kept, and
// init() rejects with it and every call throws it.
import { bind } from './api.js';

let api = null;
let failure = null;

// The constants, filled in when the module is ready (ES module exports are
// live bindings, so importers see them from then on).
export let VERSION, CYCLE, TERMS, FESTIVALS, FIRST_LUNAR_DATE, LAST_LUNAR_DATE;

function attach(instance) {
  instance.exports._initialize();  // the module's static constructors
  api = bind(instance.exports);
  ({ VERSION, CYCLE, TERMS, FESTIVALS, FIRST_LUNAR_DATE, LAST_LUNAR_DATE } = api);
  failure = null;
}

// The error a caller sees when the module cannot be compiled here: what
// happened, and the usual cause in a browser.
function unavailable(cause) {
  const csp = /Content.Security.Policy|unsafe-eval/i.test(String(cause && cause.message));
  const why = csp ? "the page's Content-Security-Policy forbids WebAssembly: its script-src needs 'wasm-unsafe-eval'"
    : typeof WebAssembly !== 'object' ? 'this JavaScript runtime has no WebAssembly'
    : `its WebAssembly module could not be compiled (${cause && cause.message})`;
  return new Error(`qel-calendar cannot run here: ${why}`, { cause });
}

function ready() {
  if (api !== null) return api;
  throw failure ?? new Error('qel-calendar is not ready: await init() first (qel-calendar/file loads qel_calendar.wasm there)');
}

// Makes the module from wasm bytes or a compiled WebAssembly.Module, now.
// Does nothing once ready.
export function initSync(source) {
  if (api !== null) return;
  try {
    const module = source instanceof WebAssembly.Module ? source : new WebAssembly.Module(source);
    attach(new WebAssembly.Instance(module, {}));
  } catch (e) {
    throw (failure = unavailable(e));
  }
}

// Makes the module from a URL (string or URL), a fetch Response (or its
// promise), wasm bytes (or their promise, or a function that makes it, called
// only when the module is not ready yet) or a WebAssembly.Module; `name`
// says where it came from in a failure. Resolves at once when ready.
export async function load(source, name = source) {
  if (api !== null) return;
  let bytes = source;
  try {
    if (typeof source === 'string' || source instanceof URL) bytes = fetch(source);
    else if (typeof source === 'function') bytes = source();
    bytes = await bytes;
    if (typeof Response === 'function' && bytes instanceof Response && !bytes.ok)
      throw new Error(`HTTP ${bytes.status}`);
  } catch (e) {
    throw (failure = new Error(`qel-calendar could not fetch ${name}: ${e.message}`, { cause: e }));
  }
  try {
    let instance;
    if (typeof Response === 'function' && bytes instanceof Response) {
      // Streaming compilation wants the type application/wasm; other types
      // are compiled from the bytes.
      instance = /^application\/wasm\b/.test(bytes.headers.get('content-type'))
        ? (await WebAssembly.instantiateStreaming(bytes, {})).instance
        : (await WebAssembly.instantiate(await bytes.arrayBuffer(), {})).instance;
    } else if (bytes instanceof WebAssembly.Module) {
      instance = await WebAssembly.instantiate(bytes, {});
    } else {
      instance = (await WebAssembly.instantiate(bytes, {})).instance;
    }
    if (api === null) attach(instance);
  } catch (e) {
    throw (failure = unavailable(e));
  }
}

// Resolves when the module is ready, rejects with why it cannot be.
export const whenReady = () => new Promise((resolve) => resolve(ready())).then(() => {});

export function ranges() { return (api ?? ready()).ranges(); }
export function toLunar(date, options) { return (api ?? ready()).toLunar(date, options); }
export function fromLunar(lunar, options) { return (api ?? ready()).fromLunar(lunar, options); }
export function lunarToDate(lunar, options) { return (api ?? ready()).lunarToDate(lunar, options); }
export function leapMonth(year, options) { return (api ?? ready()).leapMonth(year, options); }
export function monthInfo(year, month, options) { return (api ?? ready()).monthInfo(year, month, options); }
export function addLunarMonths(lunar, n, options) { return (api ?? ready()).addLunarMonths(lunar, n, options); }
export function addLunarYears(lunar, n, options) { return (api ?? ready()).addLunarYears(lunar, n, options); }
export function dayFacts(date, options) { return (api ?? ready()).dayFacts(date, options); }
export function pillars(moment, options) { return (api ?? ready()).pillars(moment, options); }
export function solarTerms(year) { return (api ?? ready()).solarTerms(year); }
export function festivals(year, options) { return (api ?? ready()).festivals(year, options); }
export function festivalDate(festival, year, options) { return (api ?? ready()).festivalDate(festival, year, options); }
export function holidayYears() { return (api ?? ready()).holidayYears(); }
export function holidays(year) { return (api ?? ready()).holidays(year); }
export function isWorkday(date) { return (api ?? ready()).isWorkday(date); }
export function workdays(start, end) { return (api ?? ready()).workdays(start, end); }
export function addWorkdays(date, n) { return (api ?? ready()).addWorkdays(date, n); }
export function toLunarBatch(days, options) { return (api ?? ready()).toLunarBatch(days, options); }
export function fromLunarBatch(lunar, options) { return (api ?? ready()).fromLunarBatch(lunar, options); }
