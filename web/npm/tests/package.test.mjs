// The npm package as a user gets it: installed from its .tgz into a temporary
// folder and imported by name, its records checked against kordel-decode; and
// bundled for a browser by esbuild and run in headless Chromium.
// KORDEL_NPM_TGZ names the .tgz, KORDEL_DECODE the kordel-decode to compare with.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { copyFileSync, mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import * as esbuild from 'esbuild';
import { launchBrowser, openPage, startServer, stopServer } from '../../tests/browser.mjs';

const tgz = process.env.KORDEL_NPM_TGZ;
const decoder = process.env.KORDEL_DECODE;

const VINS = [
  'A0A857H123442',  // settles its own model year
  'A8A855H100001',  // 1968 or 1978
  'A0A455H100001',  // 1970 or 1980
  'a8a855h100001',  // lower case
  '  A8A855H100001\r',  // blanks and a CR at the ends are ignored
  'A0A857Q123442',  // rejected: no such engine code
  'A1F031BQ00011',  // rejected at the plant
  'A1A365C100001',  // a message the decoder writes to standard output
  'A9X855H100001',  // a warning, then decoded
  'A3A350A100001',  // names no model line
  'A1A050H700000',  // production number 0
  'A0A857H12344',  // 12 characters
  '1AMCM3877BK100021',  // check digit 7 where the rule computes 5
  '1AMCW385ODK100001',  // a letter O at the check digit
  '1AMCQ3877BK100021',  // rejected body
  '1HGCM82633A123456',  // another maker's VIN
  '1AMCM3877BK1000211',  // 18 characters
  'Ä8A855H100001',  // non-ASCII, 13 characters
  '1AMCM3877BK10002€',  // non-ASCII, 17 characters
  'A8A855H1000\u4e2d\u{1f697}',  // characters of three and four UTF-8 bytes
  'A8A855H10000\ud800',  // a lone surrogate: U+FFFD, as Buffer and TextEncoder write it
  'A'.repeat(1024),  // as long as kordel-decode reads a line
];

function kordelDecode(vins, year, more = []) {
  const args = ['--format', 'json', ...(year ? ['--year', String(year)] : []), ...more];
  const run = spawnSync(decoder, args, { input: Buffer.from(vins.map((v) => `${v}\n`).join('')) });
  assert.ok(run.status === 0 || run.status === 1, `kordel-decode: ${run.stderr}`);
  return run.stdout.toString('utf8').trimEnd().split('\n').map((line) => JSON.parse(line));
}

let folder;
let kordel;

before(async () => {
  assert.ok(tgz && decoder, 'KORDEL_NPM_TGZ and KORDEL_DECODE name the package and kordel-decode');
  folder = mkdtempSync(path.join(tmpdir(), 'kordel-npm-'));
  writeFileSync(path.join(folder, 'package.json'), '{"private": true, "type": "module"}\n');
  const npm = spawnSync('npm', ['install', '--offline', '--no-audit', '--no-fund', '--cache',
    path.join(folder, '.npm'), path.resolve(tgz)], { cwd: folder, encoding: 'utf8' });
  assert.equal(npm.status, 0, npm.stderr);
  // Imported by name from inside the folder, as the package's exports resolve it.
  writeFileSync(path.join(folder, 'use.js'), "export * from 'kordel';\n");
  kordel = await import(pathToFileURL(path.join(folder, 'use.js')));
});

after(() => {
  if (folder) rmSync(folder, { recursive: true, force: true });
});

test('records equal kordel-decode, for every year option', () => {
  for (const year of [undefined, 68, 78, 1980]) {
    const expected = kordelDecode(VINS, year);
    assert.equal(expected.length, VINS.length);
    assert.deepEqual(VINS.map((vin) => kordel.decode(vin, { year })), expected, `year ${year}`);
  }
  assert.deepEqual(kordel.decode(VINS[1]), kordel.decode(VINS[1], { year: null }));
});

test('suggest and explain add what kordel-decode --suggest --explain adds', () => {
  const vins = VINS.slice(0, 16);
  assert.deepEqual(vins.map((vin) => kordel.decode(vin, { suggest: true, explain: true })),
    kordelDecode(vins, undefined, ['--suggest', '--explain']));
  assert.deepEqual(vins.map((vin) => kordel.decode(vin, { year: 1978, suggest: true })),
    kordelDecode(vins, 1978, ['--suggest']));
});

test('bad input throws, and decoding goes on after it', () => {
  const cases = [
    [() => kordel.decode(undefined), TypeError, /vin must be a string, not undefined/],
    [() => kordel.decode(['A8A855H100001']), TypeError, /not an array/],
    [() => kordel.decode('A8A855H\u0000100001'), RangeError, /NUL character \(at index 7\)/],
    [() => kordel.decode('A'.repeat(10_000_000)), RangeError, /too long \(10000000 /],
    [() => kordel.decode('é'.repeat(600)), RangeError, /no more than 1024 bytes/],
    [() => kordel.decode('A'.repeat(1025)), RangeError, /too long/],
    [() => kordel.decode('A8A855H100001', { year: '78' }), TypeError, /year must be an integer/],
    [() => kordel.decode('A8A855H100001', { year: 78.5 }), TypeError, /year must be an integer/],
    [() => kordel.decode('A8A855H100001', { year: 1967 }), RangeError, /not 1967/],
    [() => kordel.decode('A8A855H100001', { year: 81 }), RangeError, /68-80 or 1968-1980/],
  ];
  for (const [call, type, message] of cases) assert.throws(call, { name: type.name, message });
  assert.equal(kordel.decode('A0A857H123442').results[0].status, 'decoded');
});

test('bundled for a browser (esbuild), decode answers in Chromium as in Node', async () => {
  // What a page of a user's own does: import by name, bundle, serve.
  const site = path.join(folder, 'site');
  mkdirSync(site);
  writeFileSync(path.join(folder, 'page.js'), "import { decode } from 'kordel';\n" +
    'window.decode = decode;\ndocument.documentElement.dataset.ready = "true";\n');
  await esbuild.build({ entryPoints: [path.join(folder, 'page.js')], bundle: true, format: 'esm',
    platform: 'browser', outfile: path.join(site, 'page.js'), logLevel: 'silent' });
  // esbuild leaves new URL('./kordel.wasm', import.meta.url) to the page's folder.
  copyFileSync(path.join(folder, 'node_modules/kordel/kordel.wasm'), path.join(site, 'kordel.wasm'));
  writeFileSync(path.join(site, 'index.html'),
    '<!doctype html><title>kordel</title><script type="module" src="page.js"></script>\n');
  const server = await startServer(site);
  const chromium = await launchBrowser();
  try {
    const page = await openPage(chromium.browser, server.url);
    const vins = VINS.filter((vin) => !vin.includes('\ud800'));  // not through page.evaluate
    const records = await page.evaluate((list) => list.map((vin) => window.decode(vin, { year: 78 })), vins);
    assert.deepEqual(records, vins.map((vin) => kordel.decode(vin, { year: 78 })));
  } finally {
    await chromium.close();
    await stopServer(server);
  }
});
