// What each character of a decoded VIN says, as a row of boxes, and the VINs one
// edit away from one that does not decode, as buttons. Works on the record of
// `kordel-decode --format json --suggest --explain` (its `suggestions` and each
// result's `positions`); the page puts the blocks where it wants them and says
// what pressing a suggestion does.
import { element } from './dom.js';
import { FIELD_LABELS } from './labels.js';

let idCount = 0;
const newId = (stem) => `${stem}-${++idCount}`;

// A change as kordel-decode writes it: "position 9: 7 -> 5".
export function changeText(change) {
  if (change.after === null) return `position ${change.position}: ${change.before} removed`;
  if (change.before === null) return `position ${change.position}: ${change.after} inserted`;
  return `position ${change.position}: ${change.before} -> ${change.after}`;
}

// A change with what it means, where the record says it ("position 7: 304 2v ->
// 360 4v"); else as changeText writes it.
function changeMeaning(change) {
  return typeof change.meaning === 'string' && change.meaning !== ''
    ? `position ${change.position}: ${change.meaning}`
    : changeText(change);
}

// A suggestion as the CSV's `suggestions` column holds it: "VIN (position 9: 7 -> 5)".
export function suggestionText(suggestion) {
  return `${suggestion.vin} (${suggestion.changes.map(changeText).join(', ')})`;
}

// The suggested VIN, the characters the edit put there marked.
function markedVin(suggestion) {
  const changed = new Set(suggestion.changes.filter((c) => c.after !== null).map((c) => c.position));
  const vin = element('span', { class: 'suggestion-vin' });
  [...suggestion.vin].forEach((character, index) => {
    vin.append(changed.has(index + 1)
      ? element('mark', { text: character })
      : document.createTextNode(character));
  });
  return vin;
}

// "Did you mean": a button per suggestion with its summary, the VIN with the
// changed characters marked and the changes in words; pressing one calls
// pick(vin). Null when the record has no suggestion.
export function suggestionsBlock(record, pick) {
  const suggestions = record.suggestions ?? [];
  if (suggestions.length === 0) return null;
  const heading = newId('suggestions');
  const block = element('section', { class: 'suggestions', 'aria-labelledby': heading });
  block.append(element('h2', { id: heading, text: 'Did you mean' }));
  const list = element('ul', { class: 'suggestion-list' });
  for (const s of suggestions) {
    const button = element('button', { type: 'button', class: 'suggestion', 'data-vin': s.vin },
      element('span', { class: 'suggestion-summary', text: s.summary }),
      markedVin(s),
      element('span', { class: 'suggestion-changes', text: s.changes.map(changeMeaning).join(', ') }));
    button.addEventListener('click', () => pick(s.vin));
    list.append(element('li', {}, button));
  }
  block.append(list);
  return block;
}

function positionName(p) {
  return p.field === null ? 'Checked' : FIELD_LABELS[p.field] ?? p.meaning;
}

// What a position gave in this decode, in a sentence.
export function positionText(p) {
  const meaning = p.meaning.charAt(0).toUpperCase() + p.meaning.slice(1);
  if (p.field === null) return `${meaning}.`;
  if (p.text === null) return `${meaning}: not decoded (the report shows Error).`;
  if (p.text === '') return `${meaning}: blank.`;
  return `${meaning}: ${p.text}.`;
}

// The VIN one box a character, each named by its character and what it encodes
// (and, for a screen reader, its position). Focus, hover or a
// tap shows the box's text beneath the row, and a screen reader reads it as the
// box's description. Tab enters and leaves the row as one stop; the arrow keys,
// Home and End move between the boxes. Null for a result without positions.
export function positionsStrip(result) {
  const positions = result.positions ?? null;
  if (positions === null) return null;
  const heading = newId('positions');
  // Not a landmark of its own: every report has one.
  const block = element('div', { class: 'positions' });
  block.append(element('h3', { id: heading, text: 'What each character says' }));
  const row = element('div', { class: 'position-boxes', role: 'group', 'aria-labelledby': heading });
  const descriptions = element('div', { hidden: '' });
  const shown = element('p', { class: 'position-text', 'aria-hidden': 'true' });
  const boxes = positions.map((p, index) => {
    const description = newId('position-text');
    const text = `Position ${p.position}, ${p.character}: ${positionText(p)}`;
    descriptions.append(element('span', { id: description, text: positionText(p) }));
    const box = element('button', {
      type: 'button',
      class: p.field === null ? 'position-box unread' : 'position-box',
      'data-position': String(p.position),
      'aria-describedby': description,
      tabindex: index === 0 ? '0' : '-1',
    },
    element('span', { class: 'position-char', text: p.character }),
    ' ',
    element('span', { class: 'position-field', text: positionName(p) }),
    element('span', { class: 'visually-hidden', text: `, position ${p.position}` }));
    const show = () => {
      for (const other of row.children) other.classList.toggle('shown', other === box);
      shown.textContent = text;
    };
    box.addEventListener('focus', show);
    box.addEventListener('mouseenter', show);
    box.addEventListener('click', show);
    return box;
  });
  row.addEventListener('keydown', (event) => {
    const index = boxes.indexOf(document.activeElement);
    const next = { ArrowRight: index + 1, ArrowLeft: index - 1, Home: 0, End: boxes.length - 1 }[event.key];
    if (index < 0 || next === undefined || next < 0 || next >= boxes.length) return;
    event.preventDefault();
    boxes[index].tabIndex = -1;
    boxes[next].tabIndex = 0;
    boxes[next].focus();
  });
  row.append(...boxes);
  block.append(row, shown, descriptions);
  return block;
}
