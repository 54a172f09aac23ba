#pragma once
// PNG screenshots of the screen, or of a part of it; whole ones are kept in the build tree beside
// the test program (directory "screenshots").
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace dw::harness {

// Captures the screen to <test exe dir>\screenshots\<name>.png; returns the
// file's path, or an empty string if it could not be written.
std::wstring SaveScreenshot(const std::wstring& name);
// Captures one part of the screen (screen coordinates) to path.
bool SaveScreenshotOf(const std::wstring& path, const RECT& area);

// Writes 8-bit RGB pixels (rows top to bottom, 3 bytes a pixel) as a PNG.
bool WritePng(const std::wstring& path, int width, int height,
              const std::vector<std::uint8_t>& rgb);

}  // namespace dw::harness
