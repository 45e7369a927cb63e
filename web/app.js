// The page: decodes the VIN as it is typed, one report per candidate model year,
// and whole lists of VINs to a table and a CSV download.
import createKordel from './kordel.js';
import { csvRows, readList, listCsv, UNKNOWN_TEXT } from './csv.js';

const $ = (id) => document.getElementById(id);
const form = $('decode-form');
const vinInput = $('vin');
const yearSelect = $('year');
const statusLine = $('status');
const results = $('results');
const reportActions = $('report-actions');
const listInput = $('list-input');
const listSummary = $('list-summary');
const listScroll = $('list-scroll');
const listBody = document.querySelector('#list-table tbody');
const csvLink = $('csv-download');

const FIELD_LABELS = [
  ['year', 'Model year'], ['make', 'Make'], ['model', 'Model'], ['series', 'Series'],
  ['vehicle_type', 'Vehicle type'], ['body', 'Body'], ['engine', 'Engine'],
  ['trans', 'Transmission'], ['restraints', 'Restraints'], ['check_digit', 'Check digit'],
  ['plant', 'Plant'],
];
const LIST_ROWS_SHOWN = 1000;

let decodeJson = null;
let checkDigitWarning = null;
let reportText = '';

// One JSON object per VIN, as `kordel-decode --format json` writes it.
function decode(vin, year) {
  return JSON.parse(decodeJson(vin, year));
}

function element(tag, attributes = {}, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) {
    if (name === 'text') node.textContent = value;
    else node.setAttribute(name, value);
  }
  node.append(...children);
  return node;
}

function selectedYear() {
  return Number(yearSelect.value) || 0;
}

function ordinal(n) {
  const tens = Math.floor(n / 10) % 10;
  const units = n % 10;
  if (tens === 1 || units > 3 || units === 0) return `${n}th`;
  return `${n}${['st', 'nd', 'rd'][units - 1]}`;
}

// The VIN one character a box, the position a message names marked.
function vinStrip(vin, position, kind) {
  const strip = element('p', { class: 'vin-strip' });
  [...vin].forEach((character, index) => {
    const marked = index + 1 === position;
    const box = element(marked ? 'mark' : 'span', { class: marked ? `char ${kind}` : 'char' });
    box.append(element('span', { class: 'char-text', text: character }));
    box.append(element('span', { class: 'char-position', 'aria-hidden': 'true', text: String(index + 1) }));
    if (marked) box.append(element('span', { class: 'visually-hidden', text: ` (position ${position})` }));
    strip.append(box);
  });
  return strip;
}

function messageBlock(vin, message) {
  const block = element('div', { class: `message ${message.kind}` });
  block.append(element('p', { class: 'message-text', text: message.text }));
  if (message.position) {
    block.append(vinStrip(vin, message.position, message.kind));
    const holds = [...vin][message.position - 1] ?? '';
    const detail = `The ${ordinal(message.position)} character is "${holds}".`;
    const accepted = message.accepted
      ? ` Accepted there: ${[...message.accepted].join(' ')}`
      : '';
    block.append(element('p', { class: 'accepted', text: detail + accepted }));
  }
  return block;
}

function fieldsTable(result) {
  const table = element('table', { class: 'fields' });
  table.append(element('caption', { class: 'visually-hidden', text: 'Fields' }));
  const body = element('tbody');
  for (const [name, label] of FIELD_LABELS) {
    if (!(name in result.fields)) continue;
    const value = result.fields[name];
    body.append(element('tr', {},
      element('th', { scope: 'row', text: label }),
      element('td', value === null ? { class: 'error-field', text: 'Error' } : { text: value })));
  }
  body.append(element('tr', {},
    element('th', { scope: 'row', text: 'Production number' }),
    element('td', { text: result.production_number === null ? 'not a number' : String(result.production_number) })));
  table.append(body);
  return table;
}

function resultCard(record, result) {
  const card = element('article', { class: `result ${result.status}` });
  const outcome = { decoded: 'Report', rejected: 'Rejected', unknown: 'Unknown' }[result.status];
  const heading = result.model_year
    ? `Model year ${result.model_year}${result.status === 'decoded' ? '' : `: ${outcome.toLowerCase()}`}`
    : outcome;
  card.append(element('h2', { text: heading }));
  for (const message of result.messages) card.append(messageBlock(record.vin, message));
  if (result.status === 'decoded') {
    const body = element('div', { class: 'result-body' });
    body.append(element('pre', { class: 'report', text: result.report.join('\n') }));
    body.append(fieldsTable(result));
    card.append(body);
  } else if (result.status === 'unknown') {
    card.append(element('p', { class: 'message error', text: `Unknown: ${UNKNOWN_TEXT}.` }));
  }
  return card;
}

