// Browsers, through a bundler or as it stands: the module fetches kordel.wasm from
// beside kordel.js (new URL('kordel.wasm', import.meta.url), which bundlers follow).
import createKordel from './kordel.js';
import { makeDecode } from './decoder.js';

export const decode = makeDecode(await createKordel());
