#include "model/stored_path.h"

#include <algorithm>

#include "model/byte_reader.h"

std::string_view StoredPath(std::span<const std::uint8_t> image, const TextureRef& ref) {
  // In 64 bits: a 32-bit std::size_t would wrap an offset near 4 GiB round to the image's start.
  const std::uint64_t start = std::uint64_t{ref.lengthOffset} + 4;
  if (ref.tailOffset < start || !ByteReader(image).Holds(start, ref.tailOffset - start)) return {};
  const auto path = image.subspan(start, ref.tailOffset - start);
  const auto end = std::ranges::find(path, std::uint8_t{0});
  return {reinterpret_cast<const char*>(path.data()), static_cast<std::size_t>(end - path.begin())};
}
