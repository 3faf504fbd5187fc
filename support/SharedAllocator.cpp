#include "TDInvoice/SharedAllocator.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <unistd.h>

namespace TDInvoice {
namespace {

// Blocks carry their size in a 16-byte prefix so that Free and Resize can keep the
// statistics without asking the C library.
constexpr std::size_t kPrefix = 16;

std::atomic<std::int64_t> gBlocks{0};
std::atomic<std::int64_t> gBytes{0};

void *ownAllocate(std::size_t size) {
  auto *raw = static_cast<unsigned char *>(std::malloc(size + kPrefix));
  if (!raw)
    throw std::bad_alloc();
  std::memcpy(raw, &size, sizeof size);
  gBlocks.fetch_add(1, std::memory_order_relaxed);
  gBytes.fetch_add(static_cast<std::int64_t>(size), std::memory_order_relaxed);
  return raw + kPrefix;
}

void ownFree(void *block) {
  if (!block)
    return;
  auto *raw = static_cast<unsigned char *>(block) - kPrefix;
  std::size_t size;
  std::memcpy(&size, raw, sizeof size);
  gBlocks.fetch_sub(1, std::memory_order_relaxed);
  gBytes.fetch_sub(static_cast<std::int64_t>(size), std::memory_order_relaxed);
  std::free(raw);
}

void *ownResize(void *block, std::size_t size) {
  if (!block)
    return ownAllocate(size);
  auto *raw = static_cast<unsigned char *>(block) - kPrefix;
  std::size_t old;
  std::memcpy(&old, raw, sizeof old);
  auto *grown = static_cast<unsigned char *>(std::realloc(raw, size + kPrefix));
  if (!grown)
    throw std::bad_alloc();
  std::memcpy(grown, &size, sizeof size);
  gBytes.fetch_add(static_cast<std::int64_t>(size) - static_cast<std::int64_t>(old),
                   std::memory_order_relaxed);
  return grown + kPrefix;
}

std::int64_t ownBlockCount() { return gBlocks.load(std::memory_order_relaxed); }
std::int64_t ownBytesInUse() { return gBytes.load(std::memory_order_relaxed); }

const TAllocatorRecord kOwn{ownAllocate, ownFree, ownResize, ownBlockCount, ownBytesInUse};

// The process-wide registry is an environment variable naming the publishing process and
// the address of its record. The process id guards against a child process that inherited
// the variable: an address from another process is never adopted.
constexpr const char *kRegistryName = "TDINVOICE_SHARED_ALLOCATOR";

const TAllocatorRecord *gCurrent = &kOwn;
TAllocatorRole gRole = TAllocatorRole::None;

const TAllocatorRecord *findPublished() {
  const char *value = std::getenv(kRegistryName);
  if (!value)
    return nullptr;
  long pid = 0;
  unsigned long long address = 0;
  if (std::sscanf(value, "%ld:%llx", &pid, &address) != 2 || pid != static_cast<long>(getpid()) ||
      address == 0)
    return nullptr;
  return reinterpret_cast<const TAllocatorRecord *>(static_cast<std::uintptr_t>(address));
}

}  // namespace

const TAllocatorRecord &ownAllocator() { return kOwn; }
const TAllocatorRecord &currentAllocator() { return *gCurrent; }
TAllocatorRole sharedAllocatorRole() { return gRole; }

void initialiseSharedAllocator() {
  if (gRole != TAllocatorRole::None)
    return;
  if (const TAllocatorRecord *published = findPublished()) {
    gCurrent = published;
    gRole = published == &kOwn ? TAllocatorRole::Publisher : TAllocatorRole::Adopter;
    return;
  }
  char value[64];
  std::snprintf(value, sizeof value, "%ld:%llx", static_cast<long>(getpid()),
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(&kOwn)));
  if (setenv(kRegistryName, value, 1) != 0) {
    std::fputs("Shared Allocator: Shared Memory Allocator setup failed: Cannot register class.\n",
               stderr);
    std::_Exit(1);
  }
  gRole = TAllocatorRole::Publisher;
}

void finaliseSharedAllocator() {
  if (gRole == TAllocatorRole::Publisher) {
    if (findPublished() == &kOwn)
      unsetenv(kRegistryName);
  } else if (gRole == TAllocatorRole::Adopter) {
    gCurrent = &kOwn;
  }
  gRole = TAllocatorRole::None;
}

char *allocStringBuffer(const char *text, std::size_t length) {
  const std::size_t total = length + 1 + sizeof(std::uint32_t);
  auto *raw = static_cast<char *>(sharedAlloc(total));
  const auto word = static_cast<std::uint32_t>(total);
  std::memcpy(raw, &word, sizeof word);
  char *chars = raw + sizeof word;
  if (length)
    std::memcpy(chars, text, length);
  chars[length] = '\0';
  return chars;
}

char *allocStringBuffer(const char *text) { return allocStringBuffer(text, text ? std::strlen(text) : 0); }

void freeStringBuffer(char *text) {
  if (text)
    sharedFree(text - sizeof(std::uint32_t));
}

}  // namespace TDInvoice
