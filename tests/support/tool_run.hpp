#pragma once
// Running the build's own command-line tools from tests, and reading back the files they write.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>

namespace tb::test {

struct ToolRun {
    int exit_code = -1;  // -1: it could not be started, or did not exit by itself
    std::string output;  // its stdout and stderr together
};

// Runs a shell command line with its stderr taken into its stdout.
inline ToolRun run_tool(const std::string& command_line) {
    ToolRun r;
    FILE* p = popen((command_line + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) r.output.append(buf, n);
    const int status = pclose(p);
    r.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// A file's bytes; empty when it cannot be read.
inline std::string read_file(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace tb::test
