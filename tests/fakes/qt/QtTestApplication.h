// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QApplication>

namespace tarnwell::testing {

// The application lives from before the first test to after the last, and is gone before the
// program's static objects are, as the toolkit requires. Register it once per test program:
//   [[maybe_unused]] const auto* const kQt = AddGlobalTestEnvironment(new QtTestApplication);
class QtTestApplication : public ::testing::Environment {
 public:
  void SetUp() override { app_ = new QApplication(argc_, argv_); }
  void TearDown() override { delete app_; }

 private:
  int argc_ = 1;
  char name_[10] = "qt_test";
  char* argv_[2] = {name_, nullptr};
  QApplication* app_ = nullptr;
};

}  // namespace tarnwell::testing
