#include "ModuleEnvironment.h"

#include <gtest/gtest.h>

#include <memory>

#include "HostApplication.h"
#include "InProcessHost.h"

namespace VelaTest {
namespace {

class ModuleEnvironment final : public ::testing::Environment {
public:
  void SetUp() override {
    host_ = std::make_unique<Vela::InProcessHost>();
    ASSERT_EQ(host_->Status(), S_OK);
    ASSERT_EQ(Module().Load(), S_OK) << "MultipointCalibration.dll beside the test executable";
  }
  void TearDown() override {
    Vela::HostApplication::Instance().Clear();
    host_.reset();
  }

private:
  std::unique_ptr<Vela::InProcessHost> host_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new ModuleEnvironment);

} // namespace

Vela::ModuleHost& Module() {
  static Vela::ModuleHost module;
  return module;
}

std::int32_t LiveModuleObjects() {
  return Module().LiveObjects();
}

} // namespace VelaTest
