// The suggestions and the character boxes of explain.js in headless Chromium, on
// records kordel-decode writes with --suggest --explain: a suggestion pressed, a
// position read by keyboard, and axe-core on both.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { launchBrowser, root, startServer, stopServer } from './browser.mjs';

const decoder = process.env.KORDEL_DECODE ?? path.join(root, 'build/release/bin/kordel-decode');
const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

function record(vin) {
  const run = spawnSync(decoder, ['--format', 'json', '--suggest', '--explain', vin], { encoding: 'utf8' });
  // 3: every VIN got a report, but one is incomplete or has a warning.
  assert.ok(run.status === 0 || run.status === 1 || run.status === 3, run.stderr);
  return JSON.parse(run.stdout);
}

// explain.js imports the page's other modules: it is served from build/web/.
let chromium;
let server;
before(async () => {
  server = await startServer();
  chromium = await launchBrowser();
});
after(async () => {
  await chromium?.close();
  if (server) await stopServer(server);
});

// A page with the module loaded as window.explain and an empty <main>.
async function modulePage() {
  const page = await chromium.browser.newPage();
  await page.goto(`${server.url}blank`);  // a page of the site's origin (its 404)
  await page.setContent('<!doctype html><html lang="en"><head><title>explain</title></head>'
    + '<body><main><h1>Decode</h1><input aria-label="VIN" id="before">'
    + '<article><h2>Report</h2></article></main></body></html>');
  await page.evaluate(async () => {
    window.explain = await import('/explain.js');
  });
  await page.addScriptTag({ content: axeSource });
  return page;
}

async function axeViolations(page) {
  return page.evaluate(async () => (await window.axe.run(document.body)).violations
    .map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(' ')}`));
}

test('a suggestion shows its summary and marked changes, and pressing it picks its VIN', async () => {
  const rejected = record('A1F031BQ00011');
  assert.equal(rejected.suggestions.length, 5);
  const page = await modulePage();
  await page.evaluate((r) => {
    window.picked = [];
    document.querySelector('article').append(window.explain.suggestionsBlock(r, (vin) => window.picked.push(vin)));
  }, rejected);
  const buttons = await page.$$eval('button.suggestion', (nodes) => nodes.map((n) => ({
    summary: n.querySelector('.suggestion-summary').textContent,
    vin: n.querySelector('.suggestion-vin').textContent,
    marked: [...n.querySelectorAll('mark')].map((m) => m.textContent).join(''),
    changes: n.querySelector('.suggestion-changes').textContent,
  })));
  assert.deepEqual(buttons[0], {
    summary: '1971 AMC Hornet  SC 360  2dr hatchback', vin: 'A1F031B000011', marked: '0',
    changes: 'position 8: plant: Kenosha',
  });
  assert.deepEqual(buttons.map((b) => b.vin), rejected.suggestions.map((s) => s.vin));
  // By keyboard: Tab from the field before lands on the first suggestion.
  await page.focus('#before');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Tab');
  await page.keyboard.press('Enter');
  assert.deepEqual(await page.evaluate(() => window.picked), ['A1F031B100011']);
  await page.click('button.suggestion');
  assert.deepEqual(await page.evaluate(() => window.picked), ['A1F031B100011', 'A1F031B000011']);
  // A swap marks both characters; a VIN that decodes has nothing to suggest.
  await page.evaluate((swap, decoded) => {
    const main = document.querySelector('article');
    main.replaceChildren(main.firstChild, window.explain.suggestionsBlock(swap, () => {}));
    window.none = window.explain.suggestionsBlock(decoded, () => {});
  }, record('1AMMC3875BK100021'), record('1AMCM3875BK100021'));
  assert.equal(await page.$eval('button.suggestion mark:first-of-type', (m) => m.parentElement.innerHTML),
    '1AM<mark>C</mark><mark>M</mark>3875BK100021');
  assert.equal(await page.evaluate(() => window.none), null);
  assert.deepEqual(await axeViolations(page), []);
  await page.close();
});

test('the character boxes are one Tab stop; the arrow keys move and each box tells what it says', async () => {
  const seventeen = record('1AMCM3877BK100021');
  const page = await modulePage();
  await page.evaluate((r) => {
    document.querySelector('article').append(window.explain.positionsStrip(r.results[0]));
  }, seventeen);
  assert.equal(await page.$$eval('.position-box', (n) => n.length), 17);
  await page.focus('#before');
  await page.keyboard.press('Tab');
  const focused = () => page.evaluate(() => {
    const box = document.activeElement;
    return {
      name: box.textContent,
      description: document.getElementById(box.getAttribute('aria-describedby')).textContent,
      shown: document.querySelector('.position-text').textContent,
    };
  });
  assert.deepEqual(await focused(), {
    name: '1 Checked, position 1', description: 'Checked: accepts 12.',
    shown: 'Position 1, 1: Checked: accepts 12.',
  });
  for (let i = 0; i < 9; ++i) await page.keyboard.press('ArrowRight');
  assert.deepEqual(await focused(), {
    name: 'B Model year, position 10', description: 'Model year: 1981.',
    shown: 'Position 10, B: Model year: 1981.',
  });
  await page.keyboard.press('End');
  assert.equal((await focused()).description, 'Sequence number: 21.');
  // The accessibility tree carries the name and the description.
  const node = await page.accessibility.snapshot({ root: await page.$(':focus') });
  assert.equal(node.name, '1 Sequence, position 17');
  assert.equal(node.description, 'Sequence number: 21.');
  // Tab leaves the row at once; Shift+Tab comes back to the box last focused.
  await page.keyboard.press('Tab');
  assert.equal(await page.evaluate(() => document.activeElement.tagName), 'BODY');
  await page.keyboard.down('Shift');
  await page.keyboard.press('Tab');
  await page.keyboard.up('Shift');
  assert.equal(await page.evaluate(() => document.activeElement.dataset.position), '17');
  // Hovering shows a box's text too.
  await page.hover('.position-box[data-position="5"]');
  assert.equal(await page.$eval('.position-text', (n) => n.textContent),
    'Position 5, M: Transmission: 4spd manual floor shift ).');
  assert.deepEqual(await axeViolations(page), []);
  await page.close();
});
