// The game's window in the browser. Every click, drop, key and typed text
// goes to the game's handler (game.wasm) and the page then shows the state
// the game reports; the page holds no rule of its own. What it adds is what
// a browser asks for: one scale for the whole window, pointer drags, modal
// message boxes shown after the handler, Web Audio, keys and a screen
// reader's words.
'use strict';
(() => {
  const $ = (id) => document.getElementById(id);
  const FIGURES = ['Morvy', 'YEL', 'BLU', 'NAV', 'GRE', 'RED', 'ORA'];
  const FIGURE_KEYS = 'PYBNGRO';
  const A = { state: 0, click: 1, cinsert: 2, randomizer: 3, reset: 4, reseto: 5, drop: 6, dblclick: 7,
    help: 8, type: 9, seed: 10, queue: 11, place: 12 };
  const WIDTH = 527, HEIGHT = 367;
  // Under morvane-web-drive cues, messages and help are recorded, not
  // sounded, and no tab is opened.
  const driven = /[?&]drive(&|$)/.test(location.search);
  const log = { cues: [], messages: [], help: [] };

  const root = $('Morvane1');
  const board = $('board');
  const cells = [];
  for (let n = 0; n <= 28; n++) cells.push($(`Square(${n})`));
  const codes = [];
  for (let i = 0; i < 7; i++) codes.push($(`CODE(${i})`));
  const spot = $('spot'), score = $('score_box'), status = $('status');
  const buttons = {};
  for (const name of ['cinsert', 'Randomizer_button', 'reseto', 'Reset_button']) buttons[name] = $(name);
  const figures = FIGURES.map((name) => $(name));
  const frameCaption = $('Frame1_caption');
  const dialog = $('message');

  // --- Scale: the whole window fits the viewport, pictures for its density.
  let scale = 1;
  function fit() {
    scale = Math.min(innerWidth / WIDTH, innerHeight / HEIGHT);
    root.style.setProperty('--scale', scale);
    const density = scale * (devicePixelRatio || 1);
    root.classList.toggle('x2', density > 1 && density <= 2);
    root.classList.toggle('x3', density > 2);
  }
  addEventListener('resize', fit);
  fit();
  // index.html?marks starts with the pieces' marks shown, as morvane --marks does.
  if (new URLSearchParams(location.search).has('marks')) root.classList.add('marks');

  // --- The game module, and the actions that run its handlers in order.
  let game = null, mvAct = null, state = null;
  const ready = MorvaneGame({ askHint: (position, ticket) => askHint(position, ticket) }).then((module) => {
    game = module;
    mvAct = (action, a, b, text) => {
      const size = game.lengthBytesUTF8(text) + 1;
      const at = game._malloc(size);
      game.stringToUTF8(text, at, size);
      const reply = JSON.parse(game.UTF8ToString(game._mv_act(action, a, b, at)));
      game._free(at);
      return reply;
    };
    state = mvAct(A.state, 0, 0, '').state;
    render(state);
    root.dataset.ready = '1';
    // The board takes the keys from the start, as on the desktop.
    if (document.activeElement === document.body) board.focus({ preventScroll: true });
    requestAnimationFrame(() => performance.mark('board-drawn'));  // the game's first frame, for the benchmark
  });

  let queue = Promise.resolve();
  let running = 0;
  let waiters = [];
  function settled() {
    if (running === 0 || dialog.open) {
      const list = waiters;
      waiters = [];
      for (const resolve of list) resolve(dialog.open);
    }
  }
  // Runs handler `action` after those before it, then plays out what it
  // asked for: cues, message boxes (each over the board as the game left it
  // then), the help, the keyboard focus.
  function act(action, a = 0, b = 0, text = '') {
    running++;
    queue = queue.then(() => ready).then(async () => {
      clearHint();
      const reply = mvAct(action, a, b, String(text));
      let focus = -1;
      for (const event of reply.events) {
        if (event.cue) playCue(event.cue);
        else if (event.help) openHelp(event.help);
        else if (event.focus !== undefined) focus = event.focus;
        else if (event.message) {
          render(event.state);
          announce(event.said);
          await showMessage(...event.message);
        }
      }
      render(reply.state);
      if (!reply.hint_still) clearHint();  // a hint is about the board it was given for
      if (focus >= 0 && !codes[focus].hidden) codes[focus].focus();
      if (reply.said) announce(reply.said);
    }).catch((error) => console.error(error)).finally(() => {
      running--;
      settled();
    });
    return queue;
  }

  // --- Showing the state.
  let cursor = 1, lastPlayer = 0;
  function render(s) {
    // Where the focus would go if its control were hidden, as the window
    // stands before this state is shown.
    const before = document.activeElement;
    const handed = before && before !== document.body && state ? nextInTab(before, 1) : null;
    state = s;
    for (let n = 0; n <= 28; n++) {
      const [shown, picture, caption, pointer, name, description] = s.Square[n];
      const cell = cells[n];
      cell.hidden = !shown;
      if (cell.dataset.picture !== picture) cell.dataset.picture = picture;
      if (cell.textContent !== caption) cell.textContent = caption;
      cell.classList.toggle('target', pointer === 1);
      if (n > 0) {
        if (cell.getAttribute('aria-label') !== name) cell.setAttribute('aria-label', name);
        if (cell.getAttribute('aria-description') !== description) cell.setAttribute('aria-description', description);
      }
    }
    const box = (input, [text, locked, shown]) => {
      if (input.value !== text) input.value = text;
      input.readOnly = locked;
      if (shown !== undefined) input.hidden = !shown;
    };
    codes.forEach((input, i) => box(input, s.CODE[i]));
    box(spot, s.spot);
    box(score, s.score_box.slice(0, 2));
    for (const name in buttons) {
      const [caption, shown] = s[name];
      if (buttons[name].textContent !== caption) buttons[name].textContent = caption;
      buttons[name].hidden = !shown;
    }
    const [caption, size, bold] = s.Frame1;
    if (frameCaption.textContent !== caption) frameCaption.textContent = caption;
    frameCaption.style.fontSize = `${size}pt`;
    frameCaption.style.fontWeight = bold ? 'bold' : 'normal';
    figures.forEach((figure, i) => { figure.hidden = !s.palette[i]; });
    // The board cursor follows the player whenever the player's cell changes.
    if (s.player !== lastPlayer) {
      lastPlayer = s.player;
      if (s.player) setCursor(s.player);
    }
    // A control hidden while it has the focus hands it on, as on the desktop.
    if (before && before !== document.body && before.hidden) {
      if (handed && !handed.hidden) focusByTab(handed);
      else tab(handed || before, 1);
    }
  }

  function setCursor(n) {
    cells[cursor].classList.remove('cursor');
    cursor = n;
    cells[n].classList.add('cursor');
    board.setAttribute('aria-activedescendant', cells[n].id);
  }
  setCursor(1);

  // The status a screen reader hears: what the last action did.
  function announce(text) {
    if (!text) return;
    if (status.textContent === text) status.textContent = '';
    status.textContent = text;
  }

  // --- Message boxes: modal, answered with OK.
  function showMessage(text, title, icon) {
    if (driven) log.messages.push({ text, title, icon });
    $('message_title').textContent = title;
    $('message_text').textContent = text;
    const mark = $('message_icon');
    mark.className = icon;
    mark.textContent = icon === 'warning' ? '!' : 'i';
    return new Promise((resolve) => {
      dialog.addEventListener('close', () => resolve(), { once: true });
      dialog.showModal();
      $('message_ok').focus();
      settled();
    });
  }
  dialog.addEventListener('cancel', (event) => event.preventDefault());  // OK is the only way out

  // --- Cues, through Web Audio once the player has touched the page.
  let sound = true, audio = null;
  const cueBuffers = new Map();
  function startAudio() {
    if (audio || driven) return;
    const Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return;
    audio = new Context();
    for (const name of ['move.wav', 'no.wav', 'won.wav', 'lose.wav', 'Yellow.wav', 'red.wav', 'blue.wav', 'green.wav']) {
      fetch(`cues/${name}`).then((r) => r.arrayBuffer()).then((data) => audio.decodeAudioData(data))
        .then((buffer) => cueBuffers.set(name, buffer)).catch(() => {});  // a cue that fails stays silent
    }
  }
  addEventListener('pointerdown', startAudio, { capture: true });
  addEventListener('keydown', startAudio, { capture: true });
  function playCue(name) {
    if (!sound) return;
    if (driven) { log.cues.push(name); return; }
    const buffer = cueBuffers.get(name);
    if (!audio || !buffer) return;
    const source = audio.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.destination);
    source.start();
  }

  function openHelp(file) {
    if (driven) { log.help.push(file); return; }
    // The help file's pages, with its contents beside them.
    window.open('help/contents.html', 'morvane-help');
  }

  // --- The hint: the game's hint model asks the worker for every board in
  // play; H shows its answer, at once or as soon as it comes.
  let worker = null, workerBusy = false, waiting = null, hintTimer = 0;
  const call = (name, ...args) => JSON.parse(game.UTF8ToString(game[name](...args)));
  // One search at a time: a board asked for while the worker searches waits
  // for that search to end, and only the latest board is kept.
  function post(message) {
    if (workerBusy) { waiting = message; return; }
    workerBusy = true;
    worker.postMessage(message);
  }
  function askHint(position, ticket) {
    if (!worker) {
      worker = new Worker('hint.js');
      worker.onmessage = ({ data }) => {
        workerBusy = false;
        if (waiting) { const next = waiting; waiting = null; post(next); }
        const size = game.lengthBytesUTF8(data.answer) + 1;
        const at = game._malloc(size);
        game.stringToUTF8(data.answer, at, size);
        const shown = call('_mv_hint_found', data.ticket, at);
        game._free(at);
        if (shown) present(shown);
      };
    }
    post({ ticket, position });
  }
  function showHint() {
    clearHint();
    const shown = call('_mv_hint_press');
    if (shown) present(shown);
  }
  function present(shown) {
    if (!shown.mark) return note(shown.text);
    const mark = $('hint_mark'), cell = cells[shown.cell];
    Object.assign(mark.style, { left: cell.style.left, top: cell.style.top, width: cell.style.width, height: cell.style.height });
    mark.hidden = false;
    clearTimeout(hintTimer);
    hintTimer = setTimeout(clearHint, 1500);
    announce(shown.text);
  }
  function note(text) {
    const place = state && state.entry ? [146, 345, 298, 22] : [168, 298, 353, 47];
    const box = $('hint_note');
    Object.assign(box.style, { left: `${place[0]}px`, top: `${place[1]}px`, width: `${place[2]}px`, height: `${place[3]}px` });
    box.textContent = text;
    box.hidden = false;
    clearTimeout(hintTimer);
    hintTimer = setTimeout(clearHint, 4000);
    announce(text);
  }
  function clearHint() {
    $('hint_mark').hidden = true;
    $('hint_note').hidden = true;
  }

  // --- Mouse, pen and finger.
  // Only the boxes and buttons take the focus when clicked, as on the desktop.
  root.addEventListener('mousedown', (event) => {
    if (!event.target.closest('input, button')) event.preventDefault();
  });
  // A finger's tap acts on its release over the control, as a click would:
  // the browser may not make a click of the first tap after a finger has
  // dragged a figure. The click that may still follow is not taken twice.
  function onActivate(el, handler) {
    let touched = false, tapped = 0;
    el.addEventListener('pointerdown', (event) => { touched = event.pointerType === 'touch'; });
    el.addEventListener('pointerup', (event) => {
      if (!touched || event.pointerType !== 'touch') return;
      touched = false;
      const under = document.elementFromPoint(event.clientX, event.clientY);
      if (!under || !el.contains(under)) return;
      tapped = event.timeStamp;
      handler();
    });
    el.addEventListener('click', (event) => {
      if (tapped && event.timeStamp - tapped < 1000) { tapped = 0; event.preventDefault(); return; }
      handler();
    });
  }
  cells.forEach((cell, n) => {
    onActivate(cell, () => { if (!cell.hidden) act(A.click, n); });
    cell.addEventListener('pointerdown', () => cell.classList.add('down'));
    for (const type of ['pointerup', 'pointerleave', 'pointercancel']) cell.addEventListener(type, () => cell.classList.remove('down'));
  });
  onActivate(buttons.cinsert, () => act(A.cinsert));
  onActivate(buttons.Randomizer_button, () => act(A.randomizer));
  onActivate(buttons.Reset_button, () => act(A.reset));
  onActivate(buttons.reseto, () => act(A.reseto));
  onActivate($('message_ok'), () => { if (dialog.open) dialog.close(); });
  score.addEventListener('dblclick', () => act(A.dblclick));

  // A double click in a box selects as the desktop's boxes select: from the
  // start of the word before the click to the start of the next word, the
  // blanks after the click left out.
  const measure = document.createElement('canvas').getContext('2d');
  function selectWord(input, event) {
    const text = input.value, style = getComputedStyle(input);
    measure.font = `${style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
    const x = (event.clientX - input.getBoundingClientRect().left) / scale - parseFloat(style.paddingLeft) - parseFloat(style.borderLeftWidth) + input.scrollLeft;
    let cursor = 0;
    while (cursor < text.length && measure.measureText(text.slice(0, cursor + 1)).width - measure.measureText(text[cursor]).width / 2 < x) cursor++;
    const kind = (c) => (/\s/.test(c) ? 0 : /[\p{L}\p{N}_]/u.test(c) ? 1 : 2);
    const starts = [];
    for (let i = 0; i < text.length; i++) if (kind(text[i]) && (i === 0 || kind(text[i - 1]) !== kind(text[i]))) starts.push(i);
    const next = Math.min(cursor + 1, text.length);
    const from = starts.filter((i) => i < next).pop() || 0;
    let to = starts.find((i) => i > from);
    if (to === undefined) to = text.length;
    while (to > cursor && /\s/.test(text[to - 1])) to--;
    input.setSelectionRange(from, Math.max(from, to));
  }
  for (const input of [...codes, score, spot]) input.addEventListener('dblclick', (event) => selectWord(input, event));
  codes.forEach((input, i) => input.addEventListener('input', () => act(A.type, i, 0, input.value)));
  score.addEventListener('input', () => act(A.type, 7, 0, score.value));
  spot.addEventListener('input', () => render(state));

  // Dragging a palette figure: pressing and moving on it lifts it, letting
  // go over a cell drops it there. Pointer events serve mouse, pen and touch.
  figures.forEach((figure, index) => {
    let start = null, ghost = null;
    figure.addEventListener('pointerdown', (event) => {
      if (event.button !== 0) return;
      start = { x: event.clientX, y: event.clientY };
      figure.setPointerCapture(event.pointerId);
    });
    figure.addEventListener('pointermove', (event) => {
      if (!start) return;
      if (!ghost) {
        if (Math.abs(event.clientX - start.x) + Math.abs(event.clientY - start.y) < 10 * scale) return;
        ghost = figure.cloneNode(false);
        ghost.removeAttribute('id');
        ghost.className = `figure dragged ${root.className}`;
        ghost.style.cssText = `width:${figure.offsetWidth}px;height:${figure.offsetHeight}px;transform:scale(${scale});` +
          `background-image:${getComputedStyle(figure).backgroundImage};background-size:${getComputedStyle(figure).backgroundSize}`;
        document.body.append(ghost);
      }
      ghost.style.left = `${event.clientX - (figure.offsetWidth / 2) * scale}px`;
      ghost.style.top = `${event.clientY - (figure.offsetHeight / 2) * scale}px`;
    });
    const finish = (event, drop) => {
      if (!start) return;
      start = null;
      if (!ghost) return;
      ghost.remove();
      ghost = null;
      if (!drop) return;
      const target = document.elementFromPoint(event.clientX, event.clientY);
      const n = cells.indexOf(target);
      if (n >= 0 && !target.hidden && !figure.hidden) act(A.drop, n, index);
    };
    figure.addEventListener('pointerup', (event) => finish(event, true));
    figure.addEventListener('pointercancel', (event) => finish(event, false));
  });

  // --- Keys: the desktop's, where the browser lets a page have them.
  const tabChain = () => (state && state.entry
    ? [...codes, buttons.cinsert, buttons.reseto, board, score, buttons.Randomizer_button, buttons.Reset_button]
    : [board, buttons.cinsert, buttons.Randomizer_button, buttons.Reset_button, score, buttons.reseto, ...codes]);
  const tabbable = (el) => !el.hidden && !(codes.includes(el) && el.readOnly);
  // Moves the focus from `from` to the next (+1) or previous (-1) control
  // of the tab order that takes it.
  function nextInTab(from, step) {
    const chain = tabChain();
    let at = chain.indexOf(from);
    if (at < 0) at = step > 0 ? -1 : 0;
    for (let i = 1; i <= chain.length; i++) {
      const el = chain[(at + step * i + chain.length * 2) % chain.length];
      if (tabbable(el)) return el;
    }
    return null;
  }
  function focusByTab(el) {
    el.focus();
    if (el instanceof HTMLInputElement) el.select();  // a box reached by Tab is all selected
  }
  function tab(from, step) {
    const el = nextInTab(from, step);
    if (el) focusByTab(el);
  }
  const press = (button) => { if (!button.hidden) act(A[{ cinsert: 'cinsert', Randomizer_button: 'randomizer', reseto: 'reseto', Reset_button: 'reset' }[button.id]]); };
  // Code entry ended from a code box: the board takes the keys again.
  function leaveCodeBox() {
    queue.then(() => {
      if (state.entry) return;
      const focus = document.activeElement;
      if (!focus || focus === document.body || focus === spot || codes.includes(focus) || focus.hidden) board.focus();
    });
  }
  function toggleSound() {
    sound = !sound;
    note(sound ? 'Sound on.' : 'Sound off.');
  }
  // The pieces' marks, off until M: a sign besides each piece's colour.
  function toggleMarks() {
    root.classList.toggle('marks');
    note(root.classList.contains('marks') ? 'Piece marks on.' : 'Piece marks off.');
  }
  function copyCode() {
    if (!state || !state.code) return;
    if (navigator.clipboard) navigator.clipboard.writeText(state.code).catch(() => {});
    note(`Board code ${state.code} copied.`);
  }
  const STEPS = { 7: [-1, -1], 8: [-1, 0], 9: [-1, 1], 4: [0, -1], 6: [0, 1], 1: [1, -1], 2: [1, 0], 3: [1, 1] };
  function keypadMove(event) {
    if (!event.code.startsWith('Numpad') || event.ctrlKey || event.altKey || event.metaKey) return false;
    const step = STEPS[event.code.slice(6)];
    if (!step) return false;
    const player = state.player;
    if (player) {
      const row = Math.floor((player - 1) / 7) + step[0], column = (player - 1) % 7 + step[1];
      const n = row >= 0 && row < 4 && column >= 0 && column < 7 ? row * 7 + column + 1 : 0;
      if (n && !cells[n].hidden) act(A.click, n);
    }
    return true;
  }

  document.addEventListener('keydown', (event) => {
    if (dialog.open) return;  // the message box has the keys
    const key = event.key, target = document.activeElement;
    const ctrl = event.ctrlKey && !event.altKey && !event.metaKey;
    const plainMods = !event.ctrlKey && !event.altKey && !event.metaKey;
    const lower = key.length === 1 ? key.toLowerCase() : key;
    const inBox = target instanceof HTMLInputElement;
    const editable = inBox && !target.readOnly;
    const done = () => { event.preventDefault(); event.stopPropagation(); };
    // The window's shortcuts come before any control's keys.
    if ((ctrl && !event.shiftKey && lower === 'n') || (event.altKey && !event.ctrlKey && !event.metaKey && lower === 'n')) {
      done(); return press(buttons.Randomizer_button);
    }
    if (key === 'F5' && plainMods && !event.shiftKey) { done(); return press(buttons.Reset_button.hidden ? buttons.reseto : buttons.Reset_button); }
    if (ctrl && !event.shiftKey && lower === 'e') { done(); press(buttons.cinsert); return leaveCodeBox(); }
    if (ctrl && !event.shiftKey && lower === 'm') { done(); return toggleSound(); }
    if (ctrl && !event.shiftKey && lower === 'c' && !(inBox && target.selectionStart !== target.selectionEnd)) { done(); return copyCode(); }
    if (key === 'Tab' && plainMods) { done(); return tab(target, event.shiftKey ? -1 : 1); }
    // The focused control's own keys.
    if (codes.includes(target) && (key === 'Enter') && !event.ctrlKey && !event.altKey) {
      done();
      if (state.entry) press(buttons.cinsert);
      return leaveCodeBox();
    }
    if (editable && key.length === 1 && !event.ctrlKey && !event.altKey && !event.metaKey) return;  // typing
    if (lower === 'm' && plainMods && !event.shiftKey) { done(); return toggleMarks(); }
    if (inBox && ['Backspace', 'Delete', 'ArrowLeft', 'ArrowRight', 'Home', 'End'].includes(key) && !event.code.startsWith('Numpad')) return;
    if (inBox && ctrl && ['a', 'c', 'v', 'x', 'z', 'y'].includes(lower)) return;
    // Any other key a box leaves alone, as the desktop's boxes do (Up and
    // Down would move the caret here); the window may still want it.
    if (inBox) event.preventDefault();
    // Enter clicks the focused button, as Space does: the desktop's buttons take both.
    if (target instanceof HTMLButtonElement && key === 'Enter') {
      done();
      if (plainMods && !event.shiftKey && Object.values(buttons).includes(target)) press(target);
      return;
    }
    if (target instanceof HTMLButtonElement && key === ' ' && plainMods) return;   // Space clicks it
    // The arrows hand a button's focus on, forwards or back.
    if (target instanceof HTMLButtonElement && !event.code.startsWith('Numpad') &&
        ['ArrowUp', 'ArrowLeft', 'ArrowRight', 'ArrowDown'].includes(key)) {
      done();
      return tab(target, key === 'ArrowUp' || key === 'ArrowLeft' ? -1 : 1);
    }
    if (target === board) {
      const keypad = event.code.startsWith('Numpad');
      if (!keypad && !event.ctrlKey && !event.altKey && !event.metaKey) {
        const moves = { ArrowUp: [-1, 0], ArrowDown: [1, 0], ArrowLeft: [0, -1], ArrowRight: [0, 1] }[key];
        if (moves) {
          done();
          board.classList.add('keys');
          const row = Math.floor((cursor - 1) / 7) + moves[0], column = (cursor - 1) % 7 + moves[1];
          if (row >= 0 && row < 4 && column >= 0 && column < 7) setCursor(row * 7 + column + 1);
          return;
        }
      }
      if (!event.ctrlKey && !event.altKey && !event.metaKey) {
        if (key === 'Enter' || key === ' ') { done(); if (!cells[cursor].hidden) act(A.click, cursor); return; }
        const figure = keypad ? -1 : FIGURE_KEYS.indexOf(key.toUpperCase());
        if (figure >= 0 && key.length === 1) {
          done();
          if (!figures[figure].hidden && !cells[cursor].hidden) act(A.drop, cursor, figure);
          return;
        }
      }
    }
    // The window's keys.
    if (key === 'F1' && plainMods && !event.shiftKey) { done(); return act(A.help); }
    if (lower === 'h' && plainMods) { done(); return showHint(); }
    if (keypadMove(event)) return done();
    if (key === 'F1' || key === 'F5') event.preventDefault();  // no browser help, no reload
  }, { capture: true });

  // A board code pasted into a code box while entering a code fills all seven.
  codes.forEach((input) => input.addEventListener('paste', (event) => {
    if (!state.entry || input.readOnly) return;
    const text = (event.clipboardData.getData('text') || '').split(/[\r\n]/)[0];
    if (!text.includes(',')) return;
    event.preventDefault();
    const boxes = text.split(',');
    for (let i = 0; i < 7; i++) act(A.type, i, 0, boxes[i] || '');
  }));

  // A board code in the address (#9,23,28,21,15,4,27) is placed at start.
  ready.then(() => {
    const code = decodeURIComponent(location.hash.slice(1));
    if (/^[^,]*(,[^,]*){1,6}$/.test(code)) act(A.place, 0, 0, code);
  });

  // For morvane-web-drive: the test aids and what was recorded.
  if (driven) {
    window.morvane = {
      ready: () => ready,
      seed: (text) => act(A.seed, 0, 0, text),
      queue: (cell) => act(A.queue, cell),
      // Resolves once every action has played out, or a message box waits
      // for OK (true).
      settle: () => new Promise((resolve) => { waiters.push(resolve); settled(); }),
      take: () => {
        const taken = { cues: log.cues, messages: log.messages, help: log.help };
        log.cues = []; log.messages = []; log.help = [];
        return taken;
      },
      place: (code) => act(A.place, 0, 0, code),
      position: () => game.UTF8ToString(game._mv_position()),
      variables: () => ({ moves_left: state.moves_left, score: state.score, cell_count: state.cell_count, restore_mode: state.restore_mode }),
      board: () => state,
    };
  }
})();
