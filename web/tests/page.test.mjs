// The page in headless Chromium, served from build/web/, checked against the
// command-line decoder built from the same code.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';
import { launchBrowser, openPage, root, startServer, stopServer } from './browser.mjs';

const decoder = process.env.KORDEL_DECODE ?? path.join(root, 'build/release/bin/kordel-decode');
const shots = path.join(root, 'build/web-screenshots');
const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

const ONE_YEAR = 'A0A857H123442';      // the VIN settles its own model year
const AMBIGUOUS = 'A8A855H100001';     // 1968 or 1978
const REJECTED = 'A0A857Q123442';      // no such engine code at position 7
const CHECK_DIGIT = '1AMCM3877BK100021';  // holds 7 where the rule computes 5
const UNKNOWN = 'A1AX50H100001';       // codes that name no model line

function kordelDecode(args, input) {
  const run = spawnSync(decoder, args, { input, encoding: 'utf8' });
  assert.ok(run.status === 0 || run.status === 1, `kordel-decode ${args.join(' ')}: ${run.stderr}`);
  return run.stdout;
}

let server;
let chromium;

before(async () => {
  mkdirSync(shots, { recursive: true });
  server = await startServer();
  chromium = await launchBrowser();
});

after(async () => {
  await chromium?.close();
  if (server) await stopServer(server);
});

async function typeVin(page, vin) {
  await page.$eval('#vin', (input) => { input.value = ''; });
  await page.type('#vin', vin);
}

const texts = (page, selector) => page.$$eval(selector, (nodes) => nodes.map((n) => n.textContent));

test('a typed VIN decodes at its last character, in the words of kordel-decode', async () => {
  const page = await openPage(chromium.browser, server.url);
  await typeVin(page, ONE_YEAR.slice(0, 12));
  assert.equal((await page.$$('pre.report')).length, 0);
  await page.type('#vin', ONE_YEAR.slice(12));
  assert.deepEqual(await texts(page, 'pre.report'), [kordelDecode([ONE_YEAR]).trimEnd()]);
  assert.match(await page.$eval('#status', (n) => n.textContent), /^Decoded: 1970 AMC Ambassador/);
  await page.waitForFunction((vin) => new URLSearchParams(location.search).get('vin') === vin, {}, ONE_YEAR);
  await page.close();
});

