// The hint's search, off the page's thread: the same solver and the same
// budget of work as on the desktop. Each message holds a board as the
// page's game reads it (mv_position) and gets back "click N", "nowin" or
// "undecided". A search the page no longer needs ends with the worker.
'use strict';
importScripts('game.js');
const solver = MorvaneGame();
onmessage = ({ data }) => {
  solver.then((game) => {
    const size = game.lengthBytesUTF8(data.position) + 1;
    const at = game._malloc(size);
    game.stringToUTF8(data.position, at, size);
    const answer = game.UTF8ToString(game._mv_hint(at));
    game._free(at);
    postMessage({ ticket: data.ticket, answer });
  });
};
