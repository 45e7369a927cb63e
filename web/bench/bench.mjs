// Measures the page in headless Chromium: time until it is interactive, the time
// a keystroke takes to decode and show, a list of 100,000 VINs decoded in the
// worker (and the longest task meanwhile on the page's thread), and the
// compressed size of build/web/; a list of 100,000 lines pasted; and the
// renderer's peak memory for a file of 1.45 million rows.
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';
import { launchBrowser, site, startServer, stopServer } from '../tests/browser.mjs';

// The most CPU time of one task on the page's main thread (the renderer's main
// thread in the process that runs the list's worker) from the mark 'kordel-list' on.
function longestTaskCpu({ traceEvents: events }) {
  const from = events.find((e) => e.name === 'kordel-list')?.ts ?? 0;
  const names = new Map(events.filter((e) => e.name === 'thread_name')
    .map((e) => [`${e.pid}:${e.tid}`, e.args.name]));
  const worker = [...names].find(([, name]) => name === 'DedicatedWorker thread');
  if (!worker) return NaN;
  const pid = worker[0].split(':')[0];
  const main = [...names].find(([key, name]) => name === 'CrRendererMain' && key.startsWith(`${pid}:`))?.[0];
  return Math.max(0, ...events
    .filter((e) => e.ph === 'X' && e.name === 'RunTask' && `${e.pid}:${e.tid}` === main &&
      e.ts + e.dur >= from)
    .map((e) => (e.tdur ?? 0) / 1000));
}

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const server = await startServer();
const chromium = await launchBrowser();
try {
  // `node bench/bench.mjs lists` runs the paste and the large file alone.
  const listsOnly = process.argv[2] === 'lists';
  // A fresh context for each load: nothing cached, no service worker yet.
  const cold = [];
  const warm = [];
  for (let run = 0; run < (listsOnly ? 0 : 11); run += 1) {
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
  if (!listsOnly) console.log(`interactive after navigation: ${median(cold).toFixed(0)} ms first load, ` +
    `${median(warm).toFixed(0)} ms from the service worker (medians of ${cold.length})`);

  const page = await chromium.browser.newPage();
  await page.goto(server.url);
  await page.waitForSelector('html[data-ready="true"]');
  for (const vin of listsOnly ? [] : ['1AMCM3877BK100021', 'A0A857H123442', 'A8A855H100001', 'A0A857Q123442']) {
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
      for (let i = 0; i < rounds; i += 1) window.kordel.decode(v, 0);
      return { keystroke, laidOut, module: (performance.now() - start) / rounds };
    }, vin);
    console.log(`${vin}: ${(keystroke * 1000).toFixed(0)} µs a keystroke (decode, JSON and page), ` +
      `${(laidOut * 1000).toFixed(0)} µs with the layout, ` +
      `${(module * 1000).toFixed(1)} µs the module call alone`);
  }

  for (const count of listsOnly ? [] : [10000, 100000]) {
    const list = Array.from({ length: count },
      (_, i) => ['A0A857H123442', 'A8A855H100001', '1AMCM3877BK100021', 'A0A857Q123442'][i % 4]);
    // A trace tells the thread's own CPU time in each task from the time it waited
    // for a core: on a loaded machine a task of 20 ms of work may last 300 ms.
    await page.tracing.start({ categories: ['disabled-by-default-devtools.timeline', 'blink.user_timing'] });
    const { total, longest, tasks } = await page.evaluate(async (text) => {
      const long = [];
      // Tasks of 50 ms or more on the page's thread, as the browser reports them.
      const observer = new PerformanceObserver((entries) => long.push(...entries.getEntries()));
      observer.observe({ type: 'longtask' });
      const summary = document.getElementById('list-summary');
      // The list is in the box first (its layout is the browser's own work).
      document.getElementById('list-input').value = text;
      await new Promise((resolve) => { setTimeout(resolve, 1000); });
      long.length = 0;
      const start = performance.now();
      performance.mark('kordel-list');  // where the trace's count starts
      document.getElementById('list-decode').click();
      await new Promise((resolve) => {
        new MutationObserver((_, o) => { if (summary.textContent) { o.disconnect(); resolve(); } })
          .observe(summary, { childList: true, characterData: true, subtree: true });
      });
      // The table fills over the next frames.
      await new Promise((resolve) => { setTimeout(resolve, 500); });
      const total = performance.now() - start;
      observer.disconnect();
      return { total, longest: Math.max(0, ...long.map((e) => e.duration)), tasks: long.length };
    }, list.join('\n'));
    const cpu = longestTaskCpu(JSON.parse(Buffer.from(await page.tracing.stop()).toString()));
    console.log(`a list of ${count.toLocaleString('en')} VINs in the worker to its table and CSV: ` +
      `${(total - 500).toFixed(0)} ms; main-thread tasks over 50 ms: ${tasks}, the longest ${longest.toFixed(0)} ms; ` +
      `the most CPU time a main-thread task took: ${cpu.toFixed(0)} ms`);
  }

  // A list of 100,000 lines pasted into the VIN box: the longest main-thread task
  // from the paste until the list is done.
  {
    const list = Array.from({ length: 100000 }, (_, i) => ['A0A857H123442', 'A8A855H100001'][i % 2]).join('\n');
    await page.tracing.start({ categories: ['disabled-by-default-devtools.timeline', 'blink.user_timing'] });
    // The clipboard's data is made first, in a task of its own: the browser's
    // work, not the page's.
    await page.evaluate((text) => {
      window.benchPaste = new DataTransfer();
      window.benchPaste.setData('text/plain', text);
    }, list);
    await new Promise((resolve) => { setTimeout(resolve, 1000); });
    const { total, longest, tasks } = await page.evaluate(async () => {
      const long = [];
      const observer = new PerformanceObserver((entries) => long.push(...entries.getEntries()));
      observer.observe({ type: 'longtask' });
      const summary = document.getElementById('list-summary');
      const start = performance.now();
      performance.mark('kordel-list');
      document.getElementById('vin').dispatchEvent(
        new ClipboardEvent('paste', { clipboardData: window.benchPaste, bubbles: true, cancelable: true }));
      await new Promise((resolve) => {
        const check = () => (summary.textContent ? resolve() : setTimeout(check, 20));
        check();
      });
      await new Promise((resolve) => { setTimeout(resolve, 500); });
      observer.disconnect();
      return { total: performance.now() - start, longest: Math.max(0, ...long.map((e) => e.duration)), tasks: long.length };
    });
    const cpu = longestTaskCpu(JSON.parse(Buffer.from(await page.tracing.stop()).toString()));
    console.log(`100,000 lines pasted, to the table and CSV: ${(total - 500).toFixed(0)} ms; ` +
      `main-thread tasks over 50 ms: ${tasks}, the longest ${longest.toFixed(0)} ms; ` +
      `the most CPU time a main-thread task took: ${cpu.toFixed(0)} ms`);
  }

  // A file of 1.45 million rows (about 50 MB): the renderers' peak resident
  // memory (VmHWM) while it is decoded, and what they hold once it is done.
  {
    const folder = mkdtempSync(path.join(tmpdir(), 'kordel-bench-'));
    try {
      const file = path.join(folder, 'registry.csv');
      const vins = ['A0A857H123442', 'A8A855H100001', '1AMCM3877BK100021', 'A0A857Q123442'];
      const rows = ['id,VIN,owner'];
      for (let i = 0; i < 1450000; i += 1) rows.push(`${i},${vins[i % 4]},Owner number ${i}`);
      writeFileSync(file, `${rows.join('\r\n')}\r\n`);
      const fresh = await chromium.browser.newPage();
      await fresh.goto(server.url);
      await fresh.waitForSelector('html[data-ready="true"]');
      const session = await chromium.browser.target().createCDPSession();
      const renderers = async () => (await session.send('SystemInfo.getProcessInfo')).processInfo
        .filter((p) => p.type === 'renderer').map((p) => p.id);
      const memory = (pid, field) => {
        try {
          return Number(new RegExp(`${field}:\\s+(\\d+)`).exec(readFileSync(`/proc/${pid}/status`, 'utf8'))[1]) / 1024;
        } catch { return 0; }
      };
      const before = Math.max(...(await renderers()).map((pid) => memory(pid, 'VmRSS')));
      const start = Date.now();
      await (await fresh.$('#list-file')).uploadFile(file);
      await fresh.waitForFunction(() => document.getElementById('list-summary').textContent !== '', { timeout: 0 });
      const seconds = (Date.now() - start) / 1000;
      await new Promise((resolve) => { setTimeout(resolve, 2000); });
      const pids = await renderers();
      const peak = Math.max(...pids.map((pid) => memory(pid, 'VmHWM')));
      const after = Math.max(...pids.map((pid) => memory(pid, 'VmRSS')));
      const summary = await fresh.$eval('#list-summary', (n) => n.textContent);
      console.log(`1,450,000 rows (${(rows.join('').length / 1e6).toFixed(0)} MB) from a file: ${seconds.toFixed(1)} s; ` +
        `renderer ${before.toFixed(0)} MB before, peak ${peak.toFixed(0)} MB, ${after.toFixed(0)} MB once done (${summary.slice(0, 60)}...)`);
      await fresh.close();
    } finally {
      rmSync(folder, { recursive: true, force: true });
    }
  }
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
