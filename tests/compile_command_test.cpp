// End-to-end tests of `scenario-compiler compile` on small hand-written
// sources: the files it writes, its messages, exit statuses and report.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "testing/memory_compile.h"
#include "output/dump.h"
#include "run_program.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

std::string crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// A 1000 m line: N = round(8000 / 50) = 160, M = 8000.
const std::string kLineSource = crlf(
    "[generale]\n"
    "lunghezza percorso, 1000\n"
    "progressiva chilometrica uno, 0, 0, 0\n"
    "progressiva chilometrica due, 0, 0, 0\n"
    "progressiva chilometrica tre, 0, 0, 0\n"
    "sfondo uno, 1\n"
    "sfondo due, 0\n"
    "sfondo tre, 0\n"
    "ripetizione segnali 4 codici, 0, 500\n"
    "[curve]\n"
    "curvad2, 300, 200\n"
    "[pendenze]\n"
    "pendenza, 100, 6\n"
    "[cartelli]\n"
    "indicatori_vmax, 550, 120, 130, 140, 0, 120, 130, 140, 0\n"
    "[indicazioni]\n"
    "cartello_indicatore, 650, (Km 0+650)\n"
    "[fine]\n"
    "\n");

const std::string kTrainHead = crlf(
    "[generale]\n"
    "numero vetture, 8\n"
    "percentuale massa frenata, 120\n"
    "sabbia, 150\n"
    "orologio, 7 15 0\n"
    "aderenza, 0, 100\n"
    "velocita, 0, 100\n"
    "stazione, 300, 12, 200, 0, 0, 0, 1,1,0, 4,1,1, 30, 7,16,0, Miralto\n");
const std::string kTrainTail = crlf("[fine]\n\n");
const std::string kTrainSource =
    kTrainHead + crlf("segnale, 800, 2, 4, 1, 0, 0, 1, 3,1,0, 0\n") + kTrainTail;

constexpr std::size_t kGeometryBytes = 20 * 8000 - 36;
constexpr std::size_t kGridBytes = 15 * 161;

class CompileCommand : public ::testing::Test {
 protected:
  void SetUp() override { write_sources(kLineSource, kTrainSource); }

  void write_sources(const std::string& line, const std::string& train) {
    write_file(dir_.file("Abc_linea.txt"), line);
    write_file(dir_.file("Abc_12-.txt"), train);
  }

  ProgramResult compile(std::vector<std::string> extra = {}, long file_size_limit = -1) {
    std::vector<std::string> args = {"compile", "--dir", dir_.path().string(), "--base", "Abc",
                                     "--train", "12", "--report", dir_.file("report.json")};
    args.insert(args.end(), extra.begin(), extra.end());
    ProgramOptions options;
    options.file_size_limit = file_size_limit;
    return run_program(args, options);
  }

  nlohmann::json report() { return nlohmann::json::parse(read_file(dir_.file("report.json"))); }

  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
      found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
  }

  TempDir dir_{"compile test"};
};

