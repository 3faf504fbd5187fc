// The account-history entries of one invoice, and the list that holds them.
//
// The host creates TInvHistItem objects and appends them to the library's TInvHistList
// (OnFillInvoiceHistory); the list owns them and frees them when cleared or destroyed. The
// library reads the entries at fixed byte offsets and writes only RunningBalance, so the
// field positions below are part of the host contract. On a 32-bit build the offsets are
// those of the host's class: Kind 4, Stamp 8, EntryAmount 16, RunningBalance 24, the
// variant part from 32 (EntryText overlays it), EnrolmentId at 136, 288 bytes in all. On a
// 64-bit build only the class reference widens: Kind 8 and Stamp 12, the rest unchanged.
// Currency values are 64-bit integers scaled by 10000 and are 8-aligned on every target.
#pragma once

#include "TDInvoice/SortedObjectList.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace TDInvoice {

using TCurrency = std::int64_t; // amount x 10000

// Short strings stored Pascal-style in a fixed field of N bytes: a length byte and up to
// N - 1 characters. Reading never goes past the field whatever the length byte says.
template <std::size_t N> std::string readPascalString(const unsigned char (&Field)[N]) {
  static_assert(N >= 1 && N <= 256);
  const std::size_t length = std::min<std::size_t>(Field[0], N - 1);
  return std::string(reinterpret_cast<const char *>(Field + 1), length);
}

// Writes Text cut to N - 1 characters; the unused rest of the field is zeroed.
template <std::size_t N> void writePascalString(unsigned char (&Field)[N], std::string_view Text) {
  static_assert(N >= 1 && N <= 256);
  const std::size_t length = std::min(Text.size(), N - 1);
  std::memset(Field, 0, N);
  Field[0] = static_cast<unsigned char>(length);
  if (length)
    std::memcpy(Field + 1, Text.data(), length);
}

// Entry kinds.
enum : std::int32_t {
  kHistBalanceForward = 1,
  kHistCharge = 2,
  kHistPayment = 3,
  kHistText = 4,
  kHistDepositPaid = 5,
  kHistDepositRelease = 6,
};

class TInvHistItem : public TObject {
public:
  TInvHistItem() : EntryText{} {}
  ~TInvHistItem() override;

  std::string entryText() const { return readPascalString(EntryText); }
  void setEntryText(std::string_view Text) { writePascalString(EntryText, Text); }
  std::string careTypeAbbrev() const { return readPascalString(CareTypeAbbrev); }
  void setCareTypeAbbrev(std::string_view Text) { writePascalString(CareTypeAbbrev, Text); }
  std::string enrolmentId() const { return readPascalString(EnrolmentId); }
  void setEnrolmentId(std::string_view Text) { writePascalString(EnrolmentId, Text); }

  std::int32_t Kind = 0;
  std::int32_t Stamp = 0; // seconds since 2000-01-01 00:00
  alignas(8) TCurrency EntryAmount = 0;
  alignas(8) TCurrency RunningBalance = 0;
  // Kind 4 keeps its whole description in EntryText; the other kinds use the fields. The
  // anonymous struct (a GNU extension both compilers accept) keeps the fields' plain names.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wnested-anon-types"
#pragma clang diagnostic ignored "-Wgnu-anonymous-struct"
#endif
  union {
    __extension__ struct {
      std::int32_t WeekEndDate;   // day number: week ending (2), payment/deposit date (3, 5, 6)
      std::int32_t ChildOrMethod; // ChildID (2), payment method 1..8 (3, 5)
      std::int32_t HostReserved40;
      std::int32_t CareType;
      std::int16_t Sessions;
      float CCBRate;
      float CCBPercent;
      float CCBAltPercent;
      float CCBHours;
      alignas(8) TCurrency FeeAmount;
      float ChargedHours;
      alignas(8) TCurrency CCBAmount;
      alignas(8) TCurrency JFAAmount;
      alignas(8) TCurrency CCRAmount;
      std::int16_t AbsencesPaid;
      std::int32_t CCBEntry; // 1 normal, 2 reversal, other adjustment
      unsigned char CareTypeAbbrev[16];
      unsigned char EnrolmentId[16];
    };
    unsigned char EntryText[256];
  };
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
};

class TInvHistList : public TSortedObjectList {
public:
  TInvHistList();
  ~TInvHistList() override;

  TInvHistItem *Item(std::int32_t Index) const { return static_cast<TInvHistItem *>(Items(Index)); }

  // Ascending by Stamp. Equal stamps: two charge lines (kind 2) by WeekEndDate, and a charge
  // line after any other entry, so that the order stays consistent however QuickSort
  // partitions; other entries with equal stamps compare equal.
  static int CompareInvHistItems(void *Self, TObject *Item1, TObject *Item2);
  // Installs CompareInvHistItems, which sorts the entries the host appended.
  void SortEntries();
};

} // namespace TDInvoice
