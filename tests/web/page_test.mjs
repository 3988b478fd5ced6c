// The page's parameters and its storage, in headless Chromium:
//   node tests/web/page_test.mjs WEB_BUILD_DIR
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, it } from 'node:test';
import { fileURLToPath } from 'node:url';
import { frames, launch, openPage, pressKey, serve, settled, started, statusText, storedBytes } from './harness.mjs';

const web = fs.realpathSync(process.argv[2] || 'build-web');
const data = path.join(path.dirname(fileURLToPath(import.meta.url)), '..', 'data');
const MiB = 1024 * 1024;

let browser;
let site;
let other;  // another origin
// Bytes the oversized demos sent, and whether the page hung up on them.
const oversized = {};

// A demo that claims `claimedLength` bytes, sends a first part and waits; or, without a length, one
// sent for as long as the page reads it (96 MiB at most).
function oversizedDemo(name, claimedLength) {
  return (request, response) => {
    const sent = oversized[name] = { bytes: 0, closed: false };
    response.on('close', () => { sent.closed = true; });
    response.writeHead(200, claimedLength ? { 'Content-Length': claimedLength } : {});
    const chunk = Buffer.from('0 keys SPACE\n'.repeat(5000));
    const pump = () => {
      while (!sent.closed && sent.bytes < (claimedLength ? chunk.length : 96 * MiB)) {
        sent.bytes += chunk.length;
        if (!response.write(chunk)) return void response.once('drain', pump);
      }
      if (!claimedLength) response.end();
    };
    pump();
  };
}

// Whether `condition` (which may be async) holds within 30 s.
async function eventually(condition) {
  for (let tries = 0; tries < 300; ++tries) {
    if (await condition()) return true;
    await new Promise(resolve => setTimeout(resolve, 100));
  }
  return false;
}

before(async () => {
  const demo = (text) => (request, response) => response.writeHead(200).end(text);
  site = await serve(web, {
    '/gameover.demo': (request, response) => response.writeHead(200).end(fs.readFileSync(path.join(data, 'gameover.demo'))),
    '/frames.demo': demo('seed 1\n40 quit\n'),
    '/endless.demo': oversizedDemo('endless'),
    '/long.demo': oversizedDemo('long', 17 * MiB),
  });
  other = await serve(data);
  browser = await launch();
});

after(async () => {
  await browser?.stop();
  await site?.stop();
  await other?.stop();
});

describe('page parameters', () => {
  it('a bad seed or shot ends in an error on the page', async () => {
    for (const [query, said] of [['seed=abc', '--seed'], ['seed=4294967296', '--seed'], ['shot=3,x', 'shot=x']]) {
      const page = await openPage(browser, site.origin, query);
      assert.match(await settled(page), / error$/, query);
      assert.match(await statusText(page), new RegExp(said), query);
      await page.close();
    }
  });

  it('a demo that cannot be had is named in the error', async () => {
    const cases = [
      ['missing.demo', 'missing.demo: 404'],
      [`${other.origin}/gameover.demo`, `${other.origin}/gameover.demo: could not be fetched`],
      ['index.html', 'index.html:1: '],
    ];
    for (const [url, said] of cases) {
      const page = await openPage(browser, site.origin, `demo=${encodeURIComponent(url)}&fast=1`);
      assert.match(await settled(page), / error$/, url);
      assert.ok((await statusText(page)).includes(said), `${url}: ${await statusText(page)}`);
      await page.close();
    }
    // The same demo from the page's own origin plays.
    const page = await openPage(browser, site.origin, 'demo=gameover.demo&fast=1');
    assert.match(await settled(page), / done$/);
    await page.close();
  });

  it('a demo over 16 MiB is refused while it downloads', async () => {
    for (const name of ['long', 'endless']) {
      const page = await openPage(browser, site.origin, `demo=${name}.demo&fast=1`);
      assert.match(await settled(page), / error$/, name);
      assert.ok((await statusText(page)).includes(`${name}.demo: larger than 16 MiB`), name);
      assert.ok(await eventually(() => oversized[name].closed), `${name}: the page did not hang up`);
      await page.close();
      assert.ok(oversized[name].bytes < 48 * MiB, `${name}: ${oversized[name].bytes} bytes sent`);
    }
  });

  it('each shot is added to the page once', async () => {
    const page = await browser.newPage();
    // Counts the characters of every text put into the page.
    await page.evaluateOnNewDocument(() => {
      window.textWritten = 0;
      new MutationObserver(records => {
        for (const record of records) for (const node of record.addedNodes) window.textWritten += node.textContent.length;
      }).observe(document, { childList: true, subtree: true });
    });
    const shots = Array.from({ length: 40 }, (_, n) => n).join(',');
    await page.goto(`${site.origin}/index.html?demo=frames.demo&fast=1&shot=${shots}`);
    assert.match(await settled(page), / done$/);
    const { written, kept, taken } = await page.evaluate(() => ({
      written: window.textWritten,
      kept: document.getElementById('taviShots').textContent.length,
      taken: Object.keys(window.taviShots).length,
    }));
    assert.equal(taken, 40);
    assert.ok(written < 2 * kept, `${written} characters written for ${kept} kept`);
    await page.close();
  });
});

// The list as the browser stores it: names and scores, empty when none is stored.
function storedList(page) {
  return storedBytes(page).then(bytes => readList(bytes || []));
}

function readList(bytes) {
  const list = [];
  for (let at = 0; at + 16 <= bytes.length; at += 16) {
    const name = Buffer.from(bytes.slice(at, at + 12));
    const end = name.indexOf(0);
    list.push([name.subarray(0, end < 0 ? 12 : end).toString('latin1'), Buffer.from(bytes.slice(at + 12, at + 16)).readInt32LE()]);
  }
  return list;
}

describe('the stored list', () => {
  it('two tabs that save keep both results', async () => {
    // A stored list that a game without a catch beats: ten entries of -1.
    const seeding = await openPage(browser, site.origin, 'lang=de');
    await started(seeding);
    await seeding.evaluate(() => {
      const bytes = new Uint8Array(160);
      for (let k = 0; k < 10; ++k) bytes.set([45, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255], k * 16);
      FS.writeFile('/data/Highscore.dat', bytes);
      return new Promise(resolve => FS.syncfs(false, resolve));
    });
    assert.equal((await storedList(seeding))[9][1], -1);
    await seeding.close();

    // Both tabs have read that list before either saves (a tab in the background shows no frames).
    const tabs = [];
    for (let n = 0; n < 2; ++n) {
      tabs.push(await openPage(browser, site.origin, 'lang=de'));
      await started(tabs[n]);
    }
    for (const [tab, name] of [[tabs[0], 'a'], [tabs[1], 'b']]) {
      await tab.bringToFront();
      await frames(tab, 2);
      await tab.mouse.click(500, 260);  // "Neues Spiel"
      await frames(tab, 10);
      await pressKey(tab, 'Escape');  // ends the game with 0 points: on the list
      await pressKey(tab, `Key${name.toUpperCase()}`);
      await pressKey(tab, 'Enter');
      assert.ok(await eventually(async () => (await storedList(tab)).some(([entry]) => entry === name)), name);
    }
    const stored = await storedList(tabs[1]);
    assert.deepEqual(stored.slice(0, 3), [['a', 0], ['b', 0], ['-', -1]]);
    // The second tab shows the merged list.
    const shown = await tabs[1].evaluate(() => Array.from(FS.readFile('/data/Highscore.dat')));
    assert.deepEqual(readList(shown), stored);
    for (const tab of tabs) await tab.close();
  });
});
