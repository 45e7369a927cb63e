// Decodes one list of VINs away from the page's thread; the page ends the worker
// when the list is done or no longer wanted. It reads the text (a file's bytes
// in their encoding), finds the VINs (one a line, or a column of a CSV file with
// its delimiter found as kordel-decode finds it), decodes each through the module
// and has the module write the CSV of kordel-decode, taken out in pieces and
// written back with the input's delimiter and encoding.
//
// In:  { text } or { file: File }, and { year } (0: every candidate).
// Out: { type: 'progress', rows, fraction } now and then, and at the end
//      { type: 'done', error?, counts, total, shown: [answer...], csv: Blob,
//        encoding, delimiter, column, headerless }
// where an answer is what the module's pageAnswer returns, parsed.
importScripts('kordel.js', 'papaparse.min.js', 'csv-dialect.js');
/* global csvDialect */

const SHOWN = 250;               // the answers the page's table gets
const PROGRESS_EVERY = 2000;     // rows between two progress reports
const PIECE_ROWS = 4096;         // rows of CSV taken out of the module at a time

const kordel = createKordel();

// A header that names the VIN: "vin", "VIN number", "vin_no", "VIN #", any case.
const VIN_HEADER = /^\s*vin\s*[-_.#]?\s*(no\.?|nr\.?|number|num|code|#)?\s*$/i;
// A value that could be a VIN of either scheme.
const looksLikeVin = (text) => /^\s*[A-Za-z0-9]{13}(?:[A-Za-z0-9]{4})?\s*$/.test(text);

// The column whose values look like VINs, in most of the first hundred rows.
function vinColumnByValues(rows) {
  const sample = rows.slice(0, 100);
  let best = -1;
  let bestCount = 0;
  for (let column = 0; column < (sample[0]?.length ?? 0); column += 1) {
    const count = sample.filter((cells) => looksLikeVin(cells[column] ?? '')).length;
    if (count > bestCount) { best = column; bestCount = count; }
  }
  return bestCount * 2 > sample.length ? best : -1;
}

// Blanks at the ends of a cell go, as kordel-decode's CSV reader drops them
// (around a quoted value too, which it would keep: Papa Parse does not tell).
const trimCell = (cell) => cell.replace(/^[ \t]+|[ \t]+$/g, '');

// How the list is laid out, from its first rows: { lines: true } for one VIN a
// line, { header, column, skipHeader, headerless } for a CSV file, or { error }.
function layout(text, delimiter) {
  const { data: rows } = Papa.parse(text, {
    delimiter, skipEmptyLines: true, transform: trimCell, preview: 101,
  });
  if (rows.length === 0 || rows[0].length === 1) return { lines: true };
  const named = rows[0].findIndex((name) => VIN_HEADER.test(name));
  if (named >= 0) return { header: rows[0], column: named, skipHeader: true };
  const column = vinColumnByValues(rows.slice(1));
  if (column >= 0 && !looksLikeVin(rows[0][column])) return { header: rows[0], column, skipHeader: true };
  const headerless = vinColumnByValues(rows);
  if (headerless >= 0) {
    // No header: the columns get names, the VINs' one "vin".
    const header = rows[0].map((_, i) => (i === headerless ? 'vin' : `column ${i + 1}`));
    return { header, column: headerless, skipHeader: false, headerless: true };
  }
  const names = ['vin', 'VIN number', 'vin_no'].map((n) => `"${n}"`).join(', ');
  return {
    error: `No column of VINs found: no header names one (such as ${names}) and no ` +
      'column holds values of 13 or 17 letters and digits.',
  };
}

// Why a file cannot be a list, or null: a NUL byte or other control characters
// in its first bytes mark a file that is not text (an image, a spreadsheet).
function notText(bytes, name) {
  const head = bytes.subarray(0, 4096);
  let controls = 0;
  for (const b of head) {
    if (b === 0) { controls = head.length; break; }
    if (b < 0x20 && b !== 0x09 && b !== 0x0a && b !== 0x0d && b !== 0x0c) controls += 1;
  }
  if (controls * 20 <= head.length) return null;
  return `"${name}" is not a text file. Open a list of VINs, one a line, or a CSV file ` +
    '(a spreadsheet saved as CSV).';
}

const FILE_PIECE = 1 << 20;      // bytes of a file read at a time

// The text of a list in pieces, each with the fraction read so far: a pasted
// text whole, a file read a piece at a time in its encoding (a character cut
// between two pieces is kept whole; a byte-order mark is dropped).
async function* textPieces(message, encoding) {
  if (!message.file) {
    yield [message.text, 1];
    return;
  }
  const { file } = message;
  const decoder = new TextDecoder(encoding === 'windows-1252' ? 'windows-1252' : 'utf-8');
  for (let at = 0; at < file.size; at += FILE_PIECE) {
    const bytes = new Uint8Array(await file.slice(at, at + FILE_PIECE).arrayBuffer());
    yield [decoder.decode(bytes, { stream: true }), Math.min(1, (at + FILE_PIECE) / file.size)];
  }
  yield [decoder.decode(), 1];
}

// Where the last whole row of a CSV text ends (after its line break), quotes
// honoured: a line break inside quotes does not end a row.
function wholeRowsEnd(text) {
  let quoted = false;
  let end = 0;
  for (let i = 0; i < text.length; i += 1) {
    const c = text.charCodeAt(i);
    if (c === 0x22) quoted = !quoted;
    else if (c === 0x0a && !quoted) end = i + 1;
  }
  return end;
}

// Calls each(cells, fraction) for every row: the lines of a list of lines, or
// the rows of a CSV file, read a piece at a time. Resolves to an error text for
// a quote never closed, else null.
async function eachRow(message, dialect, lines, each) {
  let rest = '';
  let rows = 0;
  const parse = (text, fraction) => {
    if (lines) {
      const all = text.split('\n');
      for (const line of all) each([line], fraction);
      return null;
    }
    const parsed = Papa.parse(text, { delimiter: dialect.delimiter, skipEmptyLines: true, transform: trimCell });
    const quotes = parsed.errors.find((e) => e.type === 'Quotes');
    if (quotes) return `The CSV has a quoted field that is never closed (row ${rows + quotes.row + 1}).`;
    rows += parsed.data.length;
    for (const cells of parsed.data) each(cells, fraction);
    return null;
  };
  for await (const [piece, fraction] of textPieces(message, dialect.encoding)) {
    const text = rest + piece;
    const end = lines ? text.lastIndexOf('\n') + 1 : wholeRowsEnd(text);
    rest = text.slice(end);
    // Without its last line break, so that no empty line is made up.
    const cut = text[end - 2] === '\r' ? end - 2 : end - 1;
    const broken = end > 0 ? parse(text.slice(0, cut), fraction) : null;
    if (broken) return broken;
  }
  return rest === '' ? null : parse(rest, 1);
}

async function decodeList(message) {
  let dialect;
  let head;
  if (message.file) {
    // The dialect and the layout come from the file's start; the rest is read a
    // piece at a time, so that a large file is never held whole.
    const bytes = new Uint8Array(await message.file.slice(0, 64 * 1024).arrayBuffer());
    const problem = notText(bytes, message.file.name);
    if (problem) return { error: problem };
    dialect = csvDialect.ofBytes(bytes);
    head = csvDialect.text(bytes, dialect.encoding);
  } else {
    dialect = csvDialect.ofText(message.text);
    head = message.text.slice(0, 64 * 1024);
  }
  if (head.trim() === '') {
    return {
      error: message.file
        ? `"${message.file.name}" is empty: it holds no VINs.`
        : 'The list is empty: type or paste VINs, one a line, or open a file.',
    };
  }
  const list = layout(head, dialect.delimiter);
  if (list.error) return list;
  // A list of lines is written as kordel-decode writes one: with commas.
  if (list.lines) dialect = { ...dialect, delimiter: ',' };

  const module = await kordel;
  const utf8 = new TextEncoder();
  const csvList = module.newList(list.header ? list.header.map((name) => utf8.encode(name)) : []);
  const counts = { decoded: 0, incomplete: 0, rejected: 0, unknown: 0, error: 0 };
  const shown = [];
  const pieces = [];
  let rows = 0;
  let total = 0;
  const take = () => {
    pieces.push(new Blob([csvDialect.write(csvList.takeCsv(), dialect, pieces.length === 0)]));
  };
  // One input row, its cells (or its line) in the module: decoded and counted.
  const decodeRow = (cells, fraction) => {
    const { outcome, answer } = csvList.row(cells, list.header ? list.column : -1, message.year,
      shown.length < SHOWN);
    rows += 1;
    if (rows % PROGRESS_EVERY === 0) self.postMessage({ type: 'progress', rows, fraction });
    if (rows % PIECE_ROWS === 0) take();
    if (outcome === '') return;  // a blank line
    counts[outcome] = (counts[outcome] ?? 0) + 1;
    total += 1;
    if (answer !== null) shown.push(JSON.parse(answer));
  };

  let header = list.skipHeader;
  const broken = await eachRow(message, dialect, list.lines, (cells, fraction) => {
    if (header) {
      header = false;
      return;
    }
    decodeRow(cells.map((cell) => utf8.encode(cell)), fraction);
  });
  if (broken) {
    csvList.free();
    return { error: broken };
  }
  take();
  csvList.free();
  return {
    counts, total, shown, csv: new Blob(pieces, { type: 'text/csv' }),
    encoding: dialect.encoding, delimiter: list.header ? dialect.delimiter : null,
    column: list.header ? list.header[list.column] : null,
    headerless: Boolean(list.headerless),
  };
}

self.onmessage = async ({ data }) => {
  self.postMessage({ type: 'done', ...await decodeList(data) });
};
