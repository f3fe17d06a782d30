// The page as a screen reader meets it: Chromium's accessibility tree, read
// through the DevTools protocol, names the cells, boxes, buttons and status
// in the desktop's words, and follows a move made by keyboard alone.
//
//     node access_test.js SITE
'use strict';
const { open, check, failed } = require('./browser.js');

const CODE = '9,23,28,21,15,4,27';
const PIECES = ['player', 'yellow piece', 'blue piece', 'navy piece', 'green piece', 'red piece', 'orange piece'];

async function tree(session) {
  const { nodes } = await session.send('Accessibility.getFullAXTree');
  const byId = new Map(nodes.map((n) => [n.nodeId, n]));
  const value = (n, key) => (n[key] && n[key].value) || '';
  const text = (n) => (n.childIds || []).map((id) => byId.get(id)).filter(Boolean)
    .map((c) => value(c, 'name') || text(c)).join('');
  const property = (n, name) => ((n.properties || []).find((p) => p.name === name) || { value: {} }).value.value;
  return nodes.filter((n) => !n.ignored).map((n) => ({ role: value(n, 'role'), name: value(n, 'name'),
    description: value(n, 'description'), text: text(n), live: property(n, 'live'),
    focusable: property(n, 'focusable'), active: property(n, 'activedescendantId'), node: n }));
}

(async () => {
  const site = process.argv[2];
  const web = await open(site);
  try {
    const { page } = web;
    await web.load(`?drive#${CODE}`);
    const session = await page.createCDPSession();
    await session.send('Accessibility.enable');
    let nodes = await tree(session);
    const cells = new Map();
    for (const n of nodes) {
      const m = n.role === 'gridcell' && /^Cell (\d+), /.exec(n.name);
      if (m) cells.set(Number(m[1]), n);
    }
    check(cells.size === 28, `28 grid cells found by name (${cells.size})`);
    const holds = new Map(CODE.split(',').map((c, i) => [Number(c), PIECES[i]]));
    const wrong = [];
    for (const [n, cell] of cells) {
      const legal = [1, 2, 3, 8, 10, 15, 16, 17].includes(n) ? 'legal move' : 'not a legal move';
      if (cell.name !== `Cell ${n}, ${holds.get(n) || 'empty'}` || cell.description !== legal) wrong.push(`${n}: ${cell.name} / ${cell.description}`);
    }
    check(wrong.length === 0, `every cell says what it holds and whether it is a legal move ${wrong.join('; ')}`);
    const named = new Map(nodes.filter((n) => n.role !== 'StaticText').map((n) => [n.name, n]));
    for (const name of PIECES.slice(1).map((p) => `Code: ${p}`).concat(['Score', 'Start cell', 'Code', 'Randomizer', 'Reset']))
      check(named.has(name), `a control is called ${JSON.stringify(name)}`);
    check(named.get('Legend') && named.get('Legend').description.includes('yellow the three above'), 'the legend says what each piece takes');
    const randomizer = nodes.find((n) => n.role === 'button' && n.name === 'Randomizer');
    check(randomizer && randomizer.description.includes('Alt+N'), `the Randomizer's description names its key: ${randomizer && randomizer.description}`);
    const grid = nodes.find((n) => n.role === 'grid');
    check(grid && grid.focusable && grid.description.startsWith('The board.'), 'the board is one focusable grid, described');

    // A move by keyboard alone: the cursor starts on the player, Right and
    // Enter move the player to cell 10, and the status tells it.
    await page.focus('#board');
    await page.keyboard.press('ArrowRight');
    await page.keyboard.press('Enter');
    await page.evaluate(() => window.morvane.settle());
    nodes = await tree(session);
    const status = nodes.find((n) => n.role === 'status');
    check(status && status.live === 'polite', 'the status is a polite live region');
    check(status && /cell 10/.test(status.text) && /49 moves left/.test(status.text), `the status tells the move: ${status && status.text}`);
    const ten = nodes.find((n) => n.role === 'gridcell' && n.name.startsWith('Cell 10,'));
    check(ten && ten.name === 'Cell 10, player', `cell 10 holds the player: ${ten && ten.name}`);
    const nine = nodes.find((n) => n.role === 'gridcell' && n.name.startsWith('Cell 9,'));
    check(nine && nine.name === 'Cell 9, off the board', `cell 9 is off the board: ${nine && nine.name}`);

    // Code entry shows the palette by its names; a bad code's message box is
    // a dialog with the game's title and words, told in the status too.
    await page.click('#cinsert');
    await page.evaluate(() => window.morvane.settle());
    nodes = await tree(session);
    for (const name of ['Code: player', 'Player figure', 'Orange piece'])
      check(nodes.some((n) => n.name === name && n.role !== 'StaticText'), `code entry shows ${name}`);
    await page.click('#cinsert');
    await page.waitForSelector('#message[open]');
    nodes = await tree(session);
    const dialog = nodes.find((n) => n.role === 'dialog');
    const words = 'Invalid Code.  Make sure the number in each box is below 29.';
    check(dialog && dialog.name === "Morvane's Challenge", `the message box is a dialog titled as on the desktop: ${dialog && dialog.name}`);
    check(dialog && dialog.description.replace(/\s+/g, ' ') === words.replace(/\s+/g, ' '), 'the dialog reads the message');
    await page.click('#message_ok');
    await page.evaluate(() => window.morvane.settle());
    const told = (await tree(session)).find((n) => n.role === 'status');
    check(told && told.text.replace(/\s+/g, ' ').includes(words.replace(/\s+/g, ' ')), `the status tells the message: ${told && told.text}`);
  } finally {
    await web.close();
  }
  process.exitCode = failed() ? 1 : 0;
})().catch((error) => { console.error(error); process.exitCode = 1; });
