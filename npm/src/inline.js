// The module as the package carries it: qel_calendar.wasm deflated, in base64
// (dist/qel_calendar.inline.json). One copy serves both ways in: the embedded
// builds import it, qel-calendar/file fetches it at init(). fflate inflates
// it without touching any global.
import { inflateSync } from 'fflate';

export const wasmOfInline = (base64) => inflateSync(Uint8Array.from(atob(base64), (c) => c.charCodeAt(0)));
