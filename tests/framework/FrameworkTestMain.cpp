// Forms need a Qt event loop for deferred release; the program plays the host, so it
// publishes the shared allocator first.
#include "TDInvoice/SharedAllocator.h"
#include "framework/ApplicationObjects.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
  TDInvoice::initialiseSharedAllocator();
  TDInvoice::createOwnApplicationObjects();
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication application(argc, argv);
  const int result = RUN_ALL_TESTS();
  TDInvoice::destroyOwnApplicationObjects();
  return result;
}
