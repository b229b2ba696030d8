// One QApplication on the offscreen platform serves every widget test of this executable.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

class WidgetApplication final : public ::testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "tq474-ui-tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

const ::testing::Environment* const kApplication =
    ::testing::AddGlobalTestEnvironment(new WidgetApplication);

}  // namespace
