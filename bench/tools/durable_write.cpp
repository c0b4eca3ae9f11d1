// The baseline of the whole-program measurements: one small process that
// writes files of given sizes the way the compiler replaces its files, and
// nothing else: a temporary name in the same folder, one large write, fsync,
// close, rename over the final name, fsync of the folder.
//   durable_write DIR NAME=SIZE...

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: durable_write DIR NAME=SIZE...\n");
    return 64;
  }
  const std::string folder = argv[1];
  std::vector<std::pair<std::string, std::size_t>> files;
  std::size_t largest = 0;
  for (int i = 2; i < argc; ++i) {
    const char* equals = std::strchr(argv[i], '=');
    if (equals == nullptr) return 64;
    const std::size_t size = std::strtoull(equals + 1, nullptr, 10);
    files.emplace_back(std::string(argv[i], static_cast<std::size_t>(equals - argv[i])), size);
    if (size > largest) largest = size;
  }
  // The bytes of every file are made once, as a compiler makes each file's bytes.
  std::vector<char> bytes(largest, 'x');
  const int folder_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  for (const auto& [name, size] : files) {
    const std::string path = folder + "/" + name;
    const std::string temporary = path + ".tmp." + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return 3;
    std::size_t done = 0;
    while (done < size) {
      const ssize_t put = ::write(fd, bytes.data() + done, size - done);
      if (put <= 0) return 3;
      done += static_cast<std::size_t>(put);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) return 3;
    if (std::rename(temporary.c_str(), path.c_str()) != 0) return 3;
    ::fsync(folder_fd);
  }
  ::close(folder_fd);
  return 0;
}
