// Lighthouse (its mobile and desktop presets, Debian's Chromium) over the page
// served locally, for the page alone and for a linked decode: the four category
// scores and the layout shift. LIGHTHOUSE names the lighthouse command (scripts/web-test.sh
// lighthouse installs it under build/tools/).
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { root, startServer, stopServer } from '../tests/browser.mjs';

const lighthouse = process.env.LIGHTHOUSE ?? path.join(root, 'build/tools/node_modules/.bin/lighthouse');
const flags = ['--headless=new', '--disable-gpu', '--no-first-run'];
if (process.getuid?.() === 0) flags.push('--no-sandbox');
const runs = Number(process.env.RUNS ?? 3);

const server = await startServer();
const folder = mkdtempSync(path.join(tmpdir(), 'kordel-lighthouse-'));
try {
  for (const [preset, address] of ['mobile', 'desktop'].flatMap((p) => ['', '?vin=A8A855H100001'].map((a) => [p, a]))) {
    const scores = [];
    for (let run = 0; run < runs; run += 1) {
      const report = path.join(folder, `report-${run}.json`);
      // Mobile is Lighthouse's default; desktop is a preset of its own.
      const presetFlags = preset === 'desktop' ? ['--preset=desktop'] : [];
      const result = spawnSync(lighthouse, [server.url + address, '--quiet', '--output=json', ...presetFlags,
        `--output-path=${report}`, `--chrome-flags=${flags.join(' ')}`], {
        env: { ...process.env, CHROME_PATH: process.env.CHROMIUM ?? '/usr/bin/chromium' },
        encoding: 'utf8',
      });
      if (result.status !== 0) throw new Error(`lighthouse: ${result.stderr}`);
      const { categories, audits } = JSON.parse(readFileSync(report, 'utf8'));
      scores.push({
        ...Object.fromEntries(Object.entries(categories).map(([k, c]) => [k, Math.round(c.score * 100)])),
        cls: audits['cumulative-layout-shift'].numericValue,
        times: ['first-contentful-paint', 'largest-contentful-paint', 'total-blocking-time', 'speed-index']
          .map((id) => `${id.split('-').map((w) => w[0]).join('').toUpperCase()} ${Math.round(audits[id].numericValue)} ms`),
        failed: Object.values(audits).filter((a) => a.score !== null && a.score < 0.9 &&
          a.scoreDisplayMode === 'binary').map((a) => a.id),
      });
    }
    console.log(`${preset}, /${address}:`);
    for (const s of scores) {
      console.log(`  performance ${s.performance}, accessibility ${s.accessibility}, ` +
        `best practices ${s['best-practices']}, SEO ${s.seo}; layout shift ${s.cls.toFixed(3)}; ` +
        s.times.join(', ') +
        (s.failed.length ? `; failed: ${s.failed.join(', ')}` : ''));
    }
  }
} finally {
  rmSync(folder, { recursive: true, force: true });
  await stopServer(server);
}
