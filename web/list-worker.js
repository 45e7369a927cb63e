// Decodes one list of VINs away from the page's thread; the page ends the worker
// when the list is done or no longer wanted. It reads the text (a file's bytes
// in their encoding), finds the VINs (one a line, or a column of a CSV file with
// its delimiter found as kordel-decode finds it), decodes each through the module
// and has the module write the CSV of kordel-decode, with the input's delimiter
// and encoding, taken out in pieces.
//
// In:  { text } or { file: File }, { year } (0: every candidate) and { raw }
//      (cells kept exactly as read, as kordel-decode --csv-raw keeps them).
// Out: { type: 'progress', rows, fraction } now and then, and at the end
//      { type: 'done', error?, counts, total, shown: [answer...], csv: Blob,
//        encoding, delimiter, column, headerless }
// where an answer is what the module's pageAnswer returns, parsed.
// As a helper (started by another list worker): { setup: { header, column,
// dialect, raw, year } } once, then { number, cells: [row...] } for each batch,
// answered with { number, counts, csv: Uint8Array }.
importScripts('kordel.js', 'papaparse.min.js');

const SHOWN = 250;               // the answers the page's table gets
const BATCH_ROWS = 4096;         // rows decoded at a time: a progress report and a piece of CSV
// A list is decoded by two workers where there are two cores: this one, which
// reads it, and a helper it starts, which decodes batches it is given.
const TWO_CORES = (self.navigator?.hardwareConcurrency ?? 1) >= 2;

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

const FILE_PIECE = 1 << 18;      // bytes of a file read at a time
const TEXT_PIECE = 1 << 16;      // characters of a pasted text read at a time

// The text of a list in pieces, each with the fraction read so far: a pasted
// text whole, a file read a piece at a time in its encoding (a character cut
// between two pieces is kept whole; a byte-order mark is dropped).
async function* textPieces(message, encoding) {
  if (!message.file) {
    // In pieces too, between which the helper's answers come in.
    for (let at = 0; at < message.text.length; at += TEXT_PIECE) {
      yield [message.text.slice(at, at + TEXT_PIECE), 1];
      await new Promise((resolve) => { setTimeout(resolve, 0); });
    }
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
  const module = await kordel;
  const utf8 = new TextEncoder();
  let dialect;
  let head;
  // The dialect (the record library's rule, as kordel-decode reads files) and
  // the layout come from the list's first 64 KiB; a file's rest is read a piece
  // at a time, so that a large file is never held whole.
  if (message.file) {
    const bytes = new Uint8Array(await message.file.slice(0, 64 * 1024).arrayBuffer());
    const problem = notText(bytes, message.file.name);
    if (problem) return { error: problem };
    dialect = module.sniffDialect(bytes);
    // A byte-order mark is not part of the text.
    head = new TextDecoder(dialect.encoding === 'windows-1252' ? 'windows-1252' : 'utf-8').decode(bytes);
  } else {
    head = message.text.slice(0, 64 * 1024);
    // Pasted text is Unicode: it goes back as UTF-8.
    dialect = { ...module.sniffDialect(utf8.encode(head)), encoding: 'utf-8' };
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

  const header = list.header ? list.header.map((name) => utf8.encode(name)) : [];
  const column = list.header ? list.column : -1;
  const csvList = module.newList(header, dialect, message.raw);
  const counts = { decoded: 0, incomplete: 0, rejected: 0, unknown: 0, error: 0 };
  const shown = [];
  // The CSV in pieces, in the list's order: one a batch of rows, a Blob, or the
  // promise of one while the helper decodes that batch.
  const pieces = [];
  let total = 0;
  let rows = 0;
  let batch = [];
  let helper = null;
  const helping = new Map();  // a batch given to the helper: its number -> { resolve, reject }
  const count = (outcome, n = 1) => {
    counts[outcome] = (counts[outcome] ?? 0) + n;
    total += n;
  };
  // A batch decoded here: its rows counted, the first answers kept for the table.
  const decodeHere = (cells) => {
    for (const row of cells) {
      const { outcome, answer } = csvList.row(row, column, message.year, shown.length < SHOWN);
      if (outcome === '') continue;  // a blank line
      count(outcome);
      if (answer !== null) shown.push(JSON.parse(answer));
    }
    return new Blob([csvList.takeCsv()]);
  };
  const startHelper = () => {
    const worker = new Worker('list-worker.js');
    worker.onmessage = ({ data }) => {
      for (const [outcome, n] of Object.entries(data.counts)) count(outcome, n);
      helping.get(data.number).resolve(new Blob([data.csv]));
      helping.delete(data.number);
    };
    worker.onerror = (event) => {
      for (const { reject } of helping.values()) reject(new Error(event.message || 'the helper failed'));
      helping.clear();
    };
    worker.postMessage({ setup: { header, column, dialect, raw: message.raw, year: message.year } });
    return worker;
  };
  // Once the table has its rows, a batch goes to a helper on a second core,
  // where there is one, while it has fewer than two to do: the rest are
  // decoded here, so that neither waits long for the other.
  const flush = (fraction) => {
    if (batch.length === 0) return;
    const cells = batch;
    batch = [];
    const number = pieces.length;
    if (shown.length >= SHOWN && TWO_CORES && helping.size < 2) {
      helper ??= startHelper();
      pieces.push(new Promise((resolve, reject) => { helping.set(number, { resolve, reject }); }));
      helper.postMessage({ number, cells });
    } else {
      pieces.push(decodeHere(cells));
    }
    rows += cells.length;
    self.postMessage({ type: 'progress', rows, fraction });
  };

  let skip = list.skipHeader;
  const broken = await eachRow(message, dialect, list.lines, (cells, fraction) => {
    if (skip) {
      skip = false;
      return;
    }
    batch.push(cells.map((cell) => utf8.encode(cell)));
    if (batch.length === BATCH_ROWS) flush(fraction);
  });
  flush(1);
  try {
    if (broken) return { error: broken };
    pieces.push(new Blob([csvList.takeCsv()]));  // the header of a list without rows
    const csv = new Blob(await Promise.all(pieces), { type: 'text/csv' });
    return {
      counts, total, shown, csv,
      encoding: dialect.encoding, delimiter: list.header ? dialect.delimiter : null,
      column: list.header ? list.header[list.column] : null,
      headerless: Boolean(list.headerless),
    };
  } finally {
    helper?.terminate();
    csvList.free();
  }
}

// In a helper: its list (whose header the first worker writes) and the batches
// it decodes for it, one at a time in the order they come.
let helperList = null;
let helperJob = null;
async function helpWith(data) {
  if (data.setup) {
    helperJob = data.setup;
    helperList = (await kordel).newList(helperJob.header, helperJob.dialect, helperJob.raw);
    helperList.takeCsv();
    return;
  }
  const counts = {};
  for (const row of data.cells) {
    const { outcome } = helperList.row(row, helperJob.column, helperJob.year, false);
    if (outcome !== '') counts[outcome] = (counts[outcome] ?? 0) + 1;
  }
  const csv = helperList.takeCsv();
  self.postMessage({ number: data.number, counts, csv }, [csv.buffer]);
}

let helperQueue = Promise.resolve();
self.onmessage = async ({ data }) => {
  if (data.setup || data.cells) {
    helperQueue = helperQueue.then(() => helpWith(data));
    return;
  }
  let answer;
  try {
    answer = await decodeList(data);
  } catch (error) {
    // A helper that failed, say: the page says so rather than waiting on.
    answer = { error: `The list could not be decoded: ${error.message}.` };
  }
  self.postMessage({ type: 'done', ...answer });
};
