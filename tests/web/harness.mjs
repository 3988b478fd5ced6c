// Drives the browser build: a loopback HTTP server over the build folder, with routes of a test's
// own, and headless Chromium through puppeteer-core.
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.ttf': 'font/ttf', '.ogg': 'audio/ogg', '.demo': 'text/plain', '.loop': 'text/plain',
  '.css': 'text/css', '.png': 'image/png', '.webmanifest': 'application/manifest+json',
};

// Serves the files of `root` on 127.0.0.1 at a free port; `routes` maps a path to a handler
// (request, response) of its own. `server.origin` is its address.
export async function serve(root, routes = {}) {
  const server = http.createServer((request, response) => {
    const { pathname } = new URL(request.url, 'http://127.0.0.1');
    if (routes[pathname]) return routes[pathname](request, response);
    // A folder's address is its index.html, as a web server serves it (the offline copy keeps "./").
    const asked = decodeURIComponent(pathname);
    const file = path.join(root, path.normalize(asked.endsWith('/') ? asked + 'index.html' : asked));
    fs.readFile(file.startsWith(root + path.sep) ? file : '', (error, bytes) => {
      if (error) {
        response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found');
        return;
      }
      response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
      response.end(bytes);
    });
  });
  await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
  server.origin = `http://127.0.0.1:${server.address().port}`;
  server.stop = () => {
    server.closeAllConnections();
    return new Promise(resolve => server.close(resolve));
  };
  return server;
}

// Headless Chromium with a fresh profile, removed again by `browser.stop()`.
export async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'tavi-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--disable-quic'],
  });
  browser.stop = async () => {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// The page with `query` in a new tab, its 1024 x 768 frame filling the viewport.
export async function openPage(browser, origin, query = '') {
  const page = await browser.newPage();
  await page.setViewport({ width: 1024, height: 768 });
  await page.goto(`${origin}/index.html?${query}`);
  return page;
}

// Waits until the page has finished (title ending in " done") or failed (" error"); the title.
export async function settled(page, timeout = 120000) {
  await page.waitForFunction(() => / (done|error)$/.test(document.title), { timeout, polling: 100 });
  return page.title();
}

// Waits until the game has shown its first frame.
export async function started(page) {
  await page.waitForFunction(() => framesShown > 0, { timeout: 60000 });
}

// What the page shows in place of the game (its loading note or its error).
export function statusText(page) {
  return page.$eval('#status', element => element.textContent);
}

// Waits until the page has shown `count` more frames of the game.
export async function frames(page, count) {
  const start = await page.evaluate(() => framesShown);
  await page.waitForFunction(until => framesShown >= until, { polling: 'raf', timeout: 30000 }, start + count);
}

// A key held for a few frames, so that the game's once-a-frame look at the keyboard sees it.
export async function pressKey(page, key) {
  await page.keyboard.down(key);
  await frames(page, 3);
  await page.keyboard.up(key);
  await frames(page, 3);
}

// The list as the browser stores it (emscripten's IDBFS keeps each file of the folder /data in the
// database "/data"): its bytes, or null when none is stored.
export function storedBytes(page) {
  return page.evaluate(() => new Promise((resolve, reject) => {
    const open = indexedDB.open('/data');
    open.onerror = () => reject(open.error);
    open.onsuccess = () => {
      const get = open.result.transaction('FILE_DATA').objectStore('FILE_DATA').get('/data/Highscore.dat');
      get.onerror = () => reject(get.error);
      get.onsuccess = () => {
        open.result.close();
        resolve(get.result ? Array.from(get.result.contents) : null);
      };
    };
  }));
}
