// The page's own texts. They are German, as the game's are, and the game's catalogues translate
// them (po/*.po; xgettext finds them by PageText, with the second argument as the context). The
// build puts each language's translations of these texts, and of nothing else, into
// TaviCatalogues; a text a catalogue does not translate stays German, as in the game.
const TaviCatalogues = {};
// The texts in the catalogue's language CODE (pt_BR is pt_BR, else pt), and LanguageName(code),
// each language's name in itself.
function PageTexts(code) {
  const catalogue = TaviCatalogues[code] || TaviCatalogues[code.split('_')[0]] || {};
  const PageText = (german, context) => catalogue[context ? context + '\u0004' + german : german] || german;
  return {
    fullscreen: PageText('Vollbild'),
    loading: PageText('tavi lädt …'),
    ended: PageText('tavi ist beendet. Neu laden, um wieder zu spielen.'),
    failed: PageText('tavi kann nicht starten:'),
    title: PageText('Einstellungen'),
    music: PageText('Musik'),
    effects: PageText('Effekte'),
    keys: PageText('Tasten'),
    up: PageText('Hoch'),
    down: PageText('Runter'),
    left: PageText('Links'),
    right: PageText('Rechts'),
    net: PageText('Netz'),
    pause: PageText('Pause'),
    pressKey: PageText('Taste drücken …'),
    language: PageText('Sprache'),
    browserLanguage: PageText('wie der Browser'),
    scaling: PageText('Skalierung'),
    smooth: PageText('weich'),
    sharp: PageText('scharf'),
    pauseOnFocusLoss: PageText('Pause, wenn das Spiel den Fokus verliert (gilt ab dem nächsten Start)'),
    touch: PageText('Touch-Steuerung anzeigen'),
    highscores: PageText('Highscore-Liste'),
    export: PageText('Exportieren'),
    import: PageText('Importieren'),
    close: PageText('Schließen'),
    imported: PageText('Die Liste wurde übernommen.'),
    problems: PageText('In den gespeicherten Einstellungen stimmt etwas nicht:'),
    notStored: PageText('Der Browser speichert keine Einstellungen; die Änderung gilt bis zum Neuladen.'),
    // %s: the name of the file that was to be imported.
    wrongSize: PageText('%s ist keine Highscore-Liste: Eine Liste hat genau 160 Bytes. ' +
                        'Die gespeicherte Liste bleibt, wie sie ist.'),
    outOfOrder: PageText('%s ist keine Highscore-Liste: Die Punkte stehen nicht vom besten abwärts. ' +
                         'Die gespeicherte Liste bleibt, wie sie ist.'),
    badName: PageText('%s ist keine Highscore-Liste: Ein Name enthält Steuerzeichen. ' +
                      'Die gespeicherte Liste bleibt, wie sie ist.'),
    languageName: PageText('Deutsch', 'the name of the catalogue\'s own language, in that language'),
    // Why the game cannot start, after "failed"; %s: a file's name or address, a page parameter.
    notFetched: PageText('%s: konnte nicht abgerufen werden (kein solcher Server oder ein anderer Ursprung, ' +
                         'der es nicht erlaubt)'),
    tooLarge: PageText('%s: größer als 16 MiB'),
    notLoaded: PageText('%s: konnte nicht geladen werden'),
    // %s: the media's file, its size, the size the program was built with.
    otherMedia: PageText('%s: %s Bytes, das Programm erwartet %s'),
    notAFrame: PageText('%s: keine Bildnummer'),
    exitStatus: PageText('Exit-Status %s'),
  };
}

// TEXT with each %s in turn replaced by the next of VALUES.
function FillIn(text, ...values) {
  let next = 0;
  return text.replace(/%s/g, () => String(values[next++]));
}