function summary(record) {
  if (record.error !== undefined) return record.error;
  const decoded = record.results.filter((r) => r.status === 'decoded');
  const describe = (r) => [r.fields.year, r.fields.make, r.fields.model].filter(Boolean).join(' ');
  const warnings = record.results.flatMap((r) => r.messages.filter((m) => m.kind === 'warning'));
  const parts = [];
  if (record.results.length > 1) {
    const years = record.results.map((r) => r.model_year).join(', ');
    parts.push(`${record.results.length} candidate model years: ${years}.`);
    parts.push(decoded.length
      ? `Decoded for ${decoded.map((r) => r.model_year).join(', ')}.`
      : 'No candidate year decodes.');
  } else if (decoded.length === 1) {
    parts.push(`Decoded: ${describe(decoded[0])}.`);
  }
  const rejections = record.results.flatMap((r) => r.messages.filter((m) => m.kind === 'error'));
  if (decoded.length === 0) {
    if (rejections.length) parts.push(`Rejected: ${rejections[0].text}`);
    else if (record.results.every((r) => r.status === 'unknown')) parts.push(`Unknown: ${UNKNOWN_TEXT}.`);
  }
  if (warnings.length) parts.push(`Warning: ${warnings.map((m) => m.text).join(' ')}`);
  return parts.join(' ');
}

// The text a copy takes: the reports as `kordel-decode` prints them.
function copyText(record) {
  const decoded = record.results.filter((r) => r.status === 'decoded');
  if (record.results.length === 1) return decoded.map((r) => r.report.join('\n')).join('\n');
  return decoded.map((r) => `Model year ${r.model_year}:\n${r.report.join('\n')}`).join('\n\n');
}

function clearResult(status = '') {
  results.replaceChildren();
  reportActions.hidden = true;
  reportText = '';
  if (statusLine.textContent !== status) statusLine.textContent = status;
}

function warningOf(record) {
  return record.check_digit && !record.check_digit.valid ? checkDigitWarning(record.vin) : '';
}

function showRecord(record) {
  results.replaceChildren();
  const warning = warningOf(record);
  if (warning) {
    results.append(messageBlock(record.vin, { text: warning, kind: 'warning', position: 9, accepted: null }));
  }
  if (record.error !== undefined) {
    results.append(element('p', { class: 'message error', text: record.error }));
  } else {
    for (const result of record.results) results.append(resultCard(record, result));
  }
  results.classList.toggle('several', record.results?.length > 1);
  reportText = record.results ? copyText(record) : '';
  reportActions.hidden = reportText === '';
  statusLine.textContent = warning ? `${summary(record)} Warning: ${warning}` : summary(record);
}

// The address follows the field once typing pauses: browsers throttle
// history updates, and one per keystroke would cost more than the decode.
let addressTimer = 0;
function updateAddress(vin, year) {
  clearTimeout(addressTimer);
  addressTimer = setTimeout(() => {
    const params = new URLSearchParams();
    if (vin) params.set('vin', vin);
    if (vin && year) params.set('year', String(year));
    const query = params.toString();
    history.replaceState(null, '', query ? `?${query}` : location.pathname);
  }, 300);
}

// Decodes what the field holds. While it is typed, only a complete length
// decodes; the Decode button answers every length.
function decodeField(fromButton) {
  if (!decodeJson) return;
  const vin = vinInput.value.trim();
  const year = selectedYear();
  updateAddress(vin, year);
  if (vin === '' && !fromButton) { clearResult(); return; }
  if (vin.length !== 13 && vin.length !== 17 && !fromButton) {
    clearResult();
    return;
  }
  showRecord(decode(vin, year));
}

function looksLikeList(text) {
  return /[\r\n,;\t]/.test(text.trim()) || text.trim().length > 17;
}

