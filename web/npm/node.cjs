'use strict';
// Node.js, by require or import: the module is compiled from the package's own
// kordel.wasm and ready when the package is; init() may start it again from
// another source.
const { readFileSync } = require('node:fs');
const path = require('node:path');
const createKordel = require('./kordel.cjs');
const { makeDecode, startNow, start, compiledFrom } = require('./core.cjs');

const file = path.join(__dirname, 'kordel.wasm');
let bytes;
try {
  bytes = readFileSync(file);
} catch (error) {
  throw new Error(`kordel: ${file} could not be read (${error.code || error.message}); reinstall the package`,
    { cause: error });
}

let decodeNow = makeDecode(startNow(createKordel, new WebAssembly.Module(bytes)));

exports.decode = function decode(vin, options) {
  return decodeNow(vin, options);
};

exports.init = async function init(source) {
  if (source === undefined) return;
  decodeNow = makeDecode(await start(createKordel, await compiledFrom(source)));
};
