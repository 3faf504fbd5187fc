#include "invoice/PictureRegistry.h"

#include <map>
#include <string>

namespace TDInvoice {
namespace {

// Forms are made and printed on the GUI thread only, so the registry needs no lock.
std::map<std::string, TInvoicePicture, std::less<>> &registry() {
  static std::map<std::string, TInvoicePicture, std::less<>> pictures;
  return pictures;
}

} // namespace

void registerInvoicePicture(std::string_view name, const TInvoicePicture &picture) {
  registry().insert_or_assign(std::string(name), picture);
}

void unregisterInvoicePicture(std::string_view name) {
  const auto found = registry().find(name);
  if (found != registry().end())
    registry().erase(found);
}

std::optional<TInvoicePicture> findInvoicePicture(std::string_view name) {
  const auto found = registry().find(name);
  if (found == registry().end())
    return std::nullopt;
  return found->second;
}

} // namespace TDInvoice
