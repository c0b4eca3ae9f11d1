// End-to-end tests of the commands for authors: `check` (its exit statuses,
// formats and counts, and that it leaves every file as it was), `explain`,
// and `--watch` on `check` and `compile`.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <map>
#include <nlohmann/json.hpp>
#include <thread>

#include "run_program.h"

namespace scenario::testing {
namespace {

namespace fs = std::filesystem;

// A 1000 m line: the grid has cells 0 to 160, the last accepted position is 7900 m.
const std::string kLineSource =
    "[generale]\nlunghezza percorso, 1000\n"
    "progressiva chilometrica uno, 0, 0, 0\nprogressiva chilometrica due, 0, 0, 0\n"
    "progressiva chilometrica tre, 0, 0, 0\nsfondo uno, 1\nsfondo due, 0\nsfondo tre, 0\n"
    "ripetizione segnali 4 codici, 0, 500\n[pendenze]\npendenza, 100, 6\n[fine]\n\n";
const std::string kTrainHead =
    "[generale]\nnumero vetture, 8\npercentuale massa frenata, 120\nvelocita, 0, 100\n";
const std::string kTrainTail = "[fine]\n\n";
const std::string kSignalBeyondTheGrid = "segnale, 7950, 2, 4, 1, 0, 0, 1, 3,1,0, 0\n";

class AuthorCommands : public ::testing::Test {
 protected:
  void SetUp() override { write_sources(kLineSource, kTrainHead + kTrainTail); }

  void write_sources(const std::string& line, const std::string& train) {
    write_file(dir_.file("Abc_linea.txt"), line);
    write_file(dir_.file("Abc_12-.txt"), train);
  }

  std::vector<std::string> args(const std::string& command, std::vector<std::string> extra = {}) {
    std::vector<std::string> all = {command, "--dir", dir_.path().string(), "--base", "Abc",
                                    "--train", "12"};
    all.insert(all.end(), extra.begin(), extra.end());
    return all;
  }

  ProgramResult check(std::vector<std::string> extra = {}) {
    return run_program(args("check", std::move(extra)));
  }

  // Every file of the folder with its content and time of last change.
  std::map<std::string, std::pair<std::string, fs::file_time_type>> snapshot() const {
    std::map<std::string, std::pair<std::string, fs::file_time_type>> files;
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
      files[entry.path().filename().string()] = {read_file(entry.path()),
                                                 fs::last_write_time(entry.path())};
    }
    return files;
  }

