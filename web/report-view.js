// One VIN's answer: a card per model year tried (its report, fields and
// character boxes, or why it failed), the suggestions, and the status line's
// sentence. `show` draws an answer of the module, `clear` empties the view.
import { $, element, setText } from './dom.js';
import { positionsStrip, suggestionsBlock } from './explain.js';
import { fieldLabel, ordinal } from './labels.js';

const statusLine = $('status');
const results = $('results');
const reportActions = $('report-actions');

let reportText = '';  // what Copy takes

// A result that carries a report: decoded, or incomplete (a field not found or
// a decoder message).
const hasReport = (result) => result.status === 'decoded' || result.status === 'incomplete';

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
      element('th', { scope: 'row', text: fieldLabel(name) }),
      element('td', value === null ? { class: 'error-field', text: 'Error' } : { text: value })));
  }
  body.append(element('tr', {},
    element('th', { scope: 'row', text: 'Production number' }),
    element('td', { text: result.production_number === null ? 'not a number' : String(result.production_number) })));
  table.append(body);
  return table;
}

// "body and engine": the fields an incomplete report did not find.
function missingText(result) {
  const names = (result.missing_fields ?? []).map((name) => fieldLabel(name).toLowerCase());
  if (names.length < 2) return names.join('');
  return `${names.slice(0, -1).join(', ')} and ${names.at(-1)}`;
}

function resultCard({ record, unknown_message: unknownMessage }, result) {
  const known = ['decoded', 'incomplete', 'rejected', 'unknown'].includes(result.status);
  const card = element('article', { class: `result ${known ? result.status : 'other'}` });
  const outcome = {
    decoded: 'Report', incomplete: 'Incomplete report', rejected: 'Rejected', unknown: 'Unknown',
  }[result.status] ?? 'Not decoded';
  const heading = result.model_year
    ? `Model year ${result.model_year}${result.status === 'decoded' ? '' : `: ${outcome.toLowerCase()}`}`
    : outcome;
  card.append(element('h2', { text: heading }));
  for (const message of result.messages) card.append(messageBlock(record.vin, message));
  if (result.status === 'incomplete' && missingText(result)) {
    card.append(element('p', { class: 'message warning', text: `Not found: ${missingText(result)}.` }));
  }
  if (hasReport(result)) {
    const body = element('div', { class: 'result-body' });
    body.append(element('pre', { class: 'report', text: result.report.join('\n') }));
    body.append(fieldsTable(result));
    card.append(body);
  } else if (result.status === 'unknown') {
    card.append(element('p', { class: 'message error', text: `Unknown: ${unknownMessage}.` }));
  }
  // What each character says, where the record tells it.
  const strip = positionsStrip(result);
  if (strip) card.append(strip);
  return card;
}

// The status line's sentence for an answer. Only a result of status decoded is
// called decoded.
function summary({ record, unknown_message: unknownMessage }) {
  if (record.error !== undefined) return record.error;
  const all = record.results;
  const decoded = all.filter((r) => r.status === 'decoded');
  const incomplete = all.filter((r) => r.status === 'incomplete');
  const describe = (r) => [r.fields.year, r.fields.make, r.fields.model].filter(Boolean).join(' ');
  const warnings = all.flatMap((r) => r.messages.filter((m) => m.kind === 'warning'));
  const parts = [];
  if (all.length > 1) {
    parts.push(`${all.length} candidate model years: ${all.map((r) => r.model_year).join(', ')}.`);
    if (decoded.length) parts.push(`Decoded for ${decoded.map((r) => r.model_year).join(', ')}.`);
    if (incomplete.length) parts.push(`Incomplete for ${incomplete.map((r) => r.model_year).join(', ')}.`);
    if (!decoded.length && !incomplete.length) parts.push('No candidate year decodes.');
  } else if (decoded.length === 1) {
    parts.push(`Decoded: ${describe(decoded[0])}.`);
  } else if (incomplete.length === 1) {
    const missing = missingText(incomplete[0]);
    parts.push(`Not decoded cleanly: ${describe(incomplete[0])}${missing ? `; ${missing} not found` : ''}.`);
  }
  const rejections = all.flatMap((r) => r.messages.filter((m) => m.kind === 'error'));
  if (decoded.length === 0 && incomplete.length === 0) {
    if (rejections.length) parts.push(`Rejected: ${rejections[0].text}`);
    else if (all.every((r) => r.status === 'unknown')) parts.push(`Unknown: ${unknownMessage}.`);
    else parts.push('Not decoded.');
  }
  if (warnings.length) parts.push(`Warning: ${warnings.map((m) => m.text).join(' ')}`);
  return parts.join(' ');
}

// What lies below the reports of a linked decode joins the layout once they are
// drawn, in a task of its own, so that neither task blocks the page for long.
function reportsArrived() {
  const root = document.documentElement;
  if (!root.classList.contains('linked')) return;
  requestAnimationFrame(() => setTimeout(() => root.classList.remove('linked')));
}

export function clear(status = '') {
  results.replaceChildren();
  reportActions.hidden = true;
  reportText = '';
  setText(statusLine, status);
  reportsArrived();
}

// Draws an answer of the module; pressing a suggestion calls pick(vin).
export function show(answer, pick) {
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
  const offer = suggestionsBlock(record, pick);
  if (offer && warning) results.firstChild.after(offer);
  else if (offer) results.append(offer);
  results.classList.toggle('several', record.results?.length > 1);
  // Copy takes the reports as `kordel-decode` prints them, which the module writes.
  const reported = record.results?.some(hasReport) ?? false;
  reportText = reported ? answer.text.replace(/\n$/, '') : '';
  reportActions.hidden = !reported;
  let status = warning ? `${summary(answer)} Warning: ${warning}.` : summary(answer);
  const offered = record.suggestions?.length ?? 0;
  if (offered) status += ` ${offered} suggestion${offered === 1 ? '' : 's'} below.`;
  statusLine.textContent = status;
  reportsArrived();
}

export const copiedText = () => reportText;
