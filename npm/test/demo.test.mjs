// The demo page in headless Chromium (Debian's, through puppeteer-core),
// served from 127.0.0.1: known cells, month and year navigation, a day's
// details, the converter both ways, no page errors; a screenshot goes to
// build/npm/. Then both builds under a Content-Security-Policy with and
// without 'wasm-unsafe-eval'.
// Skipped without a browser unless QEL_REQUIRE_BROWSER is set (CI sets it).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { ranges } from 'qel-calendar';

const pkg = fileURLToPath(new URL('..', import.meta.url));
const chromium = process.env.CHROMIUM ?? '/usr/bin/chromium';
const screenshots = path.resolve(pkg, '../build/npm');
const haveBrowser = fs.existsSync(chromium);
if (!haveBrowser && process.env.QEL_REQUIRE_BROWSER) throw new Error(`no browser at ${chromium}`);

const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript', '.css': 'text/css',
                '.json': 'application/json', '.wasm': 'application/wasm' };

// A page under a Content-Security-Policy (/csp/BUILD/SCRIPT-SRC) and its
// module: it imports a build, awaits init() and converts a day; the body
// says the outcome. The page has no inline script, which script-src 'self'
// would refuse.
const CSP_BUILDS = { embedded: 'qel_calendar.browser.mjs', file: 'qel_calendar.file.mjs' };
function cspPage(res, build, scriptSrc, probe) {
  const csp = `default-src 'self'; script-src ${decodeURIComponent(scriptSrc)}`;
  if (probe) {
    return res.writeHead(200, { 'content-type': 'text/javascript' }).end(`
import * as q from '/dist/${CSP_BUILDS[build]}';
let said;
try { await q.init(); said = q.toLunar('2017-07-23').text; } catch (e) { said = \`\${e.constructor.name}: \${e.message}\`; }
document.body.dataset.said = said;`);
  }
  res.writeHead(200, { 'content-type': TYPES['.html'], 'content-security-policy': csp })
    .end(`<!doctype html><meta charset="utf-8"><script type="module" src="${build}.${scriptSrc}.mjs"></script>`);
}