  TempDir dir_{"check test"};
};

std::string last_line(const std::string& text) {
  const std::size_t end = text.size() - (text.ends_with('\n') ? 1 : 0);
  const std::size_t start = text.rfind('\n', end - 1);
  return text.substr(start == std::string::npos ? 0 : start + 1, end - (start == std::string::npos ? 0 : start + 1));
}

TEST_F(AuthorCommands, CheckExitsByWhatItFoundInEveryFormatAndChangesNoFile) {
  struct Case {
    std::string train;
    int status;
    std::string counts;  // the start of the counts line
  };
  const Case cases[] = {
      {kTrainHead + kTrainTail, 0, "0 errors"},
      {kTrainHead + kSignalBeyondTheGrid + kTrainTail, 1, "1 error,"},
  };
  for (const Case& c : cases) {
    write_sources(kLineSource, c.train);
    const auto before = snapshot();
    const ProgramResult text = check();
    EXPECT_EQ(text.exit_status, c.status) << text.out << text.err;
    EXPECT_EQ(last_line(text.out).rfind(c.counts, 0), 0u) << text.out;

    for (const char* format : {"json", "sarif"}) {
      SCOPED_TRACE(format);
      const ProgramResult result = check({"--format", format});
      EXPECT_EQ(result.exit_status, c.status) << result.err;
      // Nothing but the one document on standard output.
      const auto document = nlohmann::json::parse(result.out);
      const auto& findings = std::string(format) == "json" ? document : document["runs"][0]["results"];
      std::size_t errors = 0;
      for (const auto& finding : findings) {
        errors += (finding.contains("severity") ? finding["severity"] : finding["level"]) == "error";
      }
      EXPECT_EQ(errors, c.status == 0 ? 0u : 1u);
    }
    EXPECT_EQ(snapshot(), before);
  }
}

TEST_F(AuthorCommands, CheckAllTakesEveryTrainOfEveryLineOnceAndCountsTheScenarios) {
  // A line shared by two trains: its warning is told once; the second
  // train's error names its own file; a line without a train is named.
  std::string line = kLineSource;
  line.insert(line.find("[pendenze]"), "# the profile\n");
  write_sources(line, kTrainHead + kTrainTail);
  write_file(dir_.file("Abc_13-.txt"), kTrainHead + kSignalBeyondTheGrid + kTrainTail);
  write_file(dir_.file("Solo_linea.txt"), kLineSource);
  const auto before = snapshot();

  const ProgramResult text = run_program({"check", "--all", "--dir", dir_.path().string()});
  EXPECT_EQ(text.exit_status, 1) << text.err;
  EXPECT_EQ(last_line(text.out), "2 scenarios: 1 error, 1 warning") << text.out;
  EXPECT_NE(text.out.find("Abc_13-.txt:5:"), std::string::npos) << text.out;
  EXPECT_EQ(text.out.find("[comment-marker]"), text.out.rfind("[comment-marker]")) << text.out;
  EXPECT_NE(text.err.find("Solo_linea.txt has no train source"), std::string::npos) << text.err;

  const ProgramResult json =
      run_program({"check", "--all", "--dir", dir_.path().string(), "--format", "json"});
  EXPECT_EQ(json.exit_status, 1);
  EXPECT_EQ(nlohmann::json::parse(json.out).size(), 2u) << json.out;
  const ProgramResult sarif =
      run_program({"check", "--all", "--dir", dir_.path().string(), "--format", "sarif"});
  EXPECT_EQ(nlohmann::json::parse(sarif.out)["runs"][0]["results"].size(), 2u) << sarif.out;
  EXPECT_EQ(snapshot(), before);

  // --all names no scenario of its own; a folder that is not there cannot be listed.
  EXPECT_EQ(run_program({"check", "--all", "--base", "Abc"}).exit_status, 64);
  EXPECT_EQ(run_program({"check", "--all", "--dir", dir_.file("none")}).exit_status, 3);
}

// Under an Italian locale every word for people is Italian, in the counts
// and the note on a line without a train too; the place, the severity word
// and the id keep the form editors' problem matchers read. A "C" locale of
// messages gives English whatever LANGUAGE says.
TEST_F(AuthorCommands, CheckSpeaksTheLanguageOfTheLocaleInTheFormEditorsRead) {
  std::string line = kLineSource;
  line.insert(line.find("[pendenze]"), "# the profile\n");
  write_sources(line, kTrainHead + kSignalBeyondTheGrid + kTrainTail);
  write_file(dir_.file("Solo_linea.txt"), kLineSource);
  ProgramOptions italian;
  italian.environment = {{"LANGUAGE", ""}, {"LC_ALL", ""}, {"LC_MESSAGES", ""},
                         {"LANG", "it_IT.UTF-8"}};
  const std::vector<std::string> all = {"check", "--all", "--dir", dir_.path().string()};

  const ProgramResult result = run_program(all, italian);
  EXPECT_EQ(result.exit_status, 1) << result.err;
  EXPECT_EQ(result.out,
            "Abc_linea.txt:10:1: warning: questo formato di sorgente non ha commenti: la riga "
            "viene letta come ogni altra; per escludere una voce, metti un \"-\" davanti alla sua "
            "parola chiave (un campo che contiene \"-\" viene scartato dai lettori) "
            "[comment-marker]\n"
            "# the profile\n"
            "^~~~~~~~~~~~~\n"
            "Abc_12-.txt:5:10: error: la progressiva 7950 m del segnale è fuori dalla linea: sono "
            "valide le progressive fino a 7900 m (il resto della sorgente del treno viene "
            "saltato) [S15]\n"
            "segnale, 7950, 2, 4, 1, 0, 0, 1, 3,1,0, 0\n"
            "         ^~~~\n"
            "1 scenario: 1 errore, 1 avviso\n");
  EXPECT_EQ(result.err,
            "scenario-compiler: note: Solo_linea.txt non ha accanto una sorgente del treno "
            "(Solo_NUMERO-.txt) e non viene controllato\n");

  ProgramOptions c_locale;
  c_locale.environment = {{"LANGUAGE", "it"}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "C"}};
  const ProgramResult english = run_program(all, c_locale);
  EXPECT_EQ(english.exit_status, 1);
  EXPECT_EQ(last_line(english.out), "1 scenario: 1 error, 1 warning") << english.out;
  EXPECT_NE(english.out.find("Abc_12-.txt:5:10: error: the signal position 7950 m"),
            std::string::npos)
      << english.out;
  EXPECT_EQ(english.err,
            "scenario-compiler: note: Solo_linea.txt has no train source beside it "
            "(Solo_NUMBER-.txt) and is not checked\n");
}

