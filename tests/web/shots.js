// Pictures of the page for the README, as a player sees it: a dealt board
// (seed 7, as the desktop's pictures), at device pixel ratios 1 and 2, on
// a phone held upright, and in code entry with a message box.
//
//     NODE_PATH=build-web/drive/node_modules node tests/web/shots.js build-web/site docs
'use strict';
const path = require('path');
const { open } = require('./browser.js');

(async () => {
  const [site, folder] = process.argv.slice(2);
  const shots = [
    ['web.png', 527, 367, 1, 'seed'], ['web-2x.png', 527, 367, 2, 'seed'],
    ['web-phone.png', 360, 640, 2, 'seed'], ['web-entry.png', 527, 367, 1, 'entry'],
  ];
  for (const [name, width, height, dpr, what] of shots) {
    const web = await open(site, { width, height, dpr });
    try {
      const { page } = web;
      await web.load();
      if (what === 'seed') {
        await page.evaluate(() => window.morvane.seed('7'));
        await page.click('#Randomizer_button');
        await page.evaluate(() => window.morvane.settle());
      } else {
        await page.click('#cinsert');
        await page.type('#CODE\\(0\\)', '9');
        await page.type('#CODE\\(1\\)', '29');
        await page.evaluate(() => window.morvane.settle());
        const from = await page.$eval('#NAV', (el) => { const r = el.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; });
        await page.mouse.move(...from);
        await page.mouse.down();
        await page.mouse.move(300, 200, { steps: 5 });
        await page.screenshot({ path: path.join(folder, 'web-drag.png') });
        await page.mouse.up();
        await page.click('#cinsert');
        await page.waitForSelector('#message[open]');
      }
      await page.mouse.move(0, 0);
      await page.screenshot({ path: path.join(folder, name) });
    } finally {
      await web.close();
    }
  }
})().catch((error) => { console.error(error); process.exitCode = 1; });
