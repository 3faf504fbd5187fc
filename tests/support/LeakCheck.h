// Fixture base: every test must return each block it took from the shared allocator.
#pragma once

#include "TDInvoice/SharedAllocator.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace TDInvoice::Testing {

class LeakCheckedTest : public ::testing::Test {
protected:
  void SetUp() override { baseline_ = sharedBlockCount(); }
  void TearDown() override {
    EXPECT_EQ(sharedBlockCount(), baseline_) << "shared allocator blocks not returned";
  }

private:
  std::int64_t baseline_ = 0;
};

} // namespace TDInvoice::Testing
