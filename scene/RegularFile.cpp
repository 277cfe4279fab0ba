#include "scene/RegularFile.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace voidskirmish::scene {

std::optional<std::string> whyNotRegularFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);  // follows links
  if (status.type() == std::filesystem::file_type::not_found) {
    return "no such file";
  }
  if (error) {
    return error.message();
  }
  if (status.type() != std::filesystem::file_type::regular) {
    return "not a regular file";
  }
  return std::nullopt;
}

std::optional<std::string> readRegularFile(const std::string& path, std::uintmax_t maxBytes) {
  std::error_code error;
  if (whyNotRegularFile(path) || std::filesystem::file_size(path, error) > maxBytes || error) {
    return std::nullopt;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file.good()) {
    return std::nullopt;
  }
  return std::string{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace voidskirmish::scene
