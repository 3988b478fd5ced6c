// The settings panel behind the gear button. The page keeps the text of tavi.ini in the browser's
// storage and hands it to the game before it starts; the game reads it as the desktop reads its
// file and tells the page what it read (Module.onTaviSettings). Each change on the panel is made
// in the file by the game, kept, and taken at once where a running game can take it.
// Also the highscore list's export and import, and the touch controls' on/off.
const TaviPanel = (() => {
  const SettingsKey = 'taviSettings';
  const TouchKey = 'taviTouch';
  const Actions = ['up', 'down', 'left', 'right', 'net', 'pause'];
  // The gear: eight teeth around a hole, on a 24-unit square.
  const GearPath = 'M19.8 9.6 L22.8 10.1 L22.8 13.9 L19.8 14.4 L19.2 15.8 L21.0 18.3 L18.3 21.0 L15.8 19.2 L14.4 19.8 ' +
    'L13.9 22.8 L10.1 22.8 L9.6 19.8 L8.2 19.2 L5.7 21.0 L3.0 18.3 L4.8 15.8 L4.2 14.4 L1.2 13.9 L1.2 10.1 L4.2 9.6 ' +
    'L4.8 8.2 L3.0 5.7 L5.7 3.0 L8.2 4.8 L9.6 4.2 L10.1 1.2 L13.9 1.2 L14.4 4.2 L15.8 4.8 L18.3 3.0 L21.0 5.7 L19.2 8.2 Z ' +
    'M15.5 12 A3.5 3.5 0 1 0 8.5 12 A3.5 3.5 0 1 0 15.5 12 Z';

  // The import's answers by the game's ListCheck: 0 good, 1 wrong size, 2 scores out of order, 3 bad name.
  const ImportAnswers = ['imported', 'wrongSize', 'outOfOrder', 'badName'];

  function stored(key) {
    try { return localStorage.getItem(key); } catch (e) { return null; }
  }
  function store(key, value) {
    try { localStorage.setItem(key, value); return true; } catch (e) { return false; }
  }

  // Touch controls hide on this attribute (set before any of them is drawn).
  function showTouch(on) {
    if (on) delete document.body.dataset.touch;
    else document.body.dataset.touch = 'off';
  }
  showTouch(stored(TouchKey) !== 'off');

  let page = null;      // what start() was given
  let words = PageTexts('en');
  let panel = null;
  let gear = null;
  let capturing = null;  // the action whose key is awaited
  let lastReport = null;

  // The page's own words follow the language the game chose (the settings' may differ from the browser's).
  function speakAsTheGame(code) {
    if (code === page.browserLanguage) return;
    document.documentElement.lang = code.replace('_', '-');
    document.getElementById('fullscreen').textContent = PageTexts(code).fullscreen;
  }

  function element(tag, attributes = {}, ...children) {
    const made = document.createElement(tag);
    for (const [name, value] of Object.entries(attributes)) made.setAttribute(name, value);
    made.append(...children);
    return made;
  }

  function say(text) {
    panel.querySelector('#taviPanelMessage').textContent = text;
  }

  // Makes the change in the game's copy of the file and keeps the file's text.
  function set(section, key, value) {
    if (!Module.ccall('TaviSetSetting', 'number', ['string', 'string', 'string'], [section, key, String(value)])) {
      return show(lastReport);  // the stored text is no settings file and stays as it is
    }
    keep();
  }
  function keep() {
    const text = FS.readFile('/tavi.ini', { encoding: 'utf8' });
    if (!store(SettingsKey, text) && panel) say(words.notStored);
  }

  function build() {
    // Over the whole page, so that no click meant for the panel reaches the game (a click resumes it).
    panel = element('div', { id: 'taviPanel', hidden: '' });
    const box = element('div', { class: 'box', role: 'dialog' });
    panel.appendChild(box);
    const row = (label, control) => element('label', { class: 'row' }, element('span', {}, label), control);
    const volume = id => element('input', { id, type: 'range', min: '0', max: '100', step: '1' });
    const keyRows = Actions.map(action =>
      row(words[action], element('button', { type: 'button', id: 'taviKey-' + action, 'data-action': action })));
    const language = element('select', { id: 'taviLanguage' }, element('option', { value: '' }, words.browserLanguage),
                              ...page.languages.map(code => element('option', { value: code }, PageTexts(code).languageName)));
    const scaling = element('select', { id: 'taviScaling' }, element('option', { value: 'smooth' }, words.smooth),
                            element('option', { value: 'sharp' }, words.sharp));
    const check = id => element('input', { id, type: 'checkbox' });
    const file = element('input', { id: 'taviImportFile', type: 'file', hidden: '' });
    box.append(
      element('h2', {}, words.title),
      element('div', { id: 'taviProblems', hidden: '' }),
      row(words.music, volume('taviMusic')), row(words.effects, volume('taviEffects')),
      element('h3', {}, words.keys), ...keyRows,
      row(words.language, language), row(words.scaling, scaling),
      element('label', { class: 'check' }, check('taviPauseOnFocusLoss'), words.pauseOnFocusLoss),
      element('label', { class: 'check' }, check('taviTouch'), words.touch),
      element('h3', {}, words.highscores),
      element('div', { class: 'buttons' }, element('button', { type: 'button', id: 'taviExport' }, words.export),
              element('button', { type: 'button', id: 'taviImport' }, words.import), file),
      element('p', { id: 'taviPanelMessage', role: 'status' }),
      element('div', { class: 'buttons' }, element('button', { type: 'button', id: 'taviPanelClose' }, words.close)));
    document.body.appendChild(panel);

    panel.querySelector('#taviMusic').addEventListener('change', e => set('sound', 'music_volume', e.target.value));
    panel.querySelector('#taviEffects').addEventListener('change', e => set('sound', 'effect_volume', e.target.value));
    for (const button of panel.querySelectorAll('[data-action]')) {
      button.addEventListener('click', () => {
        capturing = button.dataset.action;
        button.textContent = words.pressKey;
      });
    }
    language.addEventListener('change', () => {
      set('language', 'language', language.value);
      // The game and the page speak the new language after a restart; a lang parameter would win.
      const url = new URL(location.href);
      url.searchParams.delete('lang');
      location.replace(url.href);
    });
    scaling.addEventListener('change', () => set('display', 'scaling', scaling.value));
    panel.querySelector('#taviPauseOnFocusLoss').addEventListener('change',
      e => set('pause', 'on_focus_loss', e.target.checked ? 'true' : 'false'));
    panel.querySelector('#taviTouch').addEventListener('change', e => {
      showTouch(e.target.checked);
      if (!store(TouchKey, e.target.checked ? 'on' : 'off')) say(words.notStored);
    });
    panel.querySelector('#taviExport').addEventListener('click', exportList);
    panel.querySelector('#taviImport').addEventListener('click', () => file.click());
    file.addEventListener('change', () => {
      if (file.files.length) importList(file.files[0]);
      file.value = '';
    });
    panel.querySelector('#taviPanelClose').addEventListener('click', close);
  }

  // The panel shows what the game read.
  function show(report) {
    if (!panel) return;
    panel.querySelector('#taviMusic').value = report.musicVolume;
    panel.querySelector('#taviEffects').value = report.effectVolume;
    Actions.forEach((action, k) => {
      if (capturing !== action) panel.querySelector('#taviKey-' + action).textContent = report.keys[k];
    });
    panel.querySelector('#taviLanguage').value = report.setLanguage;
    panel.querySelector('#taviScaling').value = report.scaling === 'smooth' ? 'smooth' : 'sharp';
    panel.querySelector('#taviPauseOnFocusLoss').checked = report.pauseOnFocusLoss;
    panel.querySelector('#taviTouch').checked = document.body.dataset.touch !== 'off';
    const problems = panel.querySelector('#taviProblems');
    problems.hidden = !report.problems;
    problems.textContent = report.problems ? words.problems + '\n' + report.problems : '';
  }

  function exportList() {
    if (!Module.ccall('TaviExportList', 'number', ['string'], ['/export.dat'])) return;
    const bytes = FS.readFile('/export.dat');
    const link = element('a', { href: URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' })),
                                download: 'Highscore.dat' });
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  }

  // A list longer than 160 bytes is refused for its length: the first 161 bytes tell.
  async function importList(file) {
    const bytes = new Uint8Array(await file.slice(0, 161).arrayBuffer());
    FS.writeFile('/import.dat', bytes);
    const answer = Module.ccall('TaviImportList', 'number', ['string'], ['/import.dat']);
    FS.unlink('/import.dat');
    say(FillIn(words[ImportAnswers[answer]] || '', file.name));
  }

  function open() {
    if (!panel.hidden) return;
    panel.hidden = false;
    // The game pauses as when the page loses the focus, and hears no key while the panel is open.
    window.dispatchEvent(new FocusEvent('blur'));
    if (!Module.taviEnded) Module._TaviTakeEvents();
    say('');
    if (lastReport) show(lastReport);
  }

  function close() {
    capturing = null;
    panel.hidden = true;
    if (lastReport) show(lastReport);
    document.getElementById('canvas').focus();
  }

  // Registered before the game's own listeners, so that none of them hears a key meant for the panel.
  function onKey(event) {
    if (!panel || panel.hidden) return;
    event.stopImmediatePropagation();
    if (event.type !== 'keydown') return;
    if (capturing) {
      event.preventDefault();
      const action = capturing;
      capturing = null;
      const name = event.code === 'Escape' ? '' : Module.ccall('TaviKeyName', 'string', ['string'], [event.code]);
      // The game keeps F9 and Pause for itself (Pause may pause); Esc gives up.
      if (!name || name === 'F9' || (name === 'PAUSE' && action !== 'pause')) return show(lastReport);
      // A key another action has is swapped, as the file allows no two actions on one key.
      const other = Actions.findIndex((a, k) => a !== action && lastReport.keys[k] === name);
      if (other >= 0) set('keys', Actions[other], lastReport.keys[Actions.indexOf(action)]);
      set('keys', action, name);
    } else if (event.code === 'Escape') {
      close();
    }
  }
  window.addEventListener('keydown', onKey, true);
  window.addEventListener('keyup', onKey, true);

  return {
    // Before the game starts: `options` has the page's languages, its browser language (for a game
    // without a language of its own), whether the scaling is the page parameter's, whether this
    // is a test run, which ignores the player's settings, and whether it is a game of the player's
    // own (no demo, no list handed in), which has the panel.
    beforeStart(options) {
      page = options;
      // The gear is there from the start, so that the page has been laid out before the game's first
      // frames; it opens the panel once the game has started. Drawn, not a character: a symbol
      // would send the browser looking through its fonts, and phones show it in colour.
      if (page.ownGame) {
        const title = PageTexts(page.browserLanguage).title;
        gear = element('button', { id: 'taviSettingsButton', type: 'button', title: title, 'aria-label': title });
        gear.innerHTML = '<svg viewBox="0 0 24 24" width="20" height="20" aria-hidden="true"><path fill="currentColor" ' +
          'fill-rule="evenodd" d="' + GearPath + '"/></svg>';
        gear.addEventListener('click', () => { if (panel) open(); });
        document.getElementById('screen').appendChild(gear);
      }
      Module.preRun = (Module.preRun || []).concat(() => {
        ENV.LANG = page.browserLanguage + '.UTF-8';
        const text = page.testRun ? null : stored(SettingsKey);
        if (text !== null) FS.writeFile('/tavi.ini', text);
      });
      // The game wrote the file itself (F9's mute).
      Module.onTaviSettingsWritten = keep;
      Module.onTaviSettings = report => {
        lastReport = report;
        if (!page.scaleGiven) document.getElementById('canvas').classList.toggle('sharp', report.scaling !== 'smooth');
        if (!panel) {
          words = PageTexts(report.language);
          speakAsTheGame(report.language);
          build();
          if (gear) {
            gear.title = words.title;
            gear.setAttribute('aria-label', words.title);
          }
        }
        show(report);
      };
    },
  };
})();
