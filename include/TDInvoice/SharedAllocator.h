// The allocator shared by the host and the invoice library.
//
// Every object and buffer that crosses the library boundary (lists and their items,
// history items, string buffers) is allocated and freed through the module's current
// allocator record. At load, a module adopts the record another module of the process
// published, or publishes its own; so host and library allocate from one heap whichever
// side frees.
#pragma once

#include <cstddef>
#include <cstdint>

namespace TDInvoice {

struct TAllocatorRecord {
  void *(*Allocate)(std::size_t size);
  void (*Free)(void *block);
  void *(*Resize)(void *block, std::size_t size);
  std::int64_t (*BlockCount)();
  std::int64_t (*BytesInUse)();
};

enum class TAllocatorRole { None, Publisher, Adopter };

// The module's own counting allocator (never replaced).
const TAllocatorRecord &ownAllocator();

// The allocator this module currently allocates boundary objects from.
const TAllocatorRecord &currentAllocator();

// Publish-or-adopt, run once when the module starts. Idempotent.
// Publishing failure prints "Shared Memory Allocator setup failed: Cannot register class."
// with the caption "Shared Allocator" and ends the process.
void initialiseSharedAllocator();

// At unload: a publisher withdraws its record, an adopter reinstalls its own allocator.
void finaliseSharedAllocator();

TAllocatorRole sharedAllocatorRole();

inline void *sharedAlloc(std::size_t size) { return currentAllocator().Allocate(size); }
inline void sharedFree(void *block) {
  if (block)
    currentAllocator().Free(block);
}
inline std::int64_t sharedBlockCount() { return currentAllocator().BlockCount(); }

// String buffers handed across the boundary: the text is preceded by a 32-bit word holding
// the buffer's total size in bytes (size word included); the receiver frees the allocation
// that starts at the size word.
char *allocStringBuffer(const char *text, std::size_t length);
char *allocStringBuffer(const char *text);  // null-terminated
void freeStringBuffer(char *text);

// Boundary classes derive from this so that new/delete go through the shared allocator.
class TSharedObject {
public:
  static void *operator new(std::size_t size) { return sharedAlloc(size); }
  static void operator delete(void *block) { sharedFree(block); }
};

}  // namespace TDInvoice
