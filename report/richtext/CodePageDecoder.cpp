#include "report/richtext/CodePageDecoder.h"

#include <QStringDecoder>

namespace TDInvoice::Report {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; undefined bytes stay C1 controls,
// as Windows converts them.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The Symbol font's encoding where it differs from ASCII/Latin-1: Greek letters, operators,
// arrows and the bullet that bulleted lists use.
struct SymbolEntry {
  unsigned char byte;
  char16_t unicode;
};
constexpr SymbolEntry kSymbol[] = {
    {0x22, 0x2200}, {0x24, 0x2203}, {0x27, 0x220B}, {0x2A, 0x2217}, {0x2D, 0x2212}, {0x40, 0x2245},
    {0x41, 0x0391}, {0x42, 0x0392}, {0x43, 0x03A7}, {0x44, 0x0394}, {0x45, 0x0395}, {0x46, 0x03A6},
    {0x47, 0x0393}, {0x48, 0x0397}, {0x49, 0x0399}, {0x4A, 0x03D1}, {0x4B, 0x039A}, {0x4C, 0x039B},
    {0x4D, 0x039C}, {0x4E, 0x039D}, {0x4F, 0x039F}, {0x50, 0x03A0}, {0x51, 0x0398}, {0x52, 0x03A1},
    {0x53, 0x03A3}, {0x54, 0x03A4}, {0x55, 0x03A5}, {0x56, 0x03C2}, {0x57, 0x03A9}, {0x58, 0x039E},
    {0x59, 0x03A8}, {0x5A, 0x0396}, {0x5C, 0x2234}, {0x5E, 0x22A5}, {0x61, 0x03B1}, {0x62, 0x03B2},
    {0x63, 0x03C7}, {0x64, 0x03B4}, {0x65, 0x03B5}, {0x66, 0x03C6}, {0x67, 0x03B3}, {0x68, 0x03B7},
    {0x69, 0x03B9}, {0x6A, 0x03D5}, {0x6B, 0x03BA}, {0x6C, 0x03BB}, {0x6D, 0x03BC}, {0x6E, 0x03BD},
    {0x6F, 0x03BF}, {0x70, 0x03C0}, {0x71, 0x03B8}, {0x72, 0x03C1}, {0x73, 0x03C3}, {0x74, 0x03C4},
    {0x75, 0x03C5}, {0x76, 0x03D6}, {0x77, 0x03C9}, {0x78, 0x03BE}, {0x79, 0x03C8}, {0x7A, 0x03B6},
    {0x7E, 0x223C}, {0xA1, 0x03D2}, {0xA2, 0x2032}, {0xA3, 0x2264}, {0xA4, 0x2044}, {0xA5, 0x221E},
    {0xA6, 0x0192}, {0xA7, 0x2663}, {0xA8, 0x2666}, {0xA9, 0x2665}, {0xAA, 0x2660}, {0xAB, 0x2194},
    {0xAC, 0x2190}, {0xAD, 0x2191}, {0xAE, 0x2192}, {0xAF, 0x2193}, {0xB2, 0x2033}, {0xB3, 0x2265},
    {0xB4, 0x00D7}, {0xB5, 0x221D}, {0xB6, 0x2202}, {0xB7, 0x2022}, {0xB8, 0x00F7}, {0xB9, 0x2260},
    {0xBA, 0x2261}, {0xBB, 0x2248}, {0xBC, 0x2026}, {0xC0, 0x2135}, {0xC1, 0x2111}, {0xC2, 0x211C},
    {0xC3, 0x2118}, {0xC4, 0x2297}, {0xC5, 0x2295}, {0xC6, 0x2205}, {0xC7, 0x2229}, {0xC8, 0x222A},
    {0xC9, 0x2283}, {0xCA, 0x2287}, {0xCB, 0x2284}, {0xCC, 0x2282}, {0xCD, 0x2286}, {0xCE, 0x2208},
    {0xCF, 0x2209}, {0xD0, 0x2220}, {0xD1, 0x2207}, {0xD2, 0x00AE}, {0xD3, 0x00A9}, {0xD4, 0x2122},
    {0xD5, 0x220F}, {0xD6, 0x221A}, {0xD7, 0x22C5}, {0xD8, 0x00AC}, {0xD9, 0x2227}, {0xDA, 0x2228},
    {0xDB, 0x21D4}, {0xDC, 0x21D0}, {0xDD, 0x21D1}, {0xDE, 0x21D2}, {0xDF, 0x21D3}, {0xE0, 0x25CA},
    {0xE1, 0x2329}, {0xE5, 0x2211}, {0xF1, 0x232A}, {0xF2, 0x222B}};

QStringDecoder platformDecoder(int codePage) {
  if (codePage <= 0 || codePage > 65535)
    return QStringDecoder();
  if (codePage == 10000)
    return QStringDecoder("macintosh", QStringDecoder::Flag::Stateless);
  if (codePage == 65001)
    return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  for (const char *pattern : {"windows-%1", "cp%1"}) {
    QStringDecoder decoder(QString::fromLatin1(pattern).arg(codePage).toLatin1().constData(),
                           QStringDecoder::Flag::Stateless);
    if (decoder.isValid())
      return decoder;
  }
  return QStringDecoder();
}

} // namespace