TEST_F(AuthorCommands, CommandsThatWriteIntoAFolderMakeItAndSaySo) {
  const fs::path nested = dir_.path() / "a" / "b";
  ProgramResult result =
      run_program({"export", "--dir", nested.string(), "--base", "Abc", "--train", "12"});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_NE(result.err.find("created the folder '" + nested.string() + "'"), std::string::npos)
      << result.err;
  EXPECT_TRUE(fs::exists(nested / "Abc_12-.txt"));

  result = run_program({"build", "--quiet", "--dir", (dir_.path() / "c").string()});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_TRUE(fs::exists(dir_.path() / "c" / "Orvale_Varcona_593.sim"));

  const fs::path page = dir_.path() / "pages" / "line.html";
  result = run_program(args("view", {"--out", page.string()}));
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_TRUE(fs::exists(page));

  // A file where the folder should be: the command names it and stops.
  write_file(dir_.file("taken"), "");
  result = run_program({"export", "--dir", (dir_.path() / "taken" / "x").string()});
  EXPECT_EQ(result.exit_status, 3);
  EXPECT_NE(result.err.find("cannot create the folder"), std::string::npos) << result.err;
}

TEST_F(AuthorCommands, CheckGivesTheSarifResultOfAStatusWithItsPlace) {
  write_sources(kLineSource, kTrainHead + kSignalBeyondTheGrid + kTrainTail);
  const ProgramResult result = check({"--format", "sarif"});
  ASSERT_EQ(result.exit_status, 1) << result.err;
  const auto log = nlohmann::json::parse(result.out);
  EXPECT_EQ(log["version"], "2.1.0");
  const auto& run = log["runs"][0];
  const auto& result_of_status = run["results"].back();
  EXPECT_EQ(result_of_status["ruleId"], "S15");
  EXPECT_EQ(result_of_status["level"], "error");
  EXPECT_FALSE(result_of_status["message"]["text"].get<std::string>().empty());
  const auto& physical = result_of_status["locations"][0]["physicalLocation"];
  EXPECT_EQ(physical["artifactLocation"]["uri"], "Abc_12-.txt");
  EXPECT_EQ(physical["region"]["startLine"], 5);
  bool listed = false;
  for (const auto& rule : run["tool"]["driver"]["rules"]) listed = listed || rule["id"] == "S15";
  EXPECT_TRUE(listed);
}

TEST_F(AuthorCommands, CheckTellsAMissingOrUnreadableSourceApart) {
  // No line source: the compile's status 101, an error like any other.
  fs::remove(dir_.file("Abc_linea.txt"));
  ProgramResult result = check();
  EXPECT_EQ(result.exit_status, 1) << result.err;
  EXPECT_NE(result.out.find("[S101]"), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find("at 0 m"), std::string::npos) << result.out;

  // A source that exists but cannot be read (reading /proc/self/mem at its
  // start fails, even for root): a failed file operation.
  write_file(dir_.file("Abc_linea.txt"), kLineSource);
  fs::remove(dir_.file("Abc_12-.txt"));
  fs::create_symlink("/proc/self/mem", dir_.file("Abc_12-.txt"));
  result = check({"--format", "sarif"});
  EXPECT_EQ(result.exit_status, 3);
  EXPECT_NE(result.err.find("Abc_12-.txt"), std::string::npos) << result.err;
  EXPECT_TRUE(nlohmann::json::accept(result.out)) << result.out;
}

TEST_F(AuthorCommands, CompileTellsItsStatusInCheckFormWithItsId) {
  write_sources(kLineSource, kTrainHead + kSignalBeyondTheGrid + kTrainTail);
  const ProgramResult result = run_program(args("compile", {"--quiet"}));
  EXPECT_EQ(result.exit_status, 1);
  EXPECT_EQ(result.err.rfind("Abc_12-.txt:5:", 0), 0u) << result.err;
  EXPECT_NE(result.err.find(": error: "), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("[S15]\n"), std::string::npos) << result.err;
}

TEST(Explain, ExplainsAnyFormOfAnIdAndSuggestsForAnUnknownOne) {
  struct Case {
    std::string id;
    int status;
    std::string expected;  // in standard output, or standard error for a refusal
  };
  const Case cases[] = {
      {"S25", 0, "S25: the source text could not be read"},
      {"25", 0, "S25: the source text could not be read"},
      {"1250", 0, "F1250: "},
      {"F1251", 0, "\nFix: "},
      {"unknown-keyword", 0, "unknown-keyword: a field that matches no keyword"},
      {"unknown-keywrd", 64, "did you mean 'unknown-keyword'?"},
      {"S14", 64, "'S14'"},
  };
  for (const Case& c : cases) {
    const ProgramResult result = run_program({"explain", c.id});
    EXPECT_EQ(result.exit_status, c.status) << c.id;
    const std::string& shown = c.status == 0 ? result.out : result.err;
    EXPECT_NE(shown.find(c.expected), std::string::npos) << c.id << ": " << shown;
  }
  const ProgramResult list = run_program({"explain"});
  EXPECT_EQ(list.exit_status, 0);
  for (const char* id : {"\nS1 ", "\nS103 ", "\nF1251 ", "\nkeyword-case "}) {
    EXPECT_NE(list.out.find(id), std::string::npos) << id;
  }
}

