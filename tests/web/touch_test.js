// A whole game by touch, on a phone held upright: figures dragged onto the
// board with a finger, OK tapped, every move a tap, the win's message box
// answered by a tap; then a game by keyboard alone on the same page.
//
//     node touch_test.js SITE
'use strict';
const { open, check, failed } = require('./browser.js');

// A path through every cell from cell 1, row by row, turning at the ends.
const SNAKE = [2, 3, 4, 5, 6, 7, 14, 13, 12, 11, 10, 9, 8, 15, 16, 17, 18, 19, 20, 21, 28, 27, 26, 25, 24, 23, 22];

(async () => {
  const web = await open(process.argv[2], { width: 360, height: 640, dpr: 3 });
  try {
    const { page } = web;
    await page.emulate({ viewport: { width: 360, height: 640, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
      userAgent: 'Mozilla/5.0 (Linux; Android 14) Mobile' });
    await web.load();
    const centre = (id) => page.evaluate((id) => {
      const r = document.getElementById(id).getBoundingClientRect();
      return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
    }, id);
    const settle = async () => {
      let boxes = 0;
      while (await page.evaluate(() => window.morvane.settle())) {
        const ok = await centre('message_ok');
        await page.touchscreen.tap(ok.x, ok.y);
        boxes++;
      }
      return boxes;
    };
    const tap = async (id) => {
      const at = await centre(id);
      await page.touchscreen.touchStart(at.x, at.y);  // a finger rests a moment on the glass
      await new Promise((resolve) => setTimeout(resolve, 40));
      await page.touchscreen.touchEnd();
      return settle();
    };
    await page.evaluate(() => window.morvane.queue(5));  // the board dealt after the win
    await tap('cinsert');
    // The player dragged by a finger onto cell 1.
    const from = await centre('Morvy'), to = await centre('Square(1)');
    await page.touchscreen.touchStart(from.x, from.y);
    for (let step = 1; step <= 5; step++)
      await page.touchscreen.touchMove(from.x + (to.x - from.x) * step / 5, from.y + (to.y - from.y) * step / 5);
    await page.touchscreen.touchEnd();
    await settle();
    check(await page.$eval('#CODE\\(0\\)', (el) => el.value) === '1', 'a finger drops the player on cell 1');
    await tap('cinsert');
    let boxes = 0;
    for (const n of SNAKE) boxes += await tap(`Square(${n})`);
    const after = await page.evaluate(() => window.morvane.variables());
    check(boxes === 1 && after.score === 33, `27 taps win the board: ${boxes} message box, score ${after.score}`);
    check(await page.$eval('#spot', (el) => el.value) === '5', 'a new board is dealt after the win');

    // By keyboard alone: Alt+N deals (the queued 9 3 4 5 6 7 8), the cursor
    // starts on the player, the keypad and Enter move it.
    await page.evaluate(() => [9, 3, 4, 5, 6, 7, 8].forEach((c) => window.morvane.queue(c)));
    await page.keyboard.down('Alt'); await page.keyboard.press('KeyN'); await page.keyboard.up('Alt');
    await settle();
    await page.focus('#board');
    await page.keyboard.press('Numpad6');
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('Enter');
    await settle();
    const state = await page.evaluate(() => window.morvane.board());
    check(state.Square[11][1] === 'Morvy' && state.moves_left === 48, `the keypad and Enter move the player to 10, then 11: ${state.moves_left} moves left`);
    // H: the worker's answer, on the board in play, comes to the status.
    await page.keyboard.press('KeyH');
    await page.waitForFunction(() => /^(Hint: cell \d+\.|No way to solve|This board is too tangled)/.test(document.getElementById('status').textContent),
      { timeout: 60000 });
    const said = await page.$eval('#status', (el) => el.textContent);
    const marked = await page.$eval('#hint_mark', (el) => !el.hidden);
    check(/^Hint: cell \d+\.$/.test(said) === marked, `H answers from the worker: ${JSON.stringify(said)}`);
  } finally {
    await web.close();
  }
  process.exitCode = failed() ? 1 : 0;
})().catch((error) => { console.error(error); process.exitCode = 1; });
