'use strict';
// The package's decode over the WebAssembly module, and the ways of starting the
// module: at once from a compiled module (Node.js, whose require must return a
// ready package), or from a URL, bytes or a compiled module (init). node.cjs and
// browser.js choose the way.

const OPTIONS = 'year, suggest and explain';

function describe(value) {
  return value === null ? 'null' : Array.isArray(value) ? 'an array' : typeof value;
}

// The year option as the module takes it (0: every candidate year); which years
// are model years is the record's rule, asked of the module.
function modelYear(module, year) {
  if (year === undefined || year === null) return 0;
  if (typeof year !== 'number' || !Number.isInteger(year)) {
    throw new TypeError(`kordel: the option year must be an integer, null or undefined, not ${describe(year)}`);
  }
  if (Math.abs(year) <= 0x7fffffff && module.acceptsModelYear(year)) return year;
  throw new RangeError(`kordel: the option year must be ${module.modelYearForms()}, not ${year}`);
}

function flag(options, name) {
  const value = options[name];
  if (value === undefined || value === true || value === false) return value === true;
  throw new TypeError(`kordel: the option ${name} must be true, false or undefined, not ${describe(value)}` +
    (typeof value === 'string' ? ` ${JSON.stringify(value)}` : ''));
}

// { year, flags } from decode's options: an object with no other keys.
function readOptions(module, options) {
  if (options === undefined || options === null) return { year: 0, flags: 0 };
  if (typeof options !== 'object' || Array.isArray(options)) {
    const hint = typeof options === 'number' ? ` (a model year goes as { year: ${options} })` : '';
    throw new TypeError(`kordel: decode's options must be an object with ${OPTIONS}, not ${describe(options)}${hint}`);
  }
  for (const key in options) {
    if (key !== 'year' && key !== 'suggest' && key !== 'explain') {
      throw new TypeError(`kordel: decode has no option ${JSON.stringify(key)} (its options are ${OPTIONS})`);
    }
  }
  return { year: modelYear(module, options.year), flags: (flag(options, 'suggest') ? 1 : 0) | (flag(options, 'explain') ? 2 : 0) };
}

// decode over a module that createKordel made ready.
function makeDecode(module) {
  return function decode(vin, options) {
    if (typeof vin !== 'string') throw new TypeError(`kordel: vin must be a string, not ${describe(vin)}`);
    const { year, flags } = readOptions(module, options);
    const nul = vin.indexOf('\0');
    if (nul !== -1) throw new RangeError(`kordel: vin holds a NUL character (at index ${nul}), which no VIN holds`);
    // The module takes no more than a character past the longest line kordel-decode reads.
    const record = module.record(vin, year, flags);
    if (record === null) {
      throw new RangeError(`kordel: vin is too long (${vin.length} UTF-16 code units): a VIN has 13 or 17 ` +
        `characters, and no more than ${module.maxVinBytes()} bytes of UTF-8 are read`);
    }
    return record;
  };
}

// Ready at once: the module instantiated from a compiled WebAssembly.Module.
function startNow(createKordel, compiled) {
  const module = {
    instantiateWasm(imports, receive) {
      const instance = new WebAssembly.Instance(compiled, imports);
      receive(instance, compiled);
      return instance.exports;
    },
  };
  createKordel(module);
  if (typeof module.record !== 'function' || typeof module._kordel_record_tape !== 'function') {
    throw new Error('kordel: kordel.wasm did not start');
  }
  return module;
}

// Ready when the promise settles, from a compiled module.
async function start(createKordel, compiled) {
  const module = {
    instantiateWasm(imports, receive) {
      WebAssembly.instantiate(compiled, imports).then((instance) => receive(instance, compiled));
      return {};
    },
  };
  await createKordel(module);
  return module;
}

const MAGIC = [0x00, 0x61, 0x73, 0x6d];

// A WebAssembly.Module from bytes said to be kordel.wasm (`from` names them).
async function compile(bytes, from) {
  const view = bytes instanceof ArrayBuffer ? new Uint8Array(bytes)
    : new Uint8Array(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  if (view.length < 4 || MAGIC.some((byte, i) => view[i] !== byte)) {
    const start = new TextDecoder().decode(view.subarray(0, 24)).replace(/\s+/g, ' ');
    throw new Error(`kordel: ${from} is not kordel.wasm: it starts with ${JSON.stringify(start)}, ` +
      'not the bytes 00 61 73 6d of WebAssembly (serve kordel.wasm there, or pass init() its URL or bytes)');
  }
  try {
    return await WebAssembly.compile(view);
  } catch (error) {
    throw new Error(`kordel: ${from} could not be compiled as kordel.wasm: ${error.message}`, { cause: error });
  }
}

// A compiled module from what init() was given: a WebAssembly.Module, bytes (an
// ArrayBuffer or a typed array), a Response, or a URL (or its text) to fetch.
async function compiledFrom(source) {
  source = await source;
  if (source instanceof WebAssembly.Module) return source;
  if (source instanceof ArrayBuffer || ArrayBuffer.isView(source)) return compile(source, 'the bytes given to init()');
  if (typeof Response !== 'undefined' && source instanceof Response) {
    return compiledFromResponse(source, source.url || 'the Response given to init()');
  }
  if (typeof source === 'string' || source instanceof URL) {
    const url = String(source);
    let response;
    try {
      response = await fetch(url);
    } catch (error) {
      throw new Error(`kordel: kordel.wasm could not be fetched from ${url}: ${error.message}`, { cause: error });
    }
    return compiledFromResponse(response, url);
  }
  throw new TypeError('kordel: init() takes the URL of kordel.wasm, its bytes, a Response or a ' +
    `WebAssembly.Module, not ${describe(source)}`);
}

async function compiledFromResponse(response, url) {
  if (!response.ok) throw new Error(`kordel: kordel.wasm could not be loaded from ${url} (HTTP ${response.status})`);
  return compile(await response.arrayBuffer(), url);
}

module.exports = { makeDecode, startNow, start, compile, compiledFrom };
