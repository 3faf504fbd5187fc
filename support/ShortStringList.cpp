#include "TDInvoice/ShortStringList.h"
#include "TDInvoice/Exceptions.h"

#include <algorithm>
#include <cstring>

namespace TDInvoice {
namespace {

std::string_view cutShort(std::string_view S) {
  return S.substr(0, std::min(S.size(), kShortStringMax));
}

std::size_t boundedLength(const char *text, std::size_t limit) {
  return static_cast<std::size_t>(std::find(text, text + limit, '\0') - text);
}

} // namespace

TStrZObj::TStrZObj(std::string_view S, bool NameValue) {
  std::size_t equals = std::string_view::npos;
  if (NameValue) {
    // Checked before anything is allocated, so a refused text leaves nothing behind.
    equals = S.find('=');
    if (equals == std::string_view::npos)
      throw Exception("No \"=\" sign in name-value pair:" + std::string(S));
    if (equals == 0)
      throw Exception("Zero-length Name in name-value pair:" + std::string(S));
  }
  Len = static_cast<std::int32_t>(S.size());
  // Zero-filled, so that a value behind an embedded NUL reads as empty, never as stale bytes.
  Data = static_cast<char *>(sharedAlloc(S.size() + 1));
  std::memset(Data, 0, S.size() + 1);
  std::memcpy(Data, S.data(), boundedLength(S.data(), S.size()));
  if (NameValue) {
    Value = Data + equals + 1;
    NameLen = static_cast<std::int32_t>(equals);
    Data[equals] = '\0';
  }
}

TStrZObj::~TStrZObj() { sharedFree(Data); }

std::string TStrZObj::name() const {
  const std::size_t limit =
      Value ? static_cast<std::size_t>(NameLen) : static_cast<std::size_t>(Len);
  return std::string(Data, boundedLength(Data, limit));
}

std::string TStrZObj::value() const {
  if (!Value)
    return std::string();
  const std::size_t limit = static_cast<std::size_t>(Len - NameLen - 1);
  return std::string(Value, boundedLength(Value, limit));
}

std::string TStrZObj::text() const {
  if (!Value)
    return name();
  return name() + '=' + value();
}

TShortStringList::TShortStringList(bool NameValuePairs)
    : TSortedObjectList(true), NameValuePairs(NameValuePairs) {
  if (NameValuePairs) {
    SetSorted(true);
    SetUnique(true);
  }
}

void TShortStringList::settingError() {
  throw Exception(
      "Can't change setting: NameValuePairs ensures sorted, unique, case-insensitive Names.");
}

std::int32_t TShortStringList::Add(std::string_view S) { return AddWithTag(S, 0); }

std::int32_t TShortStringList::AddWithTag(std::string_view S, std::int32_t Tag) {
  auto *item = new TStrZObj(cutShort(S), NameValuePairs);
  item->Tag = Tag;
  try {
    return TSortedObjectList::Add(item);
  } catch (...) {
    // Stored items belong to the list even when a notification failed.
    if (IndexOf(item) < 0)
      delete item;
    throw;
  }
}

std::int32_t TShortStringList::GetTag(std::int32_t Index) const { return StrZ(Index)->Tag; }

std::string TShortStringList::GetString(std::int32_t Index) const { return StrZ(Index)->text(); }

std::string TShortStringList::FindByTag(std::int32_t Tag) const {
  std::string result;
  for (std::int32_t i = 0; i < FCount && result.empty(); ++i) {
    const auto *item = static_cast<const TStrZObj *>(FList[i]);
    if (item->Tag == Tag)
      result = item->text();
  }
  return result;
}

void TShortStringList::setSeparator(char First, char Second) {
  Separator[0] = First;
  Separator[1] = Second;
  Separator[2] = '\0';
  Separator[3] = '\0';
}

std::string TShortStringList::separator() const {
  return std::string(Separator, boundedLength(Separator, sizeof Separator));
}

std::string TShortStringList::CommaText() {
  setSeparator(',', ' ');
  return JoinItems();
}

std::string TShortStringList::Text() {
  if (FCount == 0)
    return std::string();
  setSeparator('\r', '\n');
  return JoinItems() + "\r\n";
}

// Grows the result in steps of at least 200 characters rather than once per item.
std::string TShortStringList::JoinItems() const {
  std::string result(200, '\0');
  std::size_t used = 0;
  for (std::int32_t i = 0; i < FCount; ++i) {
    std::string piece = static_cast<const TStrZObj *>(FList[i])->text();
    if (i != FCount - 1)
      piece.append(Separator, 2);
    if (used + piece.size() > result.size())
      result.resize(result.size() + piece.size() + 200);
    result.replace(used, piece.size(), piece);
    used += piece.size();
  }
  result.resize(used);
  return result;
}

int TShortStringList::CompareItems(TObject *Item1, TObject *Item2) {
  const auto *a = reinterpret_cast<const unsigned char *>(static_cast<TStrZObj *>(Item1)->Data);
  const auto *b = reinterpret_cast<const unsigned char *>(static_cast<TStrZObj *>(Item2)->Data);
  const bool fold = !CaseSensitive;
  for (;; ++a, ++b) {
    unsigned char ca = *a;
    unsigned char cb = *b;
    if (fold) {
      if (ca >= 'a' && ca <= 'z')
        ca = static_cast<unsigned char>(ca - ('a' - 'A'));
      if (cb >= 'a' && cb <= 'z')
        cb = static_cast<unsigned char>(cb - ('a' - 'A'));
    }
    if (ca != cb || ca == 0)
      return int(ca) - int(cb);
  }
}

void TShortStringList::SetSorted(bool Value) {
  if (Value) {
    SetCompare(makeListCompare<&TShortStringList::CompareItems>(this));
    Sorted = true;
    return;
  }
  if (NameValuePairs)
    settingError();
  SetCompare(TListCompare{});
  Sorted = false;
}

void TShortStringList::SetUnique(bool Value) {
  if (!Value && NameValuePairs)
    settingError();
  TSortedObjectList::SetUnique(Value);
}

void TShortStringList::SetCaseSensitive(bool Value) {
  if (Value && NameValuePairs)
    settingError();
  CaseSensitive = Value;
  if (Sorted)
    SetSorted(true);
}

} // namespace TDInvoice
