#pragma once

#include <windows.h>

#include <optional>

#include "platform/resources.h"

namespace hf::win32 {

// Paints an owner-drawn push button: its face colour (the system's when none),
// raised or pressed edges, and either the picture or the centred caption.
void drawButtonFace(const DRAWITEMSTRUCT& item, std::optional<COLORREF> face, Image picture,
                    HFONT font, int dpi);

}  // namespace hf::win32
