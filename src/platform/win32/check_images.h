#pragma once

#include <windows.h>

#include <commctrl.h>

namespace hf::win32 {

// The state images of a list's check boxes, drawn by code: image 0 empty,
// image 1 ticked; each size x size pixels. The caller owns the list.
HIMAGELIST createCheckImages(int size);

}  // namespace hf::win32
