// How the page loads, in headless Chromium: what the first frame does not need is not waited for.
//   node tests/web/loading_test.mjs WEB_BUILD_DIR
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, describe, it } from 'node:test';
import zlib from 'node:zlib';
import { launch, openPage, pressKey, serve, settled, started, statusText } from './harness.mjs';

const web = fs.realpathSync(process.argv[2] || 'build-web');

let browser;
let site;
let musicAsked;  // the held request for the music: a function that answers it
const mediaAsked = [];  // the names of the media files the pages asked for
let mediaAnswer = {};  // how tavi.data.gz is answered: its bytes and headers of a test's own

before(async () => {
  let asked;
  musicAsked = new Promise(resolve => { asked = resolve; });
  const media = name => (request, response) => {
    mediaAsked.push(name);
    const { bytes = fs.readFileSync(path.join(web, name)), headers = {} } = name === 'tavi.data.gz' ? mediaAnswer : {};
    response.writeHead(200, { 'Content-Type': 'application/octet-stream', 'Cache-Control': 'no-store', ...headers }).end(bytes);
  };
  site = await serve(web, {
    '/tavi.data': media('tavi.data'),
    '/tavi.data.gz': media('tavi.data.gz'),
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

  it('the media come packed and the browser unpacks them; as they come where it cannot or the server did', async () => {
    // The first frame of a page; `prepare` runs before the page's own scripts.
    const firstFrame = async prepare => {
      mediaAsked.length = 0;
      const page = await browser.newPage();
      await page.setViewport({ width: 1024, height: 768 });
      if (prepare) await page.evaluateOnNewDocument(prepare);
      await page.goto(`${site.origin}/index.html?lang=de&shot=0`);
      await page.waitForFunction(() => window.taviShots[0], { timeout: 60000 });
      const shot = await page.evaluate(() => window.taviShots[0]);
      await page.close();
      return shot;
    };
    mediaAnswer = {};
    const packed = await firstFrame();
    assert.deepEqual(mediaAsked, ['tavi.data.gz']);
    assert.equal(await firstFrame(() => { delete window.DecompressionStream; }), packed);
    assert.deepEqual(mediaAsked, ['tavi.data']);
    mediaAnswer = { headers: { 'Content-Encoding': 'gzip' } };
    assert.equal(await firstFrame(), packed);
    assert.deepEqual(mediaAsked, ['tavi.data.gz']);
  });

  it('media that cannot be unpacked, or are not the program\'s, are an error on the page', async () => {
    const failure = async () => {
      const page = await openPage(browser, site.origin, 'lang=de&shot=0');
      assert.match(await settled(page, 60000), / error$/);
      const said = await statusText(page);
      await page.close();
      return said;
    };
    mediaAnswer = { bytes: Buffer.concat([Buffer.from([0x1f, 0x8b]), Buffer.from('not the media')]) };
    assert.match(await failure(), /tavi\.data\.gz: /);
    mediaAnswer = { bytes: zlib.gzipSync(Buffer.alloc(1000)) };
    assert.match(await failure(), /tavi\.data: 1000 Bytes, das Programm erwartet [0-9]+/);
    mediaAnswer = { bytes: Buffer.alloc(0) };
    assert.match(await failure(), /tavi\.data: 0 Bytes, das Programm erwartet [0-9]+/);
    mediaAnswer = {};
  });
});
