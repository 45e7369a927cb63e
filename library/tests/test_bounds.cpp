// Every text fits its field, and every report line fits the caller's buffer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "decode.h"
#include "models13.h"
#include "tables17.h"

namespace kordel {
namespace {

std::size_t longest(std::span<const CodeRow> rows) {
  std::size_t n = 0;
  for (const CodeRow &row : rows) n = std::max(n, row.text.size());
  return n;
}

std::size_t longest(const models13::FieldSource &source) {
  return source.rows.empty() ? source.fixed_text.size() : longest(source.rows);
}

// Texts that rows write into a second field.
std::size_t longest_second_write(Field13 field) {
  std::size_t n = 0;
  for (const models13::ModelDecoder *m : models13::all)
    for (const models13::FieldSource *s : {&m->year, &m->trans, &m->body, &m->series, &m->engine})
      for (const CodeRow &row : s->rows)
        if (row.also_writes == field) n = std::max(n, row.also_text.size());
  return n;
}

struct Widths13 {
  std::size_t year = 0, trans = 0, model = 0, body = 0, series = 0, engine = 0;
};

Widths13 widths13() {
  Widths13 w;
  for (const models13::ModelDecoder *m : models13::all) {
    w.year = std::max({w.year, longest(m->year), std::string_view("Error").size()});
    w.trans = std::max({w.trans, longest(m->trans), std::string_view("Error").size()});
    w.model = std::max(w.model, m->model_text.size());
    w.body = std::max({w.body, longest(m->body), std::string_view("Error").size()});
    w.series = std::max({w.series, longest(m->series), std::string_view("Error").size()});
    w.engine = std::max({w.engine, longest(m->engine), std::string_view("Error").size()});
  }
  w.model =
      std::max({w.model, longest_second_write(Field13::model), std::string_view("Error").size()});
  w.series = std::max(w.series, longest_second_write(Field13::series));
  return w;
}

TEST(Bounds, Texts13FitTheirFields) {
  const Widths13 w = widths13();
  EXPECT_LT(w.year, capacity13::year);
  EXPECT_LT(w.trans, capacity13::trans);
  EXPECT_LT(w.model, capacity13::model);
  EXPECT_LT(w.body, capacity13::body);
  EXPECT_LT(w.series, capacity13::series);
  EXPECT_EQ(w.series, 44u) << "the longest Javelin series reaches the report whole";
  EXPECT_LT(w.engine, capacity13::engine);
  EXPECT_LT(std::string_view("Brampton").size(), capacity13::plant);
}

TEST(Bounds, Texts17FitTheirFields) {
  std::size_t model = 0, trans = longest(tables17::trans);
  for (const tables17::BodyDecoder &b : tables17::bodies) {
    model = std::max(model, b.model.size());
    trans = std::max(trans, longest(b.trans_overrides));
  }
  EXPECT_LT(longest(tables17::vehicle_type), capacity17::vehicle_type);
  EXPECT_LT(longest(tables17::engine), capacity17::engine);
  EXPECT_LT(trans, capacity17::trans);
  EXPECT_LT(model, capacity17::model);
  EXPECT_LT(longest(tables17::restraints), capacity17::restraints);
  EXPECT_LT(longest(tables17::year), capacity17::year);
  EXPECT_LT(longest(tables17::plant), capacity17::plant);
}

TEST(Bounds, LongestLinesFitTheBuffers) {
  const std::size_t error = std::string_view("Error").size();
  const std::size_t suffix = 2, make = 3, plant13 = std::string_view("Brampton").size();
  const Widths13 w = widths13();
  const std::size_t lines13[] = {
      w.year + make + w.model + w.series + w.body + 5,
      std::string_view("Engine:. Trans: ").size() + w.engine + w.trans,
      std::string_view("This was the ").size(),
      suffix + std::string_view(" car ordered from the  plant in ").size() + plant13 + w.year,
  };

  std::size_t model = 0, trans = std::max(longest(tables17::trans), error);
  for (const tables17::BodyDecoder &b : tables17::bodies) {
    model = std::max(model, b.model.size());
    trans = std::max(trans, longest(b.trans_overrides));
  }
  const std::size_t year17 = std::max(longest(tables17::year), error);
  const std::size_t lines17[] = {
      year17 + make + model + std::max(longest(tables17::vehicle_type), error) + 5,
      std::string_view("Engine:. Trans: ").size() + std::max(longest(tables17::engine), error) +
          trans,
      suffix + std::string_view(" car ordered from the  plant in ").size() +
          std::max(longest(tables17::plant), error) + year17,
      std::string_view("This car has  and your check digit is _.").size() +
          longest(tables17::restraints),
  };

  std::size_t longest_line = 0;
  for (std::size_t n : lines13) longest_line = std::max(longest_line, n);
  for (std::size_t n : lines17) longest_line = std::max(longest_line, n);
  EXPECT_LT(longest_line + 1, std::size_t{KORDEL_LINE_CAPACITY});
  EXPECT_LE(longest_line + 1, line_capacity);
}

}  // namespace
}  // namespace kordel
