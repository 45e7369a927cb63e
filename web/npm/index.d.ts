// The record kordel-decode --format json writes for a VIN, as decode returns it.

/** A message of the decoder: why a position is refused, or a warning it went on after. */
export interface KordelMessage {
  text: string;
  kind: 'error' | 'warning';
  /** The VIN position (1-based) the message names, if any. */
  position: number | null;
  /** The characters that position accepts, if the message names a position. */
  accepted: string | null;
}

/** The fields of a 13-character VIN (1968-1980); null where the report shows "Error". */
export interface KordelFields13 {
  year: string | null;
  make: string | null;
  model: string | null;
  series: string | null;
  body: string | null;
  engine: string | null;
  trans: string | null;
  plant: string | null;
}

/** The fields of a 17-character VIN (1981-1988); null where the report shows "Error". */
export interface KordelFields17 {
  year: string | null;
  make: string | null;
  model: string | null;
  vehicle_type: string | null;
  engine: string | null;
  trans: string | null;
  restraints: string | null;
  check_digit: string | null;
  plant: string | null;
}

/** What one character of a decoded VIN says (with `explain`). */
export interface KordelPosition {
  /** 1-based. */
  position: number;
  character: string;
  /** The field the character belongs to ("sequence" for the sequence number), or null. */
  field: string | null;
  /** What the character stands for, in words ("model year", "read by no table"). */
  meaning: string;
  /** The decoded text of its field, or null. */
  text: string | null;
}

/**
 * A decode that produced a report: `incomplete` where a field was not found
 * (null in `fields`) or a decoder message was given.
 */
export interface KordelDecoded<Fields> {
  /** The model year this decode tried, or null where the VIN settles its own year. */
  model_year: number | null;
  status: 'decoded' | 'incomplete';
  fields: Fields;
  production_number: number | null;
  /** The report's lines, as the window shows them. */
  report: string[];
  /** The fields the report did not find; empty unless incomplete. */
  missing_fields: string[];
  messages: KordelMessage[];
  /** With `explain`: what each character says. */
  positions?: KordelPosition[];
}

/** A decode that the decoder refused (rejected) or that names no model line (unknown). */
export interface KordelNotDecoded {
  /** The model year this decode tried, or null where the VIN settles its own year. */
  model_year: number | null;
  status: 'rejected' | 'unknown';
  fields: null;
  production_number: number | null;
  report: null;
  missing_fields: [];
  messages: KordelMessage[];
  /** With `explain`: null, as nothing was decoded. */
  positions?: null;
}

export type KordelResult13 = KordelDecoded<KordelFields13> | KordelNotDecoded;
export type KordelResult17 = KordelDecoded<KordelFields17> | KordelNotDecoded;
/** The decode for one model year. */
export type KordelResult = KordelResult13 | KordelResult17;

/** The check digit of a 17-character VIN, by the federal rule. */
export interface KordelCheckDigit {
  given: string;
  /** Null when a character is one the rule does not allow. */
  expected: string | null;
  valid: boolean;
}

/** One change a suggestion makes to the VIN typed. */
export interface KordelChange {
  position: number;
  /** The character there before; null for an insertion. */
  before: string | null;
  /** The character there after; null for a removal. */
  after: string | null;
  /** What the change means ("engine: 304 2v -> 360 4v"); null where it names no field. */
  meaning: string | null;
}

/** A VIN one edit away that decodes (with `suggest`). */
export interface KordelSuggestion {
  vin: string;
  edit:
    | 'look_alike'
    | 'swap'
    | 'removal'
    | 'insertion'
    | 'substitution'
    | 'two_look_alikes'
    | 'filled'
    | 'unknown_digit';
  changes: KordelChange[];
  /** The model years it decodes for. */
  model_years: number[];
  /** Its report's first line of description, as the window shows it. */
  summary: string;
}

interface KordelRecordBase {
  vin: string;
  /** The VIN as read: blanks and dashes dropped, upper case, "*" and "_" as "?". */
  vin_read: string;
  /** The check-digit and sequence-number warnings. */
  warnings: string[];
  /** With `suggest`: up to five VINs one edit away that decode, best first. */
  suggestions?: KordelSuggestion[];
}

/** A 13-character VIN: one result per model year tried. */
export interface KordelRecord13 extends KordelRecordBase {
  results: KordelResult13[];
  error?: never;
  check_digit: null;
}

/** A 17-character VIN: one result, and its check digit. */
export interface KordelRecord17 extends KordelRecordBase {
  results: KordelResult17[];
  error?: never;
  check_digit: KordelCheckDigit;
}

/** A text that is no VIN of either length, or a year that is not one of its candidates. */
export interface KordelErrorRecord extends KordelRecordBase {
  results?: never;
  /** Why nothing was decoded. */
  error: string;
  check_digit: null;
}

/** Narrow by `'error' in record`, then by `record.check_digit === null`. */
export type KordelRecord = KordelRecord13 | KordelRecord17 | KordelErrorRecord;

export interface DecodeOptions {
  /**
   * The model year of a 13-character VIN whose year digit could belong to either
   * decade, as 68-80 or 1968-1980; without it every candidate year is decoded.
   */
  year?: number | null;
  /** Add `suggestions`, as kordel-decode --suggest does. */
  suggest?: boolean;
  /** Add `positions` to each result: what each character says (kordel-decode --explain). */
  explain?: boolean;
}

/** What init() starts the module from. */
export type KordelWasmSource =
  | string
  | URL
  | Response
  | ArrayBuffer
  | ArrayBufferView
  | WebAssembly.Module
  | PromiseLike<string | URL | Response | ArrayBuffer | ArrayBufferView | WebAssembly.Module>;

/**
 * Starts the module. In Node.js it is started already, from the package's own
 * kordel.wasm; in a browser, await init() before the first decode. Without an
 * argument kordel.wasm is fetched from beside the package's script (bundlers emit
 * it as an asset); else from the URL, bytes, Response or compiled module given.
 *
 * @throws {Error} naming kordel.wasm and where it was looked for, when it cannot
 *   be loaded or what was loaded is not WebAssembly.
 */
export function init(source?: KordelWasmSource): Promise<void>;

/**
 * Decodes one VIN; returns its record, the object kordel-decode --format json
 * writes for it (with --year, --suggest and --explain as `options` ask).
 *
 * Blanks at either end and a trailing CR are ignored. A VIN of the wrong length
 * or with codes the decoder refuses gives a record that says so.
 *
 * @throws {TypeError} when vin is not a string, options not an object, an option
 *   unknown, year not an integer or suggest or explain not a boolean.
 * @throws {RangeError} when vin holds a NUL character or more than 1024 bytes of
 *   UTF-8, or year is not 68-80 or 1968-1980.
 * @throws {Error} in a browser, before init() has finished.
 */
export function decode(vin: string, options?: DecodeOptions): KordelRecord;