TEST_F(CompileCommand, WritesTheThreeFilesWithStampsAndReportsSuccess) {
  ProgramResult result = compile();
  ASSERT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.err, "Attendere\n");

  const std::string geometry = read_file(dir_.file("Abc_linea.dat"));
  ASSERT_EQ(geometry.size(), kGeometryBytes);
  EXPECT_EQ(geometry.substr(0, 10), std::string("\2\0\0\0\2\0\0\0\5\0", 10));
  EXPECT_EQ(geometry.substr(kGeometryBytes / 2, 8), std::string("\2\0\0\0\2\0\1\0", 8));

  const std::string grid = read_file(dir_.file("Abc_12.dat"));
  ASSERT_EQ(grid.size(), kGridBytes);
  EXPECT_EQ(grid.substr(16, 4), "\x01\x14\x7B\x09");  // 5121, then 2427

  RecordTable table;
  std::string error;
  ASSERT_TRUE(decode_record_table(read_file(dir_.file("Abc_12.sim")), table, error)) << error;
  EXPECT_EQ(table.rows[85].text, "Abc");
  EXPECT_EQ(table.rows[85].word_a, 610);
  EXPECT_EQ(table.rows[85].num_d, 33220);
  EXPECT_EQ(table.rows[86].text, "12");
  EXPECT_EQ(table.rows[1].text, "Miralto");

  const nlohmann::json json = report();
  EXPECT_EQ(json["status"], (nlohmann::json{{"code", 0}, {"position", 0}}));
  EXPECT_TRUE(json["fatal"].is_null());
  EXPECT_EQ(json["grid_last_index"], 160);
  EXPECT_EQ(json["written"], (nlohmann::json{"Abc_linea.dat", "Abc_12.sim", "Abc_12.dat"}));
  EXPECT_TRUE(json["source"].is_null());

  // The author's sources stay; the in-memory compile gives the same bytes.
  EXPECT_EQ(read_file(dir_.file("Abc_linea.txt")), kLineSource);
  EXPECT_EQ(read_file(dir_.file("Abc_12-.txt")), kTrainSource);
  const MemoryCompile memory = compile_in_memory(kLineSource, kTrainSource, "Abc", "12");
  EXPECT_TRUE(memory.plan_geometry == geometry);
  EXPECT_TRUE(memory.record_table == read_file(dir_.file("Abc_12.sim")));
  EXPECT_TRUE(memory.cell_grid == grid);
  EXPECT_EQ(memory.grid_last_index, 160);
}

TEST_F(CompileCommand, SecondBuildOverLargerFilesLeavesExactlyTheNewContent) {
  for (const char* name : {"Abc_linea.dat", "Abc_12.sim", "Abc_12.dat"}) {
    write_file(dir_.file(name), std::string(400000, 'x'));
  }
  ASSERT_EQ(compile({"--quiet"}).exit_status, 0);
  EXPECT_EQ(fs::file_size(dir_.file("Abc_linea.dat")), kGeometryBytes);
  EXPECT_EQ(fs::file_size(dir_.file("Abc_12.dat")), kGridBytes);
  const MemoryCompile memory = compile_in_memory(kLineSource, kTrainSource, "Abc", "12");
  EXPECT_TRUE(read_file(dir_.file("Abc_12.sim")) == memory.record_table);
  EXPECT_EQ(names(), (std::vector<std::string>{"Abc_12-.txt", "Abc_12.dat", "Abc_12.sim",
                                               "Abc_linea.dat", "Abc_linea.txt", "report.json"}));
}

TEST_F(CompileCommand, NoGeometryLeavesAnExistingGeometryFileUntouched) {
  write_file(dir_.file("Abc_linea.dat"), "an earlier geometry");
  ASSERT_EQ(compile({"--no-geometry"}).exit_status, 0);
  EXPECT_TRUE(read_file(dir_.file("Abc_linea.dat")) == "an earlier geometry");
  EXPECT_EQ(report()["written"], (nlohmann::json{"Abc_12.sim", "Abc_12.dat"}));
  EXPECT_EQ(fs::file_size(dir_.file("Abc_12.dat")), kGridBytes);
}

TEST_F(CompileCommand, DeleteSourcesRemovesBothSources) {
  ASSERT_EQ(compile({"--delete-sources"}).exit_status, 0);
  EXPECT_FALSE(fs::exists(dir_.file("Abc_linea.txt")));
  EXPECT_FALSE(fs::exists(dir_.file("Abc_12-.txt")));
}

