#include "render/NearestFirst.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <numeric>

namespace voidskirmish::render {

const std::vector<std::uint32_t>& NearestFirst::order(const std::vector<glm::vec4>& spheres, std::uint32_t count,
                                                      glm::vec3 eye) {
  count = std::min(count, static_cast<std::uint32_t>(spheres.size()));
  order_.resize(count);
  distances_.resize(count);
  std::iota(order_.begin(), order_.end(), 0u);
  for (std::uint32_t i = 0; i < count; ++i) {
    distances_[i] = glm::distance(glm::vec3(spheres[i]), eye) - spheres[i].w;
  }
  std::sort(order_.begin(), order_.end(), [this](std::uint32_t a, std::uint32_t b) {
    return distances_[a] < distances_[b];
  });
  return order_;
}

}  // namespace voidskirmish::render
