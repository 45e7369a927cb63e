// Node.js: the module's WebAssembly read from the package's own folder.
import { readFile } from 'node:fs/promises';

import createKordel from './kordel.cjs';
import { makeDecode } from './decoder.js';

const wasmBinary = await readFile(new URL('./kordel.wasm', import.meta.url));

export const decode = makeDecode(await createKordel({ wasmBinary }));
