// JavaScript's side of the module's calls (kordel_wasm.cpp), added to the module
// object createKordel() gives: pageAnswer, record and newList. A string goes in
// as UTF-8 written into memory taken with malloc, never onto the module's stack,
// and cut a character past the longest VIN read (which the module refuses), so that
// a string of any length costs no more than that. A text comes back read from the
// address and size the module returns.

var kordelEncoder = new TextEncoder();
var kordelDecoder = new TextDecoder();
var kordelInput = 0;
var kordelInputSize = 0;
var kordelOne = 0;
var kordelMaxVinBytes = 0;
// In Node.js, Buffer's own UTF-8 and Latin-1 readers, which take a short text in
// less time.
var kordelUtf8Slice = typeof Buffer === 'function' && Buffer.prototype.utf8Slice;
var kordelLatin1Slice = typeof Buffer === 'function' && Buffer.prototype.latin1Slice;

// Room for `size` bytes of input, kept from call to call.
function kordelRoom(size) {
  if (size > kordelInputSize) {
    if (kordelInput) _free(kordelInput);
    kordelInputSize = Math.max(size, 2 * kordelInputSize);
    kordelInput = _malloc(kordelInputSize);
  }
  return kordelInput;
}

// Writes `text` as UTF-8 into the input; returns its byte count, which is more
// than the longest VIN read when the text was cut. A lone surrogate becomes U+FFFD.
function kordelWriteVin(text) {
  if (!kordelMaxVinBytes) kordelMaxVinBytes = _kordel_max_vin_bytes();
  var capacity = kordelMaxVinBytes + 4;  // a character of UTF-8 has at most 4 bytes
  var at = kordelRoom(capacity);
  var ascii = text.length <= capacity;
  for (var i = 0; ascii && i < text.length; ++i) {
    var c = text.charCodeAt(i);
    if (c > 0x7f) ascii = false;
    else HEAPU8[at + i] = c;
  }
  if (ascii) return text.length;
  var done = kordelEncoder.encodeInto(text, HEAPU8.subarray(at, at + capacity));
  // Cut short: encodeInto writes whole characters, so more than the limit is there.
  return done.written;
}

// The bytes of the KordelText at `text`, a view valid until the next call.
function kordelBytes(text) {
  var data = HEAPU32[text >> 2];
  return HEAPU8.subarray(data, data + HEAPU32[(text >> 2) + 1]);
}

function kordelText(text) {
  if (kordelUtf8Slice) {
    var data = HEAPU32[text >> 2];
    return kordelUtf8Slice.call(HEAPU8, data, data + HEAPU32[(text >> 2) + 1]);
  }
  return kordelDecoder.decode(kordelBytes(text));
}

function kordelDecoderOne() {
  if (!kordelOne) kordelOne = _kordel_decoder_new();
  return kordelOne;
}

// Everything the page shows for one VIN: the JSON text {check_digit_warning,
// unknown_message, text, record}. year: 0 for every candidate year.
Module['pageAnswer'] = function (vin, year) {
  var size = kordelWriteVin(vin);
  return kordelText(_kordel_page_answer(kordelDecoderOne(), kordelInput, size, year));
};

// The reader of the module's tapes (TapeBuilder in kordel_wasm.cpp): where it is
// in the tape, and the texts the tapes have defined, by their numbers. Its
// operation bytes (TapeOp): 1 and 2 begin and end an object, 3 and 4 an array;
// strings are 5 (a text defined before, by number), 6 (a number and the string it
// defines), 7 (ASCII) and 8 (a JSON string's text); numbers 9 (32 bits) and 10
// (decimal digits); 11 true, 12 false, 13 null.
var kordelTape = null;
var kordelAt = 0;
var kordelTexts = [];

// A count: unsigned LEB128.
function kordelCount() {
  var n = 0;
  for (var shift = 0; ; shift += 7) {
    var b = kordelTape[kordelAt++];
    n += (b & 0x7f) * Math.pow(2, shift);
    if (b < 0x80) return n;
  }
}

// A string (a value or a key) of the tape, after its operation byte `op`.
function kordelString(op) {
  if (op === 5) return kordelTexts[kordelCount()];
  if (op === 6) {
    var id = kordelCount();
    return (kordelTexts[id] = kordelString(kordelTape[kordelAt++]));
  }
  var size = kordelCount();
  var at = kordelAt;
  var end = (kordelAt += size);
  if (op === 8) return JSON.parse(kordelDecoder.decode(kordelTape.subarray(at, end)));  // rare
  // ASCII: Buffer's Latin-1 reader in Node.js is the fastest, else TextDecoder
  // (faster than String.fromCharCode over the bytes, whether one at a time or
  // all at once, for a record's mostly short strings).
  if (kordelLatin1Slice) return kordelLatin1Slice.call(kordelTape, at, end);
  return kordelDecoder.decode(kordelTape.subarray(at, end));
}

function kordelValue() {
  var op = kordelTape[kordelAt++];
  switch (op) {
    case 1: return kordelObject();
    case 3: return kordelArray();
    case 5: case 6: case 7: case 8: return kordelString(op);
    case 9:
      var at = kordelAt;
      kordelAt += 4;
      return kordelTape[at] | (kordelTape[at + 1] << 8) | (kordelTape[at + 2] << 16) | (kordelTape[at + 3] << 24);
    case 10: return Number(kordelString(7));
    case 11: return true;
    case 12: return false;
    case 13: return null;
  }
  throw new Error('kordel: the module wrote an unknown value (' + op + ')');
}

