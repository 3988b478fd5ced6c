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
  const LanguageNames = { de: 'Deutsch', en: 'English', es: 'Espa\u00f1ol', fr: 'Fran\u00e7ais', it: 'Italiano',
                          nl: 'Nederlands', pt: 'Portugu\u00eas', pt_BR: 'Portugu\u00eas (Brasil)' };
  const allWords = {
    de: { title: 'Einstellungen', music: 'Musik', effects: 'Effekte', keys: 'Tasten',
          up: 'Hoch', down: 'Runter', left: 'Links', right: 'Rechts', net: 'Netz', pause: 'Pause',
          pressKey: 'Taste dr\u00fccken \u2026', language: 'Sprache', browserLanguage: 'wie der Browser',
          scaling: 'Skalierung', smooth: 'weich', sharp: 'scharf',
          pauseOnFocusLoss: 'Pause, wenn das Spiel den Fokus verliert (gilt ab dem n\u00e4chsten Start)',
          touch: 'Touch-Steuerung anzeigen', highscores: 'Highscore-Liste', export: 'Exportieren',
          import: 'Importieren', close: 'Schlie\u00dfen', imported: 'Die Liste wurde \u00fcbernommen.',
          problems: 'In den gespeicherten Einstellungen stimmt etwas nicht:',
          notStored: 'Der Browser speichert keine Einstellungen; die \u00c4nderung gilt bis zum Neuladen.',
          wrongSize: '{file} ist keine Highscore-Liste: Eine Liste hat genau 160 Bytes. Die gespeicherte Liste bleibt, wie sie ist.',
          outOfOrder: '{file} ist keine Highscore-Liste: Die Punkte stehen nicht vom besten abw\u00e4rts. Die gespeicherte Liste bleibt, wie sie ist.',
          badName: '{file} ist keine Highscore-Liste: Ein Name enth\u00e4lt Steuerzeichen. Die gespeicherte Liste bleibt, wie sie ist.' },
    en: { title: 'Settings', music: 'Music', effects: 'Sound effects', keys: 'Keys',
          up: 'Up', down: 'Down', left: 'Left', right: 'Right', net: 'Net', pause: 'Pause',
          pressKey: 'Press a key \u2026', language: 'Language', browserLanguage: 'as the browser',
          scaling: 'Scaling', smooth: 'smooth', sharp: 'sharp',
          pauseOnFocusLoss: 'Pause when the game loses the focus (from the next start)',
          touch: 'Show touch controls', highscores: 'Highscore list', export: 'Export',
          import: 'Import', close: 'Close', imported: 'The list has been imported.',
          problems: 'Something is wrong with the stored settings:',
          notStored: 'The browser keeps no settings; the change holds until the page is reloaded.',
          wrongSize: '{file} is no highscore list: a list has exactly 160 bytes. The stored list stays as it is.',
          outOfOrder: '{file} is no highscore list: its scores do not go down from the best. The stored list stays as it is.',
          badName: '{file} is no highscore list: a name holds control characters. The stored list stays as it is.' },
    es: { title: 'Ajustes', music: 'M\u00fasica', effects: 'Efectos de sonido', keys: 'Teclas',
          up: 'Arriba', down: 'Abajo', left: 'Izquierda', right: 'Derecha', net: 'Red', pause: 'Pausa',
          pressKey: 'Pulsa una tecla \u2026', language: 'Idioma', browserLanguage: 'el del navegador',
          scaling: 'Escalado', smooth: 'suave', sharp: 'n\u00edtido',
          pauseOnFocusLoss: 'Pausa cuando el juego pierde el foco (desde el pr\u00f3ximo inicio)',
          touch: 'Mostrar los controles t\u00e1ctiles', highscores: 'Lista de r\u00e9cords', export: 'Exportar',
          import: 'Importar', close: 'Cerrar', imported: 'La lista se ha importado.',
          problems: 'Algo no est\u00e1 bien en los ajustes guardados:',
          notStored: 'El navegador no guarda ajustes; el cambio vale hasta que se recargue la p\u00e1gina.',
          wrongSize: '{file} no es una lista de r\u00e9cords: una lista tiene exactamente 160 bytes. La lista guardada queda como est\u00e1.',
          outOfOrder: '{file} no es una lista de r\u00e9cords: sus puntos no bajan desde el mejor. La lista guardada queda como est\u00e1.',
          badName: '{file} no es una lista de r\u00e9cords: un nombre tiene caracteres de control. La lista guardada queda como est\u00e1.' },
    fr: { title: 'Param\u00e8tres', music: 'Musique', effects: 'Effets sonores', keys: 'Touches',
          up: 'Haut', down: 'Bas', left: 'Gauche', right: 'Droite', net: 'Filet', pause: 'Pause',
          pressKey: 'Appuyez sur une touche \u2026', language: 'Langue', browserLanguage: 'celle du navigateur',
          scaling: 'Mise \u00e0 l\u2019\u00e9chelle', smooth: 'lisse', sharp: 'nette',
          pauseOnFocusLoss: 'Pause quand le jeu perd le focus (au prochain d\u00e9marrage)',
          touch: 'Afficher les commandes tactiles', highscores: 'Meilleurs scores', export: 'Exporter',
          import: 'Importer', close: 'Fermer', imported: 'La liste a \u00e9t\u00e9 import\u00e9e.',
          problems: 'Quelque chose ne va pas dans les param\u00e8tres enregistr\u00e9s :',
          notStored: 'Le navigateur ne garde pas de param\u00e8tres ; le changement vaut jusqu\u2019au rechargement de la page.',
          wrongSize: '{file} n\u2019est pas une liste de scores : une liste fait exactement 160 octets. La liste enregistr\u00e9e reste telle quelle.',
          outOfOrder: '{file} n\u2019est pas une liste de scores : ses points ne descendent pas depuis le meilleur. La liste enregistr\u00e9e reste telle quelle.',
          badName: '{file} n\u2019est pas une liste de scores : un nom contient des caract\u00e8res de contr\u00f4le. La liste enregistr\u00e9e reste telle quelle.' },
    it: { title: 'Impostazioni', music: 'Musica', effects: 'Effetti sonori', keys: 'Tasti',
          up: 'Su', down: 'Gi\u00f9', left: 'Sinistra', right: 'Destra', net: 'Rete', pause: 'Pausa',
          pressKey: 'Premi un tasto \u2026', language: 'Lingua', browserLanguage: 'quella del browser',
          scaling: 'Scala', smooth: 'morbida', sharp: 'nitida',
          pauseOnFocusLoss: 'Pausa quando il gioco perde il focus (dal prossimo avvio)',
          touch: 'Mostra i comandi touch', highscores: 'Classifica', export: 'Esporta',
          import: 'Importa', close: 'Chiudi', imported: 'La classifica \u00e8 stata importata.',
          problems: 'Qualcosa non va nelle impostazioni salvate:',
          notStored: 'Il browser non conserva impostazioni; la modifica vale fino al ricaricamento della pagina.',
          wrongSize: '{file} non \u00e8 una classifica: una classifica ha esattamente 160 byte. La classifica salvata resta com\u2019\u00e8.',
          outOfOrder: '{file} non \u00e8 una classifica: i punti non scendono dal migliore. La classifica salvata resta com\u2019\u00e8.',
          badName: '{file} non \u00e8 una classifica: un nome contiene caratteri di controllo. La classifica salvata resta com\u2019\u00e8.' },
    nl: { title: 'Instellingen', music: 'Muziek', effects: 'Geluidseffecten', keys: 'Toetsen',
          up: 'Omhoog', down: 'Omlaag', left: 'Links', right: 'Rechts', net: 'Net', pause: 'Pauze',
          pressKey: 'Druk op een toets \u2026', language: 'Taal', browserLanguage: 'die van de browser',
          scaling: 'Schaling', smooth: 'vloeiend', sharp: 'scherp',
          pauseOnFocusLoss: 'Pauzeren wanneer het spel de focus verliest (vanaf de volgende start)',
          touch: 'Aanraakbediening tonen', highscores: 'Highscorelijst', export: 'Exporteren',
          import: 'Importeren', close: 'Sluiten', imported: 'De lijst is ge\u00efmporteerd.',
          problems: 'Er klopt iets niet in de opgeslagen instellingen:',
          notStored: 'De browser bewaart geen instellingen; de wijziging geldt tot de pagina opnieuw wordt geladen.',
          wrongSize: '{file} is geen highscorelijst: een lijst heeft precies 160 bytes. De opgeslagen lijst blijft zoals ze is.',
          outOfOrder: '{file} is geen highscorelijst: de punten dalen niet vanaf de beste. De opgeslagen lijst blijft zoals ze is.',
          badName: '{file} is geen highscorelijst: een naam bevat stuurtekens. De opgeslagen lijst blijft zoals ze is.' },
    pt: { title: 'Configura\u00e7\u00f5es', music: 'M\u00fasica', effects: 'Efeitos sonoros', keys: 'Teclas',
          up: 'Cima', down: 'Baixo', left: 'Esquerda', right: 'Direita', net: 'Rede', pause: 'Pausa',
          pressKey: 'Pressione uma tecla \u2026', language: 'Idioma', browserLanguage: 'o do navegador',
          scaling: 'Escala', smooth: 'suave', sharp: 'n\u00edtida',
          pauseOnFocusLoss: 'Pausar quando o jogo perde o foco (a partir do pr\u00f3ximo in\u00edcio)',
          touch: 'Mostrar os controles de toque', highscores: 'Recordes', export: 'Exportar',
          import: 'Importar', close: 'Fechar', imported: 'A lista foi importada.',
          problems: 'H\u00e1 algo errado nas configura\u00e7\u00f5es guardadas:',
          notStored: 'O navegador n\u00e3o guarda configura\u00e7\u00f5es; a mudan\u00e7a vale at\u00e9 a p\u00e1gina ser recarregada.',
          wrongSize: '{file} n\u00e3o \u00e9 uma lista de recordes: uma lista tem exatamente 160 bytes. A lista guardada fica como est\u00e1.',
          outOfOrder: '{file} n\u00e3o \u00e9 uma lista de recordes: os pontos n\u00e3o descem a partir do melhor. A lista guardada fica como est\u00e1.',
          badName: '{file} n\u00e3o \u00e9 uma lista de recordes: um nome tem caracteres de controle. A lista guardada fica como est\u00e1.' },
  };
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
  let words = allWords.en;
  let panel = null;
  let gear = null;
  let capturing = null;  // the action whose key is awaited
  let lastReport = null;

  function wordsFor(code) {
    return allWords[code] || allWords[code.split('_')[0]] || allWords.en;
  }

  // The page's own words follow the language the game chose (the settings' may differ from the browser's).
  function speakAsTheGame(code) {
    if (code === page.browserLanguage || typeof pageWords !== 'object') return;
    const own = pageWords[code] || pageWords[code.split('_')[0]] || pageWords.en;
    document.documentElement.lang = code.replace('_', '-');
    document.getElementById('fullscreen').textContent = own.fullscreen;
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
    const text = FS.readFile('/tavi.ini', { encoding: 'utf8' });
    if (!store(SettingsKey, text)) say(words.notStored);
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
                              ...page.languages.map(code => element('option', { value: code }, LanguageNames[code] || code)));
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
    say((words[ImportAnswers[answer]] || '').replace('{file}', file.name));
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
        const title = wordsFor(page.browserLanguage).title;
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
      Module.onTaviSettings = report => {
        lastReport = report;
        if (!page.scaleGiven) document.getElementById('canvas').classList.toggle('sharp', report.scaling !== 'smooth');
        if (!panel) {
          words = wordsFor(report.language);
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
