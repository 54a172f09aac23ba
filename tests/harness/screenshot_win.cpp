#include <windows.h>

#include <array>

#include "harness/files_win.h"
#include "harness/screenshot_win.h"
#include "win/handles_win.h"

namespace dw::harness {
namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t n, std::uint32_t crc = 0) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

void Chunk(std::vector<std::uint8_t>& png, const char* type,
           const std::vector<std::uint8_t>& data) {
    PutBe32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBe32(png, Crc32(png.data() + start, png.size() - start));
}

// A zlib stream of stored (uncompressed) deflate blocks: no compressor
// needed, and every viewer reads it.
std::vector<std::uint8_t> ZlibStored(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> z = {0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t len = std::min<std::size_t>(65535, raw.size() - pos);
        const bool last = pos + len == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(len));
        z.push_back(static_cast<std::uint8_t>(len >> 8));
        z.push_back(static_cast<std::uint8_t>(~len));
        z.push_back(static_cast<std::uint8_t>(~len >> 8));
        z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + len);
        pos += len;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBe32(z, (b << 16) | a);
    return z;
}

}  // namespace

bool WritePng(const std::wstring& path, int width, int height,
              const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<std::size_t>(width) * height * 3)
        return false;
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(width * 3 + 1) * height);
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter: none
        const auto row = rgb.begin() + static_cast<std::ptrdiff_t>(y) * width * 3;
        raw.insert(raw.end(), row, row + width * 3);
    }
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> ihdr;
    PutBe32(ihdr, static_cast<std::uint32_t>(width));
    PutBe32(ihdr, static_cast<std::uint32_t>(height));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
    Chunk(png, "IHDR", ihdr);
    Chunk(png, "IDAT", ZlibStored(raw));
    Chunk(png, "IEND", {});
    win::UniqueHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return f && WriteFile(f.get(), png.data(), static_cast<DWORD>(png.size()), &written, nullptr) &&
           written == png.size();
}

namespace {

// The screen's pixels inside area as RGB rows; empty if they could not be read.
std::vector<std::uint8_t> CaptureRgb(const RECT& area) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    std::vector<std::uint8_t> rgb;
    if (w <= 0 || h <= 0) return rgb;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down rows
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (dib && mem) {
        HGDIOBJ old = SelectObject(mem, dib);
        const bool captured =
            BitBlt(mem, 0, 0, w, h, screen, area.left, area.top, SRCCOPY) != FALSE;
        GdiFlush();
        if (captured) {
            rgb.resize(static_cast<std::size_t>(w) * h * 3);
            const auto* px = static_cast<const std::uint8_t*>(bits);
            for (std::size_t i = 0, n = static_cast<std::size_t>(w) * h; i < n; ++i) {
                rgb[i * 3] = px[i * 4 + 2];  // BGRA -> RGB
                rgb[i * 3 + 1] = px[i * 4 + 1];
                rgb[i * 3 + 2] = px[i * 4];
            }
        }
        SelectObject(mem, old);
    }
    if (dib) DeleteObject(dib);
    if (mem) DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return rgb;
}

}  // namespace

std::wstring SaveScreenshot(const std::wstring& name) {
    const RECT all{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const std::vector<std::uint8_t> rgb = CaptureRgb(all);
    if (rgb.empty()) return {};
    const std::wstring dir = ThisExeDirectory() + L"\\screenshots";
    CreateDirectories(dir);
    const std::wstring path = dir + L"\\" + name + L".png";
    return WritePng(path, all.right, all.bottom, rgb) ? path : std::wstring();
}

bool SaveScreenshotOf(const std::wstring& path, const RECT& area) {
    const std::vector<std::uint8_t> rgb = CaptureRgb(area);
    return !rgb.empty() && WritePng(path, area.right - area.left, area.bottom - area.top, rgb);
}

}  // namespace dw::harness
