// How a list file is written, found from its start, and the bytes of a CSV written
// back the same way. The rule is the record library's (kordel-decode reads files
// by it); this is its copy for the page's worker, loaded with importScripts.
//
// From the first 64 KiB: the encoding (a UTF-8 byte-order mark, else valid UTF-8,
// else Windows-1252) and the delimiter among ',', ';' and tab: the one that
// splits the most of the first 20 non-empty lines into the same number (>1) of
// cells as the header; a tie goes to the delimiter under which a header cell
// names the VIN ("VIN", or "VIN " / "VIN_" / "VIN#" and more, upper-cased and
// trimmed), else to ',' then ';' then tab. Quotes are honoured.
/* exported csvDialect */
const csvDialect = (() => {
  const HEAD_BYTES = 64 * 1024;
  const LINES = 20;
  const DELIMITERS = [',', ';', '\t'];
  const BOM = [0xef, 0xbb, 0xbf];

  const hasBom = (bytes) => BOM.every((b, i) => bytes[i] === b);

  function encodingOf(bytes) {
    if (hasBom(bytes)) return 'utf-8-bom';
    try {
      // stream: a character cut at the end of the head is no fault.
      new TextDecoder('utf-8', { fatal: true }).decode(bytes.subarray(0, HEAD_BYTES), { stream: true });
      return 'utf-8';
    } catch {
      return 'windows-1252';
    }
  }

  // The cells of the first `count` non-empty lines under `delimiter`; a quote
  // opens a quoted cell only at the cell's start, and a line break inside quotes
  // does not end a line.
  function splitLines(text, delimiter, count) {
    const lines = [];
    let cells = [];
    let cell = '';
    let quoted = false;
    let atStart = true;
    const endLine = () => {
      cells.push(cell);
      if (cells.length > 1 || cells[0] !== '') lines.push(cells);
      cells = [];
      cell = '';
      atStart = true;
    };
    for (let i = 0; i < text.length && lines.length < count; i += 1) {
      const c = text[i];
      if (quoted) {
        if (c !== '"') cell += c;
        else if (text[i + 1] === '"') { cell += '"'; i += 1; } else quoted = false;
      } else if (c === '"' && atStart) {
        quoted = true;
        atStart = false;
      } else if (c === delimiter) {
        cells.push(cell);
        cell = '';
        atStart = true;
      } else if (c === '\n') {
        endLine();
      } else if (c !== '\r') {
        cell += c;
        atStart = false;
      }
    }
    if (lines.length < count) endLine();
    return lines;
  }

  function namesVin(cell) {
    const name = cell.replace(/^[ \t]+|[ \t]+$/g, '').toUpperCase();
    return name === 'VIN' || (name.length > 3 && name.startsWith('VIN') && ' _#'.includes(name[3]));
  }

  // The first delimiter wins a tie unless only a later one names the VIN.
  function delimiterOf(text) {
    const head = text.slice(0, HEAD_BYTES);
    let chosen = ',';
    let bestScore = 0;
    let bestNamed = false;
    for (const delimiter of DELIMITERS) {
      const lines = splitLines(head, delimiter, LINES);
      if (lines.length === 0 || lines[0].length < 2) continue;
      const score = lines.filter((cells) => cells.length === lines[0].length).length;
      const named = lines[0].some(namesVin);
      if (score > bestScore || (score === bestScore && named && !bestNamed)) {
        bestScore = score;
        bestNamed = named;
        chosen = delimiter;
      }
    }
    return chosen;
  }

  // Windows-1252 maps every byte to a character: the map back is the decoder's.
  let toCp1252 = null;
  function cp1252Bytes(text) {
    if (!toCp1252) {
      const all = Uint8Array.from({ length: 256 }, (_, i) => i);
      toCp1252 = new Map([...new TextDecoder('windows-1252').decode(all)].map((c, i) => [c, i]));
    }
    const bytes = new Uint8Array(text.length);
    let n = 0;
    for (const c of text) bytes[n++] = toCp1252.get(c) ?? 0x3f;  // what it lacks: '?'
    return bytes.subarray(0, n);
  }

  // A comma-separated CSV (whole rows) rewritten with another delimiter: a cell
  // is quoted where it holds the delimiter, a quote or a line break.
  function withDelimiter(csv, delimiter) {
    let out = '';
    let cell = '';
    let quoted = false;
    const flush = () => {
      out += /["\r\n]/.test(cell) || cell.includes(delimiter) ? `"${cell.replaceAll('"', '""')}"` : cell;
      cell = '';
    };
    for (let i = 0; i < csv.length; i += 1) {
      const c = csv[i];
      if (quoted) {
        if (c !== '"') cell += c;
        else if (csv[i + 1] === '"') { cell += '"'; i += 1; } else quoted = false;
      } else if (c === '"') {
        quoted = true;
      } else if (c === ',') {
        flush();
        out += delimiter;
      } else if (c === '\r' || c === '\n') {
        flush();
        out += c;
        if (c === '\r' && csv[i + 1] === '\n') { out += '\n'; i += 1; }
      } else {
        cell += c;
      }
    }
    if (cell !== '') flush();
    return out;
  }

  return {
    // { encoding: 'utf-8' | 'utf-8-bom' | 'windows-1252', delimiter } of a file's bytes.
    ofBytes(bytes) {
      const encoding = encodingOf(bytes);
      const decoder = new TextDecoder(encoding === 'windows-1252' ? 'windows-1252' : 'utf-8');
      return { encoding, delimiter: delimiterOf(decoder.decode(bytes.subarray(0, HEAD_BYTES))) };
    },
    ofText: (text) => ({ encoding: 'utf-8', delimiter: delimiterOf(text) }),
    // A file's text; a byte-order mark is not part of it.
    text(bytes, encoding) {
      return new TextDecoder(encoding === 'windows-1252' ? 'windows-1252' : 'utf-8').decode(bytes);
    },
    // The bytes of a piece of the module's CSV (UTF-8, commas) written the input's
    // way; `first` for the piece that starts the file.
    write(csv, { encoding, delimiter }, first) {
      if (encoding === 'utf-8' && delimiter === ',') return csv;
      let text = new TextDecoder().decode(csv);
      if (delimiter !== ',') text = withDelimiter(text, delimiter);
      if (encoding === 'windows-1252') return cp1252Bytes(text);
      const bytes = new TextEncoder().encode(text);
      if (encoding !== 'utf-8-bom' || !first) return bytes;
      const withBom = new Uint8Array(bytes.length + 3);
      withBom.set(BOM);
      withBom.set(bytes, 3);
      return withBom;
    },
  };
})();
