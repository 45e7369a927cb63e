// The thirteen model decoders of the 13-character VIN, one block each: its checks,
// its code tables and which table or fixed text serves each field. Rows hold for
// every year digit unless they name the digits. Each table reads row for row like
// the code table it transcribes, one row a line, except that rows for codes the
// model's own checks reject are left out: they never apply.
#include <algorithm>

#include "decode.h"
#include "models13.h"

namespace kordel::models13 {

using enum FailureKind;

namespace {
// Every text a model can write leaves room for its field's terminator; checked at
// compile time after each model.
constexpr bool fits(const FieldSource &source, std::size_t capacity) {
  return source.rows.empty() ? source.fixed_text.size() < capacity
                             : texts_fit(source.rows, capacity);
}
constexpr bool second_texts_fit(const FieldSource &source) {
  return std::all_of(source.rows.begin(), source.rows.end(), [](const CodeRow &row) {
    switch (row.also_writes) {
      case Field13::none: return true;
      case Field13::model: return row.also_text.size() < capacity13::model;
      case Field13::series: return row.also_text.size() < capacity13::series;
    }
    return false;
  });
}
constexpr bool fits_its_fields(const ModelDecoder &m) {
  return m.model_text.size() < capacity13::model && fits(m.year, capacity13::year) &&
         fits(m.trans, capacity13::trans) && fits(m.body, capacity13::body) &&
         fits(m.series, capacity13::series) && fits(m.engine, capacity13::engine) &&
         second_texts_fit(m.year) && second_texts_fit(m.trans) && second_texts_fit(m.body) &&
         second_texts_fit(m.series) && second_texts_fit(m.engine);
}
}  // namespace

constexpr const char *fourth_digit_invalid = "\nThe fourth digit of the VIN # is invalid";
constexpr const char *eighth_digit_invalid = "\nThe eighth digit of the VIN # is invalid";

// Tables that several models share word for word -----------------------------

// Ambassador and Javelin.
constexpr CodeRow years_1968_to_1974[] = {
    {'8', "1968"},
    {'9', "1969"},
    {'0', "1970"},
    {'1', "1971"},
    {'2', "1972"},
    {'3', "1973"},
    {'4', "1974"},
};
// AMX and Rebel.
constexpr CodeRow years_1968_to_1970[] = {
    {'8', "1968"},
    {'9', "1969"},
    {'0', "1970"},
};
// AMX and Eagle.
constexpr CodeRow auto_and_four_speed_trans[] = {
    {'A', "3 speed auto on column"},
    {'C', "3 speed auto on floor"},
    {'M', "4 speed manual on floor"},
};
// Spirit and Concord.
constexpr CodeRow auto_and_floor_manual_trans[] = {
    {'A', "3 speed auto on column"},
    {'C', "3 speed auto on floor"},
    {'E', "3 speed manual on floor"},
    {'M', "4 speed manual on floor"},
};
// Gremlin and Matador 2dr.
constexpr CodeRow trans_with_overdrive_and_f_by_year[] = {
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

// Ambassador: positions 4 and 5 are not tested; position 3 warns and goes on. ---

constexpr Check ambassador_checks[] = {
    {2, "8901234", "The 2nd digit is a invalid year code for an Ambassador."},
    {3,
     "ACEFMOS",
     "The 3rd digit is a invalid body class code for an Ambassador.",
     report_and_go_on,
     "ERROR"},
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
    {'A', "258 1v"},
    {'B', "232 1v L/C"},
    {'C', "258 2v"},
    {'E', "232 1v"},
    {'H', "304 2v"},
    {'M', "304 4v"},
    {'N', "360 2v"},
    {'P', "360 4v"},
    {'S', "343 2v"},
};
constexpr ModelDecoder ambassador{
    .name = "Ambassador",
    .checks = ambassador_checks,
    .model_text = "Ambassador",
    .year = years_1968_to_1974,
    .trans = ambassador_trans,
    .body = sedan_or_wagon_body,
    .series = ambassador_series,
    .engine = ambassador_engine,
};
static_assert(fits_its_fields(ambassador));

// Matador (four-door sedan and wagon) ------------------------------------------

constexpr Check matador_checks[] = {
    {2, "5678", "The 2nd digit is a invalid year code for an Matador."},
    {3, "ACDEOS", "The 3rd digit is a invalid trans code for an Matador."},
    {4, "8", "The 4th digit is a invalid car sereis code for an Matador."},
    {5, "58", "The 5th digit is a invalid body type code for an Matador."},
    {6, "57PT", "The 6th digit is a invalid body class code for an Matador."},
    {7, "ACEHNP", "The 7th digit is a invalid year code for an Matador."},
    {8, "K0123456789", "The 8nd digit is a invalid assembly code for an Matador."},
};
constexpr CodeRow matador_year[] = {
    {'5', "1975"},
    {'6', "1976"},
    {'7', "1977"},
    {'8', "1978"},
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
    {'A', "258 1v"},
    {'C', "258 2v"},
    {'E', "232 1v"},
    {'H', "304 2v"},
    {'N', "360 2v"},
    {'P', "360 4v"},
};
constexpr ModelDecoder matador{
    .name = "Matador",
    .checks = matador_checks,
    .model_text = "Matador ",
    .year = matador_year,
    .trans = matador_trans,
    .body = matador_body,
    .series = fixed(" "),
    .engine = matador_engine,
};
static_assert(fits_its_fields(matador));

// Javelin ------------------------------------------------------------------------

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
    {'A', "258 1v"},
    {'B', "232 1v L/C"},
    {'C', "258 2v"},
    {'E', "232 1v"},
    {'H', "304 2v"},
    {'M', "304 4v"},
    {'N', "360 2v"},
    {'P', "360 4v"},
    {'Z', "401 4v"},
};
constexpr ModelDecoder javelin{
    .name = "Javelin",
    .checks = javelin_checks,
    .model_text = "Javelin",
    .year = years_1968_to_1974,
    .trans = javelin_trans,
    .body = fixed("2dr hardtop"),
    .series = javelin_series,
    .engine = javelin_engine,
};
static_assert(fits_its_fields(javelin));

// AMX ----------------------------------------------------------------------------

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
constexpr ModelDecoder amx{
    .name = "AMX",
    .checks = amx_checks,
    .model_text = "AMX",
    .year = years_1968_to_1970,
    .trans = auto_and_four_speed_trans,
    .body = fixed("2dr hardtop"),
    .series = fixed(" "),
    .engine = amx_engine,
};
static_assert(fits_its_fields(amx));

// Pacer --------------------------------------------------------------------------

constexpr Check pacer_checks[] = {
    {2, "567890", "The 2nd digit is a invalid year code for a Pacer."},
    {3, "ACDEMOS", "The 3rd digit is a invalid transmission code for a Pacer."},
    {4, "6", fourth_digit_invalid, stop_standard_output},
    {5, "368", "The 5th digit is a invalid body type code for a Pacer."},
    {6, "7PT", "The 6th digit is a invalid body class code for a Pacer."},
    {7, "ABCEGHK", "The 7th digit is a invalid engine code for a Pacer."},
    {8, "K0123456789", "The 8th digit is a invalid assembly code for a Pacer."},
};
constexpr CodeRow pacer_year[] = {
    {'5', "1975"},
    {'6', "1976"},
    {'7', "1977"},
    {'8', "1978"},
    {'9', "1979"},
    {'0', "1980"},
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
    {'A', "258 1v"},
    {'B', "258 1v L/C"},
    {'C', "258 2v"},
    {'E', "232 1v"},
    {'G', "121 2v"},
};
constexpr ModelDecoder pacer{
    .name = "Pacer",
    .checks = pacer_checks,
    .model_text = "Pacer",
    .year = pacer_year,
    .trans = pacer_trans,
    .body = pacer_body,
    .series = fixed(" "),
    .engine = pacer_engine,
};
static_assert(fits_its_fields(pacer));

// Gremlin ------------------------------------------------------------------------

constexpr Check gremlin_checks[] = {
    {2, "123456780", "The 2nd digit is a invalid year code for a Gremlin."},
    {3, "ACDEFMOS", "The 3rd digit is a invalid transmission code for a Gremlin."},
    {4, "4", fourth_digit_invalid, stop_standard_output},
    {5, "3568", "The 5th digit is a invalid body type code for a Gremlin."},
    {6, "0457PT", "The 6th digit is a invalid body class code for a Gremlin."},
    {7, "ABCEHM", "The 7th digit is a invalid engine code for a Gremlin."},
    {8, "K0123456789", eighth_digit_invalid, stop_standard_output},
};
constexpr CodeRow gremlin_year[] = {
    {'0', "1970"},
    {'1', "1971"},
    {'2', "1972"},
    {'3', "1973"},
    {'4', "1974"},
    {'5', "1975"},
    {'6', "1976"},
    {'7', "1977"},
    {'8', "1978"},
};
constexpr CodeRow gremlin_body[] = {
    {'3', "2dr hatchback"},
    {'5', "4dr sedan"},
    {'6', "2dr sedan"},
    {'8', "Station wagon"},
};
constexpr CodeRow gremlin_engine[] = {
    {'A', "258 1v"},
    {'B', "258 1v L/C"},
    {'C', "258 2v"},
    {'E', "232 1v"},
    {'H', "304 2v"},
    {'M', "304 4v"},
};
constexpr ModelDecoder gremlin{
    .name = "Gremlin",
    .checks = gremlin_checks,
    .model_text = "Gremlin",
    .year = gremlin_year,
    .trans = trans_with_overdrive_and_f_by_year,
    .body = gremlin_body,
    .series = fixed(" "),
    .engine = gremlin_engine,
};
static_assert(fits_its_fields(gremlin));

// Spirit -------------------------------------------------------------------------

constexpr Check spirit_checks[] = {
    {2, "90", "The 2nd digit is a invalid year code for a Spirit."},
    {3, "ACEM", "The 3rd digit is a invalid transmission code for a Spirit."},
    {4, "4", fourth_digit_invalid, stop_standard_output},
    {5, "368", "The 5th digit is a invalid body type code for a Spirit."},
    {6, "4579PT", "The 6th digit is a invalid body class code for a Spirit."},
    {7, "ABCG", "The 7th digit is a invalid engine code for a Spirit."},
    {8, "K0123456789", eighth_digit_invalid, stop_standard_output},
};
constexpr CodeRow spirit_year[] = {
    {'9', "1979"},
    {'0', "1980"},
};
constexpr CodeRow spirit_body[] = {
    {'3', "2dr hatchback"},
    {'6', "2dr sedan"},
    {'8', "Station wagon"},
};
constexpr CodeRow spirit_series[] = {
    {'9', "AMX"},
    {'4', " "},  // 4, 5, 7, P and T: one blank
    {'5', " "},
    {'7', " "},
    {'P', " "},
    {'T', " "},
};
constexpr CodeRow spirit_engine[] = {
    {'A', "258 1v"},
    {'C', "258 2v"},
    {'G', "121 2v"},
};
constexpr ModelDecoder spirit{
    .name = "Spirit",
    .checks = spirit_checks,
    .model_text = "Spirit",
    .year = spirit_year,
    .trans = auto_and_floor_manual_trans,
    .body = spirit_body,
    .series = spirit_series,
    .engine = spirit_engine,
};
static_assert(fits_its_fields(spirit));

// Rebel: engine Y writes the series too. -----------------------------------------

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
constexpr ModelDecoder rebel{
    .name = "Rebel",
    .checks = rebel_checks,
    .model_text = "Rebel",
    .year = years_1968_to_1970,
    .trans = rebel_trans,
    .body = rebel_body,
    .series = rebel_series,
    .engine = rebel_engine,
};
static_assert(fits_its_fields(rebel));

// Matador 2dr --------------------------------------------------------------------

constexpr Check matador_2dr_checks[] = {
    {2, "12345678", "The 2nd digit is a invalid year code for a Matador 2dr"},
    {3, "ACDEFMOS", "The 3rd digit is a invalid transmission code for a Matador 2dr"},
    {4, "1", "The 4th digit is a invalid series code for a Matador 2dr"},
    {5, "69", "The 5th digit is a invalid body type code for a Matador 2dr"},
    {6, "78PT", "The 6th digit is a invalid body class code for a Matador 2dr."},
    {7, "ABCEHMNPSZ", "The 7th digit is a invalid engine code for a Matador 2dr."},
    {8, "K0123456789", "The 8th digit is a invalid assembly code for a Matador 2dr."},
};
constexpr CodeRow matador_2dr_year[] = {
    {'1', "1971"},
    {'2', "1972"},
    {'3', "1973"},
    {'4', "1974"},
    {'5', "1975"},
    {'6', "1976"},
    {'7', "1977"},
    {'8', "1978"},
};
constexpr CodeRow matador_2dr_body[] = {
    {'6', "2dr sedan"},
    {'9', "2dr hardtop"},
};
constexpr CodeRow matador_2dr_series[] = {
    {'8', " X"},
    {'7', ""},  // 7, P and T: the empty text
    {'P', ""},
    {'T', ""},
};
constexpr CodeRow matador_2dr_engine[] = {
    {'A', "258 1v"},
    {'B', "258 1v"},
    {'C', "258 2v"},
    {'E', "232 1v"},
    {'H', "304 2v"},
    {'M', "304 4v"},
    {'N', "360 2v"},
    {'P', "360 4v"},
    {'Z', "401 4v"},
};
constexpr ModelDecoder matador_2dr{
    .name = "Matador 2dr",
    .checks = matador_2dr_checks,
    .model_text = "Matador",
    .year = matador_2dr_year,
    .trans = trans_with_overdrive_and_f_by_year,
    .body = matador_2dr_body,
    .series = matador_2dr_series,
    .engine = matador_2dr_engine,
};
static_assert(fits_its_fields(matador_2dr));

// Hornet -------------------------------------------------------------------------

constexpr Check hornet_checks[] = {
    {2, "01234567", "The 2nd digit is a invalid year code for a Hornet."},
    {3, "ACDEFMOS", "The 3rd digit is a invalid transmission code for a Hornet."},
    {4, "0", "The 4th digit is a invalid series code for a Hornet."},
    {5, "3568", "The 5th digit is a invalid body type code for a Hornet."},
    {6, "015789PT", "The 6th digit is a invalid body class code for a Hornet."},
    {7, "ABCEHMNP", "The 7th digit is a invalid engine code for a Hornet."},
    {8, "K0123456789", "The 8th digit is a invalid assembly code for a Hornet."},
};
constexpr CodeRow hornet_year[] = {
    {'0', "1970"},
    {'1', "1971"},
    {'2', "1972"},
    {'3', "1973"},
    {'4', "1974"},
    {'5', "1975"},
    {'6', "1976"},
    {'7', "1977"},
};
constexpr CodeRow hornet_trans[] = {
    {'A', "3 speed auto on column"},
    {'C', "3 speed auto on floor"},
    {'D', "3spdOD on floor"},
    {'E', "3 speed manual on floor"},
    {'F', "3speed manual on floor", "1"},
    {'F', "3spd manual floor 2/3syn", "2"},
    {'F', "3 speed manual on floor", "3"},
    {'M', "4 speed manual on floor"},
    {'O', "3spd OD manual on column"},
    {'S', "3peed manual on column"},
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
constexpr ModelDecoder hornet{
    .name = "Hornet",
    .checks = hornet_checks,
    .model_text = "Hornet",
    .year = hornet_year,
    .trans = hornet_trans,
    .body = hornet_body,
    .series = hornet_series,
    .engine = hornet_engine,
};
static_assert(fits_its_fields(hornet));

// Concord ------------------------------------------------------------------------

constexpr Check concord_checks[] = {
    {2, "890", "The 2nd digit is a invalid year code for a Concord."},
    {3, "ACDEM", "The 3rd digit is a invalid transmission code for a Concord."},
    {4, "0", "The 4th digit is a invalid series code for a Concord."},
    {5, "3568", "The 5th digit is a invalid body type code for a Concord."},
    {6, "789PT", "The 6th digit is a invalid body class code for a Concord."},
    {7, "ABCEGH", "The 7th digit is a invalid engine code for a Concord."},
    {8, "K0123456789", "The 8thd digit is a invalid assembly code for a Concord."},
};
constexpr CodeRow concord_year[] = {
    {'8', "1978"},
    {'9', "1979"},
    {'0', "1980"},
};
constexpr CodeRow concord_engine[] = {
    {'A', " 258 1v "},
    {'C', "258 2v"},
    {'E', "232 1v"},
    {'G', "121 2v "},
};
constexpr ModelDecoder concord{
    .name = "Concord",
    .checks = concord_checks,
    .model_text = "Concord",
    .year = concord_year,
    .trans = auto_and_floor_manual_trans,
    .body = sedan_or_wagon_body,
    .series = fixed(" "),
    .engine = concord_engine,
};
static_assert(fits_its_fields(concord));

// Eagle: every failure goes to standard output; position 1 is tested again and
// position 4 not at all. -----------------------------------------------------------

constexpr Check eagle_checks[] = {
    {1, "A", "\nThe first digit of the VIN # is invalid!", stop_standard_output},
    {2, "0", "\n2nd digit is a invalid year code for a Eagle!", stop_standard_output},
    {3, "ACM", "\n3rd digit is a invalid transmission code for a Eagle!", stop_standard_output},
    {5, "6", "\n5th digit is a invalid body type code for a Eagle!", stop_standard_output},
    {6, "5", "\n6th digit is a invalid body class code for a Eagle!", stop_standard_output},
    {7, "C", "\n7th digit is a invalid engine code for a Eagle", stop_standard_output},
    {8, "K0123456789", eighth_digit_invalid, stop_standard_output},
};
constexpr ModelDecoder eagle{
    .name = "Eagle",
    .checks = eagle_checks,
    .model_text = "Eagle",
    .year = fixed("1980"),
    .trans = auto_and_four_speed_trans,
    .body = fixed("2dr sedan"),
    .series = fixed("MPV (multi purpose vehicle)"),
    .engine = fixed("258 2v"),
};
static_assert(fits_its_fields(eagle));

// Rambler: position 4 is not tested; series 7 of 1969 empties the model. ----------

constexpr Check rambler_checks[] = {
    {2, "89", "The 2nd digit is a invalid year code for a Rambler."},
    {3, "ACFMOS", "The 3rd digit is a invalid transmission code for a Rambler."},
    {5, "56789", "The 5th digit is a invalid body type code for a Rambler."},
    {6, "057", "The 6th digit is a invalid body class code for a Rambler."},
    {7, "ABCMNSTVX", "The 7th digit is a invalid engine code for a Rambler."},
    {8, "K0123456789", "The 8th digit is a invalid assembly code for a Rambler."},
};
constexpr CodeRow rambler_year[] = {
    {'8', "1968"},
    {'9', "1969"},
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
    {'5', "4dr sedan"},
    {'6', "2drsedan"},
    {'7', "2dr convertable"},
    {'8', "4dr wagon"},
    {'9', "2dr hardtop"},
};
constexpr CodeRow rambler_series[] = {
    {'0', "American"},
    {'5', "440"},
    {'7', "Rogue", "8"},
    {'7', "S/C Rambler", "9", Field13::model, ""},
};
constexpr CodeRow rambler_engine[] = {
    {'A', "199 1v"},
    {'B', "232 1v"},
    {'C', "232 2v"},
    {'M', "290 2v"},
    {'N', "290 4v"},
    {'S', "343 2v"},
    {'T', "343 4v"},
    {'X', "390 4v"},
};
constexpr ModelDecoder rambler{
    .name = "Rambler",
    .checks = rambler_checks,
    .model_text = "Rambler",
    .year = rambler_year,
    .trans = rambler_trans,
    .body = rambler_body,
    .series = rambler_series,
    .engine = rambler_engine,
};
static_assert(fits_its_fields(rambler));

// The dispatch ---------------------------------------------------------------------

constexpr Check first_position{1, "A", "The 1st digit of the vin was invalid."};

constexpr const char *digits = "0123456789";
// Position 4 codes that name no model line; the accepted ones are those the
// dispatch below sends to a model line.
constexpr Check series_code_invalid{4, "0134678", "The 3rd digit of the vin was invalid."};
// The year digit 8 with a model year that settles neither of its model lines.
constexpr Check model_year_invalid{0, "", "Invalid Year."};

// Position 4 names the model line; position 2 (the year digit), position 5 or the
// caller's model year settle the lines that share a code. First match wins; a VIN
// that matches no row (position 4 no digit) ends silently, like a row with neither
// decoder nor message.
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

const std::span<const DispatchRow> dispatch = dispatch_rows;

}  // namespace kordel::models13
