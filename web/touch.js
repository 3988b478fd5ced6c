// Touch controls: a four-way pad, the net, pause, Esc and (while a name is typed) Enter, shown once
// the page gets a touch. Each control is an element with data-tavi-control naming what it presses,
// and presses its key as the keyboard does, with a key event on the window: the game sees the same
// presses and key snapshot. document.body.dataset.touch = "off" hides them, "on" shows them
// without a touch. Demo runs have none: their keys are the demo's.
(() => {
  if (params.has('demo')) return;
  const body = document.body;

  // Keys held by the controls, by KeyboardEvent.code: who holds each one, and whether the game has
  // looked at the keys since it went down. A tap quicker than a frame is let go only after that
  // look, so that every tap counts.
  const held = new Map();
  function send(type, code, key) {
    window.dispatchEvent(new KeyboardEvent(type, { code, key, bubbles: true, cancelable: true }));
  }
  function hold(code, key, holder) {
    let entry = held.get(code);
    if (!entry) {
      entry = { key, holders: new Set(), seen: false };
      held.set(code, entry);
      send('keydown', code, key);
    }
    entry.holders.add(holder);
  }
  function letGo(code, holder) {
    const entry = held.get(code);
    if (!entry) return;
    entry.holders.delete(holder);
    if (entry.holders.size === 0 && entry.seen) {
      held.delete(code);
      send('keyup', code, entry.key);
    }
  }

  // Typing through the device's keyboard: each character goes down for one look of the game and up
  // for the next, as the name entry takes one character per change of the key it sees.
  const typed = [];
  let typedDown = null;
  function typeNext() {
    if (typedDown) {
      letGo(typedDown, 'typed');
      typedDown = null;
      return;
    }
    const character = typed.shift();
    if (character === undefined) return;
    typedDown = keyCodeFor(character);
    hold(typedDown, character === '\b' ? 'Backspace' : character, 'typed');
  }
  function keyCodeFor(character) {
    if (character === '\b') return 'Backspace';
    if (character === ' ') return 'Space';
    if (character === '.') return 'Period';
    if (/^[0-9]$/.test(character)) return 'Digit' + character;
    if (/^[a-z]$/i.test(character)) return 'Key' + character.toUpperCase();
    return 'KeyQ';  // a letter key: the game leaves out what a name cannot hold, as typed on a keyboard
  }

  const previousKeysRead = Module.onTaviKeysRead;
  Module.onTaviKeysRead = () => {
    if (previousKeysRead) previousKeysRead();
    for (const [code, entry] of held) {
      entry.seen = true;
      if (entry.holders.size === 0) letGo(code, null);
    }
    typeNext();
  };

  // The controls, drawn as SVG in the colours of the game's score and lives.
  const svg = inner => `<svg viewBox="-50 -50 100 100" aria-hidden="true">${inner}</svg>`;
  const arrow = 'M0,-46 L16,-24 L-16,-24 Z';
  const controls = document.createElement('div');
  controls.id = 'taviControls';
  controls.innerHTML = `
    <div id="taviPad" class="taviControl">${svg(`<circle r="47"/>${[0, 90, 180, 270].map(angle =>
      `<path d="${arrow}" transform="rotate(${angle})"/>`).join('')}`)}
      <div data-tavi-control="up"></div><div data-tavi-control="right"></div>
      <div data-tavi-control="down"></div><div data-tavi-control="left"></div>
    </div>
    <div class="taviControl taviButton" data-tavi-control="net">${svg(
      '<circle r="47"/><g class="mesh"><circle r="26"/><path d="M-26,0H26M0,-26V26M-18,-18L18,18M-18,18L18,-18"/><path d="M18,18L38,38"/></g>')}</div>
    <div class="taviControl taviButton" data-tavi-control="enter">${svg(
      '<circle r="47"/><path class="mark" d="M24,-22V8H-20M-8,-6L-22,8L-8,22"/>')}</div>
    <div class="taviControl taviButton" data-tavi-control="pause">${svg(
      '<circle r="47"/><path d="M-18,-22h12v44h-12zM6,-22h12v44h-12z"/>')}</div>
    <div class="taviControl taviButton" data-tavi-control="escape">${svg(
      '<circle r="47"/><path class="mark" d="M-18,-18L18,18M-18,18L18,-18"/>')}</div>`;
  body.appendChild(controls);
  const field = document.createElement('input');
  field.id = 'taviTyping';
  Object.assign(field, { type: 'text', autocomplete: 'off', spellcheck: false, enterKeyHint: 'done' });
  field.setAttribute('autocapitalize', 'none');
  field.setAttribute('autocorrect', 'off');
  body.appendChild(field);

  const buttonKeys = {
    net: ['Space', ' '], pause: ['Pause', 'Pause'], escape: ['Escape', 'Escape'], enter: ['Enter', 'Enter'],
  };
  for (const button of controls.querySelectorAll('.taviButton')) {
    const [code, key] = buttonKeys[button.dataset.taviControl];
    button.addEventListener('pointerdown', event => {
      event.preventDefault();
      button.setPointerCapture(event.pointerId);
      button.classList.add('held');
      hold(code, key, event.pointerId);
    });
    const release = event => {
      button.classList.remove('held');
      letGo(code, event.pointerId);
    };
    button.addEventListener('pointerup', release);
    button.addEventListener('pointercancel', release);
  }

  // The pad swims where the finger is from its centre, diagonals too, and follows the finger.
  const pad = document.getElementById('taviPad');
  const directions = { up: ['ArrowUp', 0, -1], down: ['ArrowDown', 0, 1], left: ['ArrowLeft', -1, 0], right: ['ArrowRight', 1, 0] };
  const padHeld = new Map();  // pointer -> directions held
  function steer(event) {
    const box = pad.getBoundingClientRect();
    const x = (event.clientX - box.left) / box.width * 2 - 1;
    const y = (event.clientY - box.top) / box.height * 2 - 1;
    const length = Math.hypot(x, y);
    // A finger near the centre rests; otherwise each direction within 67.5 degrees of it swims.
    const wanted = new Set(length < 0.2 ? [] : Object.keys(directions)
      .filter(name => (x * directions[name][1] + y * directions[name][2]) / length > 0.38));
    const before = padHeld.get(event.pointerId) || new Set();
    for (const name of before) if (!wanted.has(name)) letGo(directions[name][0], event.pointerId);
    for (const name of wanted) if (!before.has(name)) hold(directions[name][0], directions[name][0], event.pointerId);
    padHeld.set(event.pointerId, wanted);
    showPad();
  }
  function showPad() {
    const all = new Set([...padHeld.values()].flatMap(names => [...names]));
    for (const name of Object.keys(directions)) {
      pad.querySelector(`[data-tavi-control="${name}"]`).classList.toggle('held', all.has(name));
    }
  }
  function leavePad(event) {
    for (const name of padHeld.get(event.pointerId) || []) letGo(directions[name][0], event.pointerId);
    padHeld.delete(event.pointerId);
    showPad();
  }
  pad.addEventListener('pointerdown', event => {
    event.preventDefault();
    pad.setPointerCapture(event.pointerId);
    steer(event);
  });
  pad.addEventListener('pointermove', event => { if (padHeld.has(event.pointerId)) steer(event); });
  pad.addEventListener('pointerup', leavePad);
  pad.addEventListener('pointercancel', leavePad);
  controls.addEventListener('contextmenu', event => event.preventDefault());

  // Shown from the first touch on, unless switched off (the page's settings may set data-touch).
  let touched = false;
  function update() {
    const shown = body.dataset.touch === 'on' || (touched && body.dataset.touch !== 'off');
    body.classList.toggle('taviTouch', shown);
    if (!shown) {
      for (const [code] of held) {
        held.delete(code);
        send('keyup', code, code);
      }
      padHeld.clear();
    }
  }
  // The first touch's own tap lands where it was aimed: in portrait the frame moves up only after it.
  window.addEventListener('pointerdown', event => {
    if (event.pointerType !== 'touch' || touched) return;
    touched = true;
    const timer = setTimeout(update, 500);
    window.addEventListener('click', () => {
      clearTimeout(timer);
      setTimeout(update, 0);
    }, { capture: true, once: true });
  }, true);
  new MutationObserver(update).observe(body, { attributes: true, attributeFilter: ['data-touch'] });
  update();

  // The controls a screen needs: Esc would end the program on the menu, only a game pauses.
  const screens = ['menu', 'game', 'highscore', 'name', 'instructions'];
  const previousScreen = Module.onTaviScreen;
  Module.onTaviScreen = screen => {
    if (previousScreen) previousScreen(screen);
    body.dataset.taviScreen = screens[screen] || '';
  };

  // While a name is typed: the hidden field over the frame takes a tap and opens the device's
  // keyboard; what it gets goes to the game character by character.
  const previousTyping = Module.onTaviTyping;
  Module.onTaviTyping = typing => {
    if (previousTyping) previousTyping(typing);
    body.classList.toggle('taviTypingName', typing);
    field.value = '';
    if (typing && body.classList.contains('taviTouch')) {
      field.focus({ preventScroll: true });
    } else if (document.activeElement === field) {
      field.blur();
      document.getElementById('canvas').focus();
    }
  };
  field.addEventListener('input', () => {
    typed.push(...field.value);
    field.value = '';
  });
  field.addEventListener('beforeinput', event => {
    if (event.inputType.startsWith('delete')) typed.push('\b');
  });
  // A device keyboard's Enter without a key code; a keyboard's own Enter reaches the game anyway.
  field.addEventListener('keydown', event => {
    if (event.key !== 'Enter' || event.code) return;
    event.preventDefault();
    hold('Enter', 'Enter', 'field');
    letGo('Enter', 'field');
  });
})();
