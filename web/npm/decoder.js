// The package's decode over the WebAssembly module: the page's module call, with
// the arguments checked first. node.js and browser.js load the module their way.

// kordel-decode reads no more of a line than this; a longer text is no VIN.
const MAX_VIN_BYTES = 1024;
const LONE_SURROGATE = /[\uD800-\uDBFF](?![\uDC00-\uDFFF])|(?<![\uD800-\uDBFF])[\uDC00-\uDFFF]/g;

function describe(value) {
  return value === null ? 'null' : Array.isArray(value) ? 'an array' : typeof value;
}

function modelYear(year) {
  if (year === undefined || year === null) return 0;
  if (typeof year !== 'number' || !Number.isInteger(year)) {
    throw new TypeError(`year must be an integer, null or undefined, not ${describe(year)}`);
  }
  if ((year >= 68 && year <= 80) || (year >= 1968 && year <= 1980)) return year;
  throw new RangeError(`year must be 68-80 or 1968-1980, not ${year}`);
}

function tooLong(vin) {
  return new RangeError(`vin is too long (${vin.length} UTF-16 code units): a VIN has 13 or 17 ` +
    `characters, and no more than ${MAX_VIN_BYTES} bytes of UTF-8 are read`);
}

// The length in UTF-8 of a text without lone surrogates.
function utf8Length(text) {
  let bytes = 0;
  for (let i = 0; i < text.length; ++i) {
    const c = text.charCodeAt(i);
    if (c < 0x80) bytes += 1;
    else if (c < 0x800) bytes += 2;
    else if (c >= 0xd800 && c <= 0xdbff) { bytes += 4; ++i; }
    else bytes += 3;
  }
  return bytes;
}

export function makeDecode(module) {
  // The record as UTF-8 in the module's memory, ended by a NUL; read here with one
  // search and one TextDecoder call.
  const call = module.cwrap('kordel_record', 'number', ['string', 'number', 'number']);
  const utf8 = new TextDecoder();
  return function decode(vin, options = {}) {
    if (typeof vin !== 'string') throw new TypeError(`vin must be a string, not ${describe(vin)}`);
    const year = modelYear(options?.year);
    if (vin.length > MAX_VIN_BYTES) throw tooLong(vin);
    const nul = vin.indexOf('\0');
    if (nul !== -1) throw new RangeError(`vin holds a NUL character (at index ${nul}), which no VIN holds`);
    // A lone surrogate is no character: it goes in as U+FFFD, as TextEncoder writes it.
    if (/[\uD800-\uDFFF]/.test(vin)) vin = vin.replace(LONE_SURROGATE, '\uFFFD');
    // A UTF-16 code unit takes 1 to 3 bytes of UTF-8 (a pair of them, 4).
    if (vin.length * 3 > MAX_VIN_BYTES && utf8Length(vin) > MAX_VIN_BYTES) throw tooLong(vin);
    const at = call(vin, year, (options?.suggest ? 1 : 0) | (options?.explain ? 2 : 0));
    const heap = module.HEAPU8;  // taken after the call, which may have grown the memory
    return JSON.parse(utf8.decode(heap.subarray(at, heap.indexOf(0, at))));
  };
}
