/* kordel: decodes the VINs of the maker's passenger cars of model years
 * 1968-1980 (13 characters) and 1981-1988 (17 characters).
 *
 * Both functions take the VIN as zero-terminated 8-bit text and five caller-owned
 * line buffers of at least KORDEL_LINE_CAPACITY bytes each. A decode that succeeds
 * writes zero-terminated report lines into them (four for process_13, five for
 * process_17); a decode that fails leaves every buffer exactly as passed and tells
 * the user why through MessageBoxA (or the standard output stream), which the host
 * program provides:
 *
 *   int MessageBoxA(void *owner, const char *text, const char *caption, unsigned type);
 *
 * When no host provides it, the message goes to standard error as "caption: text".
 * Each call works on state of its own: nothing carries over from one call to the next.
 */
#ifndef KORDEL_H
#define KORDEL_H

#if defined(KORDEL_BUILDING_LIBRARY)
#define KORDEL_EXPORT __attribute__((visibility("default")))
#else
#define KORDEL_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Smallest size of each line buffer: the longest report line and its terminator. */
#define KORDEL_LINE_CAPACITY 141

/* Both functions read the VIN up to its terminator, and at most 13 or 17 characters.
 * A shorter VIN reads as if NUL stood at its missing positions. NUL passes no check,
 * so a short VIN is rejected once a checked position is missing, but positions that
 * are never checked may be missing from a VIN that decodes in full.
 *
 * Decodes a 13-character VIN. model_year is the two-digit model year (68..80) that
 * the caller settled for VINs whose year digit is ambiguous, or 0. The checks read
 * positions 1 to 8; positions 9 to 13 are never checked. A VIN shorter than 8
 * characters is rejected: with the message of its first failing check, or silently
 * with 0 where positions 4 and 5 name no model line. A VIN of 8 to 12 characters is
 * decoded like a full one; when its checks pass it gets its four lines, and line4
 * starts with the ordinal suffix of positions 12 and 13, which with position 13
 * missing is "th" if position 12 is "1" and empty otherwise.
 * Returns 0 when the codes name no model line (nothing shown, nothing written) or
 * when vin or a line pointer is null (nothing touched); 1 otherwise. line5 is never
 * written. */
KORDEL_EXPORT int process_13(int model_year, const char *vin, char *line1, char *line2, char *line3,
                             char *line4, char *line5);

/* Decodes a 17-character VIN; model_year is ignored. Positions 1 to 8, 10 and 11
 * are checked; 9 and 12 to 17 never are. A VIN shorter than 11 characters is
 * rejected with the message of its first failing check. A VIN of 11 to 16
 * characters is decoded like a full one; when its checks pass and its body code
 * names a model it gets its five lines, with the check digit of
 * position 9 and line4 starting with the ordinal suffix of positions 16 and 17,
 * which with position 17 missing is "th" if position 16 is "1" and empty otherwise.
 * Returns 1, or 0 when vin or a line pointer is null (nothing touched). */
KORDEL_EXPORT int process_17(int model_year, const char *vin, char *line1, char *line2, char *line3,
                             char *line4, char *line5);

#ifdef __cplusplus
}
#endif

#endif