function kordelObject() {
  var object = {};
  for (var op; (op = kordelTape[kordelAt++]) !== 2; ) {
    var key = kordelString(op);
    if (key === '__proto__') {  // as JSON.parse makes it: a member, not the prototype
      Object.defineProperty(object, key, { value: kordelValue(), writable: true, enumerable: true, configurable: true });
    } else {
      object[key] = kordelValue();
    }
  }
  return object;
}

function kordelArray() {
  var array = [];
  while (kordelTape[kordelAt] !== 4) array.push(kordelValue());
  ++kordelAt;
  return array;
}

// The record kordel-decode --format json writes for one VIN (flags: 1
// --suggest, 2 --explain), as the object JSON.parse would make of it, or null
// for a text longer than any line kordel-decode reads, which is not decoded.
// Only in a module built for the npm package, which exports kordel_record_tape.
if (typeof _kordel_record_tape === 'function') Module['record'] = function (vin, year, flags) {
  var size = kordelWriteVin(vin);
  if (size > kordelMaxVinBytes) return null;
  var text = _kordel_record_tape(kordelDecoderOne(), kordelInput, size, year, flags);
  kordelTape = HEAPU8;
  kordelAt = HEAPU32[text >> 2];
  var record = kordelValue();
  kordelTape = null;
  return record;
};

// The record's model-year rule for the npm package's year option: whether a year
// is one a caller may give, and the words for those ("68-80 or 1968-1980").
if (typeof _kordel_model_year_accepted === 'function') {
  Module['acceptsModelYear'] = function (year) { return _kordel_model_year_accepted(year) !== 0; };
  Module['modelYearForms'] = function () { return UTF8ToString(_kordel_model_year_forms()); };
  Module['maxVinBytes'] = function () { return _kordel_max_vin_bytes(); };
}

// Packs cells (Uint8Arrays) into the input as kordel_wasm.cpp's unpack_cells reads them.
function kordelWriteCells(cells) {
  var size = 0;
  for (var i = 0; i < cells.length; ++i) size += 4 + cells[i].length;
  var at = kordelRoom(size);
  for (var j = 0; j < cells.length; ++j) {
    var length = cells[j].length;
    HEAPU8[at] = length & 0xff;
    HEAPU8[at + 1] = (length >>> 8) & 0xff;
    HEAPU8[at + 2] = (length >>> 16) & 0xff;
    HEAPU8[at + 3] = length >>> 24;
    HEAPU8.set(cells[j], at + 4);
    at += 4 + length;
  }
  return size;
}

// The encodings as kordel_sniff_dialect numbers them.
var kordelEncodings = ['utf-8', 'utf-8-bom', 'windows-1252'];

// A list's CSV being written, started with the header's cells (Uint8Arrays; none
// for a list of VINs one a line), in `dialect` ({ delimiter, encoding } as
// sniffDialect gives it; commas in UTF-8 without one) and, with `raw`, with its
// cells kept exactly as read. row(cells, vinColumn, year, withAnswer) decodes a
// row and returns { outcome, answer }: outcome "decoded", "incomplete",
// "rejected", "unknown", "error", or "" for a blank line; answer, when asked for,
// the row's JSON text as pageAnswer gives it (without the positions). takeCsv()
// hands over the CSV's bytes written since its last call, in the dialect's
// encoding, a byte-order mark first where it has one (a copy; the module forgets
// them); free() ends the list.
Module['newList'] = function (header, dialect, raw) {
  dialect = dialect || { delimiter: ',', encoding: 'utf-8' };
  var size = kordelWriteCells(header || []);  // first: it may move the input
  var list = _kordel_list_new(kordelInput, size, dialect.delimiter.charCodeAt(0),
    Math.max(0, kordelEncodings.indexOf(dialect.encoding)), raw ? 1 : 0);
  return {
    row: function (cells, vinColumn, year, withAnswer) {
      var size = kordelWriteCells(cells);
      var row = _kordel_list_row(list, kordelInput, size, vinColumn, year, withAnswer ? 1 : 0);
      return {
        outcome: UTF8ToString(HEAPU32[row >> 2]),
        answer: withAnswer ? kordelText(row + 4) : null,
      };
    },
    takeCsv: function () { return kordelBytes(_kordel_list_take_csv(list)).slice(); },
    free: function () { _kordel_list_delete(list); list = 0; },
  };
};

// ---- CSV dialects (kordel_wasm.cpp's last block) ----

// How a file is written, from its first bytes (a Uint8Array; 64 KiB are read):
// { delimiter: ',' | ';' | '\t', encoding: 'utf-8' | 'utf-8-bom' | 'windows-1252' }.
Module['sniffDialect'] = function (head) {
  var bytes = head.subarray(0, 64 * 1024);
  var at = kordelRoom(bytes.length);
  HEAPU8.set(bytes, at);
  var dialect = _kordel_sniff_dialect(at, bytes.length);
  return { delimiter: String.fromCharCode(dialect & 0xff), encoding: kordelEncodings[dialect >> 8] };
};
