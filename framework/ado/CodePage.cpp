#include "framework/ado/CodePage.h"

#include "TDInvoice/Exceptions.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>
#include <iconv.h>
#include <memory>
#include <string>

namespace TDInvoice::Ado {

namespace {

// Windows-1252 bytes 0x80-0x9F; the five bytes it leaves undefined map to the C1 control of
// the same value, as Windows' own conversion does.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decode1252(const QByteArray &bytes) {
  QString out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const unsigned char b = static_cast<unsigned char>(c);
    out += QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
  }
  return out;
}

std::optional<QByteArray> encode1252(const QString &text) {
  QByteArray out;
  out.reserve(text.size());
  for (QChar c : text) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      out += char(u);
      continue;
    }
    int found = -1;
    for (int i = 0; i < 32 && found < 0; ++i)
      if (kCp1252High[i] == u)
        found = i;
    if (found < 0)
      return std::nullopt;
    out += char(0x80 + found);
  }
  return out;
}

struct IconvCloser {
  void operator()(void *handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openIconv(const char *to, const char *from, int codePage) {
  iconv_t handle = iconv_open(to, from);
  if (handle == reinterpret_cast<iconv_t>(-1))
    throw EOleException("Code page " + std::to_string(codePage) + " is not available");
  return IconvHandle(handle);
}

// Runs iconv over the whole input; on an invalid input sequence calls onInvalid, which may
// append a replacement and returns how many input bytes to skip (0: give up).
template <typename OnInvalid>
bool runIconv(iconv_t handle, const char *data, std::size_t size, std::string &out,
              OnInvalid onInvalid) {
  char *in = const_cast<char *>(data);
  std::size_t inLeft = size;
  char buffer[1024];
  while (true) {
    char *outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = inLeft == 0 ? iconv(handle, nullptr, nullptr, &outPtr, &outLeft)
                                       : iconv(handle, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, std::size_t(outPtr - buffer));
    if (rc != std::size_t(-1)) {
      if (inLeft == 0)
        return true;
      continue;
    }
    if (errno == E2BIG)
      continue;
    const std::size_t skip = onInvalid(out, inLeft);
    if (skip == 0)
      return false;
    in += skip;
    inLeft -= skip;
  }
}

std::string iconvName(int codePage) { return "CP" + std::to_string(codePage); }

} // namespace

QString decodeAnsi(const QByteArray &bytes, int codePage) {
  if (codePage == 1252)
    return decode1252(bytes);
  if (codePage == 65001)
    return QString::fromUtf8(bytes);
  const IconvHandle handle = openIconv("UTF-16LE", iconvName(codePage).c_str(), codePage);
  std::string out;
  runIconv(static_cast<iconv_t>(handle.get()), bytes.constData(), std::size_t(bytes.size()), out,
           [](std::string &sink, std::size_t) {
             sink.append("\xFD\xFF", 2); // U+FFFD, little-endian
             return std::size_t(1);
           });
  return QString(reinterpret_cast<const QChar *>(out.data()), qsizetype(out.size() / 2));
}

std::optional<QByteArray> encodeAnsi(const QString &text, int codePage) {
  if (codePage == 1252)
    return encode1252(text);
  if (codePage == 65001) {
    QStringEncoder encoder(QStringConverter::Utf8);
    QByteArray out = encoder.encode(text);
    if (encoder.hasError())
      return std::nullopt;
    return out;
  }
  const IconvHandle handle = openIconv(iconvName(codePage).c_str(), "UTF-16LE", codePage);
  std::string out;
  const bool ok = runIconv(
      static_cast<iconv_t>(handle.get()), reinterpret_cast<const char *>(text.utf16()),
      std::size_t(text.size()) * 2, out, [](std::string &, std::size_t) { return std::size_t(0); });
  if (!ok)
    return std::nullopt;
  return QByteArray(out.data(), qsizetype(out.size()));
}

} // namespace TDInvoice::Ado
