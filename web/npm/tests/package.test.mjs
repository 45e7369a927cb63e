// The npm package as a user gets it: installed from its .tgz into a fresh
// project (CommonJS, as `npm init -y` makes one) and loaded by name with require
// and with import, its records checked against kordel-decode; compiled by tsc
// --strict; and bundled for a browser by esbuild, Vite and webpack and run in
// headless Chromium. KORDEL_NPM_TGZ names the .tgz, KORDEL_DECODE the
// kordel-decode to compare with.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { copyFileSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import * as esbuild from 'esbuild';
import { build as viteBuild } from 'vite';
import webpack from 'webpack';
import { launchBrowser, openPage, startServer, stopServer } from '../../tests/browser.mjs';

const tgz = process.env.KORDEL_NPM_TGZ;
const decoder = process.env.KORDEL_DECODE;
const here = path.dirname(fileURLToPath(import.meta.url));

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
  const run = spawnSync(decoder, args, { input: Buffer.from(vins.map((v) => `${v}\n`).join('')),
    maxBuffer: 1 << 28 });
  assert.ok(run.status === 0 || run.status === 1, `kordel-decode: ${run.stderr}`);
  return run.stdout.toString('utf8').trimEnd().split('\n').map((line) => JSON.parse(line));
}

let folder;
let required;  // require('kordel')
let imported;  // import('kordel')

before(async () => {
  assert.ok(tgz && decoder, 'KORDEL_NPM_TGZ and KORDEL_DECODE name the package and kordel-decode');
  folder = mkdtempSync(path.join(tmpdir(), 'kordel-npm-'));
  writeFileSync(path.join(folder, 'package.json'), '{"name": "project", "private": true}\n');
  const npm = spawnSync('npm', ['install', '--offline', '--no-audit', '--no-fund', '--cache',
    path.join(folder, '.npm'), path.resolve(tgz)], { cwd: folder, encoding: 'utf8' });
  assert.equal(npm.status, 0, npm.stderr);
  required = createRequire(path.join(folder, 'index.js'))('kordel');
  writeFileSync(path.join(folder, 'use.mjs'), "export * from 'kordel';\n");
  imported = await import(pathToFileURL(path.join(folder, 'use.mjs')));
});

after(() => {
  if (folder) rmSync(folder, { recursive: true, force: true });
});

test('require and import give records equal to kordel-decode, with every option', () => {
  for (const year of [undefined, 68, 78, 1980]) {
    const expected = kordelDecode(VINS, year);
    assert.equal(expected.length, VINS.length);
    assert.deepEqual(VINS.map((vin) => required.decode(vin, { year })), expected, `year ${year}`);
    assert.deepEqual(VINS.map((vin) => imported.decode(vin, { year })), expected, `year ${year}`);
  }
  assert.deepEqual(required.decode(VINS[1]), required.decode(VINS[1], { year: null }));
  const vins = VINS.slice(0, 16);
  assert.deepEqual(vins.map((vin) => imported.decode(vin, { suggest: true, explain: true })),
    kordelDecode(vins, undefined, ['--suggest', '--explain']));
  assert.deepEqual(vins.map((vin) => required.decode(vin, { year: 1978, suggest: true, explain: false })),
    kordelDecode(vins, 1978, ['--suggest']));
  // A CommonJS program of its own, as node runs it.
  const run = spawnSync(process.execPath, ['-e',
    "process.stdout.write(require('kordel').decode('A8A855H100001', { year: 78 }).results[0].fields.model)"],
  { cwd: folder, encoding: 'utf8' });
  assert.equal(run.stdout, 'Matador', run.stderr);
});

