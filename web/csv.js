// Reading a pasted or dropped list of VINs, and writing the results as CSV with
// the columns of `kordel-decode --format csv`.

export const DECODE_COLUMNS = [
  'model_year', 'status', 'year', 'make', 'model', 'series', 'body', 'engine', 'trans',
  'plant', 'vehicle_type', 'restraints', 'check_digit', 'check_digit_expected',
  'production_number', 'message',
];

const FIELD_COLUMNS = [
  'year', 'make', 'model', 'series', 'body', 'engine', 'trans', 'plant', 'vehicle_type',
  'restraints',
];

export const UNKNOWN_TEXT = 'the codes name no model line or body';

// RFC 4180: fields separated by commas, optionally in double quotes, where a
// doubled quote stands for one and commas and line breaks are kept; records end
// with CRLF or LF. Returns null when a quoted field is never closed.
export function parseCsv(text) {
  const rows = [];
  let row = [];
  let field = '';
  let i = 0;
  let quoted = false;
  let fieldStarted = false;
  while (i < text.length) {
    const c = text[i];
    if (quoted) {
      if (c === '"') {
        if (text[i + 1] === '"') { field += '"'; i += 2; continue; }
        quoted = false; i += 1; continue;
      }
      field += c; i += 1; continue;
    }
    if (c === '"' && !fieldStarted) { quoted = true; fieldStarted = true; i += 1; continue; }
    if (c === ',') { row.push(field); field = ''; fieldStarted = false; i += 1; continue; }
    if (c === '\r' || c === '\n') {
      row.push(field); rows.push(row);
      row = []; field = ''; fieldStarted = false;
      i += c === '\r' && text[i + 1] === '\n' ? 2 : 1;
      continue;
    }
    field += c; fieldStarted = true; i += 1;
  }
  if (quoted) return null;
  if (fieldStarted || row.length > 0) { row.push(field); rows.push(row); }
  return rows;
}

function csvField(value) {
  const text = value === null || value === undefined ? '' : String(value);
  return /[",\r\n]/.test(text) ? `"${text.replaceAll('"', '""')}"` : text;
}

export function toCsv(rows) {
  return rows.map((row) => row.map(csvField).join(',')).join('\r\n') + '\r\n';
}

// The VINs of a list: one a line, or, when the first line is a CSV header that
// names a "vin" column, that column of every record.
export function readList(text) {
  const clean = text.replace(/^\uFEFF/, '');
  const firstLine = clean.split(/\r?\n/, 1)[0];
  if (/[,"]/.test(firstLine)) {
    const rows = parseCsv(clean);
    if (rows === null) return { error: 'The CSV has a quoted field that is never closed.' };
    const header = rows[0];
    const column = header.findIndex((name) => name.trim().toLowerCase() === 'vin');
    if (column >= 0) {
      const items = rows.slice(1)
        .filter((cells) => cells.some((cell) => cell.trim() !== ''))
        .map((cells) => ({ vin: (cells[column] ?? '').trim(), cells }));
      return { header, items };
    }
  }
  const items = clean.split(/\r?\n/)
    .map((line) => line.trim())
    .filter((line) => line !== '')
    .map((vin) => ({ vin }));
  return { header: null, items };
}

function fieldText(value) {
  return value === null || value === undefined ? '' : String(value);
}

// The CSV rows of one decoded VIN: one per model year tried. warning is the
// check-digit warning of a 17-character VIN whose check digit does not compute.
export function csvRows(record, leading, warning) {
  if (record.error !== undefined) {
    return [[...leading, '', 'error', ...FIELD_COLUMNS.map(() => ''), '', '', '', record.error]];
  }
  const check = record.check_digit;
  return record.results.map((result) => {
    const messages = result.messages.map((message) => message.text);
    if (result.status === 'unknown') messages.push(UNKNOWN_TEXT);
    if (warning) messages.push(warning);
    return [
      ...leading,
      fieldText(result.model_year),
      result.status,
      ...FIELD_COLUMNS.map((name) => fieldText(result.fields ? result.fields[name] : null)),
      check ? check.given : '',
      check ? fieldText(check.expected) : '',
      fieldText(result.production_number),
      messages.join('; '),
    ];
  });
}

// The whole CSV of a decoded list: the input's own columns first when it was a
// CSV, otherwise a "vin" column.
export function listCsv(list, records, warnings) {
  const width = list.header ? list.header.length : 0;
  const rows = [list.header ? [...list.header, ...DECODE_COLUMNS] : ['vin', ...DECODE_COLUMNS]];
  list.items.forEach((item, index) => {
    const leading = list.header
      ? Array.from({ length: width }, (_, i) => item.cells[i] ?? '')
      : [item.vin];
    rows.push(...csvRows(records[index], leading, warnings[index]));
  });
  return toCsv(rows);
}
