// Runs a fuzz target (LLVMFuzzerTestOneInput, the interface libFuzzer also uses) on its seed files and on a
// fixed number of mutations of them, so the sanitizer build tries the same damaged inputs on every machine.
// usage: fuzz_NAME [--runs N] [--seed S] SEED_FILE_OR_FOLDER...
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

void addSeed(const std::filesystem::path& path, std::vector<Bytes>& seeds) {
  if (std::filesystem::is_directory(path)) {
    std::vector<std::filesystem::path> files(std::filesystem::directory_iterator(path), {});
    std::sort(files.begin(), files.end());  // the order of a folder's listing differs between machines
    for (const auto& file : files) addSeed(file, seeds);
    return;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "fuzz: cannot read %s\n", path.c_str());
    std::exit(2);
  }
  seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Bytes parsers trip over: limits of signed and unsigned sizes, line ends, separators, digits.
constexpr std::uint8_t INTERESTING[] = {0x00, 0x01, 0x7f, 0x80, 0xff, '\n', '\r', ' ', '#', '-', '.', '0', '9', 'e'};

void mutate(Bytes& bytes, const std::vector<Bytes>& seeds, std::mt19937& random) {
  const auto below = [&](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(random() % n); };
  for (unsigned changes = 1 + random() % 8; changes > 0; --changes) {
    const std::size_t at = below(bytes.size() + 1);
    switch (random() % 7) {
      case 0:
        if (at < bytes.size()) bytes[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        break;
      case 1:
        if (at < bytes.size()) bytes[at] = INTERESTING[below(sizeof INTERESTING)];
        break;
      case 2:
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::uint8_t>(random()));
        break;
      case 3: {  // cut a stretch
        const std::size_t length = std::min(bytes.size() - std::min(at, bytes.size()), below(64) + 1);
        bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at, bytes.size())),
                    bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at, bytes.size()) + length));
        break;
      }
      case 4: {  // repeat a stretch
        if (bytes.empty()) break;
        const std::size_t from = below(bytes.size());
        const std::size_t length = std::min(bytes.size() - from, below(64) + 1);
        const Bytes copy(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                         bytes.begin() + static_cast<std::ptrdiff_t>(from + length));
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), copy.begin(), copy.end());
        break;
      }
      case 5: {  // a number at its limits
        static const char* const numbers[] = {"4294967296", "-1", "9223372036854775808", "1e999", "nan", "0x10"};
        const std::string number = numbers[below(std::size(numbers))];
        bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), number.begin(), number.end());
        break;
      }
      default: {  // the tail of another seed
        const Bytes& other = seeds[below(seeds.size())];
        bytes.resize(std::min(at, bytes.size()));
        bytes.insert(bytes.end(), other.begin() + static_cast<std::ptrdiff_t>(below(other.size())), other.end());
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  unsigned long runs = 20000, seed = 1;
  std::vector<Bytes> seeds;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if ((argument == "--runs" || argument == "--seed") && i + 1 < argc) {
      (argument == "--runs" ? runs : seed) = std::strtoul(argv[++i], nullptr, 10);
    } else {
      addSeed(argument, seeds);
    }
  }
  if (seeds.empty()) seeds.emplace_back();
  for (const Bytes& bytes : seeds) LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
  Bytes bytes;
  for (unsigned long run = 0; run < runs; ++run) {
    bytes = seeds[random() % seeds.size()];
    mutate(bytes, seeds, random);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::printf("fuzz: %zu seeds and %lu mutations, no fault\n", seeds.size(), runs);
  return 0;
}
