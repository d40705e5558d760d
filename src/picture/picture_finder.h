#pragma once

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/bitmap.h"
#include "platform/geometry.h"

// The picture finder behind the find-image steps: the four operations the
// macro replay and the instant preview call (SetPath, FindPicE, MoveTo,
// UnBindWindow), done by the system's own exact picture search. The screen,
// the picture decoder and the mouse come in as functions, so the finder
// knows no operating system.
namespace hf::picture {

class PictureFinder {
 public:
  // A picture file in a format other than BMP, decoded; nothing when it cannot be.
  using Decoder = std::function<std::optional<Bitmap>(const std::filesystem::path&)>;
  // The whole screen, its top-left pixel at screen (0, 0); nothing when it cannot be grabbed.
  using ScreenGrab = std::function<std::optional<Bitmap>()>;
  using MoveMouse = std::function<void(Point)>;

  PictureFinder(Decoder decode, ScreenGrab grabScreen, MoveMouse moveMouse);

  // The folder that picture names are relative to.
  void SetPath(const std::filesystem::path& folder);

  // Searches the screen rectangle (x1, y1) to (x2, y2), both corners
  // included, for the picture exactly and gives "index|x|y": the index of
  // the picture found and the screen position of its top-left corner; or
  // "-1|-1|-1". `names` is a GBK file name relative to the SetPath folder,
  // or several joined by "|": they are tried in that order, index 0 first,
  // and the first one found is given. Each is searched top row first, left
  // to right (the first place by its top-left corner); each picture is read
  // by readPicture. The colour tolerance, the similarity and the direction
  // are accepted for the call's shape: the search is always exact and in
  // the order above. A screen or picture too large to hold in memory is
  // not found.
  std::string FindPicE(int x1, int y1, int x2, int y2, std::string_view names,
                       std::string_view colourTolerance, double similarity, int direction);

  void MoveTo(int x, int y);

  // The one reader of the pictures searched for: a BMP file is read here,
  // other formats go to the decoder. Nothing when the file cannot be read,
  // is no picture this reader knows, or is too large to hold in memory, so
  // whoever takes a picture's size from it searches for what it read.
  std::optional<Bitmap> readPicture(const std::filesystem::path& file) const;

  // Nothing is bound to a window, so there is nothing to undo.
  void UnBindWindow() {}

 private:
  std::optional<Bitmap> grabbedScreen() const;

  const Decoder decode_;
  const ScreenGrab grabScreen_;
  const MoveMouse moveMouse_;
  // The UI thread and the replay worker both call; the folder is the only
  // state they share.
  mutable std::mutex folderLock_;
  std::filesystem::path folder_;
};

}  // namespace hf::picture
