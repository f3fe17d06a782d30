// The browser edition's site served on localhost and opened in headless
// Chromium, for the tests and benchmarks that look at the page itself.
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const puppeteer = require('puppeteer-core');

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm',
  '.png': 'image/png', '.wav': 'audio/wav' };

function serve(site, extra = {}) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    if (extra[name]) {
      response.writeHead(200, { 'Content-Type': 'text/html' });
      response.end(extra[name]);
      return;
    }
    const file = path.join(site, name);
    fs.readFile(file, (error, data) => {
      response.writeHead(error ? 404 : 200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
      response.end(error ? '' : data);
    });
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// Opens the page at `width` x `height` CSS pixels and `dpr` device pixels
// each, under the driver's hooks when `driven`; waits for the game.
async function open(site, { width = 527, height = 367, dpr = 1, driven = true, extra = {} } = {}) {
  const server = await serve(path.resolve(site), extra);
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--mute-audio', '--font-render-hinting=none'],
  });
  const page = (await browser.pages())[0];
  await page.setViewport({ width, height, deviceScaleFactor: dpr });
  const base = `http://127.0.0.1:${server.address().port}`;
  const close = async () => { await browser.close(); server.close(); };
  return { browser, page, base, close,
    async load(query = driven ? '?drive' : '') {
      await page.goto(`${base}/index.html${query}`);
      await page.waitForFunction(() => document.getElementById('Morvane1').dataset.ready === '1');
    } };
}

let failures = 0;
function check(ok, what) {
  if (!ok) { failures++; console.log(`FAIL ${what}`); } else console.log(`ok   ${what}`);
}
const failed = () => failures;

module.exports = { open, check, failed };
