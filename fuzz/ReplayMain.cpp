// Replays fuzz inputs without libFuzzer: every file named on the command line, and every
// file inside a named folder, is passed to the fuzz entry point once.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

namespace {
int replayFile(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return 1;
  }
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
  return 0;
}
}  // namespace

int main(int argc, char **argv) {
  int failures = 0, replayed = 0;
  for (int i = 1; i < argc; ++i) {
    std::filesystem::path arg(argv[i]);
    if (std::filesystem::is_directory(arg)) {
      for (const auto &entry : std::filesystem::recursive_directory_iterator(arg))
        if (entry.is_regular_file()) {
          failures += replayFile(entry.path());
          ++replayed;
        }
    } else {
      failures += replayFile(arg);
      ++replayed;
    }
  }
  std::printf("replayed %d inputs\n", replayed);
  return failures ? 1 : 0;
}
