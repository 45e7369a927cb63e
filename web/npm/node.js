// Node: the module's WebAssembly read from the package's own folder.
import { readFile } from 'node:fs/promises';

import createKordel from './kordel.js';
import { makeDecode } from './decoder.js';

const wasm = await readFile(new URL('./kordel.wasm', import.meta.url));
const module = await createKordel({
  instantiateWasm(imports, receive) {
    WebAssembly.instantiate(wasm, imports).then(({ instance, module }) => receive(instance, module));
    return {};
  },
});

export const decode = makeDecode(module);