TEST_F(CompileCommand, ReservedPlaceTakenIsFatalAndWritesNoScenarioFile) {
  struct Case {
    std::string train_entry;
    int fatal;
  };
  const Case cases[] = {
      // A signal at 0 m lands in cell 1 with a non-zero first value...
      {"segnale, 0, 2, 4, 1, 0, 0, 1, 3,1,0, 0\n", 1250},
      // ...or, with s1 = d1 = 0, a zero first and a non-zero second value.
      {"segnale, 0, 2, 0, 1, 0, 0, 1, 0,1,0, 0\n", 1251},
  };
  for (const Case& c : cases) {
    write_file(dir_.file("Abc_12.sim"), "earlier table");
    write_file(dir_.file("Abc_12.dat"), "earlier grid");
    fs::remove(dir_.file("Abc_linea.dat"));
    write_sources(kLineSource, kTrainHead + crlf(c.train_entry) + kTrainTail);
    ProgramResult result = compile();
    EXPECT_EQ(result.exit_status, 2) << c.fatal;
    // The box's line as it stands, then its cause at the entry that caused it.
    const std::string number = std::to_string(c.fatal);
    EXPECT_EQ(result.err.substr(0, result.err.find('\n', 10) + 1),
              "Attendere\n Errore n. " + number + "\n");
    EXPECT_NE(result.err.find("\nAbc_12-.txt:9:1: error: cell 1 of the grid is reserved for the "
                              "header stamps"),
              std::string::npos);
    EXPECT_NE(result.err.find("[F" + number + "]\n" + c.train_entry.substr(0, 10)),
              std::string::npos)
        << result.err;
    EXPECT_TRUE(read_file(dir_.file("Abc_12.sim")) == "earlier table");
    EXPECT_TRUE(read_file(dir_.file("Abc_12.dat")) == "earlier grid");
    EXPECT_FALSE(fs::exists(dir_.file("Abc_linea.dat")));
    const nlohmann::json json = report();
    EXPECT_EQ(json["fatal"], c.fatal);
    EXPECT_EQ(json["written"], nlohmann::json::array());
  }
}

TEST_F(CompileCommand, FailedWriteKeepsTheEarlierFileAndNamesIt) {
  write_file(dir_.file("Abc_linea.dat"), "earlier geometry");
  write_file(dir_.file("Abc_12.sim"), "earlier table");
  // The geometry file is the first written and the only one above the limit.
  ProgramResult result = compile({"--quiet"}, 100000);
  EXPECT_EQ(result.exit_status, 3);
  EXPECT_EQ(result.err, "scenario-compiler: cannot write '" + dir_.file("Abc_linea.dat") +
                            "': File too large\n");
  EXPECT_TRUE(read_file(dir_.file("Abc_linea.dat")) == "earlier geometry");
  EXPECT_TRUE(read_file(dir_.file("Abc_12.sim")) == "earlier table");
  EXPECT_EQ(names(), (std::vector<std::string>{"Abc_12-.txt", "Abc_12.sim", "Abc_linea.dat",
                                               "Abc_linea.txt", "report.json"}));
  EXPECT_EQ(report()["written"], nlohmann::json::array());
}

TEST_F(CompileCommand, StatusCodeIsReportedWithItsSourceLineAndFilesAreWritten) {
  // A signal beyond the grid (P > 50 N - 100 = 7900) stops the train reader.
  write_sources(kLineSource,
                kTrainHead + crlf("segnale, 7950, 2, 4, 1, 0, 0, 1, 3,1,0, 0\n") + kTrainTail);
  ProgramResult result = compile({"--quiet"});
  EXPECT_EQ(result.exit_status, 1);
  // The place, the cause with its position and the code's id, in check's form.
  EXPECT_EQ(result.err.rfind("Abc_12-.txt:9:", 0), 0u) << result.err;
  for (const char* part : {": error: ", "7950 m", "[S15]\n"}) {
    EXPECT_NE(result.err.find(part), std::string::npos) << part << " in " << result.err;
  }
  const nlohmann::json json = report();
  EXPECT_EQ(json["status"], (nlohmann::json{{"code", 15}, {"position", 7950}}));
  EXPECT_EQ(json["source"], (nlohmann::json{{"file", "Abc_12-.txt"}, {"line", 9}}));
  EXPECT_EQ(json["written"], (nlohmann::json{"Abc_linea.dat", "Abc_12.sim", "Abc_12.dat"}));
  EXPECT_EQ(fs::file_size(dir_.file("Abc_12.dat")), kGridBytes);
}

