// The page: decodes the VIN as it is typed, one report per candidate model year,
// and whole lists of VINs (in a worker) to a table and a CSV download. The module
// (kordel.js, loaded before this script) gives everything about one VIN in one
// call. This file wires the parts together.
/* global createKordel */
import { $ } from './dom.js';
import {
  cancelList, decodeList, listShown, noteSource, takeFile, takeText, yearChanged,
} from './list-view.js';
import {
  cleanVin, dropTypedBlanks, listPasteHandler, looksLikeList, pasteHandler,
} from './paste.js';
import { FIRST_MODEL_YEAR, LAST_MODEL_YEAR } from './model-years.js';
import * as reportView from './report-view.js';
import { watchUpdates } from './updates.js';

const vinInput = $('vin');
const yearSelect = $('year');
const listInput = $('list-input');
const statusLine = $('status');

let decodeVin = null;  // the module's call: (vin, year) -> answer as JSON text

const selectedYear = () => Number(yearSelect.value) || 0;

// The model years to pick from, as the record library has them.
for (let year = FIRST_MODEL_YEAR; year <= LAST_MODEL_YEAR; ++year) {
  yearSelect.append(new Option(String(year)));
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
    reportView.clear();
    return;
  }
  reportView.show(JSON.parse(decodeVin(vin, year)), pickSuggestion);
}

// A suggestion pressed: it decodes as if typed, and the address follows.
function pickSuggestion(vin) {
  vinInput.value = vin;
  decodeField(true);
  vinInput.focus();
}

function wire() {
  $('decode-form').addEventListener('submit', (event) => {
    event.preventDefault();
    decodeField(true);
    vinInput.focus();
  });
  vinInput.addEventListener('input', () => {
    dropTypedBlanks(vinInput);
    decodeField(false);
  });
  vinInput.addEventListener('paste', pasteHandler(vinInput, (text) => takeText(text, selectedYear())));
  listInput.addEventListener('paste', listPasteHandler((text) => takeText(text, selectedYear())));
  listInput.addEventListener('input', () => noteSource(''));
  yearSelect.addEventListener('change', () => {
    decodeField(false);
    yearChanged(selectedYear());
  });
  $('csv-raw').addEventListener('change', () => yearChanged(selectedYear()));
  $('list-decode').addEventListener('click', () => {
    noteSource('');
    decodeList({ text: listInput.value }, selectedYear());
  });
  $('list-cancel').addEventListener('click', () => {
    cancelList();
    $('list-decode').focus();  // the Cancel button goes; focus stays in the list
  });
  $('list-file').addEventListener('change', (event) => {
    if (event.target.files.length) takeFile(event.target.files[0], selectedYear());
  });
  document.addEventListener('dragover', (event) => event.preventDefault());
  document.addEventListener('drop', (event) => {
    event.preventDefault();
    const file = event.dataTransfer.files[0];
    if (file) {
      takeFile(file, selectedYear());
      return;
    }
    const text = event.dataTransfer.getData('text');
    if (looksLikeList(text)) {
      takeText(text, selectedYear());
    } else {
      vinInput.value = cleanVin(text);
      decodeField(true);
    }
  });
  $('copy').addEventListener('click', async () => {
    try {
      await navigator.clipboard.writeText(reportView.copiedText());
      statusLine.textContent = 'Report copied.';
    } catch {
      statusLine.textContent = 'The browser did not allow copying; select the report and copy it.';
    }
  });
  $('print').addEventListener('click', () => window.print());
}

// A linked decode: ?vin=...&year=... (the year as 68-80 or 1968-1980).
function readAddress() {
  const params = new URLSearchParams(location.search);
  const year = Number(params.get('year'));
  const twoDigits = year >= FIRST_MODEL_YEAR - 1900 && year <= LAST_MODEL_YEAR - 1900;
  const fullYear = twoDigits ? 1900 + year : year;
  if ([...yearSelect.options].some((o) => o.value === String(fullYear))) yearSelect.value = String(fullYear);
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
  reportView.clear('This browser could not start the decoder: it needs WebAssembly.');
});

// For scripts and tests: the module's answer for one VIN, as text.
window.kordel = { ready, decode: (vin, year = 0) => decodeVin(vin, year) };

const loaded = new Promise((resolve) => {
  if (document.readyState === 'complete') resolve();
  else window.addEventListener('load', resolve, { once: true });
});
watchUpdates(Promise.all([loaded, ready.catch(() => {})]), listShown);
