#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "files/file_system.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

class DiskFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("disk fs test " + std::to_string(::getpid()) + " " +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string path(const std::string& name) const { return (folder_ / name).string(); }

  static std::string content_of(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // Every name in the folder: a failed replace must leave no temporary file.
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
  }

  fs::path folder_;
  DiskFileSystem disk_;
};

TEST_F(DiskFileSystemTest, ReplaceLeavesExactlyTheNewContent) {
  const std::string file = path("a.dat");
  ASSERT_TRUE(disk_.replace(file, std::string(5000, 'x')).ok);
  const std::string shorter("\0\1\2", 3);
  ASSERT_TRUE(disk_.replace(file, shorter).ok);
  EXPECT_EQ(content_of(file), shorter);
  ASSERT_TRUE(disk_.replace(file, "").ok);
  EXPECT_EQ(fs::file_size(file), 0u);
  EXPECT_EQ(names(), std::vector<std::string>{"a.dat"});

  // The permissions of the replaced file are kept; a new file gets the defaults.
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  std::string back;
  ASSERT_TRUE(disk_.replace(file, "abc").ok);
  EXPECT_EQ(fs::status(file).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(disk_.read(file, back).ok);
  EXPECT_EQ(back, "abc");
}

TEST_F(DiskFileSystemTest, FailedRenameKeepsTheOldEntryAndRemovesTheTemporary) {
  // A folder of the target's name cannot be replaced by a file.
  const std::string target = path("grid.dat");
  fs::create_directory(target);
  std::ofstream(path("grid.dat/inside")) << "kept";
  const IoResult result = disk_.replace(target, "new");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("cannot write '" + target + "': "), std::string::npos)
      << result.message;
  EXPECT_EQ(content_of(path("grid.dat/inside")), "kept");
  EXPECT_EQ(names(), std::vector<std::string>{"grid.dat"});
}

TEST_F(DiskFileSystemTest, MissingFolderNamesTheFileAndTheReason) {
  const std::string target = path("missing/grid.dat");
  const IoResult result = disk_.replace(target, "new");
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, "cannot write '" + target + "': No such file or directory");
}

TEST_F(DiskFileSystemTest, WriteBeyondTheFileSizeLimitKeepsTheEarlierFile) {
  const std::string file = path("big.dat");
  const std::string earlier(3000, 'e');
  ASSERT_TRUE(disk_.replace(file, earlier).ok);
  // The limit applies to the child only; it reports the outcome through its
  // exit status and the message through a pipe.
  int pipe_fds[2];
  ASSERT_EQ(::pipe(pipe_fds), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {};
    limit.rlim_cur = limit.rlim_max = 1000;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    DiskFileSystem disk;
    const IoResult result = disk.replace(file, std::string(4000, 'n'));
    const ssize_t ignored = ::write(pipe_fds[1], result.message.data(), result.message.size());
    (void)ignored;
    ::_exit(result.ok ? 0 : 1);
  }
  ::close(pipe_fds[1]);
  int status = 0;
  ::waitpid(child, &status, 0);
  char buffer[512];
  const ssize_t got = ::read(pipe_fds[0], buffer, sizeof buffer);
  ::close(pipe_fds[0]);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(std::string(buffer, got > 0 ? static_cast<std::size_t>(got) : 0),
            "cannot write '" + file + "': File too large");
  EXPECT_EQ(content_of(file), earlier);
  EXPECT_EQ(names(), std::vector<std::string>{"big.dat"});
}

TEST_F(DiskFileSystemTest, LinkToAFileKeepsTheLinkAndReplacesTheFile) {
  std::ofstream(path("real.json")) << "a much longer earlier report";
  fs::create_symlink(path("real.json"), path("report.json"));
  ASSERT_TRUE(disk_.replace(path("report.json"), "{}").ok);
  EXPECT_TRUE(fs::is_symlink(path("report.json")));
  EXPECT_EQ(content_of(path("real.json")), "{}");
  EXPECT_EQ(names(), (std::vector<std::string>{"real.json", "report.json"}));
}

// Regression: a report sent to a device was renamed over it, leaving a plain
// file where /dev/null had been. A pipe stands in for the device here.
TEST_F(DiskFileSystemTest, PipeIsWrittenInPlaceNotReplaced) {
  const std::string pipe_path = path("pipe");
  ASSERT_EQ(::mkfifo(pipe_path.c_str(), 0600), 0);
  const int reader = ::open(pipe_path.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_TRUE(disk_.replace(pipe_path, "through the pipe").ok);
  char buffer[64];
  const ssize_t got = ::read(reader, buffer, sizeof buffer);
  ::close(reader);
  EXPECT_EQ(std::string(buffer, got > 0 ? static_cast<std::size_t>(got) : 0), "through the pipe");
  EXPECT_TRUE(fs::is_fifo(pipe_path));
  EXPECT_EQ(names(), std::vector<std::string>{"pipe"});
}

TEST_F(DiskFileSystemTest, ReadAndRemoveReportMissingFiles) {
  std::string content = "stale";
  const IoResult read = disk_.read(path("none.txt"), content);
  EXPECT_EQ(read.message, "cannot read '" + path("none.txt") + "': No such file or directory");
  EXPECT_FALSE(disk_.remove(path("none.txt")).ok);
  EXPECT_FALSE(disk_.exists(folder_.string()));  // a folder is not a file
  // Removing never takes a folder with it.
  fs::create_directory(path("sub"));
  EXPECT_FALSE(disk_.remove(path("sub")).ok);
  EXPECT_TRUE(fs::is_directory(path("sub")));
}

// The id of a process that has ended.
std::string ended_process() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return std::to_string(child);
}

// This process's start time as /proc gives it (clock ticks since boot).
std::string own_start_time() {
  std::ifstream in("/proc/self/stat");
  const std::string stat{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::string rest = stat.substr(stat.rfind(')') + 2);
  for (int field = 3; field < 22; ++field) rest = rest.substr(rest.find(' ') + 1);
  return rest.substr(0, rest.find(' '));
}

TEST_F(DiskFileSystemTest, ReplaceRemovesTheTemporariesOfEndedRunsForThatNameOnly) {
  const std::string ended = ended_process();
  const std::string self = std::to_string(::getpid());
  const std::vector<std::string> stale = {
      "a.dat.tmp." + ended + ".0",                       // named by an earlier version
      "a.dat.tmp." + ended + ".12345.3",
      "a.dat.tmp." + self + ".1.0",                      // this id, another process's start
  };
  const std::vector<std::string> kept = {
      "a.dat.tmp." + self + "." + own_start_time() + ".7",  // a run still at work
      "a.dat.tmp." + self + ".0",                           // might be at work
      "b.dat.tmp." + ended + ".0",                          // another name's
      "a.dat.tmp." + ended + ".0.bak",                      // not of this program
      "a.dat.tmp.x",
  };
  for (const auto& list : {stale, kept}) {
    for (const std::string& name : list) std::ofstream(path(name)) << "partial";
  }
  ASSERT_TRUE(disk_.replace(path("a.dat"), "new").ok);
  std::vector<std::string> expected = kept;
  expected.push_back("a.dat");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names(), expected);
}

}  // namespace
}  // namespace scenario
