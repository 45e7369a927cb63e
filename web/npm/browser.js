// Browsers, through a bundler: kordel.wasm is fetched from beside
// this file (new URL('./kordel.wasm', import.meta.url), which bundlers follow and
// emit as an asset). The module's Node.js branch needs fs and path, which the
// package's "browser" field leaves out of a browser bundle.
import createKordel from './kordel.cjs';
import { makeDecode } from './decoder.js';

const response = await fetch(new URL('./kordel.wasm', import.meta.url));
if (!response.ok) throw new Error(`kordel: kordel.wasm could not be loaded (${response.status})`);
const wasmBinary = new Uint8Array(await response.arrayBuffer());

export const decode = makeDecode(await createKordel({ wasmBinary }));
