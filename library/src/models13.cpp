// The thirteen model decoders of the 13-character VIN, each written as its checks
// and code tables. Rows hold for every year digit unless they name the digits.
// Rows for codes that a model's own check rejects are left out: they never apply.
#include "models13.h"

namespace kordel::models13 {
namespace {

using enum FailureKind;

constexpr const char *fourth_digit_invalid = "\nThe fourth digit of the VIN # is invalid";
constexpr const char *eighth_digit_invalid = "\nThe eighth digit of the VIN # is invalid";

// Year digit to model year. Each model's year check admits only its own digits.
constexpr CodeRow years_1968_to_1977[] = {
    {'8', "1968"}, {'9', "1969"}, {'0', "1970"}, {'1', "1971"}, {'2', "1972"},
    {'3', "1973"}, {'4', "1974"}, {'5', "1975"}, {'6', "1976"}, {'7', "1977"},
};
constexpr CodeRow years_1971_to_1980[] = {
    {'1', "1971"}, {'2', "1972"}, {'3', "1973"}, {'4', "1974"}, {'5', "1975"},
    {'6', "1976"}, {'7', "1977"}, {'8', "1978"}, {'9', "1979"}, {'0', "1980"},
};
constexpr CodeRow years_1970_to_1978[] = {
    {'0', "1970"}, {'1', "1971"}, {'2', "1972"}, {'3', "1973"}, {'4', "1974"},
    {'5', "1975"}, {'6', "1976"}, {'7', "1977"}, {'8', "1978"},
};

// Transmission tables that several models share word for word.
constexpr CodeRow auto_or_four_speed_trans[] = {
    {'A', "3 speed auto on column"},
    {'C', "3 speed auto on floor"},
    {'M', "4 speed manual on floor"},
};
constexpr CodeRow late_trans[] = {
    {'A', "3 speed auto on column"},
    {'C', "3 speed auto on floor"},
    {'E', "3 speed manual on floor"},
    {'M', "4 speed manual on floor"},
};
// Gremlin, Matador 2dr and Hornet.
constexpr CodeRow compact_trans[] = {
    {'A', "3 speed auto on column"},
    {'C', "3 speed auto on floor"},
    {'D', "3spdOD on floor"},
    {'E', "3 speed manual on floor"},
    {'F', "3speed manual on floor", "1"},
    {'F', "3spd manual floor 2/3syn", "2"},
    {'F', "3 speed manual on floor", "3"},
    {'F', "4speed manual in console", "8"},
    {'M', "4 speed manual on floor"},
    {'O', "3spd OD manual on column"},
    {'S', "3peed manual on column"},
};
// Ambassador and Concord.
constexpr CodeRow sedan_or_wagon_body[] = {
    {'5', "4dr sedan"},
    {'6', "2drsedan"},
    {'8', "4dr wagon"},
};

// Ambassador ---------------------------------------------------------------

constexpr Check ambassador_checks[] = {
    {2, "8901234", "The 2nd digit is a invalid year code for an Ambassador."},
    {3, "ACEFMOS", "The 3rd digit is a invalid body class code for an Ambassador.",
     report_and_go_on, "ERROR"},
    {6, "0257PT", "The 6th digit is a invalid body class code for an Ambassador."},
    {7, "ABCEHMNPSTVX", "The 7th digit is a invalid engine code for an Ambassador."},
    {8, "K0123456789", "The 8th digit is for an Ambassador."},
};
constexpr CodeRow ambassador_trans[] = {
    {'A', "3 speed auto on column"},
    {'C', "3 speed auto on floor"},
    {'E', "3 speed manual on floor"},
    {'F', "3speed manual on floor", "1"},
    {'F', "3spd manual floor 2/3syn", "2"},
    {'F', "3 speed manual on floor", "3"},
    {'F', "4speed manual in console", "8"},
    {'M', "4 speed manual on floor"},
    {'O', "3spd OD manual on column"},
    {'S', "3peed manual on column", "8"},
    {'S', "3spd man floor or column", "90"},
};
constexpr CodeRow ambassador_series[] = {
    {'2', " ", "089"},
    {'2', "DPL", "1"},
    {'5', "DPL", "089"},
    {'5', "SST", "12"},
    {'7', " Brougham"},
};
constexpr CodeRow ambassador_engine[] = {
    {'A', "258 1v"}, {'B', "232 1v L/C"}, {'C', "258 2v"}, {'E', "232 1v"}, {'H', "304 2v"},
    {'M', "304 4v"}, {'N', "360 2v"},     {'P', "360 4v"}, {'S', "343 2v"},
};

// Matador (four-door sedan and wagon) --------------------------------------

constexpr Check matador_checks[] = {
    {2, "5678", "The 2nd digit is a invalid year code for an Matador."},
    {3, "ACDEOS", "The 3rd digit is a invalid trans code for an Matador."},
    {4, "8", "The 4th digit is a invalid car sereis code for an Matador."},
    {5, "58", "The 5th digit is a invalid body type code for an Matador."},
    {6, "57PT", "The 6th digit is a invalid body class code for an Matador."},
    {7, "ACEHNP", "The 7th digit is a invalid year code for an Matador."},
    {8, "K0123456789", "The 8nd digit is a invalid assembly code for an Matador."},
};
constexpr CodeRow matador_trans[] = {
    {'A', "3 speed auto on column"},
    {'C', "3 speed auto on floor"},
    {'E', "3 speed manual on floor"},
    {'O', "3spd OD manual on column"},
    {'S', "3peed manual on column", "8"},
};
constexpr CodeRow matador_body[] = {
    {'5', "4dr sedan"},
    {'8', "4dr wagon"},
};
constexpr CodeRow matador_engine[] = {
    {'A', "258 1v"}, {'C', "258 2v"}, {'E', "232 1v"},
    {'H', "304 2v"}, {'N', "360 2v"}, {'P', "360 4v"},
};

// Javelin --------------------------------------------------------------------

constexpr Check javelin_checks[] = {
    {2, "8901234", "The 2nd digit is a invalid year code for an Javelin."},
    {3, "ACEFMOS", "The 3rd digit is a invalid transmission code for a Javelin."},
    {4, "7", "The 4th digit is a invalid series code for a Javelin."},
    {5, "9", "The 5th digit is a invalid body type code for a Javelin."},
    {6, "578PT", "The 6th digit is a invalid body class code for a Javelin."},
    {7, "ABCEHMNPSTVXYZ", "The 7th digit is a invalid engine code for a Javelin."},
    {8, "K0123456789", "The 8th digit is a invalid assembly code for a Javelin."},
};
constexpr CodeRow javelin_trans[] = {
    {'A', "3 speed auto on column"},
    {'C', "3 speed auto on floor"},
    {'E', "3 speed manual on floor"},
    {'F', "3speed manual on floor", "1"},
    {'F', "3spd manual floor 2/3syn", "2"},
    {'F', "3 speed manual on floor", "3"},
    {'F', "4speed manual in console", "8"},
    {'M', "4 speed manual on floor"},
    {'O', "3spd OD manual on column"},
    {'S', "3peed manual on column", "8"},
};
constexpr CodeRow javelin_series[] = {
    {'5', " Base model "},
    {'7', " SST ", "89012"},
    {'7', " Base model (  No SST available in '73/'74 )", "34"},
    {'8', " AMX ", "81234"},
    {'8', "  ", "90"},
};
constexpr CodeRow javelin_engine[] = {
    {'A', "258 1v"}, {'B', "232 1v L/C"}, {'C', "258 2v"}, {'E', "232 1v"}, {'H', "304 2v"},
    {'M', "304 4v"}, {'N', "360 2v"},     {'P', "360 4v"}, {'Z', "401 4v"},
};

// AMX ------------------------------------------------------------------------

constexpr Check amx_checks[] = {
    {2, "890", "The 2nd digit is a invalid year code for an AMX."},
    {3, "ACM", "The 3rd digit is a invalid transmission code for an AMX."},
    {4, "3", "The 4th digit is a invalid series code for an AMX."},
    {5, "9", "The 5th digit is a invalid body type code for an AMX."},
    {6, "7", "The 6th digit is a invalid body class code for an AMX."},
    {7, "HMNPSTVXY", "The 7th digit is a invalid engine code for an AMX."},
    {8, "K0123456789", "The 8th digit is a invalid assembly code for an AMX."},
};
constexpr CodeRow amx_engine[] = {
    {'M', "290 2v", "89"},
    {'M', "304 4v", "0"},
    {'N', "290 4v", "89"},
    {'N', "360 2v", "0"},
    {'P', "360 4v", "0"},
    {'S', "343 2v", "89"},
    {'S', "390 2v", "0"},
    {'T', "343 4v", "89"},
    {'X', "390 4v"},
    {'Y', "390 Machine"},
};

// Pacer ----------------------------------------------------------------------

constexpr Check pacer_checks[] = {
    {2, "567890", "The 2nd digit is a invalid year code for a Pacer."},
    {3, "ACDEMOS", "The 3rd digit is a invalid transmission code for a Pacer."},
    {4, "6", fourth_digit_invalid, stop_standard_output},
    {5, "368", "The 5th digit is a invalid body type code for a Pacer."},
    {6, "7PT", "The 6th digit is a invalid body class code for a Pacer."},
    {7, "ABCEGHK", "The 7th digit is a invalid engine code for a Pacer."},
    {8, "K0123456789", "The 8th digit is a invalid assembly code for a Pacer."},
};
constexpr CodeRow pacer_trans[] = {
    {'A', "3 speed auto on column"},
    {'C', "3 speed auto on floor"},
    {'D', "3spdOD on floor"},
    {'E', "3 speed manual on floor"},
    {'M', "4 speed manual on floor"},
    {'O', "3spd OD manual on column"},
    {'S', "3peed manual on column"},
};
constexpr CodeRow pacer_body[] = {
    {'3', "2dr Hatchback"},
    {'6', "2dr ( Sedan or coupe )"},
};
constexpr CodeRow pacer_engine[] = {
    {'A', "258 1v"}, {'B', "258 1v L/C"}, {'C', "258 2v"}, {'E', "232 1v"}, {'G', "121 2v"},
};

// Gremlin --------------------------------------------------------------------

constexpr Check gremlin_checks[] = {
    {2, "123456780", "The 2nd digit is a invalid year code for a Gremlin."},
    {3, "ACDEFMOS", "The 3rd digit is a invalid transmission code for a Gremlin."},
    {4, "4", fourth_digit_invalid, stop_standard_output},
    {5, "3568", "The 5th digit is a invalid body type code for a Gremlin."},
    {6, "0457PT", "The 6th digit is a invalid body class code for a Gremlin."},
    {7, "ABCEHM", "The 7th digit is a invalid engine code for a Gremlin."},
    {8, "K0123456789", eighth_digit_invalid, stop_standard_output},
};
constexpr CodeRow gremlin_body[] = {
    {'3', "2dr hatchback"},
    {'5', "4dr sedan"},
    {'6', "2dr sedan"},
    {'8', "Station wagon"},
};
constexpr CodeRow gremlin_engine[] = {
    {'A', "258 1v"}, {'B', "258 1v L/C"}, {'C', "258 2v"},
    {'E', "232 1v"}, {'H', "304 2v"},     {'M', "304 4v"},
};

// Spirit ---------------------------------------------------------------------

constexpr Check spirit_checks[] = {
    {2, "90", "The 2nd digit is a invalid year code for a Spirit."},
    {3, "ACEM", "The 3rd digit is a invalid transmission code for a Spirit."},
    {4, "4", fourth_digit_invalid, stop_standard_output},
    {5, "368", "The 5th digit is a invalid body type code for a Spirit."},
    {6, "4579PT", "The 6th digit is a invalid body class code for a Spirit."},
    {7, "ABCG", "The 7th digit is a invalid engine code for a Spirit."},
    {8, "K0123456789", eighth_digit_invalid, stop_standard_output},
};
constexpr CodeRow spirit_body[] = {
    {'3', "2dr hatchback"},
    {'6', "2dr sedan"},
    {'8', "Station wagon"},
};
constexpr CodeRow spirit_series[] = {
    {'9', "AMX"}, {'4', " "}, {'5', " "}, {'7', " "}, {'P', " "}, {'T', " "},
};
constexpr CodeRow spirit_engine[] = {
    {'A', "258 1v"},
    {'C', "258 2v"},
    {'G', "121 2v"},
};

// Rebel ----------------------------------------------------------------------

constexpr Check rebel_checks[] = {
    {2, "890", "The 2nd digit is a invalid year code for a Rebel."},
    {3, "ACFMOS", "The 3rd digit is a invalid transmission code for a Rebel."},
    {4, "1", fourth_digit_invalid, stop_standard_output},
    {5, "5678", "The 5th digit is a invalid body type code for a Rebel."},
    {6, "05", "The 6th digit is a invalid body class code for a Rebel."},
    {7, "ABCHMNPSTVXY", "The 7th digit is a invalid engine code for a Rebel."},
    {8, "K0123456789", "The 8th digit is a invalid assembly code for a Rebel."},
};
constexpr CodeRow rebel_trans[] = {
    {'A', "3 speed auto on column"},
    {'C', "3 speed auto on floor"},
    {'F', "4speed manual in console", "8"},
    {'M', "4 speed manual on floor"},
    {'O', "3spd OD manual on column"},
    {'S', "3peed manual on column"},
};
constexpr CodeRow rebel_body[] = {
    {'6', "2dr sedan"},
    {'7', "2dr conv."},
    {'8', "4dr wagon"},
};
constexpr CodeRow rebel_series[] = {
    {'0', "550", "8"},
    {'0', " ", "90"},
    {'5', "770", "8"},
};
constexpr CodeRow rebel_engine[] = {
    {'B', "232 1v"},
    {'C', "232 2v"},
    {'H', "304 2v"},
    {'M', "304 4v", "0"},
    {'M', "290 2v", "89"},
    {'N', "360 2v", "0"},
    {'N', "290 4v", "89"},
    {'P', "360 4v"},
    {'S', "343 2v"},
    {'T', "343 4v"},
    {'X', "390 4v (325hp)"},
    {'Y', "390 4v (340hp)", {}, Field13::series, "Machine"},
};

// Matador 2dr ----------------------------------------------------------------

constexpr Check matador_2dr_checks[] = {
    {2, "12345678", "The 2nd digit is a invalid year code for a Matador 2dr"},
    {3, "ACDEFMOS", "The 3rd digit is a invalid transmission code for a Matador 2dr"},
    {4, "1", "The 4th digit is a invalid series code for a Matador 2dr"},
    {5, "69", "The 5th digit is a invalid body type code for a Matador 2dr"},
    {6, "78PT", "The 6th digit is a invalid body class code for a Matador 2dr."},
    {7, "ABCEHMNPSZ", "The 7th digit is a invalid engine code for a Matador 2dr."},
    {8, "K0123456789", "The 8th digit is a invalid assembly code for a Matador 2dr."},
};
constexpr CodeRow matador_2dr_body[] = {
    {'6', "2dr sedan"},
    {'9', "2dr hardtop"},
};
constexpr CodeRow matador_2dr_series[] = {
    {'8', " X"}, {'7', ""}, {'P', ""}, {'T', ""},
};
constexpr CodeRow matador_2dr_engine[] = {
    {'A', "258 1v"}, {'B', "258 1v"}, {'C', "258 2v"}, {'E', "232 1v"}, {'H', "304 2v"},
    {'M', "304 4v"}, {'N', "360 2v"}, {'P', "360 4v"}, {'Z', "401 4v"},
};

// Hornet ---------------------------------------------------------------------

constexpr Check hornet_checks[] = {
    {2, "01234567", "The 2nd digit is a invalid year code for a Hornet."},
    {3, "ACDEFMOS", "The 3rd digit is a invalid transmission code for a Hornet."},
    {4, "0", "The 4th digit is a invalid series code for a Hornet."},
    {5, "3568", "The 5th digit is a invalid body type code for a Hornet."},
    {6, "015789PT", "The 6th digit is a invalid body class code for a Hornet."},
    {7, "ABCEHMNP", "The 7th digit is a invalid engine code for a Hornet."},
    {8, "K0123456789", "The 8th digit is a invalid assembly code for a Hornet."},
};
constexpr CodeRow hornet_body[] = {
    {'3', "2dr hatchback"},
    {'5', "4dr sedan"},
    {'6', "2drsedan"},
    {'8', "4dr wagon"},
};
constexpr CodeRow hornet_series[] = {
    {'0', " "},
    {'1', " SC 360 ", "1"},
    {'7', " SST ", "12"},
    {'7', " ", "34567"},
};
constexpr CodeRow hornet_engine[] = {
    {'A', " 199 1v ", "0"},
    {'B', " 232 1v "},
    {'C', "232 2v", "0"},
    {'C', "258 2v", "67"},
    {'E', "232 1v"},
    {'H', "304 2v"},
    {'M', "304 4v"},
    {'N', "360 2v"},
    {'P', "360 4v"},
};

// Concord --------------------------------------------------------------------

constexpr Check concord_checks[] = {
    {2, "890", "The 2nd digit is a invalid year code for a Concord."},
    {3, "ACDEM", "The 3rd digit is a invalid transmission code for a Concord."},
    {4, "0", "The 4th digit is a invalid series code for a Concord."},
    {5, "3568", "The 5th digit is a invalid body type code for a Concord."},
    {6, "789PT", "The 6th digit is a invalid body class code for a Concord."},
    {7, "ABCEGH", "The 7th digit is a invalid engine code for a Concord."},
    {8, "K0123456789", "The 8thd digit is a invalid assembly code for a Concord."},
};
constexpr CodeRow concord_engine[] = {
    {'A', " 258 1v "},
    {'C', "258 2v"},
    {'E', "232 1v"},
    {'G', "121 2v "},
};

// Eagle: every failure goes to standard output; position 1 is tested again and
// position 4 not at all.

constexpr Check eagle_checks[] = {
    {1, "A", "\nThe first digit of the VIN # is invalid!", stop_standard_output},
    {2, "0", "\n2nd digit is a invalid year code for a Eagle!", stop_standard_output},
    {3, "ACM", "\n3rd digit is a invalid transmission code for a Eagle!", stop_standard_output},
    {5, "6", "\n5th digit is a invalid body type code for a Eagle!", stop_standard_output},
    {6, "5", "\n6th digit is a invalid body class code for a Eagle!", stop_standard_output},
    {7, "C", "\n7th digit is a invalid engine code for a Eagle", stop_standard_output},
    {8, "K0123456789", eighth_digit_invalid, stop_standard_output},
};

// Rambler: position 4 is not tested.

constexpr Check rambler_checks[] = {
    {2, "89", "The 2nd digit is a invalid year code for a Rambler."},
    {3, "ACFMOS", "The 3rd digit is a invalid transmission code for a Rambler."},
    {5, "56789", "The 5th digit is a invalid body type code for a Rambler."},
    {6, "057", "The 6th digit is a invalid body class code for a Rambler."},
    {7, "ABCMNSTVX", "The 7th digit is a invalid engine code for a Rambler."},
    {8, "K0123456789", "The 8th digit is a invalid assembly code for a Rambler."},
};
constexpr CodeRow rambler_trans[] = {
    {'A', "3 speed auto on column"},
    {'C', "3 speed auto on floor"},
    {'F', "4speed manual in console", "8"},
    {'F', "4 speed manual on floor", "9"},
    {'M', "4 speed manual on floor"},
    {'O', "3spd OD manual on column"},
    {'S', "3speed manual on column", "8"},
    {'S', "3speed manual column or floor", "9"},
};
constexpr CodeRow rambler_body[] = {
    {'5', "4dr sedan"}, {'6', "2drsedan"},    {'7', "2dr convertable"},
    {'8', "4dr wagon"}, {'9', "2dr hardtop"},
};
constexpr CodeRow rambler_series[] = {
    {'0', "American"},
    {'5', "440"},
    {'7', "Rogue", "8"},
    {'7', "S/C Rambler", "9", Field13::model, ""},
};
constexpr CodeRow rambler_engine[] = {
    {'A', "199 1v"}, {'B', "232 1v"}, {'C', "232 2v"}, {'M', "290 2v"},
    {'N', "290 4v"}, {'S', "343 2v"}, {'T', "343 4v"}, {'X', "390 4v"},
};

}  // namespace

//                              name, model text, checks,
//                              year, trans, body, series, engine
const ModelDecoder ambassador{"Ambassador", "Ambassador", ambassador_checks,
                              coded(2, years_1968_to_1977), coded(3, ambassador_trans),
                              coded(5, sedan_or_wagon_body), coded(6, ambassador_series),
                              coded(7, ambassador_engine)};
const ModelDecoder matador{"Matador", "Matador ", matador_checks,
                           coded(2, years_1971_to_1980), coded(3, matador_trans),
                           coded(5, matador_body), fixed(" "), coded(7, matador_engine)};
const ModelDecoder javelin{"Javelin", "Javelin", javelin_checks,
                           coded(2, years_1968_to_1977), coded(3, javelin_trans),
                           fixed("2dr hardtop"), coded(6, javelin_series),
                           coded(7, javelin_engine)};
const ModelDecoder amx{"AMX", "AMX", amx_checks,
                       coded(2, years_1968_to_1977), coded(3, auto_or_four_speed_trans),
                       fixed("2dr hardtop"), fixed(" "), coded(7, amx_engine)};
const ModelDecoder pacer{"Pacer", "Pacer", pacer_checks,
                         coded(2, years_1971_to_1980), coded(3, pacer_trans),
                         coded(5, pacer_body), fixed(" "), coded(7, pacer_engine)};
const ModelDecoder gremlin{"Gremlin", "Gremlin", gremlin_checks,
                           coded(2, years_1970_to_1978), coded(3, compact_trans),
                           coded(5, gremlin_body), fixed(" "), coded(7, gremlin_engine)};
const ModelDecoder spirit{"Spirit", "Spirit", spirit_checks,
                          coded(2, years_1971_to_1980), coded(3, late_trans),
                          coded(5, spirit_body), coded(6, spirit_series),
                          coded(7, spirit_engine)};
const ModelDecoder rebel{"Rebel", "Rebel", rebel_checks,
                         coded(2, years_1968_to_1977), coded(3, rebel_trans),
                         coded(5, rebel_body), coded(6, rebel_series), coded(7, rebel_engine)};
const ModelDecoder matador_2dr{"Matador 2dr", "Matador", matador_2dr_checks,
                               coded(2, years_1971_to_1980), coded(3, compact_trans),
                               coded(5, matador_2dr_body), coded(6, matador_2dr_series),
                               coded(7, matador_2dr_engine)};
const ModelDecoder hornet{"Hornet", "Hornet", hornet_checks,
                          coded(2, years_1968_to_1977), coded(3, compact_trans),
                          coded(5, hornet_body), coded(6, hornet_series),
                          coded(7, hornet_engine)};
const ModelDecoder concord{"Concord", "Concord", concord_checks,
                           coded(2, years_1971_to_1980), coded(3, late_trans),
                           coded(5, sedan_or_wagon_body), fixed(" "), coded(7, concord_engine)};
const ModelDecoder eagle{"Eagle", "Eagle", eagle_checks,
                         fixed("1980"), coded(3, auto_or_four_speed_trans), fixed("2dr sedan"),
                         fixed("MPV (multi purpose vehicle)"), fixed("258 2v")};
const ModelDecoder rambler{"Rambler", "Rambler", rambler_checks,
                           coded(2, years_1968_to_1977), coded(3, rambler_trans),
                           coded(5, rambler_body), coded(6, rambler_series),
                           coded(7, rambler_engine)};

const Check first_position{1, "A", "The 1st digit of the vin was invalid."};

namespace {
constexpr const ModelDecoder *all_models[] = {
    &ambassador, &matador, &javelin, &amx,    &pacer,   &gremlin, &spirit,
    &rebel,      &matador_2dr, &hornet, &concord, &eagle, &rambler,
};

constexpr const char *digits = "0123456789";
// Position 4 codes that name no model line; the accepted ones are those the
// dispatch below sends to a model line.
constexpr Check series_code_invalid{4, "0134678", "The 3rd digit of the vin was invalid."};
// The year digit 8 with a model year that settles neither of its model lines.
constexpr Check model_year_invalid{0, "", "Invalid Year."};

// Position 4 names the model line; position 2 (the year digit), position 5 or the
// caller's model year settle the lines that share a code. First match wins.
constexpr DispatchRow dispatch_rows[] = {
    // position 4    position 2           position 5        model_year
    {one_of("0"), one_of("1234567"), any_character, any_year, &hornet},
    {one_of("0"), one_of("089"), any_character, above(77), &concord},
    {one_of("0"), one_of("089"), any_character, below(70), &rambler},
    {one_of("0"), one_of("089"), any_character, year_is(70), &hornet},
    {one_of("0"), one_of("089"), any_character, years(71, 77)},
    {one_of("0"), none_of(digits), any_character, any_year},
    {one_of("1"), one_of("09"), any_character, any_year, &rebel},
    {one_of("1"), one_of("8"), any_character, year_is(68), &rebel},
    {one_of("1"), one_of("8"), any_character, any_year, &matador_2dr},
    {one_of("1"), any_character, any_character, any_year, &matador_2dr},
    {one_of("259"), any_character, any_character, any_year, nullptr, &series_code_invalid},
    {one_of("3"), any_character, one_of("6"), any_year, &eagle},
    {one_of("3"), any_character, one_of("9"), any_year, &amx},
    {one_of("3"), any_character, any_character, any_year},
    {one_of("4"), any_character, any_character, years(79, 80), &spirit},
    {one_of("4"), any_character, any_character, any_year, &gremlin},
    {one_of("6"), any_character, any_character, any_year, &pacer},
    {one_of("7"), any_character, any_character, any_year, &javelin},
    {one_of("8"), one_of("012349"), any_character, any_year, &ambassador},
    {one_of("8"), one_of("567"), any_character, any_year, &matador},
    {one_of("8"), one_of("8"), any_character, outside(68, 80), nullptr, &model_year_invalid},
    {one_of("8"), one_of("8"), any_character, year_is(78), &matador},
    {one_of("8"), one_of("8"), any_character, year_is(68), &ambassador},
    {one_of("8"), one_of("8"), any_character, any_year},
    {one_of("8"), none_of(digits), any_character, any_year},
};
}  // namespace

const std::span<const ModelDecoder *const> all = all_models;
const std::span<const DispatchRow> dispatch = dispatch_rows;

}  // namespace kordel::models13