function decodeList(text) {
  const list = readList(text);
  listBody.replaceChildren();
  if (list.error) {
    listSummary.textContent = list.error;
    listScroll.hidden = true;
    csvLink.hidden = true;
    statusLine.textContent = list.error;
    return;
  }
  const year = selectedYear();
  const records = list.items.map((item) => decode(item.vin, year));
  const warnings = records.map((record) => warningOf(record));
  const counts = { decoded: 0, rejected: 0, unknown: 0, error: 0 };
  records.forEach((record, index) => {
    const rows = record.error !== undefined ? [null] : record.results;
    if (record.error !== undefined) counts.error += 1;
    else if (record.results.some((r) => r.status === 'decoded')) counts.decoded += 1;
    else if (record.results.some((r) => r.status === 'rejected')) counts.rejected += 1;
    else counts.unknown += 1;
    if (index >= LIST_ROWS_SHOWN) return;
    // The message column as the CSV has it, warnings included.
    const messages = csvRows(record, [], warnings[index]).map((row) => row.at(-1));
    rows.forEach((result, k) => {
      const f = result?.fields ?? {};
      const cells = [
        record.vin ?? list.items[index].vin,
        result?.model_year ?? '',
        result ? result.status : 'error',
        f.model ?? '', f.body ?? f.vehicle_type ?? '', f.engine ?? '', f.plant ?? '',
        result?.production_number ?? '',
        messages[k],
      ];
      listBody.append(element('tr', { class: cells[2] },
        ...cells.map((cell) => element('td', { text: String(cell) }))));
    });
  });
  const total = records.length;
  const parts = [`${total} VIN${total === 1 ? '' : 's'}: ${counts.decoded} decoded`];
  if (counts.rejected) parts.push(`${counts.rejected} rejected`);
  if (counts.unknown) parts.push(`${counts.unknown} unknown`);
  if (counts.error) parts.push(`${counts.error} of the wrong length`);
  let told = `${parts.join(', ')}.`;
  if (total > LIST_ROWS_SHOWN) told += ` The table shows the first ${LIST_ROWS_SHOWN}; the CSV holds all.`;
  listSummary.textContent = told;
  statusLine.textContent = `List decoded. ${told}`;
  listScroll.hidden = total === 0;

  if (csvLink.href.startsWith('blob:')) URL.revokeObjectURL(csvLink.href);
  const blob = new Blob([listCsv(list, records, warnings)], { type: 'text/csv' });
  csvLink.href = URL.createObjectURL(blob);
  csvLink.hidden = total === 0;
}

// A list that arrives by paste or drop lands in the list's box, in view.
function takeList(text) {
  listInput.value = text;
  decodeList(text);
  listSummary.scrollIntoView({ block: 'nearest' });
}

function readFile(file) {
  file.text().then(takeList);
}

function wire() {
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    decodeField(true);
    vinInput.focus();
  });
  vinInput.addEventListener('input', () => decodeField(false));
  yearSelect.addEventListener('change', () => decodeField(false));
  vinInput.addEventListener('paste', (event) => {
    const text = event.clipboardData?.getData('text') ?? '';
    event.preventDefault();
    if (looksLikeList(text)) {
      takeList(text);
      return;
    }
    vinInput.value = text.trim();
    decodeField(false);
  });
  $('list-decode').addEventListener('click', () => decodeList(listInput.value));
  $('list-file').addEventListener('change', (event) => {
    if (event.target.files.length) readFile(event.target.files[0]);
  });
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    const file = event.dataTransfer.files[0];
    if (file) { readFile(file); return; }
    const text = event.dataTransfer.getData('text');
    if (looksLikeList(text)) {
      takeList(text);
    } else {
      vinInput.value = text.trim();
      decodeField(true);
    }
  });
  $('copy').addEventListener('click', async () => {
    try {
      await navigator.clipboard.writeText(reportText);
      statusLine.textContent = 'Report copied.';
    } catch {
      statusLine.textContent = 'The browser did not allow copying; select the report and copy it.';
    }
  });
  $('print').addEventListener('click', () => window.print());
}

function readAddress() {
  const params = new URLSearchParams(location.search);
  const year = Number(params.get('year'));
  const fullYear = year >= 68 && year <= 80 ? 1900 + year : year;
  if (fullYear >= 1968 && fullYear <= 1980) yearSelect.value = String(fullYear);
  const vin = params.get('vin');
  if (vin !== null) {
    vinInput.value = vin;
    decodeField(true);
  }
}

wire();
const ready = createKordel().then((module) => {
  decodeJson = module.cwrap('kordel_decode_json', 'string', ['string', 'number']);
  checkDigitWarning = module.cwrap('kordel_check_digit_warning', 'string', ['string']);
  readAddress();
  if (!new URLSearchParams(location.search).has('vin') && vinInput.value) decodeField(false);
  performance.mark('kordel-ready');
  document.documentElement.dataset.ready = 'true';
}, () => {
  statusLine.textContent = 'This browser could not start the decoder: it needs WebAssembly.';
});

// For scripts and tests: the module's JSON text, exactly as it returns it.
window.kordel = { ready, decodeJson: (vin, year = 0) => decodeJson(vin, year) };

if ('serviceWorker' in navigator) {
  navigator.serviceWorker.register('sw.js').catch(() => {});
}
