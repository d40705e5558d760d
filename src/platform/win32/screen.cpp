// Grabs of the screen and of windows through GDI, and picture decoding
// through WIC.
#include "platform/screen.h"

#include <windows.h>

#include <wincodec.h>

#include <algorithm>
#include <climits>
#include <new>

#include "platform/win32/bitmaps.h"
#include "platform/win32/display.h"

namespace hf::screen {
namespace {

// A COM interface pointer released when it goes.
template <class Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_) pointer_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  Interface** put() { return &pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

// COM on the calling thread for one call; a thread that already has COM in
// another apartment model keeps it (RPC_E_CHANGED_MODE), which WIC accepts.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT result_;
};

}  // namespace

Bitmap grabScreen() {
  const Size size = desktop::screenSize();
  return grabScreen({0, 0, size.width, size.height});
}

// Into a bitmap of the display's own format, read out once: under Wine a
// third faster than copying into a DIB section.
Bitmap grabScreen(Rect area) {
  const Size size = desktop::screenSize();
  const Rect visible = intersection(area, {0, 0, size.width, size.height});
  if (visible.width <= 0) return {};
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, visible.width, visible.height);
  bool copied = false;
  if (memory && bitmap) {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    copied = BitBlt(memory, 0, 0, visible.width, visible.height, screen, visible.left, visible.top,
                    SRCCOPY) != FALSE;
    SelectObject(memory, previous);
  }
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  std::optional<Bitmap> picture;
  if (copied) picture = win32::pictureOfDeviceBitmap(bitmap);
  if (bitmap) DeleteObject(bitmap);
  return picture ? std::move(*picture) : Bitmap();
}

// The window paints itself (PrintWindow) into a picture of its whole frame;
// the client area is cut out of that.
std::optional<WindowPicture> grabWindow(desktop::WindowId window) {
  win32::ensureDpiAware();
  const auto hwnd = reinterpret_cast<HWND>(window);
  if (!hwnd || !IsWindow(hwnd) || IsIconic(hwnd) || !IsWindowVisible(hwnd)) return std::nullopt;
  RECT frame{};
  RECT client{};
  POINT origin{0, 0};
  if (!GetWindowRect(hwnd, &frame) || !GetClientRect(hwnd, &client) ||
      !ClientToScreen(hwnd, &origin))
    return std::nullopt;
  win32::PixelCanvas canvas(frame.right - frame.left, frame.bottom - frame.top);
  if (!canvas.valid() || !PrintWindow(hwnd, canvas.dc(), 0)) return std::nullopt;
  const Rect clientInFrame{origin.x - frame.left, origin.y - frame.top, client.right,
                           client.bottom};
  Bitmap picture = canvas.picture(
      intersection(clientInFrame, {0, 0, frame.right - frame.left, frame.bottom - frame.top}));
  if (picture.empty()) return std::nullopt;
  return WindowPicture{std::move(picture), {origin.x, origin.y}};
}

// Every format WIC knows is decoded to 32-bit BGRA, the one target it
// reaches from palette PNGs too.
std::optional<Bitmap> decodePicture(std::string_view bytes) {
  if (bytes.empty() || static_cast<unsigned long long>(bytes.size()) > UINT_MAX)
    return std::nullopt;
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  UINT width = 0;
  UINT height = 0;
  auto* data = reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()));
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(factory.put()))) ||
      FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(data, static_cast<DWORD>(bytes.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())) ||
      FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 ||
      static_cast<long long>(width) * height > kMaxPicturePixels)
    return std::nullopt;
  try {
    Bitmap picture(static_cast<int>(width), static_cast<int>(height));
    auto* pixels = reinterpret_cast<BYTE*>(picture.pixels.data());
    if (FAILED(converter->CopyPixels(nullptr, width * 4, width * height * 4, pixels)))
      return std::nullopt;
    for (std::uint32_t& pixel : picture.pixels) pixel &= 0x00FFFFFF;
    return picture;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace hf::screen
