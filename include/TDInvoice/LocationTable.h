// The host's table of the service's locations, as OnGetLocations returns it.
//
// Ownership: the host creates the table and its records and hands the table over; from then
// on the receiver (the report form) owns it and destroys it through its virtual destructor,
// which deletes every record the table still refers to. Both come from the shared allocator,
// so the library may destroy what the host built.
//
// Layout: the class reference at offset 0, then 12 record references (offsets 4..48 on a
// 32-bit build, 8..96 on a 64-bit one). Used entries come first; the first empty entry ends
// the table. A record holds LocationID at 0, the name (NUL-terminated, at most 8 bytes with
// the terminator) at 30 and the care type at 38; every other byte is the host's.
#pragma once

#include "TDInvoice/Object.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace TDInvoice {

struct TLocationRec : public TSharedObject {
  std::int32_t LocationID = 0;
  unsigned char HostData4[26] = {};
  char Name[8] = {};
  std::uint8_t CareType = 0;
  unsigned char HostData39[1] = {};

  // The name up to its terminator, never reading past the field.
  std::string name() const { return std::string(Name, std::find(Name, Name + sizeof Name, '\0')); }
  // Stores Text cut to 7 characters and terminated.
  void setName(std::string_view Text) {
    std::memset(Name, 0, sizeof Name);
    std::memcpy(Name, Text.data(), std::min(Text.size(), sizeof Name - 1));
  }
};

class TLocationTable : public TObject {
public:
  static constexpr int kMaxLocations = 12;

  TLocationTable() = default;
  ~TLocationTable() override;

  TLocationRec *Locations[kMaxLocations] = {};
};

} // namespace TDInvoice
