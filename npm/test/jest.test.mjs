// Jest with its jsdom environment resolves require('qel-calendar') with the
// browser and require conditions and runs the file as CommonJS, where
// import.meta is a syntax error: the browser branch of the exports must have
// a require entry. Run on a throwaway project that has the package as a
// dependency (a link to this folder).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const require = createRequire(import.meta.url);
const pkg = fileURLToPath(new URL('..', import.meta.url));

const TEST_SOURCE = `/** @jest-environment jsdom */
const { init, toLunar, dayFacts } = require('qel-calendar');
test('require under jsdom', async () => {
  expect(typeof document).toBe('object');
  console.log(require.resolve("qel-calendar")); expect(require.resolve('qel-calendar')).toMatch(/dist\\/qel_calendar\\.cjs$/);
  await init();
  expect(toLunar('2017-07-23').text).toBe('闰六月初一');
  expect(dayFacts('2025-01-28').festivals[0].name).toBe('除夕');
});
`;

test('Jest with the jsdom environment loads the package with require', () => {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'qel-jest-'));
  try {
    fs.mkdirSync(path.join(dir, 'node_modules'));
    fs.symlinkSync(pkg, path.join(dir, 'node_modules', 'qel-calendar'), 'dir');
    fs.writeFileSync(path.join(dir, 'package.json'), '{ "name": "jest-fixture", "private": true }\n');
    fs.writeFileSync(path.join(dir, 'calendar.test.js'), TEST_SOURCE);
    const jest = require.resolve('jest/bin/jest');
    const r = spawnSync(process.execPath, [jest, '--rootDir', dir, '--ci', '--no-cache', '--watchman=false',
                                           '--testEnvironment', require.resolve('jest-environment-jsdom')],
                        { cwd: dir, encoding: 'utf8' });
    assert.equal(r.status, 0, r.stderr);
    assert.match(r.stderr, /Tests: +1 passed, 1 total/);
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
});
