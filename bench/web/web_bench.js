// The browser edition's figures, printed, never judged:
//   - the site's code (wasm and JS) gzipped;
//   - load to the game's first drawn board in headless Chromium, warm,
//     against a static page of the same cells without wasm or scripts;
//   - a click that moves the player, to the next frame, over many moves;
//   - the hint asked of the page's worker against the native solver, on the
//     dealt boards whose hint takes longest natively.
//
//     node web_bench.js SITE HINT_NATIVE
'use strict';
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const { execFileSync } = require('child_process');
const { open } = require('../../tests/web/browser.js');

const median = (v) => { const s = [...v].sort((a, b) => a - b); return s[Math.floor((s.length - 1) / 2)]; };
const p99 = (v) => { const s = [...v].sort((a, b) => a - b); return s[Math.min(s.length - 1, Math.ceil(s.length * 0.99) - 1)]; };
const kb = (n) => `${(n / 1024).toFixed(1)} KB`;

(async () => {
  const [site, hintNative] = process.argv.slice(2);

  // --- Size.
  let code = 0, raw = 0;
  const rows = [];
  for (const file of ['game.wasm', 'game.js', 'morvane.js', 'hint.js', 'morvane.css', 'index.html']) {
    const data = fs.readFileSync(path.join(site, file));
    const gz = zlib.gzipSync(data, { level: 9 }).length;
    rows.push(`  ${file.padEnd(12)} ${kb(data.length).padStart(9)} ${kb(gz).padStart(9)} gzipped`);
    if (/\.(wasm|js)$/.test(file)) { code += gz; raw += data.length; }
  }
  console.log('site files:\n' + rows.join('\n'));
  console.log(`code (wasm + JS): ${kb(raw)}, ${kb(code)} gzipped (aim: at most 60 KB)`);

  // --- Load, warm: the game's page and a static page of the same cells.
  const index = fs.readFileSync(path.join(site, 'index.html'), 'utf8');
  const staticPage = index.replace(/<script[^>]*><\/script>\n?/g, '').replace(/<link rel="preload"[^>]*>\n?/, '');
  const web = await open(site, { extra: { '/static.html': staticPage } });
  const { page, base } = web;
  const game = [], firstPaint = [], plain = [];
  for (let round = 0; round < 12; round++) {
    await page.goto(`${base}/index.html`);
    await page.waitForFunction(() => performance.getEntriesByName('board-drawn').length > 0);
    const t = await page.evaluate(() => [performance.getEntriesByName('board-drawn')[0].startTime,
      (performance.getEntriesByName('first-contentful-paint')[0] || { startTime: NaN }).startTime]);
    await page.goto(`${base}/static.html`);
    await page.waitForFunction(() => performance.getEntriesByName('first-contentful-paint').length > 0);
    const s = await page.evaluate(() => performance.getEntriesByName('first-contentful-paint')[0].startTime);
    if (round < 2) continue;  // warming the cache
    game.push(t[0]); firstPaint.push(t[1]); plain.push(s);
  }
  console.log(`load, warm, median of ${game.length}: game's first board drawn ${median(game).toFixed(1)} ms ` +
    `(first paint ${median(firstPaint).toFixed(1)} ms), static page of the same cells ${median(plain).toFixed(1)} ms: ` +
    `${(median(game) / median(plain)).toFixed(2)} times (aim: at most 1.5)`);

  // --- A click that moves the player, to the next frame.
  await page.goto(`${base}/index.html?drive`);
  await page.waitForFunction(() => document.getElementById('Morvane1').dataset.ready === '1');
  await page.evaluate(() => {
    window.frames_after = [];
    document.addEventListener('click', (event) => {
      if (!event.target.classList.contains('target')) return;
      const t0 = event.timeStamp;
      requestAnimationFrame(() => setTimeout(() => window.frames_after.push(performance.now() - t0), 0));
    }, { capture: true });
  });
  await page.evaluate(() => window.morvane.seed('11'));
  let moves = 0;
  while (moves < 300) {
    const target = await page.evaluate(() => {
      const cells = [...document.querySelectorAll('#board .cell.target:not([hidden])')];
      if (!cells.length) return null;
      const r = cells[Math.floor(Math.random() * cells.length)].getBoundingClientRect();
      return [r.x + r.width / 2, r.y + r.height / 2];
    });
    if (!target) {
      await page.click('#Randomizer_button');
      while (await page.evaluate(() => window.morvane.settle())) await page.click('#message_ok');
      continue;
    }
    await page.mouse.click(...target);
    // A won or lost game's message box is answered with OK.
    while (await page.evaluate(() => window.morvane.settle())) await page.click('#message_ok');
    await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => setTimeout(r, 0))));
    moves++;
  }
  const clicks = await page.evaluate(() => window.frames_after);
  console.log(`click that moves the player to the next frame, ${clicks.length} moves: median ${median(clicks).toFixed(1)} ms, ` +
    `99th percentile ${p99(clicks).toFixed(1)} ms, largest ${Math.max(...clicks).toFixed(1)} ms (aim: 16 ms at the 99th percentile)`);

  // --- The hint in the worker against the native solver.
  const native = execFileSync(hintNative).toString().trim().split('\n').map((l) => l.split(' '));
  const worker = await page.evaluate(async (codes) => {
    const times = codes.map(() => []);
    const answers = [];
    const ask = (w, position) => new Promise((resolve) => {
      w.onmessage = ({ data }) => resolve(data.answer);
      w.postMessage({ ticket: 1, position });
    });
    const positions = [];
    for (const code of codes) { await window.morvane.place(code); positions.push(window.morvane.position()); }
    const w = new Worker('hint.js');
    await ask(w, positions[0]);  // the module compiled and started
    for (let round = 0; round < 5; round++)
      for (let i = 0; i < codes.length; i++) {
        const t0 = performance.now();
        answers[i] = await ask(w, positions[i]);
        times[i].push(performance.now() - t0);
      }
    w.terminate();
    return times.map((t, i) => [t.sort((a, b) => a - b)[2], answers[i]]);
  }, native.map(([c]) => c));
  console.log('hint, the hardest of 20,000 dealt boards (seed 1), median of 5: worker (wall, with messages) / native (CPU)');
  const ratios = [];
  native.forEach(([board, ms], i) => {
    const ratio = worker[i][0] / Number(ms);
    ratios.push(ratio);
    console.log(`  ${board.padEnd(22)} ${worker[i][1].padEnd(9)} ${worker[i][0].toFixed(2).padStart(7)} ms / ${Number(ms).toFixed(2).padStart(6)} ms = ${ratio.toFixed(2)}`);
  });
  console.log(`  median ratio ${median(ratios).toFixed(2)}`);
  await web.close();
})().catch((error) => { console.error(error); process.exitCode = 1; });
