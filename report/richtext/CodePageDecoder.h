// Turns the 8-bit text of RTF (\'hh escapes and raw bytes) into Unicode by Windows code
// page. Windows-1252 and the Symbol font encoding are built in; the other code pages come
// from the platform's converters, and a code page it cannot convert is read as
// Windows-1252 so that the text is never lost.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <array>
#include <map>
#include <memory>
#include <set>

namespace TDInvoice::Report {

// The code page the Symbol charset stands for (as Windows numbers it).
constexpr int kSymbolCodePage = 42;

// Code page of an RTF font charset (\fcharsetN); 0 when the charset means "the document's
// code page" (ANSI, default, or an unknown charset).
int codePageOfCharset(int charset);

class TCodePageDecoder {
public:
  TCodePageDecoder();
  ~TCodePageDecoder();
  TCodePageDecoder(const TCodePageDecoder &) = delete;
  TCodePageDecoder &operator=(const TCodePageDecoder &) = delete;

  // Appends the text of bytes in codePage to out. Lead and trail bytes of a double-byte
  // code page must be passed in one call; a lead byte without its trail byte is dropped.
  void decode(QByteArrayView bytes, int codePage, QString &out);

  static bool isDoubleByte(int codePage);

private:
  using Table = std::array<char16_t, 256>;
  const Table &singleByteTable(int codePage);

  QStringDecoder *multiByteDecoder(int codePage);

  std::map<int, std::unique_ptr<Table>> tables_;
  std::map<int, QStringDecoder> decoders_;
  std::set<int> unknown_; // code pages the platform cannot convert
};

} // namespace TDInvoice::Report
