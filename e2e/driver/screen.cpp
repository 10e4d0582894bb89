#include "screen.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Copies `width` × `height` pixels from `source` at (x, y) into a new image.
Image CopyFromDc(HDC source, int x, int y, int width, int height, std::uint32_t background,
                 HICON icon) {
  Image image;
  if (width <= 0 || height <= 0) return image;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(source);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory == nullptr || bitmap == nullptr || bits == nullptr) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memory != nullptr) DeleteDC(memory);
    return image;
  }
  HGDIOBJ previous = SelectObject(memory, bitmap);
  if (icon != nullptr) {
    const COLORREF fill =
        RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all{0, 0, width, height};
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  } else {
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY | CAPTUREBLT);
  }
  GdiFlush();
  image.width = width;
  image.height = height;
  const auto* raw = static_cast<const std::uint32_t*>(bits);
  image.pixels.assign(raw, raw + static_cast<std::size_t>(width) * height);
  for (auto& pixel : image.pixels) pixel &= 0x00FFFFFF;
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return image;
}

}  // namespace

Image CaptureScreen(const RECT& area) {
  HDC screen = GetDC(nullptr);
  Image image = CopyFromDc(screen, area.left, area.top, area.right - area.left,
                           area.bottom - area.top, 0, nullptr);
  ReleaseDC(nullptr, screen);
  return image;
}

Image RenderIcon(HICON icon, int width, int height, std::uint32_t background) {
  HDC screen = GetDC(nullptr);
  Image image = CopyFromDc(screen, 0, 0, width, height, background, icon);
  ReleaseDC(nullptr, screen);
  return image;
}

int DifferingPixels(const Image& a, const Image& b) {
  if (a.width != b.width || a.height != b.height) return a.width * a.height + 1;
  int differing = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i) {
    for (int shift = 0; shift < 24; shift += 8) {
      const int ca = static_cast<int>((a.pixels[i] >> shift) & 0xFF);
      const int cb = static_cast<int>((b.pixels[i] >> shift) & 0xFF);
      if (std::abs(ca - cb) > 8) {
        ++differing;
        break;
      }
    }
  }
  return differing;
}

bool SaveBmp(const Image& image, const std::string& path) {
  if (image.width <= 0 || image.height <= 0) return false;
  const std::uint32_t rowBytes = static_cast<std::uint32_t>(image.width) * 3;
  const std::uint32_t stride = (rowBytes + 3) & ~3u;
  const std::uint32_t dataSize = stride * static_cast<std::uint32_t>(image.height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + dataSize;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = image.width;
  header.biHeight = image.height;  // bottom row first, as every reader expects
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = dataSize;

  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
            std::fwrite(&header, sizeof header, 1, out) == 1;
  std::vector<unsigned char> row(stride, 0);
  for (int y = image.height - 1; ok && y >= 0; --y) {
    for (int x = 0; x < image.width; ++x) {
      const std::uint32_t pixel = image.pixels[static_cast<std::size_t>(y) * image.width + x];
      row[x * 3 + 0] = static_cast<unsigned char>(pixel & 0xFF);
      row[x * 3 + 1] = static_cast<unsigned char>((pixel >> 8) & 0xFF);
      row[x * 3 + 2] = static_cast<unsigned char>((pixel >> 16) & 0xFF);
    }
    ok = std::fwrite(row.data(), 1, row.size(), out) == row.size();
  }
  return std::fclose(out) == 0 && ok;
}
