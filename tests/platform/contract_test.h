// The fixture every contract suite shares: each test runs once per implementation.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "machine.h"

namespace morvanta::testing {

class ContractTest : public ::testing::TestWithParam<MachineKind> {
 protected:
  void SetUp() override { machine_ = Machine::Create(GetParam()); }
  void TearDown() override { machine_.reset(); }
  platform::Platform P() { return machine_->Get(); }
  Machine& M() { return *machine_; }

 private:
  std::unique_ptr<Machine> machine_;
};

inline std::string MachineParamName(const ::testing::TestParamInfo<MachineKind>& info) {
  return Machine::KindName(info.param);
}

}  // namespace morvanta::testing

// Declares a contract suite: `class Name : public ContractTest` run on every machine.
#define MORVANTA_CONTRACT_SUITE(Name)                                                \
  class Name : public ::morvanta::testing::ContractTest {};                          \
  INSTANTIATE_TEST_SUITE_P(Machines, Name,                                           \
                           ::testing::ValuesIn(::morvanta::testing::Machine::Available()), \
                           ::morvanta::testing::MachineParamName)
