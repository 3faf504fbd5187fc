// Runs a callable that must throw E and hands back the exception's message, so that a test
// can check both the type and the wording.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace TDInvoice::Testing {

template <class E, class F> std::string thrownMessage(F &&call) {
  try {
    call();
  } catch (const E &error) {
    return error.what();
  } catch (const std::exception &other) {
    ADD_FAILURE() << "unexpected exception type: " << other.what();
    return {};
  }
  ADD_FAILURE() << "nothing was thrown";
  return {};
}

} // namespace TDInvoice::Testing
