// The program plays the host: it publishes the shared allocator before the library code
// linked into it makes its own application objects, and runs a Qt application, since the
// forms measure text.
#include "TDInvoice/SharedAllocator.h"
#include "framework/ApplicationObjects.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
  TDInvoice::initialiseSharedAllocator();
  TDInvoice::createOwnApplicationObjects();
  ::testing::InitGoogleTest(&argc, argv);
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  const int result = RUN_ALL_TESTS();
  TDInvoice::destroyOwnApplicationObjects();
  return result;
}
