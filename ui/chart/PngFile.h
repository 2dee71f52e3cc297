#pragma once

// Pictures saved as PNG files through the Windows Imaging Component.

#include <windows.h>

#include <functional>
#include <string>

// Draws with `draw` into an off-screen picture of width x height pixels and writes it to path as
// a 24-bit PNG. The picture goes to a temporary file beside path first, which then replaces path,
// so that a failure leaves whatever was there. False on failure, with the system's reason in
// *reason when it gives one (UTF-8).
bool SavePictureAsPng(const std::wstring& path, int width, int height,
                      const std::function<void(HDC dc, const RECT& area)>& draw,
                      std::string* reason = nullptr);

// The PNG signature every such file begins with.
constexpr unsigned char PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
