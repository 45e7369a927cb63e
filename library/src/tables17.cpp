#include <algorithm>

#include "decode.h"
#include "tables17.h"

namespace kordel::tables17 {
namespace {

// Each table is followed by the compile-time check that its texts fit their field.

constexpr Check check_rows[] = {
    {1, "12", "The 1st digit of the vin was invalid."},
    {2, "AC", "The 2nd digit of the vin was invalid."},
    {3, "MC", "The 3rd digit of the vin was invalid."},
    {4, "CB", "The 4th digit of the vin was invalid."},
    {5, "MHWNACK", "The 5TH digit is a invalid trans code."},
    {6, "0345", "The 6th digit is a invalid model code."},
    {7, "3568", "The 7th digit is a invalid model code."},
    {8, "0567", "The 8th digit is a invalid restraints code."},
    {10, "BCDEFGHJ", "The 9th digit is a invalid year code."},
    {11, "BK", "The 10th digit is a invalid plant code."},
};

constexpr CodeRow vehicle_type_rows[] = {
    {'C', "MPV ( multi-purpose Vehicle )"},
    {'M', "Passenger car"},
};
static_assert(texts_fit(vehicle_type_rows, capacity17::vehicle_type));

constexpr CodeRow engine_rows[] = {
    {'B', "2.5 2v I4 Pontiac"},
    {'C', "AMC 4.2l (258cid) 2v I6"},
};
static_assert(texts_fit(engine_rows, capacity17::engine));

constexpr CodeRow trans_rows[] = {
    {'A', " Automatic column shift"},
    {'C', " Automatic floor shift"},
    {'H', " 4spd manual floor shift"},
    {'K', "Automatic floor shift"},
    {'M', " 4spd manual floor shift"},
    {'N', " 5spd manual floor shift"},
    {'W', " 5spd manual floor shift"},
};
static_assert(texts_fit(trans_rows, capacity17::trans));

constexpr CodeRow restraints_rows[] = {
    {'0', "Base interior and seatbelts"},
    {'5', "DL interior and seatbelts"},
    {'7', "Limited interior and seatbelts"},
};
static_assert(texts_fit(restraints_rows, capacity17::restraints));

constexpr CodeRow year_rows[] = {
    {'B', "1981"},
    {'C', "1982"},
    {'D', "1983"},
    {'E', "1984"},
    {'F', "1985"},
    {'G', "1986"},
    {'H', "1987"},
    {'J', "1988"},
};
static_assert(texts_fit(year_rows, capacity17::year));

constexpr CodeRow plant_rows[] = {
    {'B', " Brampton ON, Canada"},
    {'K', " Kenosha WI, USA"},
};
static_assert(texts_fit(plant_rows, capacity17::plant));

constexpr CodeRow eagle_wagon_trans[] = {
    {'M', " 4spd manual floor shift )"},
};
static_assert(texts_fit(eagle_wagon_trans, capacity17::trans));

constexpr BodyDecoder body_rows[] = {
    {'0', '5', "Concord 4 dr sedan", {}},
    {'0', '6', "Concord 2 dr sedan", {}},
    {'0', '8', "Concord 4 door wagon", {}},
    {'3', '5', "Eagle 4wd 4 door sedan", {}},
    {'3', '6', "Eagle 4wd 2 dr sedan", {}},
    {'3', '8', "Eagle 4wd 4 dr wagon", eagle_wagon_trans},
    {'4', '3', "Spirit 2 dr liftback", {}},
    {'4', '6', "Spirit 2 dr sedan", {}},
    {'5', '3', "Eagle 2 dr liftback SX/4", {}},
    {'5', '6', "Eagle 2 dr kammback", {}},
};
static_assert(std::ranges::all_of(body_rows, [](const BodyDecoder &b) {
  return b.model.size() < capacity17::model && texts_fit(b.trans_overrides, capacity17::trans);
}));

}  // namespace

const std::span<const Check> checks = check_rows;
const std::span<const CodeRow> vehicle_type = vehicle_type_rows;
const std::span<const CodeRow> engine = engine_rows;
const std::span<const CodeRow> trans = trans_rows;
const std::span<const CodeRow> restraints = restraints_rows;
const std::span<const CodeRow> year = year_rows;
const std::span<const CodeRow> plant = plant_rows;
const std::span<const BodyDecoder> bodies = body_rows;

}  // namespace kordel::tables17
