// A list of short strings (at most 255 single-byte characters), each with an integer tag.
//
// Host and library both build these lists (data packets, children lists) and destroy the
// other side's, so TStrZObj and TShortStringList keep the shared field order. Texts passed
// in are cut to 255 bytes, as a short string holds no more.
#pragma once

#include "TDInvoice/SortedObjectList.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace TDInvoice {

constexpr std::size_t kShortStringMax = 255;

// One item: a NUL-terminated heap copy of the text (from the shared allocator).
// In name=value mode the first '=' of Data is overwritten by NUL, so Data reads as the name
// and Value points at the value inside the same buffer.
class TStrZObj : public TObject {
public:
  // Raises Exception for a name=value text without '=' or with an empty name.
  TStrZObj(std::string_view S, bool NameValue);
  ~TStrZObj() override;

  // The full text: the name, '=' and the value in name=value mode. Characters after an
  // embedded NUL are not kept.
  std::string text() const;
  std::string name() const;  // name=value mode: the name; otherwise the text
  std::string value() const; // name=value mode: the value; otherwise empty

  char *Data = nullptr;
  std::int32_t Len = 0;
  std::int32_t Reserved = 0;
  std::int32_t NameLen = 0;
  char *Value = nullptr;
  std::int32_t Tag = 0;
};

class TShortStringList : public TSortedObjectList {
public:
  // With NameValuePairs the list is sorted, unique and case-insensitive by name, for good.
  explicit TShortStringList(bool NameValuePairs = false);

  std::int32_t Add(std::string_view S);
  std::int32_t AddWithTag(std::string_view S, std::int32_t Tag);

  std::int32_t GetTag(std::int32_t Index) const;
  std::string GetString(std::int32_t Index) const;
  TStrZObj *StrZ(std::int32_t Index) const { return static_cast<TStrZObj *>(Items(Index)); }
  // The text of the first item with this tag and a non-empty text; empty when none.
  std::string FindByTag(std::int32_t Tag) const;

  // Items joined by ", " / every item followed by CR LF. Both leave their separator in
  // the Separator field.
  std::string CommaText();
  std::string Text();
  std::string JoinItems() const;

  // Byte-wise comparison of the items' Data; ASCII letters folded to upper case unless
  // CaseSensitive. Returns the difference of the first differing bytes.
  int CompareItems(TObject *Item1, TObject *Item2);

  // Raise Exception "Can't change setting: NameValuePairs ensures sorted, unique,
  // case-insensitive Names." when switched off in name=value mode.
  void SetSorted(bool Value);
  void SetUnique(bool Value);
  // Re-sorts a sorted list under the new rule. Refused (same message) in name=value mode.
  void SetCaseSensitive(bool Value);

  bool sorted() const { return Sorted; }
  bool nameValuePairs() const { return NameValuePairs; }
  bool caseSensitive() const { return CaseSensitive; }
  // The separator field up to its first NUL.
  std::string separator() const;

protected:
  bool Sorted = false;
  std::uint8_t Reserved = 0;
  bool NameValuePairs;
  bool CaseSensitive = false;
  char Separator[4] = {0, 0, 0, 0};

private:
  [[noreturn]] static void settingError();
  void setSeparator(char First, char Second);
};

} // namespace TDInvoice
