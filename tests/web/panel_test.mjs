// The settings panel, the highscore list's import and the installable app, in headless Chromium:
//   node tests/web/panel_test.mjs WEB_BUILD_DIR
import assert from 'node:assert/strict';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, describe, it } from 'node:test';
import { launch, openPage, serve, started, storedBytes } from './harness.mjs';

const web = fs.realpathSync(process.argv[2] || 'build-web');
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'tavi-panel-'));

let browser;
let site;
let newBuild = false;

before(async () => {
  // sw.js as built, or as a new build would serve it: the same files under another cache name.
  site = await serve(web, {
    '/sw.js': (request, response) => {
      const worker = fs.readFileSync(path.join(web, 'sw.js'), 'utf8');
      response.writeHead(200, { 'Content-Type': 'text/javascript' })
        .end(newBuild ? worker.replace(/const CACHE = '[^']*'/, "const CACHE = 'tavi-newbuild'") : worker);
    },
  });
  browser = await launch();
});

after(async () => {
  await browser?.stop();
  await site?.stop();
  fs.rmSync(work, { recursive: true, force: true });
});

// Waits until the game has told the page its settings and the gear is there, then opens the panel.
async function openPanel(page) {
  await started(page);
  await page.waitForSelector('#taviSettingsButton', { timeout: 30000 });
  await page.click('#taviSettingsButton');
  await page.waitForSelector('#taviPanel:not([hidden])');
}

async function reload(page) {
  await page.reload();
  await openPanel(page);
}

function panelState(page) {
  return page.evaluate(() => ({
    music: document.getElementById('taviMusic').value,
    effects: document.getElementById('taviEffects').value,
    net: document.getElementById('taviKey-net').textContent,
    scaling: document.getElementById('taviScaling').value,
    sharp: document.getElementById('canvas').classList.contains('sharp'),
    pause: document.getElementById('taviPauseOnFocusLoss').checked,
    touch: document.body.dataset.touch || 'on',
    problems: document.getElementById('taviProblems').hidden ? '' : document.getElementById('taviProblems').textContent,
  }));
}

async function setControl(page, selector, value) {
  await page.$eval(selector, (control, value) => {
    if (control.type === 'checkbox') control.checked = value;
    else control.value = value;
    control.dispatchEvent(new Event('change'));
  }, value);
}


async function eventually(condition) {
  for (let tries = 0; tries < 100; ++tries) {
    if (await condition()) return true;
    await new Promise(resolve => setTimeout(resolve, 100));
  }
  return false;
}

function listFile(name, entries) {
  const bytes = Buffer.alloc(160);
  entries.forEach(([entry, score], k) => {
    bytes.write(entry, k * 16, 'latin1');
    bytes.writeInt32LE(score, k * 16 + 12);
  });
  const file = path.join(work, name);
  fs.writeFileSync(file, bytes);
  return file;
}

async function importFile(page, file) {
  // The answer to the import before stays until this one's comes.
  await page.$eval('#taviPanelMessage', message => { message.textContent = ''; });
  const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#taviImport')]);
  await chooser.accept([file]);
  await page.waitForFunction(() => document.getElementById('taviPanelMessage').textContent !== '');
  return page.$eval('#taviPanelMessage', message => message.textContent);
}

describe('settings panel', () => {
  it('changes survive a reload and a value that cannot be read is its default, said on the panel', async () => {
    const page = await openPage(browser, site.origin, 'lang=en');
    await openPanel(page);
    const before = await panelState(page);
    assert.deepEqual(before, { music: '100', effects: '100', net: 'SPACE', scaling: 'smooth', sharp: false,
                               pause: true, touch: 'on', problems: '' });
    await setControl(page, '#taviMusic', '40');
    await setControl(page, '#taviScaling', 'sharp');
    await setControl(page, '#taviPauseOnFocusLoss', false);
    await setControl(page, '#taviTouch', false);
    await page.click('#taviKey-net');
    await page.keyboard.press('KeyX');
    await page.waitForFunction(() => document.getElementById('taviKey-net').textContent === 'X');
    // Another action's key swaps the two; a key the game keeps for itself is not taken.
    await page.click('#taviKey-up');
    await page.keyboard.press('KeyX');
    await page.waitForFunction(() => document.getElementById('taviKey-up').textContent === 'X');
    assert.equal(await page.$eval('#taviKey-net', button => button.textContent), 'UP');
    await page.click('#taviKey-left');
    await page.keyboard.press('F9');
    await page.waitForFunction(() => document.getElementById('taviKey-left').textContent === 'LEFT');
    const stored = await page.evaluate(() => localStorage.getItem('taviSettings'));
    assert.match(stored, /^music_volume = 40$/m);

    await reload(page);
    assert.deepEqual(await panelState(page), { music: '40', effects: '100', net: 'UP', scaling: 'sharp', sharp: true,
                                               pause: false, touch: 'off', problems: '' });

    // Written by hand: one bad number and a key the game keeps for itself; the rest still counts.
    await page.evaluate(() => localStorage.setItem('taviSettings',
      '[sound]\nmusic_volume = loud\neffect_volume = 30\n[keys]\nnet = ESCAPE\n'));
    await reload(page);
    const state = await panelState(page);
    assert.equal(state.music, '100');
    assert.equal(state.effects, '30');
    assert.equal(state.net, 'SPACE');
    assert.match(state.problems, /music_volume = "loud"/);
    assert.match(state.problems, /net = "ESCAPE"/);

    // Stored text that is no text file stays as it is, whatever is changed on the panel.
    const junk = 'music_volume = 5\0';
    await page.evaluate(junk => localStorage.setItem('taviSettings', junk), junk);
    await reload(page);
    assert.match((await panelState(page)).problems, /tavi\.ini/);
    await setControl(page, '#taviMusic', '20');
    assert.equal((await panelState(page)).music, '100');
    assert.equal(await page.evaluate(() => localStorage.getItem('taviSettings')), junk);
    await page.close();
  });
});

describe('F9\'s mute', () => {
  it('is written into the stored settings and read at the next start; a file that is no settings file stays', async () => {
    const page = await openPage(browser, site.origin, 'lang=en');
    await started(page);
    await page.evaluate(() => localStorage.removeItem('taviSettings'));
    await page.reload();
    await started(page);
    const muted = () => page.evaluate(() => (localStorage.getItem('taviSettings') || '').match(/^muted = (\w+)$/m)?.[1]);
    await page.keyboard.press('F9');
    assert.ok(await eventually(async () => await muted() === 'true'), 'the mute was not stored');
    await page.reload();
    await started(page);
    await page.keyboard.press('F9');  // sound on again, if the game started muted
    assert.ok(await eventually(async () => await muted() === 'false'), 'the game did not start muted');

    const junk = 'muted = false\0';
    await page.evaluate(junk => localStorage.setItem('taviSettings', junk), junk);
    await page.reload();
    await started(page);
    await page.keyboard.press('F9');
    await new Promise(resolve => setTimeout(resolve, 500));
    assert.equal(await page.evaluate(() => localStorage.getItem('taviSettings')), junk);
    await page.close();
  });
});

describe('the page\'s texts', () => {
  it('come from the catalogue of the game\'s language, each language named in itself', async () => {
    const text = path.join(work, 'notes.txt');
    fs.writeFileSync(text, 'not a highscore list\n');
    const seen = {};
    for (const lang of ['fr', 'de']) {
      const page = await openPage(browser, site.origin, `lang=${lang}`);
      await openPanel(page);
      seen[lang] = await page.evaluate(() => ({
        fullscreen: document.getElementById('fullscreen').textContent,
        title: document.querySelector('#taviPanel h2').textContent,
        languages: Array.from(document.querySelectorAll('#taviLanguage option'), option => option.textContent),
      }));
      seen[lang].refused = await importFile(page, text);
      await page.close();
    }
    assert.deepEqual(seen.fr.languages, ['celle du navigateur', 'Deutsch', 'English', 'Español', 'Français', 'Italiano',
                                         'Nederlands', 'Português']);
    assert.equal(seen.fr.fullscreen, 'Plein écran');
    assert.equal(seen.fr.title, 'Paramètres');
    assert.match(seen.fr.refused, /^notes\.txt n’est pas une liste de scores : une liste fait exactement 160 octets\./);
    assert.deepEqual(seen.de.languages.slice(1), seen.fr.languages.slice(1));
    assert.equal(seen.de.fullscreen, 'Vollbild');
    assert.equal(seen.de.title, 'Einstellungen');
    assert.match(seen.de.refused, /^notes\.txt ist keine Highscore-Liste: Eine Liste hat genau 160 Bytes\./);
  });
});

describe('highscore list on the panel', () => {
  it('a good list is stored and exported; a file that is no list leaves the stored one byte for byte', async () => {
    const page = await openPage(browser, site.origin, 'lang=en');
    await openPanel(page);
    const stores = async file => {
      const bytes = JSON.stringify(Array.from(fs.readFileSync(file)));
      return eventually(async () => JSON.stringify(await storedBytes(page)) === bytes);
    };
    const first = listFile('first.dat', [['ann', 70], ['bob', 70], ['-', 0]]);
    assert.match(await importFile(page, first), /has been imported/);
    assert.ok(await stores(first), 'the imported list was not stored');

    const text = path.join(work, 'notes.txt');
    fs.writeFileSync(text, 'not a highscore list\n');
    assert.match(await importFile(page, text), /notes\.txt is no highscore list: a list has exactly 160 bytes/);
    const rising = listFile('rising.dat', [['ann', 5], ['bob', 9]]);
    assert.match(await importFile(page, rising), /rising\.dat is no highscore list: its scores do not go down/);
    const named = listFile('named.dat', [['a\tb', 5]]);
    assert.match(await importFile(page, named), /named\.dat is no highscore list: a name holds control characters/);
    await new Promise(resolve => setTimeout(resolve, 500));
    assert.deepEqual(await storedBytes(page), Array.from(fs.readFileSync(first)));

    const good = listFile('Highscore.dat', [['ina', 300], ['jo', 5]]);
    assert.match(await importFile(page, good), /has been imported/);
    assert.ok(await stores(good), 'the second list was not stored');
    await page.reload();
    await started(page);
    await page.waitForSelector('#taviSettingsButton');
    const exported = await page.evaluate(() => {
      Module.ccall('TaviExportList', 'number', ['string'], ['/export.dat']);
      return Array.from(FS.readFile('/export.dat'));
    });
    assert.deepEqual(exported, Array.from(fs.readFileSync(good)));
    await page.close();
  });
});

describe('installable app', () => {
  it('the manifest is valid JSON with its icons at their sizes; the offline copy keeps them and a new build replaces it', async () => {
    const manifest = JSON.parse(await (await fetch(`${site.origin}/manifest.webmanifest`)).text());
    assert.equal(manifest.name, 'tavi');
    assert.ok(['fullscreen', 'standalone'].includes(manifest.display));
    assert.equal(manifest.orientation, 'landscape');
    assert.ok(manifest.icons.some(icon => icon.purpose === 'maskable'));
    for (const size of ['192x192', '512x512']) assert.ok(manifest.icons.some(icon => icon.sizes === size), size);
    for (const icon of manifest.icons) {
      const bytes = Buffer.from(await (await fetch(`${site.origin}/${icon.src}`)).arrayBuffer());
      assert.equal(bytes.subarray(1, 4).toString(), 'PNG', icon.src);
      assert.equal(`${bytes.readUInt32BE(16)}x${bytes.readUInt32BE(20)}`, icon.sizes, icon.src);
    }

    const page = await openPage(browser, site.origin, 'lang=en');
    await started(page);
    const missing = await page.evaluate(async files => {
      await navigator.serviceWorker.ready;
      const names = await caches.keys();
      const cache = await caches.open(names.find(name => name.startsWith('tavi-')));
      const absent = [];
      for (const file of files) if (!await cache.match(file)) absent.push(file);
      return absent;
    }, ['index.html', 'manifest.webmanifest', 'tavi.data.gz', ...manifest.icons.map(icon => icon.src)]);
    assert.deepEqual(missing, []);
    // A mask of any shape cuts into the maskable icon's edge: it is opaque to its corners.
    const maskable = manifest.icons.find(icon => icon.purpose === 'maskable');
    const corners = await page.evaluate(async src => {
      const image = new Image();
      image.src = src;
      await image.decode();
      const canvas = document.createElement('canvas');
      canvas.width = image.width;
      canvas.height = image.height;
      const context = canvas.getContext('2d');
      context.drawImage(image, 0, 0);
      const last = image.width - 1;
      return [[0, 0], [last, 0], [0, last], [last, last]].map(([x, y]) => context.getImageData(x, y, 1, 1).data[3]);
    }, maskable.src);
    assert.deepEqual(corners, [255, 255, 255, 255]);

    // A new build served: the browser's next look at sw.js installs it, and its copy replaces the old.
    newBuild = true;
    const caches = await page.evaluate(async () => {
      const registration = await navigator.serviceWorker.ready;
      await registration.update();
      for (let tries = 0; tries < 300; ++tries) {
        const names = await caches.keys();
        if (!names.some(name => name !== 'tavi-newbuild')) return names;
        await new Promise(resolve => setTimeout(resolve, 100));
      }
      return caches.keys();
    });
    assert.deepEqual(caches, ['tavi-newbuild']);
    await page.close();
  });
});
