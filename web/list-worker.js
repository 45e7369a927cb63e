// Decodes a list of VINs away from the page's thread. It reads the text (a file's
// bytes as UTF-8, or as Windows-1252 when they are not UTF-8), finds the VINs
// (one a line, or a column of a CSV file with its delimiter guessed), decodes
// each through the module and has the module write the CSV of kordel-decode.
//
// In:  { text } or { bytes: ArrayBuffer }, and { year } (0: every candidate).
// Out: { type: 'progress', done, total } now and then, and at the end
//      { type: 'done', error?, counts, total, shown: [answer...], csv: Blob,
//        encoding, delimiter, column, headerless }
// where an answer is what the module's pageAnswer returns, parsed.
importScripts('kordel.js', 'papaparse.min.js');

const SHOWN = 250;               // the answers the page's table gets
const PROGRESS_EVERY = 2000;     // rows between two progress reports

const kordel = createKordel();

// Text to bytes in the input's own encoding, so that the CSV keeps the file's
// bytes in its columns as kordel-decode does.
const utf8 = new TextEncoder();
let cp1252 = null;
function encoder(encoding) {
  if (encoding === 'utf-8') return (text) => utf8.encode(text);
  if (!cp1252) {
    // Windows-1252 maps every byte to a character and back: the map is the decoder's.
    const all = Uint8Array.from({ length: 256 }, (_, i) => i);
    cp1252 = new Map([...new TextDecoder('windows-1252').decode(all)].map((c, i) => [c, i]));
  }
  return (text) => Uint8Array.from(text, (c) => cp1252.get(c) ?? 0x3f);
}

function readText(message) {
  if (message.text !== undefined) return { text: message.text, encoding: 'utf-8' };
  try {
    return { text: new TextDecoder('utf-8', { fatal: true }).decode(message.bytes), encoding: 'utf-8' };
  } catch {
    return { text: new TextDecoder('windows-1252').decode(message.bytes), encoding: 'windows-1252' };
  }
}

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

// What the list holds: { lines } for one VIN a line, or { header, rows, column }
// for a CSV file, or { error }.
// Blanks at the ends of a cell go, as kordel-decode's CSV reader drops them
// (around a quoted value too, which it would keep: Papa Parse does not tell).
const trimCell = (cell) => cell.replace(/^[ \t]+|[ \t]+$/g, '');

function readList(text) {
  const parsed = Papa.parse(text, {
    delimitersToGuess: [',', ';', '\t'], skipEmptyLines: true, transform: trimCell,
  });
  const broken = parsed.errors.find((e) => e.type === 'Quotes');
  if (broken) {
    return { error: `The CSV has a quoted field that is never closed (row ${broken.row + 1}).` };
  }
  const rows = parsed.data;
  const delimiter = parsed.meta.delimiter;
  if (rows.length === 0) return { lines: [] };
  const named = rows[0].findIndex((name) => VIN_HEADER.test(name));
  if (named >= 0) return { header: rows[0], rows: rows.slice(1), column: named, delimiter };
  if (rows[0].length === 1) return { lines: text.split('\n') };
  const column = vinColumnByValues(rows.slice(1));
  if (column >= 0 && !looksLikeVin(rows[0][column])) {
    return { header: rows[0], rows: rows.slice(1), column, delimiter };
  }
  const headerless = vinColumnByValues(rows);
  if (headerless >= 0) {
    // No header: the columns get names, the VINs' one "vin".
    const header = rows[0].map((_, i) => (i === headerless ? 'vin' : `column ${i + 1}`));
    return { header, rows, column: headerless, delimiter, headerless: true };
  }
  const names = ['vin', 'VIN number', 'vin_no'].map((n) => `"${n}"`).join(', ');
  return {
    error: `No column of VINs found: no header names one (such as ${names}) and no ` +
      'column holds values of 13 or 17 letters and digits.',
  };
}

self.onmessage = async ({ data: message }) => {
  const { text, encoding } = readText(message);
  const list = readList(text);
  if (list.error) {
    self.postMessage({ type: 'done', error: list.error });
    return;
  }
  const module = await kordel;
  const bytes = encoder(encoding);
  const inputs = list.lines ?? list.rows;
  // The header's cells start the CSV; none, and it is a list of lines.
  const csvList = module.newList(list.header ? list.header.map(bytes) : []);
  const counts = { decoded: 0, rejected: 0, unknown: 0, error: 0 };
  const shown = [];
  let total = 0;
  inputs.forEach((input, index) => {
    if (index % PROGRESS_EVERY === 0) {
      self.postMessage({ type: 'progress', done: index, total: inputs.length });
    }
    const cells = list.header ? input.map(bytes) : [bytes(input)];
    const { outcome, answer } = csvList.row(cells, list.header ? list.column : -1, message.year,
      shown.length < SHOWN);
    if (outcome === '') return;  // a blank line
    counts[outcome] += 1;
    total += 1;
    if (answer !== null) shown.push(JSON.parse(answer));
  });
  // A Blob goes to the page without a copy on its thread.
  const csv = new Blob([csvList.csv()], { type: 'text/csv' });
  csvList.free();
  self.postMessage({
    type: 'done', counts, total, shown, csv, encoding,
    delimiter: list.header ? list.delimiter : null,
    column: list.header ? list.header[list.column] : null,
    headerless: Boolean(list.headerless),
  });
};
