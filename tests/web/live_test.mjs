// Live play in headless Chromium as a person plays it: touch controls, the device keyboard's
// field and a gamepad, read back through the trace of trace=1:
//   node tests/web/live_test.mjs WEB_BUILD_DIR
// Exit status 77 when there is no web build or no puppeteer-core (./web.sh makes both).
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const web = path.resolve(process.argv[2] || 'build-web');
const here = path.dirname(fileURLToPath(import.meta.url));
if (!fs.existsSync(path.join(web, 'tavi.wasm')) || !fs.existsSync(path.join(here, 'node_modules', 'puppeteer-core'))) {
  console.log('SKIPPED: no web build or no puppeteer-core (./web.sh makes both)');
  process.exit(77);
}
const { after, before, describe, it } = await import('node:test');
const { frames, launch, serve, started } = await import('./harness.mjs');

// Ten entries of -1 points: any game gets onto this list.
const lowList = Buffer.alloc(160);
for (let k = 0; k < 10; ++k) lowList.set([45, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255], k * 16);

let browser;
let site;
before(async () => {
  site = await serve(fs.realpathSync(web), { '/low.dat': (request, response) => response.writeHead(200).end(lowList) });
  browser = await launch();
});
after(async () => {
  await browser?.stop();
  await site?.stop();
});

async function open(viewport, query, setup) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  if (setup) await page.evaluateOnNewDocument(setup);
  await page.goto(`${site.origin}/index.html?lang=de&trace=1&${query}`);
  await started(page);
  return page;
}

// The fields of the last line of the live trace: frame, screen, score, lives, x, y, pose, ...
async function state(page) {
  const lines = (await page.evaluate(() => window.taviTrace)).trim().split('\n');
  const [frame, screen, , , x, , pose] = lines[lines.length - 1].split(' ').map(Number);
  return { frame, screen, x, pose, lines };
}

async function until(page, test, what) {
  for (let tries = 0; tries < 200; ++tries) {
    const now = await state(page);
    if (test(now)) return now;
    await frames(page, 2);
  }
  assert.fail(`never: ${what}`);
}

// A point of the 1024 x 768 frame on the page.
async function framePoint(page, x, y) {
  const box = await (await page.$('#canvas')).boundingBox();
  return [box.x + x * box.width / 1024, box.y + y * box.height / 768];
}

async function centre(page, control) {
  const box = await (await page.$(`[data-tavi-control="${control}"]`)).boundingBox();
  assert.ok(box, `${control} is shown`);
  return [box.x + box.width / 2, box.y + box.height / 2];
}

function shown(page, control) {
  return page.$eval(`[data-tavi-control="${control}"]`, element => element.getClientRects().length > 0);
}

async function tap(page, control) {
  const touch = await page.touchscreen.touchStart(...await centre(page, control));
  await touch.end();
}

const phone = { width: 844, height: 390, hasTouch: true };
const menuScreen = 0;
const gameScreen = 1;
const nameScreen = 3;
const netPose = 4;

describe('touch', () => {
  it('a tap starts a game; the pad swims while the net nets', async () => {
    const page = await open(phone, '');
    assert.equal(await page.$eval('#taviControls', element => getComputedStyle(element).display), 'none');
    await page.touchscreen.tap(...await framePoint(page, 500, 260));  // "Neues Spiel"
    const start = await until(page, now => now.screen === gameScreen, 'a game');
    assert.notEqual(await page.$eval('#taviControls', element => getComputedStyle(element).display), 'none');

    // Swimming right with one finger, a tap on the net with another meanwhile.
    const swim = await page.touchscreen.touchStart(...await centre(page, 'right'));
    await frames(page, 10);
    await tap(page, 'net');
    await frames(page, 10);
    await swim.end();
    const swum = await state(page);
    assert.ok(swum.x > start.x, `x ${start.x} -> ${swum.x}`);
    const after = swum.lines.filter(line => Number(line.split(' ')[0]) > start.frame);
    assert.ok(after.some(line => Number(line.split(' ')[6]) === netPose), 'the diver held out the net');
    await frames(page, 5);
    const resting = (await state(page)).x;
    await frames(page, 10);
    assert.equal((await state(page)).x, resting, 'the diver stops when the finger lifts');
    await page.close();
  });

  it('a name typed through the device keyboard lands in the list', async () => {
    const page = await open({ width: 390, height: 844, hasTouch: true }, 'highscore=low.dat');
    await page.touchscreen.tap(...await framePoint(page, 500, 260));
    await until(page, now => now.screen === gameScreen, 'a game');
    await tap(page, 'escape');  // ends the game with 0 points
    await until(page, now => now.screen === nameScreen, 'the name entry');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'taviTyping');
    // The device keyboard inserts text without key codes.
    await page.keyboard.sendCharacter('Ab');
    await page.keyboard.sendCharacter('b 7!');
    await until(page, now => now.lines[now.lines.length - 1].endsWith('"abb 7"'), 'the typed name');
    await tap(page, 'enter');
    await until(page, now => now.screen !== nameScreen, 'the list');
    const list = await page.evaluate(() => Array.from(FS.readFile('/data/Highscore.dat')));
    assert.equal(Buffer.from(list.slice(0, 5)).toString('latin1'), 'abb 7');
    await frames(page, 2);  // the next frame is no longer typed
    assert.notEqual(await page.evaluate(() => document.activeElement.id), 'taviTyping');
    // Esc leads from the list to the menu, where it would end the program: it is gone there.
    assert.equal(await shown(page, 'pause'), false, 'pause outside a game');
    await tap(page, 'escape');
    await until(page, now => now.screen === menuScreen, 'the menu');
    await frames(page, 2);
    assert.equal(await shown(page, 'escape'), false, 'Esc on the menu');
    await page.close();
  });
});

describe('gamepad', () => {
  it('a stick swims once it has been centred, Start pauses, and the pad may come and go', async () => {
    // The test's own pad in place of the browser's.
    const page = await open({ width: 1024, height: 768 }, '', () => {
      window.testPads = [];
      navigator.getGamepads = () => window.testPads;
    });
    await page.mouse.click(500, 260);
    const start = await until(page, now => now.screen === gameScreen, 'a game');
    const setPad = (axes, buttons = []) => page.evaluate((axes, buttons) => {
      window.testPads = [{ connected: true, axes,
                           buttons: Array.from({ length: 17 }, (_, n) => ({ pressed: buttons.includes(n), value: 0 })) }];
    }, axes, buttons);
    await setPad([0.9, 0]);  // plugged in with the stick resting deflected
    await frames(page, 10);
    assert.equal((await state(page)).x, start.x, 'a resting stick swims');
    await setPad([0, 0]);
    await frames(page, 2);
    await setPad([0.9, 0]);
    await frames(page, 10);
    const swum = await state(page);
    assert.ok(swum.x > start.x, `x ${start.x} -> ${swum.x}`);

    await setPad([0, 0], [9]);  // Start
    await frames(page, 2);
    const paused = (await state(page)).frame;
    await new Promise(resolve => setTimeout(resolve, 300));
    assert.equal((await state(page)).frame, paused, 'frames went on while paused');
    await setPad([0, 0]);
    await frames(page, 2);
    await page.evaluate(() => { window.testPads = []; });  // unplugged, then back with Start held
    await frames(page, 2);
    await setPad([0, 0], [9]);
    await until(page, now => now.frame > paused + 5, 'the game going on');
    await page.close();
  });
});
