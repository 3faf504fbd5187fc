// The program plays the host: it publishes the shared allocator, and the library code linked
// into it creates its own application objects as it does when loaded. The forms will carry
// widgets and fonts, so the Qt application is a QApplication.
#include "TDInvoice/SharedAllocator.h"
#include "framework/ApplicationObjects.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
  TDInvoice::initialiseSharedAllocator();
  TDInvoice::createOwnApplicationObjects();
  ::testing::InitGoogleTest(&argc, argv);
  // Also when the test runner lists the tests, outside the tests' environment.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int result = RUN_ALL_TESTS();
  TDInvoice::destroyOwnApplicationObjects();
  return result;
}
