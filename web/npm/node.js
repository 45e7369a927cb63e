// Node.js, by import: the same package as require gives (node.cjs), ready at once.
import kordel from './node.cjs';

export const { decode, init } = kordel;
