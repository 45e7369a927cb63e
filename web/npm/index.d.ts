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

/** The decode for one model year. */
export interface KordelResult {
  /** The model year tried, or null where the VIN settles no year. */
  model_year: number | null;
  /** incomplete: a report, but a field not found or a decoder message given. */
  status: 'decoded' | 'incomplete' | 'rejected' | 'unknown';
  /**
   * year, make, model, ... as the VIN's scheme has them (series and body for 13
   * characters; vehicle_type, restraints and check_digit for 17); null where the
   * report shows "Error". Null unless decoded.
   */
  fields: Record<string, string | null> | null;
  production_number: number | null;
  /** The report's lines, as the window shows them. Null unless decoded. */
  report: string[] | null;
  /** The fields the report did not find; empty unless incomplete. */
  missing_fields: string[];
  messages: KordelMessage[];
  /** With `explain`: what each character says; null for a result that did not decode. */
  positions?: Array<Record<string, unknown>> | null;
}

/** The check digit of a 17-character VIN, by the federal rule. */
export interface KordelCheckDigit {
  given: string;
  /** Null when a character is one the rule does not allow. */
  expected: string | null;
  valid: boolean;
}

export interface KordelRecord {
  vin: string;
  /** The VIN as read: blanks and dashes dropped, upper case, "*" and "_" as "?". */
  vin_read: string;
  /** One per model year tried; absent when `error` is present. */
  results?: KordelResult[];
  /** Why nothing was decoded (the wrong length, a year that is no candidate). */
  error?: string;
  /** Null for 13 characters and for an `error`. */
  check_digit: KordelCheckDigit | null;
  /** The check-digit and sequence-number warnings. */
  warnings: string[];
  /**
   * With `suggest`: up to five VINs one edit away that decode, best first, as
   * kordel-decode --suggest writes them.
   */
  suggestions?: Array<Record<string, unknown>>;
}

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

/**
 * Decodes one VIN; returns its record, the object kordel-decode --format json
 * writes for it (with --year, --suggest and --explain as `options` ask).
 *
 * Blanks at either end and a trailing CR are ignored. A VIN of the wrong length
 * or with codes the decoder refuses gives a record that says so.
 *
 * @throws {TypeError} when vin is not a string or year not an integer.
 * @throws {RangeError} when vin holds a NUL character or more than 1024 bytes of
 *   UTF-8, or year is not 68-80 or 1968-1980.
 */
export function decode(vin: string, options?: DecodeOptions): KordelRecord;