TEST(Explain, CommittedPagesOfDiagnosticsAreTheGeneratedOnes) {
  for (const auto& [page, generated_at] :
       {std::pair{"diagnostics.md", DIAGNOSTICS_DOC}, {"diagnostics.it.md", DIAGNOSTICS_DOC_IT}}) {
    const std::string committed = read_file(fs::path(SOURCE_DIR) / "docs" / page);
    const std::string generated = read_file(generated_at);
    ASSERT_FALSE(generated.empty()) << page;
    EXPECT_TRUE(committed == generated)
        << "docs/" << page << " is stale: cmake --build build --target update_diagnostics_doc";
  }
}

std::size_t count_of(const std::string& text, const std::string& part);

// A watched run: each time the program has finished a run (it took the
// files' stamps before starting it), the test saves the sources once; or,
// with `interrupt`, it interrupts the program after its first run.
ProgramResult watched(const std::vector<std::string>& args,
                      std::vector<std::pair<std::string, std::string>> saves,
                      bool interrupt = false) {
  ProgramOptions options;
  options.environment = {{"SCENARIO_COMPILER_WATCH_RUNS", interrupt ? "" : "2"}};
  options.timeout_seconds = 60;
  options.while_running = [&](pid_t child, const std::string& err_path) {
    std::size_t saved = 0;
    for (;;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      siginfo_t ended{};
      if (::waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOHANG | WNOWAIT) != 0 ||
          ended.si_pid != 0) {
        return;
      }
      const std::size_t finished = count_of(read_file(err_path), "scenario-compiler: run finished");
      if (finished == 0) continue;
      if (interrupt) {
        ::kill(child, SIGINT);
        interrupt = false;  // once
      }
      for (; saved < finished; ++saved) {
        for (auto& [path, content] : saves) {
          content += "\n";
          write_file(path, content);
        }
      }
    }
  };
  return run_program(args, options);
}

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

TEST_F(AuthorCommands, WatchRunsAgainWhenASourceIsSaved) {
  for (const char* command : {"check", "compile"}) {
    SCOPED_TRACE(command);
    const ProgramResult result =
        watched(args(command, {"--watch"}),
                {{dir_.file("Abc_12-.txt"), kTrainHead + kSignalBeyondTheGrid + kTrainTail}});
    EXPECT_EQ(result.exit_status, 1) << result.err;  // the last run found the status 15
    EXPECT_EQ(count_of(result.err, "scenario-compiler: run started\n"), 2u) << result.err;
    EXPECT_EQ(count_of(result.err, "scenario-compiler: run finished: "), 2u) << result.err;
    // The first run saw the clean source, the second the saved one.
    EXPECT_NE(result.err.find("run finished: 0 errors"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("run finished: 1 error,"), std::string::npos) << result.err;
    write_sources(kLineSource, kTrainHead + kTrainTail);
  }
}

TEST_F(AuthorCommands, WatchDoesNotTakeTheDeletingOfItsOwnSourcesForASave) {
  const ProgramResult result =
      watched(args("compile", {"--watch", "--delete-sources", "--quiet"}),
              {{dir_.file("Abc_linea.txt"), kLineSource},
               {dir_.file("Abc_12-.txt"), kTrainHead + kTrainTail}});
  EXPECT_EQ(result.exit_status, 0) << result.err;
  // Both runs found both sources: the second waited for them to be saved again.
  EXPECT_EQ(count_of(result.err, "scenario-compiler: run finished: 0 errors"), 2u) << result.err;
}

TEST_F(AuthorCommands, WatchEndsWithStatusZeroOnAnInterrupt) {
  write_sources(kLineSource, kTrainHead + kSignalBeyondTheGrid + kTrainTail);
  const ProgramResult result = watched(args("check", {"--watch"}), {}, true);
  EXPECT_EQ(result.exit_status, 0) << result.err;
  EXPECT_EQ(count_of(result.err, "scenario-compiler: run started\n"), 1u) << result.err;
}

}  // namespace
}  // namespace scenario::testing
