// Serves build/web/ on a free loopback port and drives Debian's Chromium, headless.
import { spawn } from 'node:child_process';
import { once } from 'node:events';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

export const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');
export const site = path.join(root, 'build/web');

// python3's server on port 0 picks a free port and names it on its first line.
// Like most static hosts, it sends no Cache-Control.
export async function startServer(folder = site) {
  const server = spawn('python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1',
    '--directory', folder, '0'], { stdio: ['ignore', 'pipe', 'pipe'] });
  // Every request served, as { path, status }, from the server's log.
  const requests = [];
  let log = '';
  server.stderr.on('data', (chunk) => {
    log += chunk;
    const lines = log.split('\n');
    log = lines.pop();
    for (const line of lines) {
      const match = /"GET (\S+) HTTP\/[\d.]+" (\d+)/.exec(line);
      if (match) requests.push({ path: match[1], status: Number(match[2]) });
    }
  });
  const port = await new Promise((resolve, reject) => {
    let seen = '';
    server.stdout.on('data', (chunk) => {
      seen += chunk;
      const match = /port (\d+)/.exec(seen);
      if (match) resolve(Number(match[1]));
    });
    server.once('exit', (code) => reject(new Error(`the server ended with status ${code}`)));
  });
  // Should the tests be cut short, the server goes with them.
  process.once('exit', () => { if (server.exitCode === null) server.kill(); });
  return { pid: server.pid, url: `http://127.0.0.1:${port}/`, process: server, requests };
}

export async function stopServer(server) {
  if (server.process.exitCode !== null || server.process.signalCode !== null) return;
  const exited = once(server.process, 'exit');
  process.kill(server.pid, 'SIGTERM');
  await exited;
}

export async function launchBrowser() {
  const profile = mkdtempSync(path.join(tmpdir(), 'kordel-chromium-'));
  const args = ['--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'];
  if (process.getuid?.() === 0) args.push('--no-sandbox');
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args,
  });
  return {
    browser,
    async close() {
      await browser.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

export async function openPage(browser, url, width = 1280) {
  const page = await browser.newPage();
  await page.setViewport({ width, height: 900 });
  page.on('pageerror', (error) => console.error('page error:', error.message));
  page.on('console', (message) => { if (message.type() === 'error') console.error('console:', message.text()); });
  await page.goto(url);
  await page.waitForSelector('html[data-ready="true"]');
  return page;
}
