// Word lists the demo families are made from.
#pragma once

#include <span>

namespace TDInvoice::Demo {

struct TSuburb {
  const char *name;
  const char *postcode;
};

std::span<const char *const> familyNames();
std::span<const char *const> girlNames();
std::span<const char *const> boyNames();
std::span<const char *const> parentInitials();
std::span<const char *const> streetNames();
std::span<const TSuburb> suburbs();

} // namespace TDInvoice::Demo
