// The page: decodes the VIN as it is typed, one report per candidate model year,
// and whole lists of VINs (in a worker) to a table and a CSV download. The module
// (kordel.js, loaded before this script) gives everything about one VIN in one
// call; the worker has it write the CSV.
/* global createKordel */
import { element, positionsStrip, suggestionText, suggestionsBlock } from './explain.js';

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
const listProgress = $('list-progress');
const listProgressBar = $('list-progress-bar');
const csvLink = $('csv-download');

// The page's words for the record's fields, keyed by their names in the record.
const FIELD_LABELS = {
  year: 'Model year', make: 'Make', model: 'Model', series: 'Series',
  vehicle_type: 'Vehicle type', body: 'Body', engine: 'Engine', trans: 'Transmission',
  restraints: 'Restraints', check_digit: 'Check digit', plant: 'Plant',
};
const LIST_COLUMNS = 9;  // of the list's table

let decodeVin = null;
let reportText = '';

// What the module knows of one VIN: { check_digit_warning, unknown_message,
// record }, the record being the JSON object that `kordel-decode --format json`
// writes, unknown_message the words for a result of status unknown.
function decode(vin, year) {
  return JSON.parse(decodeVin(vin, year));
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

// ---- One VIN's reports -----------------------------------------------------

// Called on every result card once it is built: (card, record, result). Other
// parts of the page add to the cards through this.
const cardDecorators = [];
export function addCardDecorator(decorate) {
  cardDecorators.push(decorate);
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

// The fields in the record's order, each with the page's label.
function fieldsTable(result) {
  const table = element('table', { class: 'fields' });
  table.append(element('caption', { class: 'visually-hidden', text: 'Fields' }));
  const body = element('tbody');
  for (const [name, value] of Object.entries(result.fields)) {
    body.append(element('tr', {},
      element('th', { scope: 'row', text: FIELD_LABELS[name] ?? name }),
      element('td', value === null ? { class: 'error-field', text: 'Error' } : { text: value })));
  }
  body.append(element('tr', {},
    element('th', { scope: 'row', text: 'Production number' }),
    element('td', { text: result.production_number === null ? 'not a number' : String(result.production_number) })));
  table.append(body);
  return table;
}

function resultCard({ record, unknown_message: unknownMessage }, result) {
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
    card.append(element('p', { class: 'message error', text: `Unknown: ${unknownMessage}.` }));
  }
  for (const decorate of cardDecorators) decorate(card, record, result);
  return card;
}

function summary({ record, unknown_message: unknownMessage }) {
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
    else if (record.results.every((r) => r.status === 'unknown')) parts.push(`Unknown: ${unknownMessage}.`);
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

// What lies below the reports of a linked decode joins the layout once they are
// drawn, in a task of its own, so that neither task blocks the page for long.
function reportsArrived() {
  const root = document.documentElement;
  if (!root.classList.contains('linked')) return;
  requestAnimationFrame(() => setTimeout(() => root.classList.remove('linked')));
}

function clearResult(status = '') {
  results.replaceChildren();
  reportActions.hidden = true;
  reportText = '';
  if (statusLine.textContent !== status) statusLine.textContent = status;
  reportsArrived();
}

function showAnswer(answer) {
  const { record, check_digit_warning: warning } = answer;
  results.replaceChildren();
  if (warning) {
    results.append(messageBlock(record.vin, { text: warning, kind: 'warning', position: 9, accepted: null }));
  }
  if (record.error !== undefined) {
    results.append(element('p', { class: 'message error', text: record.error }));
  } else {
    for (const result of record.results) results.append(resultCard(answer, result));
  }
  // "Did you mean" right under a check-digit warning, else under the rejection.
  const offer = suggestionsBlock(record, pickSuggestion);
  if (offer && warning) results.firstChild.after(offer);
  else if (offer) results.append(offer);
  results.classList.toggle('several', record.results?.length > 1);
  reportText = record.results ? copyText(record) : '';
  reportActions.hidden = reportText === '';
  let status = warning ? `${summary(answer)} Warning: ${warning}.` : summary(answer);
  const offered = record.suggestions?.length ?? 0;
  if (offered) status += ` ${offered} suggestion${offered === 1 ? '' : 's'} below.`;
  statusLine.textContent = status;
  reportsArrived();
}

// A suggestion pressed: it decodes as if typed, and the address follows.
function pickSuggestion(vin) {
  vinInput.value = vin;
  decodeField(true);
  vinInput.focus();
}

// Each decoded report gets its VIN's characters as boxes saying what they encode.
addCardDecorator((card, record, result) => {
  const strip = positionsStrip(result);
  if (strip) card.append(strip);
});

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

// Whether a VIN being typed can be whole: 13 characters that start with the
// maker's letter (a 17-character VIN starts with a digit, and its first 13
// characters are no VIN of their own), or 17 characters.
function canBeWhole(vin) {
  return vin.length === 17 || (vin.length === 13 && !/^[0-9]/.test(vin));
}

// Decodes what the field holds. While it is typed, only what can be whole
// decodes; the Decode button (and Enter) answers every length.
function decodeField(fromButton) {
  if (!decodeVin) return;
  const vin = vinInput.value.trim();
  const year = selectedYear();
  updateAddress(vin, year);
  if (!fromButton && !canBeWhole(vin)) {
    clearResult();
    return;
  }
  showAnswer(decode(vin, year));
}

// ---- Typing and pasting ----------------------------------------------------

function looksLikeList(text) {
  return /[\r\n,;\t]/.test(text.trim()) || cleanPastedVin(text).length > 17;
}

// A pasted VIN as people copy it ("A8A855H 100001", "1AMCM38-77BK100021"): the
// blanks and dashes inside go, so that it decodes.
function cleanPastedVin(text) {
  return text.replace(/[\s\u00a0-]+/g, '');
}

// Pasting into the VIN box inserts at the cursor like any text box; a list goes
// to the list instead. The browser pastes by itself where nothing needs cleaning.
function onPaste(event) {
  const text = event.clipboardData?.getData('text') ?? '';
  if (looksLikeList(text)) {
    event.preventDefault();
    takeList({ text });
    return;
  }
  const clean = cleanPastedVin(text);
  if (clean === text) return;
  event.preventDefault();
  vinInput.focus();
  // insertText keeps the box's undo history and fires 'input'.
  if (!document.execCommand('insertText', false, clean)) {
    vinInput.setRangeText(clean, vinInput.selectionStart, vinInput.selectionEnd, 'end');
    vinInput.dispatchEvent(new Event('input'));
  }
}

// ---- Lists -----------------------------------------------------------------

let worker = null;
let lastList = null;  // what was decoded last, decoded again when the year changes

function startWorker() {
  worker = new Worker('list-worker.js');
  worker.onmessage = ({ data }) => {
    if (data.type === 'progress') showProgress(data.done, data.total);
    else showList(data);
  };
  worker.onerror = (event) => {
    event.preventDefault();
    worker.terminate();
    worker = null;
    showList({ error: `The list could not be decoded: ${event.message || 'the worker failed'}.` });
  };
}

function showProgress(done, total) {
  listProgress.hidden = false;
  listProgressBar.max = Math.max(total, 1);
  listProgressBar.value = done;
  listProgressBar.setAttribute('aria-valuetext', `${done.toLocaleString('en')} of ${total.toLocaleString('en')} rows`);
}

function stopProgress() {
  listProgress.hidden = true;
}

function setCsv(blob) {
  if (csvLink.href.startsWith('blob:')) URL.revokeObjectURL(csvLink.href);
  csvLink.hidden = blob === null;
  csvLink.href = blob === null ? '#' : URL.createObjectURL(blob);
}

// Decodes a list: { text } pasted or typed, or { bytes } of a file.
function decodeList(list) {
  if (!worker) startWorker();
  lastList = list;
  fillGeneration += 1;
  listBody.replaceChildren();
  listScroll.hidden = true;
  setCsv(null);
  listSummary.textContent = '';
  showProgress(0, 1);
  worker.postMessage({ ...list, year: selectedYear() });
}

function cancelList() {
  worker?.terminate();
  worker = null;
  lastList = null;
  stopProgress();
  listSummary.textContent = 'Decoding the list was cancelled.';
  statusLine.textContent = listSummary.textContent;
}

// The table's rows of one VIN: one per model year tried, and the messages (why a
// VIN failed, a wrong check digit) in a row of their own beneath.
function listRows({ record, check_digit_warning: warning, unknown_message: unknownMessage }) {
  const rows = [];
  const attempts = record.results ?? [null];
  for (const result of attempts) {
    const f = result?.fields ?? {};
    const status = result ? result.status : 'error';
    const cells = [
      record.vin,
      result?.model_year ?? f.year ?? '',
      status,
      f.model ?? '', f.body ?? f.vehicle_type ?? '', f.engine ?? '', f.plant ?? '',
      result?.production_number ?? '',
      (record.suggestions ?? []).map(suggestionText).join('; '),
    ];
    const messages = result ? result.messages.map((m) => m.text) : [record.error];
    if (result?.status === 'unknown') messages.push(unknownMessage);
    if (warning) messages.push(`Warning: ${warning}`);
    rows.push(element('tr', { class: messages.length ? `${status} with-message` : status },
      ...cells.map((cell) => element('td', { text: String(cell) }))));
    if (messages.length) {
      const cell = element('td', { colspan: String(LIST_COLUMNS) },
        element('div', { class: 'list-message', text: messages.join('; ') }));
      rows.push(element('tr', { class: `message-row ${status}` }, cell));
    }
  }
  return rows;
}

function showList(data) {
  stopProgress();
  if (data.error) {
    listSummary.textContent = data.error;
    listScroll.hidden = true;
    statusLine.textContent = data.error;
    return;
  }
  const { counts, total } = data;
  const generation = ++fillGeneration;
  listBody.replaceChildren();
  requestAnimationFrame(() => fillTable(data.shown, 0, generation));
  const parts = [`${total} VIN${total === 1 ? '' : 's'}: ${counts.decoded} decoded`];
  if (counts.rejected) parts.push(`${counts.rejected} rejected`);
  if (counts.unknown) parts.push(`${counts.unknown} unknown`);
  if (counts.error) parts.push(`${counts.error} of the wrong length`);
  let told = `${parts.join(', ')}.`;
  if (data.column !== null) {
    const delimiter = { ',': 'commas', ';': 'semicolons', '\t': 'tabs' }[data.delimiter] ?? `"${data.delimiter}"`;
    told += data.headerless
      ? ` Read as CSV without a header, separated by ${delimiter}.`
      : ` Read as CSV separated by ${delimiter}; VINs from the column "${data.column}".`;
  }
  if (data.encoding === 'windows-1252') told += ' The file is not UTF-8: read as Windows-1252.';
  if (total > data.shown.length) told += ` The table shows the first ${data.shown.length}; the CSV holds all.`;
  listSummary.textContent = told;
  statusLine.textContent = `List decoded. ${told}`;
  listScroll.hidden = total === 0;
  setCsv(total === 0 ? null : data.csv);
}

// The table is filled a few hundred VINs a frame, so that the page never stops
// answering for long.
const VINS_A_FRAME = 25;
let fillGeneration = 0;
function fillTable(answers, start, generation) {
  if (generation !== fillGeneration) return;  // a newer list took the table
  listBody.append(...answers.slice(start, start + VINS_A_FRAME).flatMap(listRows));
  if (start + VINS_A_FRAME < answers.length) {
    requestAnimationFrame(() => fillTable(answers, start + VINS_A_FRAME, generation));
  }
}

// A list that arrives by paste or drop lands in the list's box, in view.
function takeList(list) {
  if (list.text !== undefined) listInput.value = list.text;
  decodeList(list);
  listSummary.scrollIntoView({ block: 'nearest' });
}

async function readFile(file) {
  listInput.value = '';
  takeList({ bytes: await file.arrayBuffer() });
}

// ---- A new version ---------------------------------------------------------

// A new build's service worker waits until the user takes it: then it takes
// over and the page reloads.
function offerUpdate(registration) {
  const waiting = registration.waiting;
  if (!waiting || !navigator.serviceWorker.controller) return;
  $('update').hidden = false;
  $('update-reload').onclick = () => waiting.postMessage('take over');
}

function watchUpdates() {
  if (!('serviceWorker' in navigator)) return;
  navigator.serviceWorker.register('sw.js').then((registration) => {
    const watch = (installing) => installing?.addEventListener('statechange', () => {
      if (installing.state === 'installed') offerUpdate(registration);
    });
    // The browser may have begun installing a new build before this ran.
    watch(registration.installing);
    registration.addEventListener('updatefound', () => watch(registration.installing));
    offerUpdate(registration);
  }).catch(() => {});
  let reloading = false;
  const hadController = Boolean(navigator.serviceWorker.controller);
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (!hadController || reloading) return;  // the first install changes nothing shown
    reloading = true;
    location.reload();
  });
}

// ---- Wiring ----------------------------------------------------------------

function wire() {
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    decodeField(true);
    vinInput.focus();
  });
  vinInput.addEventListener('input', () => decodeField(false));
  vinInput.addEventListener('paste', onPaste);
  yearSelect.addEventListener('change', () => {
    decodeField(false);
    if (lastList) decodeList(lastList);
  });
  $('list-decode').addEventListener('click', () => decodeList({ text: listInput.value }));
  $('list-cancel').addEventListener('click', cancelList);
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
      takeList({ text });
    } else {
      vinInput.value = cleanPastedVin(text);
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
  decodeVin = module.pageAnswer;
  readAddress();
  if (!new URLSearchParams(location.search).has('vin') && vinInput.value) decodeField(false);
  performance.mark('kordel-ready');
  document.documentElement.dataset.ready = 'true';
}, () => {
  statusLine.textContent = 'This browser could not start the decoder: it needs WebAssembly.';
  reportsArrived();
});

// For scripts and tests: the module's answer for one VIN, as text.
window.kordel = { ready, decode: (vin, year = 0) => decodeVin(vin, year) };

watchUpdates();