int codePageOfCharset(int charset) {
  switch (charset) {
  case 2:
    return kSymbolCodePage;
  case 77:
    return 10000;
  case 128:
    return 932;
  case 129:
    return 949;
  case 130:
    return 1361;
  case 134:
    return 936;
  case 136:
    return 950;
  case 161:
    return 1253;
  case 162:
    return 1254;
  case 163:
    return 1258;
  case 177:
    return 1255;
  case 178:
    return 1256;
  case 186:
    return 1257;
  case 204:
    return 1251;
  case 222:
    return 874;
  case 238:
    return 1250;
  case 254:
    return 437;
  case 255:
    return 850;
  default:
    return 0;
  }
}

TCodePageDecoder::TCodePageDecoder() = default;
TCodePageDecoder::~TCodePageDecoder() = default;

bool TCodePageDecoder::isDoubleByte(int codePage) {
  return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
         codePage == 1361 || codePage == 65001;
}

const TCodePageDecoder::Table &TCodePageDecoder::singleByteTable(int codePage) {
  auto found = tables_.find(codePage);
  if (found != tables_.end())
    return *found->second;
  if (unknown_.count(codePage))
    return singleByteTable(1252);
  QStringDecoder decoder;
  if (codePage != kSymbolCodePage && codePage != 1252) {
    decoder = platformDecoder(codePage);
    // Code pages the platform does not know all read as Windows-1252, from one table.
    if (!decoder.isValid()) {
      unknown_.insert(codePage);
      return singleByteTable(1252);
    }
  }
  auto table = std::make_unique<Table>();
  for (int b = 0; b < 256; ++b)
    (*table)[b] = static_cast<char16_t>(b);
  for (int b = 0x80; b < 0xA0; ++b)
    (*table)[b] = kCp1252High[b - 0x80];
  if (codePage == kSymbolCodePage) {
    for (const SymbolEntry &entry : kSymbol)
      (*table)[entry.byte] = entry.unicode;
  } else if (decoder.isValid()) {
    for (int b = 0x80; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      const QString text = decoder(QByteArrayView(&byte, 1));
      (*table)[b] = text.size() == 1 ? text[0].unicode() : char16_t(0xFFFD);
    }
  }
  return *tables_.emplace(codePage, std::move(table)).first->second;
}

QStringDecoder *TCodePageDecoder::multiByteDecoder(int codePage) {
  auto found = decoders_.find(codePage);
  if (found == decoders_.end())
    found = decoders_.emplace(codePage, platformDecoder(codePage)).first;
  return found->second.isValid() ? &found->second : nullptr;
}

void TCodePageDecoder::decode(QByteArrayView bytes, int codePage, QString &out) {
  if (bytes.isEmpty())
    return;
  if (isDoubleByte(codePage)) {
    if (QStringDecoder *decoder = multiByteDecoder(codePage)) {
      out += (*decoder)(bytes);
      return;
    }
    codePage = 1252;
  }
  const Table &table = singleByteTable(codePage);
  const qsizetype base = out.size();
  out.resize(base + bytes.size());
  QChar *target = out.data() + base;
  for (qsizetype i = 0; i < bytes.size(); ++i)
    target[i] = QChar(table[static_cast<unsigned char>(bytes[i])]);
}

} // namespace TDInvoice::Report
