// The page in headless Chromium, served from build/web/, checked against the
// command-line decoder built from the same code.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import {
  mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, statSync, utimesSync, writeFileSync,
} from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';
import { launchBrowser, openPage, root, site, startServer, stopServer } from './browser.mjs';

const Papa = createRequire(import.meta.url)('papaparse');

const decoder = process.env.KORDEL_DECODE ?? path.join(root, 'build/release/bin/kordel-decode');
const shots = path.join(root, 'build/web-screenshots');
const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

const ONE_YEAR = 'A0A857H123442';      // the VIN settles its own model year
const AMBIGUOUS = 'A8A855H100001';     // 1968 or 1978
const REJECTED = 'A0A857Q123442';      // no such engine code at position 7
const CHECK_DIGIT = '1AMCM3877BK100021';  // holds 7 where the rule computes 5
const UNKNOWN = 'A1AX50H100001';       // codes that name no model line

// kordel-decode's output: text, or bytes for bytes in.
function kordelDecode(args, input) {
  const run = spawnSync(decoder, args,
    { input, encoding: Buffer.isBuffer(input) ? 'buffer' : 'utf8', maxBuffer: 1 << 28 });
  // 3: every VIN got a report, but one is incomplete or has a warning.
  assert.ok([0, 1, 3].includes(run.status), `kordel-decode ${args.join(' ')}: ${run.stderr}`);
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

// The list is decoded in a worker: its summary is written when it is done.
async function listSummary(page) {
  await page.waitForFunction(() => document.getElementById('list-summary').textContent !== '');
  return page.$eval('#list-summary', (n) => n.textContent);
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

test('a 17-character VIN typed key by key shows no rejection before its 17th character', async () => {
  const page = await openPage(chromium.browser, server.url, 360);
  await page.focus('#vin');
  for (const [index, key] of [...CHECK_DIGIT].entries()) {
    await page.keyboard.type(key);
    const shown = await page.evaluate(() => ({
      cards: document.querySelectorAll('#results > *').length,
      status: document.getElementById('status').textContent,
    }));
    if (index < 16) assert.deepEqual(shown, { cards: 0, status: '' }, `after ${index + 1} characters`);
  }
  assert.equal((await page.$$('pre.report')).length, 1);
  // Enter decodes what there is, whole or not.
  await typeVin(page, CHECK_DIGIT.slice(0, 13));
  assert.equal((await page.$$('#results > *')).length, 0);
  await page.keyboard.press('Enter');
  assert.ok((await page.$$('#results .result.rejected')).length > 0);
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

test('a suggestion pressed decodes its VIN and updates the address; a box reads by keyboard', async () => {
  const page = await openPage(chromium.browser, server.url);
  await typeVin(page, REJECTED);
  const offered = JSON.parse(kordelDecode(['--format', 'json', '--suggest', REJECTED])).suggestions;
  assert.equal(offered.length, 5);
  assert.deepEqual(await page.$$eval('.suggestions button.suggestion', (nodes) => nodes.map((n) => n.dataset.vin)),
    offered.map((s) => s.vin));
  assert.match(await page.$eval('#status', (n) => n.textContent), /5 suggestions below\.$/);
  await page.focus('.suggestions button.suggestion');
  await page.keyboard.press('Enter');
  assert.equal(await page.$eval('#vin', (n) => n.value), offered[0].vin);
  assert.deepEqual(await texts(page, 'pre.report'), [kordelDecode([offered[0].vin]).trimEnd()]);
  await page.waitForFunction((vin) => new URLSearchParams(location.search).get('vin') === vin, {}, offered[0].vin);

  // A wrong check digit: the suggestions come right under its warning.
  await typeVin(page, CHECK_DIGIT);
  assert.deepEqual(await page.$$eval('#results > *', (nodes) => nodes.map((n) => n.className)),
    ['message warning', 'suggestions', 'result decoded']);
  // The report's boxes: one Tab stop, the arrows move, each tells what it says.
  await page.focus('.position-box');
  for (let i = 0; i < 9; ++i) await page.keyboard.press('ArrowRight');
  const box = await page.evaluate(() => ({
    name: document.activeElement.textContent,
    description: document.getElementById(document.activeElement.getAttribute('aria-describedby')).textContent,
    shown: document.querySelector('.position-text').textContent,
  }));
  assert.deepEqual(box, {
    name: 'B Model year, position 10', description: 'Model year: 1981.',
    shown: 'Position 10, B: Model year: 1981.',
  });
  await page.screenshot({ path: path.join(shots, 'suggestions-1280.png'), fullPage: true });
  await page.close();
});

test('an unreadable character typed as "?" is filled in; an incomplete VIN is said so', async () => {
  const page = await openPage(chromium.browser, server.url);
  for (const vin of ['A8A855?100001', 'A0A8S7H123442']) {
    await typeVin(page, vin);
    const record = JSON.parse(kordelDecode(['--format', 'json', '--suggest', vin]));
    const offered = await page.$$eval('.suggestions button.suggestion', (nodes) => nodes.map((n) => n.dataset.vin));
    assert.deepEqual(offered, record.suggestions.map((s) => s.vin), vin);
    if (vin.includes('?')) {
      // Every suggestion is the VIN with its "?" filled, each one decoding cleanly.
      assert.ok(offered.length > 1 && offered.every((v) => /^A8A855[A-Z0-9]100001$/.test(v)), offered.join(' '));
      assert.deepEqual(record.suggestions.map((s) => s.edit), offered.map(() => 'filled'));
      assert.match(await page.$eval('#status', (n) => n.textContent), new RegExp(`${offered.length} suggestions below\\.$`));
    } else {
      assert.deepEqual(record.results.map((r) => r.status), ['incomplete']);
      assert.match(await page.$eval('#status', (n) => n.textContent),
        new RegExp(`^Not decoded cleanly: 1970 AMC Ambassador; body not found\\. ${offered.length} suggestions below\\.$`));
      assert.deepEqual(await texts(page, '.result h2'), ['Incomplete report']);
      assert.deepEqual(await texts(page, 'pre.report'), [kordelDecode([vin]).trimEnd()]);
    }
  }
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

// The bytes of the CSV download, as text unless asked for bytes.
async function downloadCsv(page, asBytes = false) {
  const folder = mkdtempSync(path.join(tmpdir(), 'kordel-download-'));
  try {
    const session = await page.createCDPSession();
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
    await page.click('#csv-download');
    // Up to 30 s: a loaded machine may take seconds to write a large list.
    for (let tries = 0; tries < 600; tries += 1) {
      const done = readdirSync(folder).filter((name) => name.endsWith('.csv'));
      if (done.length) return readFileSync(path.join(folder, done[0]), asBytes ? null : 'utf8');
      await new Promise((resolve) => { setTimeout(resolve, 50); });
    }
    throw new Error('no CSV was downloaded');
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
}

test('a pasted list and a CSV file give the CSV of kordel-decode', async () => {
  const page = await openPage(chromium.browser, server.url);
  const list = [ONE_YEAR, AMBIGUOUS, REJECTED, CHECK_DIGIT, UNKNOWN, 'A0A857H12344', '  a0a857h123442 ',
    'A'.repeat(1500)];
  await page.focus('#vin');
  await page.evaluate((text) => {
    const data = new DataTransfer();
    data.setData('text/plain', text);
    document.getElementById('vin').dispatchEvent(
      new ClipboardEvent('paste', { clipboardData: data, bubbles: true, cancelable: true }));
  }, list.join('\r\n'));
  assert.equal(await page.$eval('#vin', (n) => n.value), '');
  assert.equal(await listSummary(page), '8 VINs: 4 decoded, 1 rejected, 1 unknown, 2 of the wrong length.');
  assert.equal(await downloadCsv(page), kordelDecode(['--format', 'csv', '--suggest'], list.join('\n')));
  // Every row names its model year, settled or candidate; a failed VIN says why beneath.
  const years = await page.$$eval('#list-table tr:not(.message-row)', (rows) => rows
    .filter((r) => r.closest('tbody') && !r.classList.contains('error')).map((r) => r.cells[1].textContent));
  assert.deepEqual(years, ['1970', '1968', '1978', '', '1981', '', '1970']);
  assert.deepEqual(await texts(page, '#list-table .message-row.error'),
    ['13 or 17 Characters only.', '13 or 17 Characters only. (the line holds more than 1024 bytes)']);
  // A new model year decodes the list again.
  await page.select('#year', '1978');
  assert.match(await listSummary(page), /^8 VINs: 4 decoded/);
  assert.equal(await downloadCsv(page), kordelDecode(['--format', 'csv', '--suggest', '--year', '1978'], list.join('\n')));
  await page.select('#year', '');

  const csv = 'id,VIN,note\r\n1,A8A855H100001,"red, two ""door"""\r\n2,A0A857Q123442,\r\n 3 , A0A857H123442 , x y \r\n';
  await page.$eval('#list-input', (n, text) => { n.value = text; }, csv);
  await page.click('#list-decode');
  assert.match(await listSummary(page), /^3 VINs: 2 decoded, 1 rejected\. Read as CSV separated by commas; VINs from the column "VIN"\.$/);
  assert.equal(await downloadCsv(page), kordelDecode(['--format', 'csv', '--suggest', '--column', 'VIN'], csv));
  await page.close();
});

test('axe-core finds no violation, on a phone and on a desktop', async () => {
  for (const width of [360, 1280]) {
    const page = await openPage(chromium.browser, server.url, width);
    await page.$eval('#list-input', (n, text) => { n.value = text; }, [AMBIGUOUS, REJECTED].join('\n'));
    await page.click('#list-decode');
    await listSummary(page);
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

test('the module answers with exactly the JSON of kordel-decode and the check-digit warning', async () => {
  const vins = [ONE_YEAR, AMBIGUOUS, REJECTED, CHECK_DIGIT, UNKNOWN, 'a8a855h100001',
    'A9A057C100001', 'A3F797ZK00021', 'A8S88PP700013', '1AMCQ3877BK100021', '1HGCM82633A123456',
    '1AMCA0507BK123456', 'A0A857H12344', 'A1A050H099999', 'A1A050H700000', 'Ä8A855H100001'];
  const page = await openPage(chromium.browser, server.url);
  for (const year of [0, 68, 1978, 1980]) {
    const args = ['--format', 'json', '--suggest', '--explain', ...(year ? ['--year', String(year)] : [])];
    const expected = kordelDecode(args, vins.join('\n')).trimEnd().split('\n');
    const answers = await page.evaluate((list, y) => list.map((v) => window.kordel.decode(v, y)), vins, year);
    // The record stands last in the answer, as the module wrote it.
    const records = answers.map((text) => text.slice(text.indexOf('"record":') + 9, -1));
    assert.deepEqual(records, expected, `with model year ${year}`);
    // The warning as kordel-decode prints it beside the report.
    const text = spawnSync(decoder, year ? ['--year', String(year)] : [],
      { input: vins.join('\n'), encoding: 'utf8' }).stderr;
    const printed = [...text.matchAll(/^(.*): warning: (check digit .*)$/gm)].map((m) => [m[1], m[2]]);
    const warnings = answers.map((a, i) => [vins[i], JSON.parse(a).check_digit_warning]);
    assert.deepEqual(warnings.filter(([, w]) => w), printed, `with model year ${year}`);
    // And the words it gives a VIN whose codes name nothing.
    const unknown = new Map([...text.matchAll(/^([^,:\n]*)(?:, model year \d+)?: (the codes name [^\n]*)$/gm)]
      .map((m) => [m[1], m[2]]));
    const told = answers.map((a, i) => [vins[i], JSON.parse(a).unknown_message]).filter(([, m]) => m);
    assert.deepEqual(told, [...unknown], `with model year ${year}`);
  }
  await page.close();
});

test('cells that start a formula get an apostrophe, unless kept exactly as read', async () => {
  const page = await openPage(chromium.browser, server.url);
  const csv = 'id\tVIN\tnote\r\n1\tA8A855H100001\t=1+2\r\n2\tA0A857Q123442\t@SUM(A1)\r\n3\tA0A857H123442\t-7\r\n';
  const decode = async (raw) => {
    if (await page.$eval('#csv-raw', (n) => n.checked) !== raw) await page.click('#csv-raw');
    await page.$eval('#list-input', (n, text) => { n.value = text; }, csv);
    await page.click('#list-decode');
    assert.match(await listSummary(page), /^3 VINs: 2 decoded, 1 rejected\. Read as CSV separated by tabs/);
    return downloadCsv(page);
  };
  const neutralised = await decode(false);
  assert.ok(neutralised.includes("\t'=1+2\t") && neutralised.includes("\t-7\t"));
  assert.equal(neutralised, kordelDecode(['--format', 'csv', '--suggest', '--column', 'VIN'], csv));
  assert.equal(await decode(true), kordelDecode(['--format', 'csv', '--suggest', '--column', 'VIN', '--csv-raw'], csv));
  await page.close();
});

test('registrars\' files: semicolons, a "VIN number" header, Windows-1252 names', async () => {
  const page = await openPage(chromium.browser, server.url);
  const folder = mkdtempSync(path.join(tmpdir(), 'kordel-files-'));
  try {
    const rows = [['Owner', 'VIN number', 'Note'], ['Müller', AMBIGUOUS, 'grün'],
      ['Åström', REJECTED, ''], ['Zoë "Z" Brandt', CHECK_DIGIT, 'rot']];
    // The same rows with commas, which kordel-decode reads, for the expected CSV.
    const commas = rows.map((r) => r.map((c) => (c.includes('"') ? `"${c.replaceAll('"', '""')}"` : c)).join(','))
      .join('\r\n');
    const semicolons = commas.replaceAll(',', ';');
    // kordel-decode reads the semicolons itself where it can; else the expected
    // CSV is its answer for the commas, rewritten with semicolons by Papa Parse.
    const sniffs = spawnSync(decoder, ['--help'], { encoding: 'utf8' }).stdout.includes('--delimiter');
    const expected = (encoding, withCommas = commas) => {
      if (sniffs) {
        const text = withCommas.replaceAll(',', ';');
        return kordelDecode(['--format', 'csv', '--suggest', '--column', 'VIN number'],
          encoding === 'bom' ? Buffer.from(`\ufeff${text}`) : Buffer.from(text, encoding));
      }
      const csv = kordelDecode(['--format', 'csv', '--suggest', '--column', 'VIN number'], withCommas);
      const rewritten = Papa.unparse(Papa.parse(csv, { skipEmptyLines: true }).data,
        { delimiter: ';', newline: '\r\n' });
      return Buffer.concat([Buffer.from(encoding === 'bom' ? '\ufeff' : ''),
        Buffer.from(`${rewritten}\r\n`, encoding === 'bom' ? 'utf8' : encoding)]);
    };
    for (const [name, encoding] of [['utf8.csv', 'utf8'], ['cp1252.csv', 'latin1'], ['bom.csv', 'bom']]) {
      // Windows-1252 and Latin-1 agree on every character here.
      const bytes = encoding === 'bom' ? Buffer.from(`\ufeff${semicolons}`) : Buffer.from(semicolons, encoding);
      writeFileSync(path.join(folder, name), bytes);
      const input = await page.$('#list-file');
      await input.uploadFile(path.join(folder, name));
      const told = await listSummary(page);
      assert.match(told, /^3 VINs: 2 decoded, 1 rejected\. Read as CSV separated by semicolons; VINs from the column "VIN number"\./);
      assert.equal(told.includes('read as Windows-1252'), encoding === 'latin1');
      assert.deepEqual(await downloadCsv(page, true), expected(encoding), name);
      assert.equal(await page.$eval('#csv-download', (n) => n.download), name.replace('.csv', '-decoded.csv'));
    }
    // A file larger than the pieces it is read in, a two-byte character at
    // many a piece's edge.
    const many = [commas.split('\r\n')[0], ...Array.from({ length: 40000 },
      (_, i) => `Müller ${i};${[AMBIGUOUS, REJECTED][i % 2]};grün`.replaceAll(';', ','))].join('\r\n');
    writeFileSync(path.join(folder, 'many.csv'), many.replaceAll(',', ';'));
    await (await page.$('#list-file')).uploadFile(path.join(folder, 'many.csv'));
    assert.match(await listSummary(page), /^40000 VINs: 20000 decoded, 20000 rejected\. Read as CSV separated by semicolons/);
    assert.ok((await downloadCsv(page, true)).equals(expected('utf8', many)), 'many.csv');
    // Commas and semicolons split every line alike: the header decides.
    const tie = 'Note,x;VIN number\r\ny,z;A8A855H100001\r\n';
    await page.$eval('#list-input', (n, text) => { n.value = text; }, tie);
    await page.click('#list-decode');
    assert.match(await listSummary(page), /separated by semicolons; VINs from the column "VIN number"/);
    // Files that are no list: nothing to download, and the page says why.
    writeFileSync(path.join(folder, 'photo.csv'), Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0, 0, 0, 13]));
    writeFileSync(path.join(folder, 'empty.csv'), '');
    for (const [name, told] of [['photo.csv', '"photo.csv" is not a text file.'], ['empty.csv', '"empty.csv" is empty: it holds no VINs.']]) {
      await (await page.$('#list-file')).uploadFile(path.join(folder, name));
      assert.match(await listSummary(page), new RegExp(`^${told.replace(/[.()]/g, '\\$&')}`));
      assert.equal(await page.$eval('#csv-download', (n) => n.hidden), true);
    }
    // No header names the VINs: their column is found by its values, and without
    // any column of VINs the page says so.
    await page.$eval('#list-input', (n, text) => { n.value = text; }, `id\tChassis\r\n7\t${ONE_YEAR}\r\n8\t${AMBIGUOUS}`);
    await page.click('#list-decode');
    assert.match(await listSummary(page), /^2 VINs: 2 decoded\. Read as CSV separated by tabs; VINs from the column "Chassis"\./);
    await page.$eval('#list-input', (n) => { n.value = 'name,town\r\nMüller,Kenosha\r\n'; });
    await page.click('#list-decode');
    assert.match(await listSummary(page), /^No column of VINs found/);
    assert.equal(await page.$eval('#csv-download', (n) => n.hidden), true);
  } finally {
    rmSync(folder, { recursive: true, force: true });
    await page.close();
  }
});

test('100,000 VINs decode in the background, with progress, while the page answers', async () => {
  const page = await openPage(chromium.browser, server.url);
  const vins = [ONE_YEAR, AMBIGUOUS, REJECTED, CHECK_DIGIT];
  const list = Array.from({ length: 100000 }, (_, i) => vins[i % 4]).join('\n');
  const start = async () => {
    await page.$eval('#list-input', (n, text) => { n.value = text; }, list);
    await page.click('#list-decode');
    await page.waitForFunction(() => document.getElementById('list-progress-bar').value > 0);
  };
  // Before the worker reports, the bar says so in words.
  await page.$eval('#list-input', (n, text) => { n.value = text; }, list);
  assert.equal(await page.evaluate(() => {
    document.getElementById('list-decode').click();
    return document.getElementById('list-progress-bar').getAttribute('aria-valuetext');
  }), 'Starting');
  await page.waitForFunction(() => document.getElementById('list-progress-bar').value > 0);
  await page.click('#list-cancel');
  assert.equal(await listSummary(page), 'Decoding the list was cancelled.');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'list-decode');
  assert.equal(await page.$eval('#list-progress', (n) => n.hidden), true);

  // Typing goes on while the list is decoded: the report is there before the list
  // is. All but the VIN's last key go in first, so the one key that decodes comes
  // while the list is surely still in progress.
  await typeVin(page, ONE_YEAR.slice(0, -1));
  await start();
  await page.type('#vin', ONE_YEAR.slice(-1));
  const during = await (await page.waitForFunction(() => document.querySelector('pre.report') && {
    progress: !document.getElementById('list-progress').hidden,
    summary: document.getElementById('list-summary').textContent,
  })).jsonValue();
  assert.deepEqual(during, { progress: true, summary: '' });
  assert.deepEqual(await texts(page, 'pre.report'), [kordelDecode([ONE_YEAR]).trimEnd()]);
  assert.equal(await listSummary(page), '100000 VINs: 75000 decoded, 25000 rejected. ' +
    'The table shows the first 250; the CSV holds all.');
  await page.waitForFunction(() => document.querySelectorAll('#list-table tbody tr:not(.message-row)').length === 313);
  const csv = await downloadCsv(page);
  assert.equal(csv, kordelDecode(['--format', 'csv', '--suggest'], list));
  await page.close();
});

test('a new build reaches the page, even where the server sends no Cache-Control', async () => {
  // A copy of the build whose files carry dates a month old, which a browser may
  // keep for days without asking the server again; then a new build in its place.
  const folder = mkdtempSync(path.join(tmpdir(), 'kordel-site-'));
  const monthAgo = new Date(Date.now() - 30 * 24 * 3600 * 1000);
  const copy = (edit = (name, text) => text) => {
    for (const name of readdirSync(site)) {
      const file = path.join(folder, name);
      const bytes = readFileSync(path.join(site, name));
      const edited = edit(name, bytes.toString('utf8'));
      writeFileSync(file, edited === bytes.toString('utf8') ? bytes : edited);
    }
  };
  copy();
  for (const name of readdirSync(folder)) utimesSync(path.join(folder, name), monthAgo, monthAgo);
  const oldSite = await startServer(folder);
  const context = await chromium.browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.goto(oldSite.url);
    await page.waitForSelector('html[data-ready="true"]');
    await page.evaluate(async () => {
      await navigator.serviceWorker.ready;
      if (!navigator.serviceWorker.controller) {
        await new Promise((resolve) => { navigator.serviceWorker.addEventListener('controllerchange', resolve); });
      }
    });
    // The new build: another heading, and the service worker of another version.
    copy((name, text) => (name === 'index.html' ? text.replace('<h1>Kordel VIN decoder</h1>', '<h1>Kordel VIN decoder, new</h1>')
      : name === 'sw.js' ? text.replace(/kordel-[0-9a-f]+/, '$&0') : text));
    await page.reload();
    await page.waitForSelector('#update:not([hidden])');
    assert.equal(await page.$eval('h1', (n) => n.textContent), 'Kordel VIN decoder');
    // With a decoded list on the page, Reload asks first; declined, the list stays.
    await page.$eval('#list-input', (n, text) => { n.value = text; }, AMBIGUOUS);
    await page.click('#list-decode');
    await listSummary(page);
    const asked = [];
    const answer = async (dialog) => { asked.push(dialog.message()); await dialog.dismiss(); };
    page.on('dialog', answer);
    await page.click('#update-reload');
    page.off('dialog', answer);
    assert.deepEqual(asked, ['Reloading throws away the decoded list on this page. Reload now?']);
    assert.match(await listSummary(page), /^1 VIN: /);
    page.once('dialog', (dialog) => dialog.accept());
    await Promise.all([page.waitForNavigation(), page.click('#update-reload')]);
    await page.waitForSelector('html[data-ready="true"]');
    assert.equal(await page.$eval('h1', (n) => n.textContent), 'Kordel VIN decoder, new');
    assert.equal(await page.$eval('#update', (n) => n.hidden), true);
  } finally {
    await context.close();
    await stopServer(oldSite);
    rmSync(folder, { recursive: true, force: true });
  }
});

// Every state the list shows, from the moment it is watched: the summary, the
// download's presence and the first VIN of the table.
async function watchList(page) {
  await page.evaluate(() => {
    window.listStates = [];
    const note = () => window.listStates.push({
      summary: document.getElementById('list-summary').textContent,
      csv: !document.getElementById('csv-download').hidden,
      first: document.querySelector('#list-table tbody td')?.textContent ?? null,
    });
    new MutationObserver(note).observe(document.getElementById('list'),
      { subtree: true, childList: true, characterData: true, attributes: true, attributeFilter: ['hidden'] });
  });
}

test('a second list or a new model year ends the running list, and nothing of it is shown', async () => {
  const page = await openPage(chromium.browser, server.url);
  // Long enough to be still running when the second comes, on a fast machine too.
  const first = Array.from({ length: 200000 }, (_, i) => [AMBIGUOUS, REJECTED][i % 2]).join('\n');
  const second = Array.from({ length: 60000 }, () => ONE_YEAR).join('\n');
  const started = () => page.waitForFunction(() => document.getElementById('list-progress-bar').value > 0);
  await watchList(page);
  await page.$eval('#list-input', (n, text) => { n.value = text; }, first);
  await page.click('#list-decode');
  await started();
  // Pasted: it goes to the list at once, without the box's layout.
  await page.evaluate((text) => {
    const data = new DataTransfer();
    data.setData('text/plain', text);
    document.getElementById('list-input').dispatchEvent(
      new ClipboardEvent('paste', { clipboardData: data, bubbles: true, cancelable: true }));
  }, second);
  await page.waitForFunction(() => /^60000 VINs/.test(document.getElementById('list-summary').textContent));
  await page.waitForFunction(() => document.querySelectorAll('#list-table tbody tr').length === 250);
  let states = await page.evaluate(() => window.listStates);
  assert.deepEqual(states.filter((s) => s.summary !== '' && !s.summary.startsWith('60000 VINs')), []);
  assert.deepEqual([...new Set(states.map((s) => s.first))].filter((f) => f !== null), [ONE_YEAR]);
  assert.equal(await downloadCsv(page), kordelDecode(['--format', 'csv', '--suggest'], second));

  // The year changed midway: only the list of 1978 is ever offered.
  await page.$eval('#list-input', (n, text) => { n.value = text; }, first);
  await page.click('#list-decode');
  await started();
  await watchList(page);
  await page.select('#year', '1978');
  await page.waitForFunction(() => /^200000 VINs/.test(document.getElementById('list-summary').textContent));
  states = await page.evaluate(() => window.listStates);
  const offered = states.filter((s) => s.csv);
  assert.ok(offered.length > 0);
  assert.ok(offered.every((s) => s.summary === offered[0].summary), 'one list offered');
  assert.equal(await downloadCsv(page), kordelDecode(['--format', 'csv', '--suggest', '--year', '1978'], first));
  await page.close();
});

test('a pasted list of 100,000 lines goes to the list without filling the box', async () => {
  const page = await openPage(chromium.browser, server.url);
  const list = Array.from({ length: 100000 }, (_, i) => [ONE_YEAR, AMBIGUOUS][i % 2]).join('\n');
  for (const target of ['#vin', '#list-input']) {
    await page.focus(target);
    await page.evaluate((text, id) => {
      const data = new DataTransfer();
      data.setData('text/plain', text);
      document.querySelector(id).dispatchEvent(
        new ClipboardEvent('paste', { clipboardData: data, bubbles: true, cancelable: true }));
    }, list, target);
    assert.equal(await page.$eval('#list-input', (n) => n.value), '');
    assert.equal(await page.$eval('#list-source', (n) => n.textContent), 'Pasted: a list of 100,000 lines.');
    await page.waitForFunction(() => /^100000 VINs: 100000 decoded/.test(document.getElementById('list-summary').textContent));
  }
  // Typing in the box again: the note goes.
  await page.type('#list-input', AMBIGUOUS);
  assert.equal(await page.$eval('#list-source', (n) => n.hidden), true);
  await page.close();
});

test('an incomplete result or a status the page does not know is never called decoded', async () => {
  const page = await openPage(chromium.browser, server.url);
  const answer = JSON.parse(await page.evaluate((vin) => window.kordel.decode(vin), ONE_YEAR));
  for (const [status, told] of [
    ['incomplete', /^Not decoded cleanly: 1970 AMC Ambassador; body not found\.$/],
    ['pending', /^Not decoded\.$/]]) {
    const record = structuredClone(answer.record);
    Object.assign(record.results[0], { status, missing_fields: status === 'incomplete' ? ['body'] : [] });
    await page.evaluate(async (shown) => {
      (await import('./report-view.js')).show(shown, () => {});
    }, { ...answer, record });
    assert.match(await page.$eval('#status', (n) => n.textContent), told);
    assert.equal((await texts(page, '.result h2'))[0], status === 'incomplete' ? 'Incomplete report' : 'Not decoded');
    const labels = await page.evaluate(async (r) => {
      const { statusWord } = await import('./labels.js');
      return r.results.map((x) => statusWord(x.status));
    }, record);
    assert.deepEqual(labels, [status === 'incomplete' ? 'incomplete' : 'not decoded']);
  }
  await page.close();
});

test('a first visit fetches each file of the page once', async () => {
  const fresh = await startServer();
  const context = await chromium.browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.goto(fresh.url);
    await page.waitForSelector('html[data-ready="true"]');
    await page.evaluate(async () => {
      await navigator.serviceWorker.ready;
      if (!navigator.serviceWorker.controller) {
        await new Promise((resolve) => { navigator.serviceWorker.addEventListener('controllerchange', resolve); });
      }
    });
    const size = (p) => statSync(path.join(site, p === '/' ? 'index.html' : p.slice(1))).size;
    const sent = fresh.requests.filter((r) => r.status === 200).reduce((sum, r) => sum + size(r.path), 0);
    const own = readdirSync(site).reduce((sum, name) => sum + statSync(path.join(site, name)).size, 0);
    assert.ok(sent <= 1.3 * own, `${sent} bytes sent for a page of ${own}: ${JSON.stringify(fresh.requests)}`);
  } finally {
    await context.close();
    await stopServer(fresh);
  }
});

test('pasting into the VIN box inserts at the cursor, without blanks or dashes', async () => {
  const page = await openPage(chromium.browser, server.url);
  await chromium.browser.defaultBrowserContext().overridePermissions(server.url,
    ['clipboard-read', 'clipboard-write', 'clipboard-sanitized-write']);
  const paste = async (text) => {
    await page.evaluate((t) => navigator.clipboard.writeText(t), text);
    await page.keyboard.down('Control');
    await page.keyboard.press('KeyV', { commands: ['Paste'] });
    await page.keyboard.up('Control');
  };
  const value = () => page.$eval('#vin', (n) => n.value);
  await typeVin(page, 'A8A855H');
  await paste('100001');
  assert.equal(await value(), AMBIGUOUS);
  assert.equal((await page.$$('pre.report')).length, 2);

  await typeVin(page, 'A8A100001');
  await page.$eval('#vin', (n) => n.setSelectionRange(3, 3));
  await paste('855H');
  assert.equal(await value(), AMBIGUOUS);

  await typeVin(page, '');
  await paste(' A8A855H 100001');
  assert.equal(await value(), AMBIGUOUS);
  assert.equal((await page.$$('pre.report')).length, 2);
  await typeVin(page, '');
  await paste('1AMCM38-77BK100021');
  assert.equal(await value(), CHECK_DIGIT);
  // Typed from a tag, blanks and dashes go as they are typed.
  await typeVin(page, 'A8A 855H-100001');
  assert.equal(await value(), AMBIGUOUS);
  assert.equal((await page.$$('pre.report')).length, 2);
  await page.close();
});

test('every control is a tap target of at least 44 by 44 pixels on a phone', async () => {
  const page = await openPage(chromium.browser, server.url, 360);
  await typeVin(page, AMBIGUOUS);
  await page.$eval('#list-input', (n, text) => { n.value = text; }, AMBIGUOUS);
  await page.click('#list-decode');
  await listSummary(page);
  const small = await page.$$eval('button, select, input, textarea, a[href], .file-button', (nodes) => nodes
    .filter((n) => n.getClientRects().length > 0)
    .map((n) => ({ n, box: n.getBoundingClientRect() }))
    .filter(({ box }) => box.width < 44 || box.height < 44)
    .map(({ n, box }) => `${n.id || n.className || n.tagName}: ${box.width}x${box.height}`));
  assert.deepEqual(small, []);
  await page.close();
});

// Last: it stops the server.
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
  // Lists too: the worker, the module and the CSV reader come from the cache.
  await page.$eval('#list-input', (n, text) => { n.value = text; }, `VIN;owner\r\n${AMBIGUOUS};x`);
  await page.click('#list-decode');
  assert.match(await listSummary(page), /^1 VIN: 1 decoded\./);
  await page.close();
});