test('bad input and bad options throw, naming what is wrong; decoding goes on after it', () => {
  const { decode } = required;
  const cases = [
    [() => decode(undefined), TypeError, /vin must be a string, not undefined/],
    [() => decode(['A8A855H100001']), TypeError, /not an array/],
    [() => decode('A8A855H100001', 1978), TypeError, /options must be an object .* \{ year: 1978 \}/],
    [() => decode('A8A855H100001', { yaer: 78 }), TypeError, /no option "yaer"/],
    [() => decode('A8A855H100001', { suggest: 'no' }), TypeError, /suggest must be true, false .* "no"/],
    [() => decode('A8A855H100001', { explain: 1 }), TypeError, /explain must be true, false/],
    [() => decode('A8A855H\u0000100001'), RangeError, /NUL character \(at index 7\)/],
    [() => decode('A'.repeat(10_000_000)), RangeError, /too long \(10000000 /],
    [() => decode('\u{1f697}'.repeat(5_000_000)), RangeError, /too long/],
    [() => decode('é'.repeat(600)), RangeError, /no more than 1024 bytes/],
    [() => decode('A'.repeat(1025)), RangeError, /too long/],
    [() => decode('A8A855H100001', { year: '78' }), TypeError, /year must be an integer/],
    [() => decode('A8A855H100001', { year: 1999 }), RangeError, /year must be 68-80 or 1968-1980, not 1999/],
    [() => decode('A8A855H100001', { year: 78.5 }), TypeError, /year must be an integer/],
    [() => decode('A8A855H100001', { year: 1967 }), RangeError, /not 1967/],
    [() => decode('A8A855H100001', { year: 81 }), RangeError, /68-80 or 1968-1980/],
  ];
  for (const [call, type, message] of cases) assert.throws(call, { name: type.name, message });
  assert.equal(decode('A0A857H123442').results[0].status, 'decoded');
});

test('init takes bytes, a compiled module or a Response, and names kordel.wasm when it fails', async () => {
  const wasm = readFileSync(path.join(folder, 'node_modules/kordel/kordel.wasm'));
  const expected = required.decode('1AMCM3877BK100021');
  await required.init(new WebAssembly.Module(wasm));
  assert.deepEqual(required.decode('1AMCM3877BK100021'), expected);
  await required.init(new Uint8Array(wasm));
  assert.deepEqual(imported.decode('1AMCM3877BK100021'), expected);
  await assert.rejects(required.init(new Response('<!doctype html><title>x</title>')),
    /not kordel\.wasm: it starts with "<!doctype html>.*00 61 73 6d/);
  await assert.rejects(required.init(new Response('', { status: 404 })), /kordel\.wasm could not be loaded .*HTTP 404/);
  await assert.rejects(required.init(42), { name: 'TypeError', message: /URL of kordel\.wasm/ });
  assert.deepEqual(required.decode('1AMCM3877BK100021'), expected);  // the module before stays
});

// VINs of every kind: the bench's prefixes with a serial number, some with a
// character changed, removed or added.
function manyVins(count) {
  const prefixes = ['A1F031B3', 'A8A855H1', 'A9X855H1', 'A1A050A1', 'A3A350A1', '1AMCM3877BK1',
    '1AMCM3577BK1', '2AMCM3877BK1', 'A0A857Q1', '1AMCQ3877BK1'];
  const alphabet = '0123456789ABCDEFGHJKLMNPRSTUVWXYZIOQ';
  let seed = 7;
  const random = (n) => { seed = (seed * 1103515245 + 12345) % 2147483648; return seed % n; };
  return Array.from({ length: count }, (_, i) => {
    let vin = prefixes[i % prefixes.length] + String(random(100000)).padStart(5, '0');
    const at = random(vin.length);
    if (i % 3 === 1) vin = vin.slice(0, at) + alphabet[random(alphabet.length)] + vin.slice(at + 1);
    if (i % 29 === 2) vin = vin.slice(0, at) + vin.slice(at + 1);
    return vin;
  });
}

test('10,000 records equal kordel-decode\'s, and tsc --strict takes them for the declared types and compiles the examples', () => {
  const vins = manyVins(10_000);
  const plain = kordelDecode(vins.filter((_, i) => i % 10 !== 0), undefined);
  const full = kordelDecode(vins.filter((_, i) => i % 10 === 0), undefined, ['--suggest', '--explain']);
  const statuses = new Set([...plain, ...full].flatMap((r) => (r.results ?? []).map((x) => x.status)));
  assert.deepEqual([...statuses].sort(), ['decoded', 'incomplete', 'rejected', 'unknown']);
  assert.ok(full.some((r) => r.suggestions?.length) && full.some((r) => r.error));
  // The package's own records of them, one call after another, are the same.
  assert.deepEqual(vins.filter((_, i) => i % 10 !== 0).map((vin) => required.decode(vin)), plain);
  assert.deepEqual(vins.filter((_, i) => i % 10 === 0).map((vin) => imported.decode(vin,
    { suggest: true, explain: true })), full);
  // One statement a record: tsc checks each against the union on its own.
  writeFileSync(path.join(folder, 'records.ts'), "import type { KordelRecord } from 'kordel';\n" +
    'export const records: KordelRecord[] = [];\n' +
    [...plain, ...full].map((record) => `records.push(${JSON.stringify(record)});\n`).join(''));
  copyFileSync(path.join(here, 'examples.ts'), path.join(folder, 'examples.ts'));
  writeFileSync(path.join(folder, 'tsconfig.json'), JSON.stringify({
    compilerOptions: { strict: true, module: 'node16', moduleResolution: 'node16', target: 'es2022',
      lib: ['es2022', 'dom'], outDir: 'dist', skipLibCheck: false, types: [] },
    files: ['examples.ts', 'records.ts'],
  }));
  const tsc = path.join(here, 'node_modules/typescript/bin/tsc');
  const compiled = spawnSync(process.execPath, [tsc, '-p', folder], { encoding: 'utf8' });
  assert.equal(compiled.status, 0, compiled.stdout + compiled.stderr);
  // In this CommonJS project the import became a require, which loads the package.
  assert.match(readFileSync(path.join(folder, 'dist/examples.js'), 'utf8'), /require\("kordel"\)/);
  const run = spawnSync(process.execPath, [path.join(folder, 'dist/examples.js')], { encoding: 'utf8' });
  assert.equal(run.status, 0, run.stderr);
  assert.equal(run.stdout, 'Matador 1978\nKenosha WI, USA check digit 5\n13 or 17 Characters only.\n');
});

// A page of a user's own, bundled: it starts the module, then says it is ready.
const PAGE = "import { init, decode } from 'kordel';\n" +
  'init().then(() => { window.decode = decode; document.documentElement.dataset.ready = "true"; });\n';

async function bundles() {
  const sites = {};
  // esbuild: kordel.wasm through the package's export and esbuild's file loader.
  sites.esbuild = path.join(folder, 'esbuild');
  writeFileSync(path.join(folder, 'esbuild.js'), "import wasm from 'kordel/kordel.wasm';\n" +
    PAGE.replace('init()', 'init(new URL(wasm, location.href))'));
  await esbuild.build({ entryPoints: [path.join(folder, 'esbuild.js')], bundle: true, format: 'esm',
    platform: 'browser', outfile: path.join(sites.esbuild, 'page.js'), loader: { '.wasm': 'file' },
    logLevel: 'silent' });
  writeFileSync(path.join(sites.esbuild, 'index.html'),
    '<!doctype html><title>kordel</title><script type="module" src="page.js"></script>\n');
  // Vite: an index.html and its script, built; kordel.wasm emitted as an asset.
  const vite = path.join(folder, 'vite');
  mkdirSync(vite);
  writeFileSync(path.join(vite, 'main.js'), PAGE);
  writeFileSync(path.join(vite, 'index.html'),
    '<!doctype html><title>kordel</title><script type="module" src="./main.js"></script>\n');
  sites.vite = path.join(folder, 'vite-dist');
  await viteBuild({ root: vite, base: './', logLevel: 'silent', configFile: false,
    build: { outDir: sites.vite, emptyOutDir: true } });
  // webpack: kordel.wasm emitted as an asset from new URL(..., import.meta.url).
  sites.webpack = path.join(folder, 'webpack');
  writeFileSync(path.join(folder, 'webpack.js'), PAGE);
  const stats = await new Promise((resolve, reject) => {
    webpack({ mode: 'production', target: 'web', context: folder, entry: './webpack.js',
      output: { path: sites.webpack, filename: 'page.js', publicPath: 'auto' } },
    (error, result) => (error ? reject(error) : resolve(result)));
  });
  assert.ok(!stats.hasErrors(), stats.toString('errors-only'));
  writeFileSync(path.join(sites.webpack, 'index.html'),
    '<!doctype html><title>kordel</title><script src="page.js"></script>\n');
  return sites;
}

test('bundled by esbuild, Vite and webpack, decode answers in Chromium as in Node', async () => {
  const sites = await bundles();
  const chromium = await launchBrowser();
  try {
    const vins = VINS.filter((vin) => !vin.includes('\ud800'));  // not through page.evaluate
    const expected = vins.map((vin) => required.decode(vin, { year: 78, suggest: true, explain: true }));
    for (const [bundler, site] of Object.entries(sites)) {
      const server = await startServer(site);
      try {
        const page = await openPage(chromium.browser, server.url);
        const records = await page.evaluate((list) => list.map((vin) =>
          window.decode(vin, { year: 78, suggest: true, explain: true })), vins);
        assert.deepEqual(records, expected, bundler);
        // Any string, however long: refused before it reaches the module, which goes on.
        const after = await page.evaluate(() => {
          try { window.decode('A'.repeat(10_000_000)); } catch (error) { return [error.name, window.decode('A0A857H123442').results[0].status]; }
          return null;
        });
        assert.deepEqual(after, ['RangeError', 'decoded'], bundler);
        await page.close();
      } finally {
        await stopServer(server);
      }
    }
  } finally {
    await chromium.close();
  }
});
