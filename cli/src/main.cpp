// kordel-decode: decodes VINs from arguments, lines or a CSV column and writes
// their reports as text, JSON Lines or CSV.
#include <CLI/CLI.hpp>

#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>

#include "input.h"
#include "output.h"

namespace {

using namespace kordel::cli;
using namespace kordel::record;

constexpr int exit_decoded = 0, exit_not_decoded = 1, exit_failure = 2, exit_doubtful = 3;

struct Options {
  std::vector<std::string> vins;
  std::string input;
  std::string column;
  std::string year;
  std::string format = "text";
  bool line_buffered = false;
  std::string delimiter = "auto";
  std::string encoding = "auto";
  RecordOptions record;
};

void complain(const std::string &text) {
  std::fprintf(stderr, "kordel-decode: %s\n", text.c_str());
}

// Decodes each VIN the input gives and writes it in the chosen format, keeping
// what the exit status needs.
class DecodingSession {
 public:
  DecodingSession(Format format, int model_year, const RecordOptions &options, bool line_buffered)
      : out_(STDOUT_FILENO),
        messages_(STDERR_FILENO),
        output_(format, out_, messages_, options),
        model_year_(model_year) {
    // Each record as soon as it is decoded where someone is watching (a terminal,
    // `tail -f list | kordel-decode --line-buffered`), and the messages with it.
    const bool at_once = line_buffered || isatty(STDOUT_FILENO) == 1;
    out_.set_line_buffered(at_once);
    messages_.set_line_buffered(at_once);
  }

  // How CSV is read and written; with Windows-1252 lines are read as such too.
  void set_dialect(const CsvDialect &dialect) {
    output_.set_dialect(dialect);
    windows1252_ = dialect.encoding == TextEncoding::windows1252;
  }

  void vin(std::string_view text) {
    std::string converted;
    if (windows1252_) text = converted = windows1252_to_utf8(text);
    const std::string_view vin = trim_vin(text);
    if (vin.empty()) return;  // empty lines are skipped
    decode_->decode(vin, model_year_);
    output_.write(*decode_);
  }

  void long_line(std::string_view start) {
    decode_->refuse_long_line(start);
    output_.write(*decode_);
  }

  void row(const CsvRow &row, std::string_view vin) {
    decode_->decode(trim_vin(vin), model_year_);
    output_.write(*decode_, &row);
  }

  bool failed_output() const { return !out_.error().empty(); }

  // Flushes what is left; returns the exit status.
  int finish(const std::string &read_error) {
    out_.flush(true);
    messages_.flush(true);
    if (!out_.error().empty()) {
      complain("cannot write the output: " + out_.error());
      return exit_failure;
    }
    if (!read_error.empty()) {
      complain(read_error);
      return exit_failure;
    }
    if (output_.rows_past_header() != 0)
      complain("warning: " + cells_past_header_warning(output_.rows_past_header()));
    if (output_.count() == 0) {
      complain("the input holds no VIN");
      return exit_failure;
    }
    if (!output_.all_decoded()) return exit_not_decoded;
    return output_.all_clean() ? exit_decoded : exit_doubtful;
  }

 private:
  Sink out_, messages_;
  Output output_;
  int model_year_;
  std::unique_ptr<VinDecode> decode_ = std::make_unique<VinDecode>();
  bool windows1252_ = false;
};

// Opens the named file, or standard input for "-" or no name.
std::FILE *open_input(const std::string &name, std::string &error) {
  if (name.empty() || name == "-") return stdin;
  std::FILE *file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) error = "cannot open " + name + ": " + std::strerror(errno);
  return file;
}

