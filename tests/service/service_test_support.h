// Shared helpers of the demo service tests: a scratch folder, queries as the client sends them,
// and commands that play other clients.
#pragma once

#include <spawn.h>
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::testing {

// A new empty folder, removed with everything in it at the end of the test.
class TemporaryFolder {
 public:
  TemporaryFolder();
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  std::filesystem::path path(std::string_view name) const { return folder_ / name; }

 private:
  std::filesystem::path folder_;
};

// The whole content of a file; empty when it cannot be read.
std::string fileText(const std::filesystem::path& path);

// Bytes percent-encoded one by one as the client's HTTP layer does: all but A-Z a-z 0-9 - . _ ~ /
std::string percentEncoded(std::string_view bytes);

struct CommandResult {
  int status = -1;
  std::string output;  // standard output
};

// Runs a shell command; a proxy the environment may name is not asked for loopback.
CommandResult runCommand(const std::string& command);

// Starts the program `arguments` name first, with `actions` on its descriptors, and gives its
// process id; 0 when it could not be started.
pid_t startProgram(std::vector<std::string> arguments, const posix_spawn_file_actions_t& actions);

}  // namespace velmora::testing