test('an ambiguous VIN shows one labelled report per candidate year, and copies as kordel-decode prints it', async () => {
  const page = await openPage(chromium.browser, server.url);
  await typeVin(page, AMBIGUOUS);
  assert.deepEqual(await texts(page, '.result h2'), ['Model year 1968', 'Model year 1978']);
  const reports = await texts(page, 'pre.report');
  const expected = kordelDecode([AMBIGUOUS]).trimEnd();
  assert.equal(reports.map((r, i) => `Model year ${[1968, 1978][i]}:\n${r}`).join('\n\n'), expected);
  await chromium.browser.defaultBrowserContext().overridePermissions(server.url,
    ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  await page.click('#copy');
  assert.equal(await page.evaluate(() => navigator.clipboard.readText()), expected);
  await page.screenshot({ path: path.join(shots, 'ambiguous-1280.png'), fullPage: true });
  await page.emulateMediaType('print');  // the printout holds the reports alone
  const shown = await page.$$eval('main > *, pre.report, .fields', (nodes) => nodes
    .filter((n) => n.getClientRects().length > 0).map((n) => n.id || n.className));
  assert.deepEqual(shown, ['results', 'report', 'report']);
  await page.screenshot({ path: path.join(shots, 'print.png') });
  await page.close();
});

test('a rejected position is marked with what it accepts; a wrong check digit warns', async () => {
  const page = await openPage(chromium.browser, server.url, 360);
  await typeVin(page, REJECTED);
  assert.deepEqual(await texts(page, '.message.error .message-text'),
    ['The 7th digit is a invalid engine code for an Ambassador.']);
  assert.equal(await page.$eval('mark.char.error', (n) => n.textContent), 'Q7 (position 7)');
  assert.match(await page.$eval('.accepted', (n) => n.textContent),
    /The 7th character is "Q"\. Accepted there: A B C E H M N P S T V X$/);
  assert.equal((await page.$$('pre.report')).length, 0);
  await page.screenshot({ path: path.join(shots, 'rejected-360.png'), fullPage: true });

  await typeVin(page, CHECK_DIGIT);
  assert.deepEqual(await texts(page, '.message.warning .message-text'),
    ['check digit is 7, expected 5: the VIN may be mistyped']);
  assert.equal((await page.$$('pre.report')).length, 1);
  await page.screenshot({ path: path.join(shots, 'check-digit-360.png'), fullPage: true });
  await page.close();
});

test('the address carries the VIN and the model year', async () => {
  const page = await openPage(chromium.browser, `${server.url}?vin=a8a855h100001&year=78`);
  assert.equal(await page.$eval('#vin', (n) => n.value), 'a8a855h100001');
  assert.equal(await page.$eval('#year', (n) => n.value), '1978');
  assert.deepEqual(await texts(page, '.result h2'), ['Model year 1978']);
  assert.deepEqual(await texts(page, 'pre.report'),
    [kordelDecode(['--year', '78', 'a8a855h100001']).trimEnd()]);
  await page.close();
});

async function downloadCsv(page) {
  const folder = mkdtempSync(path.join(tmpdir(), 'kordel-download-'));
  try {
    const session = await page.createCDPSession();
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
    await page.click('#csv-download');
    for (let tries = 0; tries < 100; tries += 1) {
      const done = readdirSync(folder).filter((name) => name.endsWith('.csv'));
      if (done.length) return readFileSync(path.join(folder, done[0]), 'utf8');
      await new Promise((resolve) => { setTimeout(resolve, 50); });
    }
    throw new Error('no CSV was downloaded');
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

test('a pasted list and a CSV file give the CSV of kordel-decode', async () => {
  const page = await openPage(chromium.browser, server.url);
  const list = [ONE_YEAR, AMBIGUOUS, REJECTED, CHECK_DIGIT, UNKNOWN, 'A0A857H12344', '  a0a857h123442 '];
  await page.focus('#vin');
  await page.evaluate((text) => {
    const data = new DataTransfer();
    data.setData('text/plain', text);
    document.getElementById('vin').dispatchEvent(
      new ClipboardEvent('paste', { clipboardData: data, bubbles: true, cancelable: true }));
  }, list.join('\r\n'));
  assert.equal(await page.$eval('#vin', (n) => n.value), '');
  assert.equal(await page.$eval('#list-summary', (n) => n.textContent),
    '7 VINs: 4 decoded, 1 rejected, 1 unknown, 1 of the wrong length.');
  assert.equal(await downloadCsv(page), kordelDecode(['--format', 'csv'], list.join('\n')));

  const csv = 'id,VIN,note\r\n1,A8A855H100001,"red, two ""door"""\r\n2,A0A857Q123442,\r\n';
  await page.$eval('#list-input', (n, text) => { n.value = text; }, csv);
  await page.click('#list-decode');
  assert.equal(await downloadCsv(page), kordelDecode(['--format', 'csv', '--column', 'VIN'], csv));
  await page.close();
});

test('axe-core finds no violation, on a phone and on a desktop', async () => {
  for (const width of [360, 1280]) {
    const page = await openPage(chromium.browser, server.url, width);
    await page.$eval('#list-input', (n, text) => { n.value = text; }, [AMBIGUOUS, REJECTED].join('\n'));
    await page.click('#list-decode');
    for (const vin of [AMBIGUOUS, REJECTED, CHECK_DIGIT]) {
      await typeVin(page, vin);
      await page.addScriptTag({ content: axeSource });
      const violations = await page.evaluate(async () => (await window.axe.run(document)).violations
        .map((v) => `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`));
      assert.deepEqual(violations, [], `at ${width} pixels with ${vin}`);
    }
    await typeVin(page, AMBIGUOUS);
    await page.screenshot({ path: path.join(shots, `page-${width}.png`), fullPage: true });
    await page.close();
  }
});

test('the module writes exactly the JSON of kordel-decode', async () => {
  const vins = [ONE_YEAR, AMBIGUOUS, REJECTED, CHECK_DIGIT, UNKNOWN, 'a8a855h100001',
    'A9A057C100001', 'A3F797ZK00021', 'A8S88PP700013', '1AMCQ3877BK100021', '1HGCM82633A123456',
    '1AMCA0507BK123456', 'A0A857H12344', 'A1A050H099999', 'A1A050H700000', 'Ä8A855H100001'];
  const page = await openPage(chromium.browser, server.url);
  for (const year of [0, 68, 1978, 1980]) {
    const args = ['--format', 'json', ...(year ? ['--year', String(year)] : [])];
    const expected = kordelDecode(args, vins.join('\n')).trimEnd().split('\n');
    const actual = await page.evaluate((list, y) => list.map((v) => window.kordel.decodeJson(v, y)), vins, year);
    assert.deepEqual(actual, expected, `with model year ${year}`);
  }
  await page.close();
});

test('a reload with the server stopped still decodes', async () => {
  const page = await openPage(chromium.browser, server.url);
  await page.evaluate(async () => {
    await navigator.serviceWorker.ready;
    if (!navigator.serviceWorker.controller) {
      await new Promise((resolve) => { navigator.serviceWorker.addEventListener('controllerchange', resolve); });
    }
  });
  await stopServer(server);
  await page.reload();
  await page.waitForSelector('html[data-ready="true"]');
  await typeVin(page, ONE_YEAR);
  assert.deepEqual(await texts(page, 'pre.report'), [kordelDecode([ONE_YEAR]).trimEnd()]);
  await page.close();
});
