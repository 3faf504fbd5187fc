// The tdinvoice program run as a user runs it: its exit code and what it prints.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct TRun {
  int exitCode;
  std::string output; // stdout and stderr together
};

std::string shellQuoted(const std::string &text) { return "'" + text + "'"; }

// Runs the program with the given environment assignments and arguments.
TRun runHost(const std::string &environment, const std::string &arguments) {
  const std::string command = "env -u TDINVOICE_LIBRARY " + environment + " " +
                              shellQuoted(TDI_HOST_PROGRAM) + " " + arguments + " 2>&1";
  FILE *pipe = popen(command.c_str(), "r");
  if (!pipe)
    return {-1, "popen failed"};
  std::string output;
  std::array<char, 4096> chunk;
  while (std::size_t n = std::fread(chunk.data(), 1, chunk.size(), pipe))
    output.append(chunk.data(), n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// A second name for the library, so that the program's "loaded" line shows which way it
// found the library.
class HostProgramTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    FLinkDir = fs::temp_directory_path() / ("tdinvoice-host-test-" + std::to_string(getpid()));
    fs::create_directories(FLinkDir);
    FLinkedLibrary = (FLinkDir / "libLinkedInvoice.so").string();
    fs::create_symlink(TDI_LIBRARY_PATH, FLinkedLibrary);
  }
  static void TearDownTestSuite() { fs::remove_all(FLinkDir); }

  static inline fs::path FLinkDir;
  static inline std::string FLinkedLibrary;
};

struct TCase {
  const char *name;
  std::string environment;
  std::string arguments;
  int exitCode;
  std::vector<std::string> expectedTexts;
};

TEST_F(HostProgramTest, CommandLineCases) {
  const std::string library = TDI_LIBRARY_PATH;
  const std::string selftestPassed = "selftest: passed (0 failure(s))";
  const std::string noLeak = "shared allocator blocks in use: 0";
  const TCase cases[] = {
      {"library named on the command line",
       "",
       "--library " + shellQuoted(library) + " selftest",
       0,
       {"loaded " + library, selftestPassed, noLeak, "InitInvoiceDLL", "FinaliseInvoiceDLL",
        "library unloaded"}},
      {"library found beside the program",
       "",
       "selftest",
       0,
       {"loaded " + fs::canonical(library).string(), selftestPassed, noLeak}},
      {"library named by the environment",
       "TDINVOICE_LIBRARY=" + shellQuoted(FLinkedLibrary),
       "selftest",
       0,
       {"loaded " + FLinkedLibrary, selftestPassed}},
      {"command line wins over the environment",
       "TDINVOICE_LIBRARY=/nonexistent/lib.so",
       "--library " + shellQuoted(FLinkedLibrary) + " selftest",
       0,
       {"loaded " + FLinkedLibrary}},
      {"library that cannot be loaded",
       "",
       "--library /nonexistent/lib.so selftest",
       1,
       {"cannot load the invoice library", "/nonexistent/lib.so"}},
      {"library without the entry points",
       "",
       "--library " + shellQuoted(TDI_FOREIGN_LIBRARY_PATH) + " selftest",
       1,
       {"missing entry point FinaliseInvoiceDLL"}},
      {"help", "", "--help", 0, {"Usage: tdinvoice", "selftest"}},
      {"unknown command", "", "frobnicate", 2, {"Unknown command: frobnicate", "Usage:"}},
      {"no command", "", "", 2, {"no command given"}},
      {"option without its value", "", "--library", 2, {"--library needs a path"}},
      {"unknown option", "", "--colour selftest", 2, {"Unknown option: --colour"}},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.name);
    const TRun run = runHost(c.environment, c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.output;
    for (const std::string &text : c.expectedTexts)
      EXPECT_NE(run.output.find(text), std::string::npos) << "missing: " << text << "\n"
                                                          << run.output;
  }
}

// Every variant is created, checked and freed, each on its own lines.
TEST_F(HostProgramTest, SelftestWalksAllSixVariantsAndTheOwnedForm) {
  const TRun run = runHost("", "selftest");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const char *const variants[] = {
      "PaymentType 1, WithCard 0, Extended 0", "PaymentType 0, WithCard 0, Extended 1",
      "PaymentType 2, WithCard 0, Extended 0", "PaymentType 2, WithCard 0, Extended 1",
      "PaymentType 3, WithCard 0, Extended 0", "PaymentType 3, WithCard 1, Extended 0"};
  for (const char *variant : variants)
    EXPECT_NE(run.output.find(variant), std::string::npos) << variant;
  EXPECT_NE(run.output.find("form destroyed with its owner"), std::string::npos);
  EXPECT_EQ(run.output.find("FAILED"), std::string::npos) << run.output;
}

} // namespace