TEST_F(CompileCommand, WithoutAGridNoScenarioFileIsWritten) {
  fs::remove(dir_.file("Abc_linea.txt"));
  write_file(dir_.file("Abc_12.dat"), "earlier grid");
  ProgramResult result = compile({"--quiet"});
  EXPECT_EQ(result.exit_status, 1);
  const std::string expected = "Abc_linea.txt: error: the line source \"" +
                               dir_.file("Abc_linea.txt") + "\" does not exist [S101]\n" +
                               "scenario-compiler: note: the folder \"" + dir_.path().string() +
                               "\" holds no other line source\n";
  EXPECT_NE(result.err.find(expected), std::string::npos) << result.err;
  // Code 101 records no position: none is shown.
  EXPECT_EQ(result.err.find(" m"), std::string::npos) << result.err;
  EXPECT_TRUE(read_file(dir_.file("Abc_12.dat")) == "earlier grid");
  const nlohmann::json json = report();
  EXPECT_TRUE(json["grid_last_index"].is_null());
  EXPECT_EQ(json["written"], nlohmann::json::array());
  EXPECT_FALSE(compile_in_memory("", "").grid_last_index.has_value());
}

}  // namespace
}  // namespace scenario::testing

namespace scenario::testing {
namespace {

// A report with the words of its findings left out: the one part of it
// written for people, in their language.
std::string without_messages(const std::string& report) {
  nlohmann::json json = nlohmann::json::parse(report);
  std::vector<nlohmann::json*> open{&json};
  while (!open.empty()) {
    nlohmann::json* value = open.back();
    open.pop_back();
    if (value->is_object() && value->contains("message")) (*value)["message"] = "";
    if (value->is_structured()) {
      for (auto& child : *value) open.push_back(&child);
    }
  }
  return json.dump();
}

// The language changes the words for people and nothing else: the same
// sources give the same bytes, the same exit status and the same report
// (its findings' words aside) under every locale, for a clean build, a build
// with a status code and a report.
TEST(CompileInEveryLanguage, SameBytesAndStatus) {
  const std::vector<std::pair<std::string, std::string>> environments[] = {
      {{"LANGUAGE", ""}, {"LC_ALL", "C"}, {"LC_MESSAGES", ""}, {"LANG", "C"}},
      {{"LANGUAGE", ""}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "it_IT.UTF-8"}},
      {{"LANGUAGE", "it:en"}, {"LC_ALL", "fr_FR.UTF-8"}, {"LC_MESSAGES", ""}, {"LANG", ""}},
  };
  struct Scenario {
    std::vector<std::string> args;  // after "compile --dir DIR --quiet"
    fs::path copied_from;           // empty: the built-in texts, exported
  };
  const Scenario scenarios[] = {
      {{"--report", "r.json"}, {}},
      {{"--base", "Lago", "--train", "7", "--report", "r.json"},
       fs::path(SOURCE_DIR) / "tests" / "data" / "view"},
  };
  for (const Scenario& scenario : scenarios) {
    std::optional<std::map<std::string, std::string>> first_files;
    int first_status = -1;
    for (const auto& environment : environments) {
      TempDir dir;
      if (scenario.copied_from.empty()) {
        EXPECT_EQ(run_program({"export", "--dir", dir.path().string(), "--quiet"}).exit_status, 0);
      } else {
        fs::copy(scenario.copied_from, dir.path());
      }
      ProgramOptions options = in_folder(dir.path());
      options.environment = environment;
      std::vector<std::string> args = {"compile", "--dir", dir.path().string(), "--quiet"};
      args.insert(args.end(), scenario.args.begin(), scenario.args.end());
      const ProgramResult result = run_program(args, options);
      std::map<std::string, std::string> files;
      for (const fs::directory_entry& entry : fs::directory_iterator(dir.path())) {
        files[entry.path().filename().string()] = read_file(entry.path());
      }
      // The report names the folder, the one thing that differs between runs.
      std::string& report = files["r.json"];
      for (std::size_t at; (at = report.find(dir.path().string())) != std::string::npos;) {
        report.replace(at, dir.path().string().size(), "DIR");
      }
      report = without_messages(report);
      if (!first_files) {
        first_files = files;
        first_status = result.exit_status;
        continue;
      }
      EXPECT_EQ(result.exit_status, first_status) << environment.back().second;
      EXPECT_TRUE(files == *first_files) << environment.back().second << " " << args[4];
    }
    EXPECT_GE(first_files->size(), 5u);
  }
}

}  // namespace
}  // namespace scenario::testing
