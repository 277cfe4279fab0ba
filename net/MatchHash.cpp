#include "net/MatchHash.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace voidskirmish::net {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> filesUnder(const fs::path& folder, const char* extension) {
  std::vector<fs::path> files;
  if (!fs::is_directory(folder)) {
    return files;
  }
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file() && (extension == nullptr || entry.path().extension() == extension)) {
      files.push_back(entry.path());
    }
  }
  return files;
}

}  // namespace

void MatchHash::addBytes(const void* bytes, std::size_t size) {
  const auto* byte = static_cast<const unsigned char*>(bytes);
  for (std::size_t i = 0; i < size; ++i) {
    hash = (hash ^ byte[i]) * 1099511628211ull;
  }
}

std::string matchHashLine(std::uint32_t frame, std::uint64_t hash) {
  char hex[17] = {};
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return "Match hash at frame " + std::to_string(frame) + ": " + hex;
}

std::uint64_t runTimeFilesHash(const fs::path& root) {
  std::vector<fs::path> files = filesUnder(root / "Shader", nullptr);
  const std::vector<fs::path> models = filesUnder(root / "Material", ".dae");
  files.insert(files.end(), models.begin(), models.end());
  std::sort(files.begin(), files.end());
  MatchHash hash;
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      throw std::runtime_error("Cannot read " + file.string());
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string name = file.lexically_relative(root).generic_string();
    hash.addBytes(name.c_str(), name.size() + 1);  // the terminator keeps "ab"+"c" apart from "a"+"bc"
    hash.add(static_cast<std::uint64_t>(bytes.size()));
    hash.addBytes(bytes.data(), bytes.size());
  }
  return hash.value();
}

}  // namespace voidskirmish::net
