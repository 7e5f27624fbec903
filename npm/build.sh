#!/usr/bin/env bash
# Builds the npm package's dist/ with Debian's emscripten (3.1.x) and esbuild:
#   dist/qel_calendar.wasm         the module, standalone: no imports, no emscripten glue (not packed)
#   dist/qel_calendar.inline.json  the same module deflated, in base64: the package's one copy
#   dist/qel_calendar.cjs          CommonJS (Node, Jest, bundlers' require): embedded, ready on load
#   dist/qel_calendar.mjs          Node's ES module: the CommonJS build through createRequire
#   dist/qel_calendar.browser.mjs  browsers and bundlers, ES module: embedded, ready on load
#   dist/qel_calendar.file.mjs     qel-calendar/file: fetches the JSON at await init()
#   dist/qel_calendar.core.mjs     the API, its lifecycle and the inflater, shared by the two browser modules
#   dist/qel_calendar.d.ts, .d.mts the declarations, for require and import
# Every build reads the one deflated copy (the JSON, which require(),
# import ... with { type: 'json' } and fetch all read), so the tarball
# carries the module once: a second copy as a .wasm file would add 59 KB to a
# tarball of 88 KB. Object files go to build/npm of the repository; LICENSE
# is copied in for npm pack.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
obj="$root/build/npm/obj"
dist="$here/dist"
rm -rf "$dist" "$obj/esm"
mkdir -p "$obj" "$dist"
# Debian's emcc runs its JS optimizer with the node on PATH, which does not
# search Debian's /usr/share/nodejs for acorn.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"

# The version, the sources and the flags of qel_calendar are read from the
# files every build of it reads (include/qel_calendar_version.h,
# src/calendar/sources.txt and flags.txt); package.json carries a copy of
# the version, which scripts/set-version writes.
version="$(sed -n 's/^#define QEL_CALENDAR_VERSION_STRING "\(.*\)"$/\1/p' "$root/include/qel_calendar_version.h")"
pkg_version="$(node -p "require('$here/package.json').version")"
if [ "$version" != "$pkg_version" ]; then
  echo "build.sh: package.json says $pkg_version, the library is $version" >&2
  exit 1
fi

list() { grep -v '^#' "$root/src/calendar/$1" | grep -v '^[[:space:]]*$'; }
mapfile -t flags < <(list flags.txt)
cflags=(-O3 -std=c++17 "${flags[@]}" -DNDEBUG -I"$root/include" -I"$root/src" -I"$root/src/core")
mapfile -t sources < <(list sources.txt | sed "s#^#$root/src/calendar/#")
sources+=("$here/src/wasm_api.cpp")
objects=()
for s in "${sources[@]}"; do
  o="$obj/$(basename "$s" .cpp).o"
  objects+=("$o")
  if [ ! -e "$o" ] || [ "$s" -nt "$o" ] || [ -n "$(find "$root/src" "$root/include" -newer "$o" -name '*.h' -print -quit)" ]; then
    echo "emcc -c $(basename "$s")"
    em++ "${cflags[@]}" -c "$s" -o "$o" &
    # two compile jobs at a time
    [ "$(jobs -rp | wc -l)" -ge 2 ] && wait -n
  fi
done
wait

exported="$(sed -n 's/^int32_t \(qjs_[a-z0-9_]*\)(.*/_\1/p' "$here/src/wasm_api.cpp" | paste -sd, -)"
# --no-entry with a .wasm output: a standalone module that imports nothing
# and exports its memory (fixed at 1 MB, no growth) and _initialize.
em++ "${objects[@]}" -O3 --no-entry -sEXPORTED_FUNCTIONS="$exported" -sFILESYSTEM=0 \
  -sINITIAL_MEMORY=1MB -sTOTAL_STACK=64KB -sALLOW_MEMORY_GROWTH=0 -o "$dist/qel_calendar.wasm"
node -e '
  const fs = require("fs"), zlib = require("zlib");
  const [wasm, json] = process.argv.slice(1);
  const deflated = zlib.deflateRawSync(fs.readFileSync(wasm), { level: 9 });
  fs.writeFileSync(json, JSON.stringify(deflated.toString("base64")) + "\n");
' "$dist/qel_calendar.wasm" "$dist/qel_calendar.inline.json"

header="/* qel-calendar $version: the Chinese calendar (qel_calendar in WebAssembly). MIT License. */"
esbuild=("$here/node_modules/.bin/esbuild" --bundle --minify --target=es2020 --legal-comments=none
         --banner:js="$header" --log-level=warning --supported:import-attributes=true --external:./qel_calendar.inline.json)
"${esbuild[@]}" "$here/src/embedded.js" --format=cjs --platform=neutral --outfile="$dist/qel_calendar.cjs"
# The two browser modules share one chunk: the API and its lifecycle.
"${esbuild[@]}" "$here/src/embedded.js" "$here/src/file.js" --format=esm --splitting --outdir="$obj/esm" \
  --entry-names='[name]' --chunk-names=core
for f in embedded:browser file:file core:core; do
  sed 's#"\./core\.js"#"./qel_calendar.core.mjs"#' "$obj/esm/${f%%:*}.js" >"$dist/qel_calendar.${f#*:}.mjs"
done
names="$(node -p "Object.keys(require('$dist/qel_calendar.cjs')).join(', ')")"
cat >"$dist/qel_calendar.mjs" <<EOF
$header
// Node's ES module entry: the CommonJS build, so that import and require
// share one instance.
import { createRequire } from 'node:module';

const qel = createRequire(import.meta.url)('./qel_calendar.cjs');
export const { $names } = qel;
EOF
cp "$here/src/qel_calendar.d.ts" "$dist/qel_calendar.d.ts"
cp "$here/src/qel_calendar.d.ts" "$dist/qel_calendar.d.mts"
cp "$root/LICENSE" "$here/LICENSE"
echo "built $dist: $(cd "$dist" && ls | paste -sd' ' -)"
