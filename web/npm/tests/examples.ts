// Examples of the package's types as a TypeScript user writes them, compiled by
// the package's tests with tsc --strict and run. Each @ts-expect-error line is a
// use the types must refuse.
import { decode, init, type KordelRecord, type KordelResult } from 'kordel';

function describe(record: KordelRecord): string {
  if (record.error !== undefined) return record.error;
  if (record.check_digit !== null) {
    // A 17-character VIN: its fields have no series, and its check digit is known.
    const result = record.results[0];
    if (result.status !== 'decoded') return result.status;
    // @ts-expect-error: a 17-character VIN has no series
    void result.fields.series;
    return `${result.fields.plant} check digit ${record.check_digit.expected}`;
  }
  const decoded = record.results.find((r: KordelResult) => r.status === 'decoded');
  if (decoded === undefined || decoded.status !== 'decoded') return 'not decoded';
  // @ts-expect-error: a 13-character VIN has no restraints
  void decoded.fields.restraints;
  return `${decoded.fields.model} ${decoded.model_year}`;
}

const explained = decode('A8A855H10001', { suggest: true, explain: true });
const firstSuggestion: string | undefined = explained.suggestions?.[0]?.vin;
const edit:
  | 'look_alike'
  | 'swap'
  | 'removal'
  | 'insertion'
  | 'substitution'
  | 'two_look_alikes'
  | 'filled'
  | 'unknown_digit'
  | undefined = explained.suggestions?.[0]?.edit;
void firstSuggestion;
void edit;
const positions = decode('A8A855H100001', { explain: true }).results?.[0]?.positions;
if (positions) for (const p of positions) void (p.position + p.character.length);

// Never called: uses the types refuse (the package throws a TypeError for each).
export function refused(): void {
  // @ts-expect-error: the year goes in the options
  decode('A8A855H100001', 1978);
  // @ts-expect-error: no such option
  decode('A8A855H100001', { yaer: 78 });
  // @ts-expect-error: a flag is a boolean
  decode('A8A855H100001', { suggest: 'no' });
}
const ready: Promise<void> = init();
void ready;

console.log(describe(decode('A8A855H100001', { year: 1978 })));
console.log(describe(decode('1AMCM3877BK100021')));
console.log(describe(decode('A8A855H10001')));