// Checks the options, reads every VIN they name and decodes it; returns the exit status.
int decode_all(const Options &options) {
  const std::optional<int> year =
      options.year.empty() ? std::optional(0) : parse_model_year(options.year);
  if (!year) {
    const auto range = [](int from) {
      return std::to_string(from + first_model_year) + " to " +
             std::to_string(from + last_model_year);
    };
    complain("--year takes " + range(0) + " or " + range(1900) + ", not \"" + options.year + "\"");
    return exit_failure;
  }
  if (!options.column.empty() && !options.vins.empty()) {
    complain("--column reads VINs from a CSV input, not from arguments");
    return exit_failure;
  }
  if (!options.input.empty() && !options.vins.empty()) {
    complain("give VINs as arguments or --input, not both");
    return exit_failure;
  }
  const Format format = options.format == "json"  ? Format::json
                        : options.format == "csv" ? Format::csv
                                                  : Format::text;
  DecodingSession session(format, *year, options.record, options.line_buffered);
  CsvChoice choice;
  if (options.delimiter != "auto")
    choice.delimiter = options.delimiter == "tab" ? '\t' : options.delimiter[0];
  if (options.encoding == "utf-8") choice.encoding = TextEncoding::utf8;
  if (options.encoding == "windows-1252") choice.encoding = TextEncoding::windows1252;
  // Lines are read as UTF-8 and CSV written with commas unless told otherwise.
  session.set_dialect(
      {choice.delimiter.value_or(','), choice.encoding.value_or(TextEncoding::utf8)});

  std::string error;
  const auto read_stream = [&](const std::string &name) {
    std::FILE *in = open_input(name, error);
    if (in == nullptr) return;
    if (!options.column.empty()) {
      CsvDialect dialect;
      bool first = true;
      error = read_csv(in, options.column, choice, dialect, [&](const CsvRow &row, auto vin) {
        if (first) session.set_dialect(dialect);  // the output as the input was written
        first = false;
        session.row(row, vin);
        return !session.failed_output();
      });
    } else {
      error = read_lines(in, [&](std::string_view line, bool too_long) {
        if (too_long)
          session.long_line(line);
        else
          session.vin(line);
        return !session.failed_output();  // stop reading once the output is gone
      });
    }
    if (!error.empty() && name.empty())
      error = "standard input: " + error;
    else if (!error.empty() && name != "-")
      error = name + ": " + error;
    if (in != stdin) std::fclose(in);
  };

  if (options.vins.empty()) {
    read_stream(options.input);
  } else {
    for (const std::string &vin : options.vins) {
      if (vin == "-")
        read_stream("-");
      else
        session.vin(vin);
      if (!error.empty() || session.failed_output()) break;
    }
  }
  return session.finish(error);
}

}  // namespace

int main(int argc, char **argv) {
  // A closed standard output shows as a failed write (EPIPE), which is reported.
  std::signal(SIGPIPE, SIG_IGN);
  // So is a write past the file size limit (EFBIG), instead of a killed process
  // leaving a file cut mid-record.
  std::signal(SIGXFSZ, SIG_IGN);

  Options options;
  CLI::App app{
      "Decodes vintage VINs: 13 characters (model years 1968-1980) and\n"
      "17 characters (1981-1988). VINs come from the arguments, or one a line from\n"
      "standard input (also for \"-\") or --input, or from one column of a CSV file.\n"
      "Exit status: 0 when every VIN decoded cleanly, 1 when any got no report, 2 for a\n"
      "usage error or input that cannot be read, 3 when every VIN got a report but some\n"
      "report is incomplete or some VIN has a warning (check digit, sequence number).",
      "kordel-decode"};
  app.set_version_flag("--version", "kordel-decode " KORDEL_VERSION);
  app.add_option("VIN", options.vins, "VINs to decode; \"-\" reads standard input");
  app.add_option("-i,--input", options.input, "read VINs from FILE, one a line")->type_name("FILE");
  app.add_option("-c,--column",
                 options.column,
                 "read CSV (the first row names the columns) and take the VIN from column NAME")
      ->type_name("NAME");
  app.add_option("-y,--year",
                 options.year,
                 "model year of 13-character VINs that leave it open (" + model_year_forms() +
                     "); by default every candidate year is decoded")
      ->type_name("YY");
  app.add_option("-f,--format", options.format, "output: text (default), json (JSON Lines), csv")
      ->check(CLI::IsMember({"text", "json", "csv"}))
      ->type_name("FORMAT");
  app.add_flag("-s,--suggest",
               options.record.suggest,
               "for a VIN that does not decode cleanly or is one character off in length, "
               "suggest the VINs near it that do, filling in unreadable characters (?, * or _) "
               "(JSON: suggestions; CSV: a suggestions column; text: \"did you mean\" on "
               "standard error)");
  app.add_flag("-e,--explain",
               options.record.explain,
               "JSON: say what each character of a decoded VIN encodes (positions)");
  app.add_flag("--line-buffered",
               options.line_buffered,
               "write each record as soon as it is decoded, not in blocks (as on a terminal), "
               "for a pipe that is read as it goes");
  app.add_option("-d,--delimiter",
                 options.delimiter,
                 "CSV: what separates cells, \",\", \";\" or \"tab\"; by default read from the "
                 "start of a --column input (the output keeps it), else \",\"")
      ->check(CLI::IsMember({"auto", ",", ";", "tab"}))
      ->type_name("DELIM");
  app.add_option("--encoding",
                 options.encoding,
                 "the input's text: utf-8 or windows-1252; by default read from the start of a "
                 "--column input (a CSV output is written back in it, with its byte-order mark), "
                 "else UTF-8")
      ->check(CLI::IsMember({"auto", "utf-8", "windows-1252"}))
      ->type_name("ENC");
  app.add_flag("--csv-raw",
               options.record.csv_raw,
               "CSV: write cells exactly as read; by default a cell that begins with =, +, -, @, "
               "a tab or a carriage return (and is no plain number) gets a leading ' so that a "
               "spreadsheet shows it as text rather than running it as a formula");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError &e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : exit_failure;
  }
  return decode_all(options);
}
