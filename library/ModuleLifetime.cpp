// Start-up and shut-down of the shared library, around everything else in it.
#include "TDInvoice/SharedAllocator.h"
#include "framework/ApplicationObjects.h"

namespace {

// Priority 101 runs before every other initialiser of the module, so that nothing
// allocates a boundary object from the wrong heap.
__attribute__((constructor(101))) void loadModule() {
  TDInvoice::initialiseSharedAllocator();
  TDInvoice::createOwnApplicationObjects();
}

__attribute__((destructor(101))) void unloadModule() {
  TDInvoice::destroyOwnApplicationObjects();
  TDInvoice::finaliseSharedAllocator();
}

} // namespace
