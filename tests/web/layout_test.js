// The page's controls stand where the desktop window's stand, scaled as the
// page scales the window: in the window's own size, on a phone held upright
// and on a large screen, within a pixel or two. The desktop's places come
// from the real window (window_geometry).
//
//     node layout_test.js SITE WINDOW_GEOMETRY
'use strict';
const { execFileSync } = require('child_process');
const { open, check, failed } = require('./browser.js');

const desktop = JSON.parse(execFileSync(process.argv[3]).toString());
// The page's names for the desktop's controls, where they differ.
const names = Object.keys(desktop).filter((name) => !['board', 'status', 'hint_mark', 'hint_note', 'cell_look'].includes(name));

(async () => {
  for (const [width, height, dpr] of [[527, 367, 1], [360, 640, 3], [1600, 900, 1]]) {
    const web = await open(process.argv[2], { width, height, dpr });
    try {
      await web.load();
      // Hidden controls are measured where they would stand.
      const boxes = await web.page.evaluate((names) => {
        const style = document.createElement('style');
        style.textContent = '[hidden] { display: block !important; }';
        document.head.append(style);
        const out = {};
        for (const name of names) {
          const el = document.getElementById(name);
          if (!el) continue;
          const r = el.getBoundingClientRect();
          out[name] = [r.left, r.top, r.width, r.height];
        }
        return out;
      }, names);
      const missing = names.filter((name) => !boxes[name]);
      check(missing.length === 0, `${width}x${height}: the page has every control of the window ${missing.join(' ')}`);
      const scale = Math.min(width / 527, height / 367);
      const [ox, oy] = boxes.Morvane1;
      const off = [];
      for (const name of names) {
        if (!boxes[name]) continue;
        const want = desktop[name].map((v) => v * scale);
        const got = [boxes[name][0] - ox, boxes[name][1] - oy, boxes[name][2], boxes[name][3]];
        const worst = Math.max(...want.map((v, i) => Math.abs(v - got[i])));
        if (worst > 1.5) off.push(`${name} at ${got.map((v) => v.toFixed(1))} not ${want.map((v) => v.toFixed(1))}`);
      }
      check(off.length === 0, `${width}x${height} at ${scale.toFixed(3)}: ${names.length} controls within 1.5 px of the window's places ${off.join('; ')}`);
      check(ox >= -0.5 && oy >= -0.5 && ox + 527 * scale <= width + 0.5 && oy + 367 * scale <= height + 0.5,
        `${width}x${height}: the whole window fits the viewport`);
    } finally {
      await web.close();
    }
  }
  process.exitCode = failed() ? 1 : 0;
})().catch((error) => { console.error(error); process.exitCode = 1; });
