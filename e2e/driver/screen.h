// Pictures of the screen: for screenshots, and to tell a message box's icon from its pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, top row first
};

Image CaptureScreen(const RECT& area);
// Draws `icon` at the given size over a plain background, as a static control would.
Image RenderIcon(HICON icon, int width, int height, std::uint32_t background);
// Pixels whose colour channels differ by more than a small tolerance.
int DifferingPixels(const Image& a, const Image& b);
bool SaveBmp(const Image& image, const std::string& path);
