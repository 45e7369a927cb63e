// Browsers and bundlers: the module starts when init() is awaited, from
// kordel.wasm beside this file (new URL('./kordel.wasm', import.meta.url), which
// bundlers follow and emit as an asset) or from the URL, bytes, Response or
// compiled module given. The module's Node.js branch needs fs and path, which the
// package's "browser" field leaves out of a browser bundle.
import createKordel from './kordel.cjs';
import core from './core.cjs';

let decodeNow = null;
let started = null;

export function init(source) {
  if (source === undefined) {
    started ??= core.compiledFrom(new URL('./kordel.wasm', import.meta.url))
      .then((compiled) => core.start(createKordel, compiled))
      .then((module) => { decodeNow = core.makeDecode(module); })
      .catch((error) => { started = null; throw error; });
    return started;
  }
  return core.compiledFrom(source)
    .then((compiled) => core.start(createKordel, compiled))
    .then((module) => { decodeNow = core.makeDecode(module); });
}

export function decode(vin, options) {
  if (decodeNow === null) throw new Error('kordel: call and await init() before decode()');
  return decodeNow(vin, options);
}
