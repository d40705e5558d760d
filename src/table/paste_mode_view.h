#pragma once

namespace hf::table {

// The paste mode chosen, as the table's editors and imports need it. The
// paste engine owns the mode and answers; the table knows no paste mode.
class PasteModeView {
 public:
  // Column 4 holds a number of Enter presses rather than the word "回车".
  virtual bool countsEnterPresses() const = 0;
  virtual bool deliversPictures() const = 0;
  virtual bool pastesAtRandom() const = 0;
  virtual bool pastesAllMarkedAtOnce() const = 0;
  // Dropped pictures choose the first mode that pastes pictures with text.
  virtual void choosePicturesWithText() = 0;

 protected:
  ~PasteModeView() = default;
};

}  // namespace hf::table
