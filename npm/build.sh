#!/usr/bin/env bash
# Builds the npm package's dist/ with Debian's emscripten (3.1.x):
#   dist/qel_calendar.cjs          Node, CommonJS: the glue, the wasm inline, the API
#   dist/qel_calendar.mjs          Node, ES module: the CommonJS build through createRequire
#   dist/qel_calendar.browser.mjs  browsers and bundlers, ES module (no Node code)
#   dist/qel_calendar.d.ts, .d.mts the declarations, for require and import
# The wasm is embedded (SINGLE_FILE) and instantiated synchronously, so the
# package works from a bundler and from a plain <script type="module"> with no
# file to locate. Node's ES module goes through the CommonJS build because
# 3.1.6's EXPORT_ES6 output reads __dirname when run under Node. Object files
# go to build/npm of the repository.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
obj="$root/build/npm/obj"
dist="$here/dist"
mkdir -p "$obj/split" "$dist"
# Debian's emcc runs its JS optimizer with the node on PATH, which does not
# search Debian's /usr/share/nodejs for acorn.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"

version="$(sed -n 's/^ *VERSION \([0-9.]*\)$/\1/p' "$root/CMakeLists.txt" | head -1)"
pkg_version="$(node -p "require('$here/package.json').version")"
if [ "$version" != "$pkg_version" ]; then
  echo "build.sh: package.json says $pkg_version, the library is $version" >&2
  exit 1
fi

cflags=(-O3 -std=c++17 -fno-exceptions -fno-rtti -I"$root/include" -I"$root/src"
        -DQEL_CALENDAR_VERSION_STRING="\"$version\"")
sources=("$root"/src/calendar/*.cpp "$here/src/wasm_api.cpp")
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
link=(-O3 -sMODULARIZE -sSINGLE_FILE -sEXPORT_NAME=QelCalendarWasm -sEXPORTED_FUNCTIONS="$exported"
      -sWASM_ASYNC_COMPILATION=0 -sFILESYSTEM=0 -sDYNAMIC_EXECUTION=0 -sINITIAL_MEMORY=1MB -sTOTAL_STACK=64KB
      -sEXPORTED_RUNTIME_METHODS=[] -sINCOMING_MODULE_JS_API=[])
em++ "${objects[@]}" "${link[@]}" -sENVIRONMENT=node -sNODEJS_CATCH_EXIT=0 -sNODEJS_CATCH_REJECTION=0 \
  -o "$obj/glue.cjs"
em++ "${objects[@]}" "${link[@]}" -sENVIRONMENT=web,worker -sEXPORT_ES6 -o "$obj/glue.mjs"
# The same browser build with the wasm beside the glue, for the size report.
em++ "${objects[@]}" "${link[@]/-sSINGLE_FILE/-sSINGLE_FILE=0}" -sENVIRONMENT=web,worker -sEXPORT_ES6 \
  -o "$obj/split/qel_calendar.mjs"

header="/* qel-calendar $version: the Chinese calendar 1900-2100 (qel_calendar in WebAssembly). */"
# The glue's own export lines give way to the API's.
{
  echo "$header"
  sed '/^if (typeof exports === .object. && typeof module === .object.)/,$d' "$obj/glue.cjs"
  cat "$here/src/api.js"
  echo "module.exports = qel;"
} >"$dist/qel_calendar.cjs"
names="$(node -p "Object.keys(require('$dist/qel_calendar.cjs')).join(', ')")"
{
  echo "$header"
  sed '/^export default QelCalendarWasm;$/d' "$obj/glue.mjs"
  cat "$here/src/api.js"
  echo "export const { $names } = qel;"
} >"$dist/qel_calendar.browser.mjs"
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
echo "built $dist: $(cd "$dist" && ls | paste -sd' ' -)"
