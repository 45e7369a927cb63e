// Lists of VINs: one job at a time in a worker of its own (a new list, or a new
// model year, ends the running one, and nothing of it is shown after), its
// progress, the first rows as a table (as cards on a narrow screen) and the CSV
// to download, named after the file it came from.
import { $, element, setText } from './dom.js';
import { suggestionText } from './explain.js';
import { statusWord } from './labels.js';

const listInput = $('list-input');
const listSource = $('list-source');
const listSummary = $('list-summary');
const listScroll = $('list-scroll');
const listBody = document.querySelector('#list-table tbody');
const listProgress = $('list-progress');
const listProgressBar = $('list-progress-bar');
const csvLink = $('csv-download');
const statusLine = $('status');

// The columns' names, as the table's head gives them: each cell of a card says
// which it is.
const COLUMNS = [...document.querySelectorAll('#list-table thead th')].map((th) => th.textContent);

let job = null;        // the running list: { worker }
let lastList = null;   // what was decoded last, decoded again when the year changes
let fillGeneration = 0;

export const listShown = () => job !== null || !csvLink.hidden;

function showProgress(rows, fraction) {
  listProgress.hidden = false;
  listProgressBar.value = Math.round(fraction * 100);
  listProgressBar.setAttribute('aria-valuetext', rows === null
    ? 'Starting'
    : `${rows.toLocaleString('en')} rows, ${Math.round(fraction * 100)} %`);
}

function setCsv(blob, name) {
  if (csvLink.href.startsWith('blob:')) URL.revokeObjectURL(csvLink.href);
  csvLink.hidden = blob === null;
  csvLink.href = blob === null ? '#' : URL.createObjectURL(blob);
  csvLink.download = name;
}

// Ends the running job, if any: its worker goes, and nothing it sends is shown.
function endJob() {
  job?.worker.terminate();
  job = null;
  listProgress.hidden = true;
}

function clearList() {
  fillGeneration += 1;
  listBody.replaceChildren();
  listScroll.hidden = true;
  setCsv(null, '');
  listSummary.textContent = '';
}

// "registry.csv" -> "registry-decoded.csv"; a pasted list, "kordel.csv".
function downloadName(name) {
  if (!name) return 'kordel.csv';
  const stem = name.replace(/\.(csv|txt|tsv)$/i, '');
  return `${stem}-decoded.csv`;
}

// Decodes a list: { text } pasted or typed, or { file }; year is the model
// year chosen (0: every candidate).
export function decodeList(list, year) {
  endJob();
  clearList();
  lastList = list;
  const worker = new Worker('list-worker.js');
  job = { worker };
  const current = job;
  worker.onmessage = ({ data }) => {
    if (job !== current) return;  // a newer list took over
    if (data.type === 'progress') {
      showProgress(data.rows, data.fraction);
      return;
    }
    endJob();
    showList(data, downloadName(list.file?.name));
  };
  worker.onerror = (event) => {
    event.preventDefault();
    if (job !== current) return;
    endJob();
    showList({ error: `The list could not be decoded: ${event.message || 'the worker failed'}.` });
  };
  showProgress(null, 0);
  worker.postMessage({ text: list.text, file: list.file, year });
}

// The model year changed: the list shown or running decodes again.
export function yearChanged(year) {
  if (lastList) decodeList(lastList, year);
}

export function cancelList() {
  endJob();
  lastList = null;
  setText(listSummary, 'Decoding the list was cancelled.');
  statusLine.textContent = listSummary.textContent;
}

// A note under the list's box saying where the list came from when the box does
// not hold it (a file, or a long paste that is not laid out in the box).
export function noteSource(text) {
  listSource.hidden = text === '';
  listSource.textContent = text;
}

// The table's rows of one VIN: one per model year tried, and the messages (why a
// VIN failed, a wrong check digit) in a row of their own beneath.
function listRows({ record, check_digit_warning: warning, unknown_message: unknownMessage }) {
  const rows = [];
  const attempts = record.results ?? [null];
  for (const result of attempts) {
    const f = result?.fields ?? {};
    const status = result ? statusWord(result.status) : 'error';
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
    if (result?.missing_fields?.length) messages.push(`Not found: ${result.missing_fields.join(', ')}`);
    if (warning) messages.push(`Warning: ${warning}`);
    const className = status.replace(' ', '-');
    rows.push(element('tr', { class: messages.length ? `${className} with-message` : className },
      ...cells.map((cell, i) => element('td', { 'data-label': COLUMNS[i], text: String(cell) }))));
    if (messages.length) {
      const cell = element('td', { colspan: String(COLUMNS.length) },
        element('div', { class: 'list-message', text: messages.join('; ') }));
      rows.push(element('tr', { class: `message-row ${className}` }, cell));
    }
  }
  return rows;
}

// "75000 decoded, 25000 rejected": the counts by status, in a fixed order, a
// status this page does not know last.
function countsText(counts) {
  const order = ['decoded', 'incomplete', 'rejected', 'unknown'];
  const keys = [...order, ...Object.keys(counts).filter((k) => !order.includes(k) && k !== 'error')];
  const parts = keys.filter((k) => k === 'decoded' || counts[k])
    .map((k) => `${counts[k] ?? 0} ${order.includes(k) ? k : statusWord(k)}`);
  if (counts.error) parts.push(`${counts.error} of the wrong length`);
  return parts.join(', ');
}

function showList(data, name) {
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
  let told = `${total} VIN${total === 1 ? '' : 's'}: ${countsText(counts)}.`;
  if (data.column !== null) {
    const delimiter = { ',': 'commas', ';': 'semicolons', '\t': 'tabs' }[data.delimiter] ?? `"${data.delimiter}"`;
    told += data.headerless
      ? ` Read as CSV without a header, separated by ${delimiter}.`
      : ` Read as CSV separated by ${delimiter}; VINs from the column "${data.column}".`;
  }
  if (data.encoding === 'windows-1252') {
    told += ' The file is not UTF-8: read as Windows-1252, and the CSV written back so.';
  }
  if (total > data.shown.length) told += ` The table shows the first ${data.shown.length}; the CSV holds all.`;
  listSummary.textContent = told;
  statusLine.textContent = `List decoded. ${told}`;
  listScroll.hidden = total === 0;
  setCsv(total === 0 ? null : data.csv, name);
}

// The table is filled a few VINs a frame, so that no frame keeps the page busy
// for long.
const VINS_A_FRAME = 25;
function fillTable(answers, start, generation) {
  if (generation !== fillGeneration) return;  // a newer list took the table
  listBody.append(...answers.slice(start, start + VINS_A_FRAME).flatMap(listRows));
  if (start + VINS_A_FRAME < answers.length) {
    requestAnimationFrame(() => fillTable(answers, start + VINS_A_FRAME, generation));
  }
}

// A list that arrives by paste or drop: a short one lands in the list's box, a
// long one is noted beside it; the list comes into view.
export function takeText(text, year) {
  let lines = 1;
  for (let at = text.indexOf('\n'); at >= 0; at = text.indexOf('\n', at + 1)) lines += 1;
  if (text.length <= 20000) {
    listInput.value = text;
    noteSource('');
  } else {
    listInput.value = '';
    noteSource(`Pasted: a list of ${lines.toLocaleString('en')} lines.`);
  }
  decodeList({ text }, year);
  listSummary.scrollIntoView({ block: 'nearest' });
}

export function takeFile(file, year) {
  listInput.value = '';
  noteSource(`File: ${file.name}`);
  decodeList({ file }, year);
  listSummary.scrollIntoView({ block: 'nearest' });
}
