// Runs the built guidegate binary in a fresh directory, for the end-to-end checks that compare
// runs with each other or look at more than fixed outputs (tests/e2e/cases holds those).
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

inline const std::string kBinary = GUIDEGATE_BINARY;

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

// The text in single quotes for the shell; a quote inside becomes '\''.
inline std::string shellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One temporary directory per test: its "work" folder holds the inputs and is the current
// directory of every run; the captured streams lie beside it. Removed at the end.
class Workspace {
 public:
  Workspace() {
    std::string pattern = (std::filesystem::temp_directory_path() / "guidegate-e2e-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    std::filesystem::create_directory(work());
  }
  ~Workspace() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  std::filesystem::path work() const { return root_ / "work"; }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(work() / name, std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) const { return readBytes(work() / name); }
  // The names in the work folder, sorted.
  std::set<std::string> files() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(work())) names.insert(entry.path().filename());
    return names;
  }

  // Runs the binary with `environment` (NAME=value pairs) added to the inherited one.
  RunResult run(const std::vector<std::string>& arguments,
                const std::vector<std::pair<std::string, std::string>>& environment = {}) const {
    std::string command = "cd " + shellQuote(work()) + " && ";
    for (const auto& [name, value] : environment) command += name + "=" + shellQuote(value) + " ";
    command += shellQuote(kBinary);
    for (const auto& argument : arguments) command += " " + shellQuote(argument);
    command += " >" + shellQuote(root_ / "stdout") + " 2>" + shellQuote(root_ / "stderr");
    const int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = readBytes(root_ / "stdout");
    result.err = readBytes(root_ / "stderr");
    return result;
  }

 private:
  std::filesystem::path root_;
};

// A results file of the analyzer holding `children` under its root.
inline std::string resultsXml(const std::string& children, const std::string& version = "3") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<results version=\"" + version +
         "\">\n<tarnwick version=\"2.14\"/>\n" + children + "</results>\n";
}

}  // namespace e2e
