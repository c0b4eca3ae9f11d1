#include "run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace scenario::testing {
namespace {

std::string slurp(int fd) {
  std::string data;
  char buffer[4096];
  ssize_t got = 0;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0) data.append(buffer, static_cast<std::size_t>(got));
  return data;
}

}  // namespace

ProgramResult run_program(const std::vector<std::string>& args, const ProgramOptions& options) {
  const std::string executable =
      options.executable.empty() ? std::string(SCENARIO_COMPILER_EXE) : options.executable;
  // Output goes to files rather than pipes so that a chatty child never blocks.
  char out_name[] = "/tmp/scenario-out-XXXXXX";
  char err_name[] = "/tmp/scenario-err-XXXXXX";
  const int out_fd = ::mkstemp(out_name);
  const int err_fd = ::mkstemp(err_name);
  if (out_fd < 0 || err_fd < 0) throw std::runtime_error("cannot make capture files");

  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(out_fd, STDOUT_FILENO);
    ::dup2(err_fd, STDERR_FILENO);
    const int null_fd = ::open("/dev/null", O_RDONLY);
    if (null_fd >= 0) ::dup2(null_fd, STDIN_FILENO);
    if (!options.working_dir.empty() && ::chdir(options.working_dir.c_str()) != 0) ::_exit(126);
    for (const auto& [name, value] : options.environment) ::setenv(name.c_str(), value.c_str(), 1);
    if (options.file_size_limit >= 0) {
      struct rlimit limit {};
      limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(options.file_size_limit);
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (options.timeout_seconds > 0) ::alarm(options.timeout_seconds);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(executable.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(executable.c_str(), argv.data());
    ::_exit(127);
  }
  if (options.while_running) options.while_running(child, err_name);
  if (options.kill_after_us >= 0) {
    ::usleep(static_cast<useconds_t>(options.kill_after_us));
    ::kill(child, SIGKILL);
  }
  int wait_status = 0;
  ::waitpid(child, &wait_status, 0);
  ProgramResult result;
  if (WIFEXITED(wait_status)) result.exit_status = WEXITSTATUS(wait_status);
  if (WIFSIGNALED(wait_status)) result.signal = WTERMSIG(wait_status);
  ::lseek(out_fd, 0, SEEK_SET);
  ::lseek(err_fd, 0, SEEK_SET);
  result.out = slurp(out_fd);
  result.err = slurp(err_fd);
  ::close(out_fd);
  ::close(err_fd);
  ::unlink(out_name);
  ::unlink(err_name);
  return result;
}

TempDir::TempDir(const std::string& name_hint) {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  path_ = std::filesystem::temp_directory_path() /
          (name_hint + " " + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
           std::to_string(random()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_file(const std::filesystem::path& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

}  // namespace scenario::testing
