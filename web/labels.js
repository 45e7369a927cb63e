// The page's words for the record's fields and statuses, keyed by their names in
// the record.

export const FIELD_LABELS = {
  year: 'Model year', make: 'Make', model: 'Model', series: 'Series',
  vehicle_type: 'Vehicle type', body: 'Body', engine: 'Engine', trans: 'Transmission',
  restraints: 'Restraints', check_digit: 'Check digit', plant: 'Plant', sequence: 'Sequence',
};

export const fieldLabel = (name) => FIELD_LABELS[name] ?? name;

// A result's status in a word; a status this page does not know is never
// taken for "decoded".
const STATUS_WORDS = {
  decoded: 'decoded', incomplete: 'incomplete', rejected: 'rejected', unknown: 'unknown',
  error: 'error',
};
export const statusWord = (status) => STATUS_WORDS[status] ?? 'not decoded';

// A 1-based position in words: 1st, 2nd, 11th.
export function ordinal(n) {
  const tens = Math.floor(n / 10) % 10;
  const units = n % 10;
  if (tens === 1 || units > 3 || units === 0) return `${n}th`;
  return `${n}${['st', 'nd', 'rd'][units - 1]}`;
}
