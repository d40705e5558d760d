#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "platform/files.h"
#include "platform/headless/simulation.h"
#include "platform/text_codec.h"

// A started main window on a fresh simulated desktop, with its program
// folder in a temporary folder of its own.
class AppTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("hotfill-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    hf::headless::reset(folder_);
  }
  void TearDown() override {
    window_.reset();
    std::filesystem::remove_all(folder_);
  }

  hf::app::MainWindow& start() {
    window_ = std::make_unique<hf::app::MainWindow>();
    window_->startUp();
    return *window_;
  }
  std::filesystem::path file(const std::string& gbkName) const {
    return folder_ / hf::codec::pathFromGbk(gbkName);
  }
  void write(const std::string& gbkName, const std::string& bytes) const {
    std::ofstream(file(gbkName), std::ios::binary) << bytes;
  }
  std::string read(const std::string& gbkName) const {
    return hf::files::readWhole(file(gbkName)).value_or("<missing>");
  }

  std::filesystem::path folder_;
  std::unique_ptr<hf::app::MainWindow> window_;
};
