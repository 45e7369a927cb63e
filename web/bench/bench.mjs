// Measures the page in headless Chromium: time until it is interactive, the time
// a keystroke takes to decode and show, and the compressed size of build/web/.
import { readdirSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';
import { launchBrowser, site, startServer, stopServer } from '../tests/browser.mjs';

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const server = await startServer();
const chromium = await launchBrowser();
try {
  // A fresh context for each load: nothing cached, no service worker yet.
  const cold = [];
  const warm = [];
  for (let run = 0; run < 11; run += 1) {
    const context = await chromium.browser.createBrowserContext();
    const page = await context.newPage();
    for (const times of [cold, warm]) {
      if (times === cold) await page.goto(server.url);
      else await page.reload();
      await page.waitForSelector('html[data-ready="true"]');
      times.push(await page.evaluate(() => performance.getEntriesByName('kordel-ready')[0].startTime));
      if (times === cold) {
        await page.evaluate(async () => {
          await navigator.serviceWorker.ready;
          if (!navigator.serviceWorker.controller) {
            await new Promise((resolve) => { navigator.serviceWorker.addEventListener('controllerchange', resolve); });
          }
        });
      }
    }
    await context.close();
  }
  console.log(`interactive after navigation: ${median(cold).toFixed(0)} ms first load, ` +
    `${median(warm).toFixed(0)} ms from the service worker (medians of ${cold.length})`);

  const page = await chromium.browser.newPage();
  await page.goto(server.url);
  await page.waitForSelector('html[data-ready="true"]');
  for (const vin of ['1AMCM3877BK100021', 'A0A857H123442', 'A8A855H100001', 'A0A857Q123442']) {
    const { keystroke, laidOut, module } = await page.evaluate((v) => {
      const input = document.getElementById('vin');
      const rounds = 2000;
      let start = performance.now();
      for (let i = 0; i < rounds; i += 1) {
        input.value = i % 2 ? v : v.toLowerCase();
        input.dispatchEvent(new Event('input'));
      }
      const keystroke = (performance.now() - start) / rounds;
      start = performance.now();
      for (let i = 0; i < rounds; i += 1) {
        input.value = i % 2 ? v : v.toLowerCase();
        input.dispatchEvent(new Event('input'));
        document.getElementById('results').getBoundingClientRect();  // forces the layout
      }
      const laidOut = (performance.now() - start) / rounds;
      start = performance.now();
      for (let i = 0; i < rounds; i += 1) window.kordel.decodeJson(v, 0);
      return { keystroke, laidOut, module: (performance.now() - start) / rounds };
    }, vin);
    console.log(`${vin}: ${(keystroke * 1000).toFixed(0)} µs a keystroke (decode, JSON and page), ` +
      `${(laidOut * 1000).toFixed(0)} µs with the layout, ` +
      `${(module * 1000).toFixed(1)} µs the module call alone`);
  }

  const list = Array.from({ length: 10000 },
    (_, i) => ['A0A857H123442', 'A8A855H100001', '1AMCM3877BK100021', 'A0A857Q123442'][i % 4]);
  const listTime = await page.evaluate((text) => {
    const start = performance.now();
    document.getElementById('list-input').value = text;
    document.getElementById('list-decode').click();
    document.body.getBoundingClientRect();
    return performance.now() - start;
  }, list.join('\n'));
  console.log(`a pasted list of 10,000 VINs to its table and CSV: ${listTime.toFixed(0)} ms`);
} finally {
  await chromium.close();
  await stopServer(server);
}

let gzip = 0;
let brotli = 0;
let raw = 0;
for (const name of readdirSync(site).sort()) {
  const bytes = readFileSync(path.join(site, name));
  const g = gzipSync(bytes, { level: 9 }).length;
  const b = brotliCompressSync(bytes, { params: { [constants.BROTLI_PARAM_QUALITY]: 11 } }).length;
  raw += bytes.length; gzip += g; brotli += b;
  console.log(`  ${name.padEnd(22)} ${String(bytes.length).padStart(7)} B, gzip ${String(g).padStart(6)} B, brotli ${String(b).padStart(6)} B`);
}
console.log(`build/web/: ${(raw / 1024).toFixed(1)} KiB, gzip -9 ${(gzip / 1024).toFixed(1)} KiB, brotli ${(brotli / 1024).toFixed(1)} KiB`);