// demo/ and dist/ of the package and the CSP pages, nothing else.
const server = http.createServer((req, res) => {
  const { pathname } = new URL(req.url, 'http://127.0.0.1');
  const csp = /^\/csp\/(\w+)\/([^/]+?)(\.mjs)?$/.exec(pathname);
  if (csp) return cspPage(res, csp[1], csp[2], csp[3]);
  const file = path.join(pkg, decodeURIComponent(pathname), pathname.endsWith('/') ? 'index.html' : '');
  if (!/^\/(demo|dist)\//.test(pathname) || !file.startsWith(pkg)) return res.writeHead(403).end();
  fs.readFile(file, (err, body) => (err ? res.writeHead(404).end()
    : res.writeHead(200, { 'content-type': TYPES[path.extname(file)] ?? 'application/octet-stream' }).end(body)));
});

test('the month calendar page in Chromium', { skip: !haveBrowser && `no browser at ${chromium}` }, async () => {
  const { default: puppeteer } = await import('puppeteer-core');
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  // As root in a container there is no user namespace for Chromium's sandbox.
  const args = process.getuid?.() === 0 ? ['--no-sandbox'] : [];
  const browser = await puppeteer.launch({ executablePath: chromium, headless: true, args });
  try {
    const page = await browser.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(e.message));
    page.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
    page.on('requestfailed', (r) => errors.push(`${r.url()} ${r.failure()?.errorText}`));
    await page.setViewport({ width: 800, height: 1000 });
    const base = `http://127.0.0.1:${server.address().port}/demo/`;
    await page.goto(`${base}#2017-07`);
    await page.waitForSelector('body[data-ready]');
    const cell = (date) => page.$eval(`td[data-date="${date}"]`, (e) => e.textContent);
    const title = () => page.$eval('#title', (e) => e.textContent);

    assert.match(await cell('2017-07-23'), /^23闰六月$/);
    // Eight years on by «», then January from the month list.
    for (let i = 0; i < 8; i++) await page.click('#next-year');
    await page.select('#month', '1');
    assert.match(await title(), /^2025年1月 · 甲辰年（龙）$/);
    assert.match(await cell('2025-01-28'), /除夕.*休|休.*除夕/);
    assert.match(await cell('2025-01-26'), /班/);
    await page.screenshot({ path: path.join(screenshots, 'demo.png'), fullPage: true });
    await page.click('#prev-month');
    await page.click('td[data-date="2024-12-21"]');
    assert.match(await page.$eval('#details', (e) => e.textContent), /冬至/);

    // The converter, both ways.
    const set = (selector, value) => page.$eval(selector, (e, v) => {
      if (e.type === 'checkbox') e.checked = v; else e.value = v;
      e.dispatchEvent(new Event('input'));
    }, value);
    const output = (id) => page.$eval(id, (e) => e.textContent);
    await set('#solar-input', '2017-07-23');
    assert.equal(await output('#to-lunar-result'), '农历2017年（丁酉）闰六月初一');
    for (const [field, value] of [['year', '2024'], ['month', '12'], ['day', '29']]) await set(`#lunar-${field}`, value);
    assert.equal(await output('#from-lunar-result'), '2025-01-28');
    await set('#lunar-day', '30');
    // The library's English errors are said in Chinese on this Chinese page.
    assert.equal(await output('#from-lunar-result'), '农历2024年腊月只有29天');
    const lunar = ranges().lunar;
    await set('#solar-input', new Date(Date.parse(lunar.last) + 86400000).toISOString().slice(0, 10));  // the day after
    assert.equal(await output('#to-lunar-result'), `农历表只含 ${lunar.first} 至 ${lunar.last} 的日子`);
    for (const [field, value] of [['year', '2017'], ['leap', true], ['day', '1']]) await set(`#lunar-${field}`, value);
    assert.equal(await output('#from-lunar-result'), '2017-07-23');

    // The ends of the table: the buttons that would leave it are off, and a
    // click on them changes nothing (‹ wrapped 1901-01 round to 1901-12).
    const disabled = () => page.$$eval('nav button[id^="prev"], nav button[id^="next"]',
      (bs) => bs.filter((b) => b.disabled).map((b) => b.id).sort().join(' '));
    // The whole Gregorian years of the lunar table.
    const first = lunar.firstYear + 1, last = lunar.lastYear;
    for (const [hash, off, want] of [[`#${first}-01`, 'prev-month prev-year', new RegExp(`^${first}年1月`)],
                                      [`#${first}-06`, 'prev-year', new RegExp(`^${first}年6月`)],
                                      [`#${last}-12`, 'next-month next-year', new RegExp(`^${last}年12月`)],
                                      ['#2025-01', '', /^2025年1月/]]) {
      await page.goto(`${base}${hash}`);
      assert.equal(await disabled(), off, hash);
      for (const id of off.split(' ').filter(Boolean)) await page.$eval(`#${id}`, (b) => b.click());
      assert.match(await title(), want, hash);
      assert.equal(await page.$eval('#notice', (e) => e.hidden), true, hash);
    }
    // A term's time in UTC+8 as the library gives it, not Asia/Shanghai's 1988 summer time.
    await page.goto(`${base}#1988-06`);
    await page.click('td[data-date="1988-06-21"]');
    assert.match(await page.$eval('#details', (e) => e.textContent), /夏至 11:56:31/);
    // A fragment that is no month is said so; the page shows this month with today marked.
    const now = new Date(), today = new Date(now - now.getTimezoneOffset() * 60000).toISOString().slice(0, 10);
    const before = `#${lunar.firstYear - 1}-01`;
    for (const [hash, notice] of [['#2025-1', /无法识别网址中的 #2025-1/], [before, new RegExp(`${before} 超出本月历的范围`)]]) {
      await page.goto(`${base}${hash}`);
      assert.match(await page.$eval('#notice', (e) => (e.hidden ? '' : e.textContent)), notice, hash);
      assert.equal(await page.$eval('td.today', (e) => e.dataset.date), today, hash);
    }
    // On a plain load, today is marked and selected.
    await page.goto('about:blank');
    await page.goto(base);
    await page.waitForSelector('body[data-ready]');
    assert.deepEqual(await page.$$eval('td.today.selected', (es) => es.map((e) => e.dataset.date)), [today]);
    assert.deepEqual(errors, []);

    // Content-Security-Policy: WebAssembly needs 'wasm-unsafe-eval' in
    // script-src for either build. Without it the import still succeeds
    // (the module's code runs) and init() rejects saying so.
    const refused = "Error: qel-calendar cannot run here: the page's Content-Security-Policy forbids WebAssembly: " +
      "its script-src needs 'wasm-unsafe-eval'";
    for (const [build, scriptSrc, said] of [['file', "'self' 'wasm-unsafe-eval'", '闰六月初一'],
                                            ['embedded', "'self' 'wasm-unsafe-eval'", '闰六月初一'],
                                            ['embedded', "'self'", refused],
                                            ['file', "'self'", refused]]) {
      const probe = await browser.newPage();
      const thrown = [];
      probe.on('pageerror', (e) => thrown.push(e.message));
      await probe.goto(`http://127.0.0.1:${server.address().port}/csp/${build}/${encodeURIComponent(scriptSrc)}`);
      await probe.waitForSelector('body[data-said]', { timeout: 10000 });
      assert.deepEqual([await probe.$eval('body', (b) => b.dataset.said), thrown], [said, []], `${build} ${scriptSrc}`);
      await probe.close();
    }
  } finally {
    await browser.close();
    server.close();
  }
});
