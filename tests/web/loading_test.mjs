// How the page loads, in headless Chromium: what the first frame does not need is not waited for.
//   node tests/web/loading_test.mjs WEB_BUILD_DIR
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, it } from 'node:test';
import { launch, openPage, pressKey, serve, started } from './harness.mjs';

const web = fs.realpathSync(process.argv[2] || 'build-web');

let browser;
let site;
let musicAsked;  // the held request for the music: a function that answers it

before(async () => {
  let asked;
  musicAsked = new Promise(resolve => { asked = resolve; });
  site = await serve(web, {
    '/music.ogg': (request, response) => asked(() => {
      if (response.headersSent) return;
      response.writeHead(200, { 'Content-Type': 'audio/ogg' }).end(fs.readFileSync(path.join(web, 'music.ogg')));
    }),
  });
  browser = await launch();
});

after(async () => {
  await browser?.stop();
  await site?.stop();
});

describe('loading', () => {
  it('the game starts before the music has come, and plays it from the first key once it has', async () => {
    const page = await openPage(browser, site.origin, 'lang=de');
    await started(page);  // times out when the page waits for the music
    const releaseMusic = await musicAsked;
    const sound = () => page.evaluate(() => ({
      context: Module.taviAudio.context ? Module.taviAudio.context.state : null,
      handedOver: Module.taviAudio.musicReady,
      music: Module.taviAudio.musicStarted,
    }));
    // Nothing makes the sound's context before the player's first key: making it holds up the page.
    assert.deepEqual(await sound(), { context: null, handedOver: false, music: false });
    releaseMusic();
    // The music waits in the page until the sound may play.
    await page.waitForFunction(() => Module.taviAudio.musicComing !== null, { timeout: 30000 });
    assert.deepEqual(await sound(), { context: null, handedOver: false, music: false });
    await pressKey(page, 'ArrowDown');
    assert.deepEqual(await sound(), { context: 'running', handedOver: true, music: true });
    // It is decoded piece by piece as frames go, about a second ahead of what plays.
    await page.waitForFunction(() => Module.taviAudio.musicAt > Module.taviAudio.context.currentTime + 0.8,
                               { timeout: 30000 });
    await page.close();
  });
});
