#include "intake/Base64Decoder.h"

#include <array>
#include <cstdint>

namespace TDInvoice::Intake {
namespace {

constexpr std::int8_t kInsignificant = -1;
constexpr std::int8_t kPad = -2;

constexpr std::array<std::int8_t, 256> makeValues() {
  std::array<std::int8_t, 256> values{};
  values.fill(kInsignificant);
  const char *alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (int i = 0; i < 64; ++i)
    values[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
  values[static_cast<unsigned char>('=')] = kPad;
  return values;
}

constexpr std::array<std::int8_t, 256> kValues = makeValues();

// Appends the bytes of one group of 1 to 4 significant characters.
void decodeGroup(const std::int8_t *group, int count, char *&out) {
  if (count < 2)
    return;
  const auto value = [](std::int8_t v) { return static_cast<unsigned>(v < 0 ? 0 : v); };
  const unsigned a = value(group[0]), b = value(group[1]);
  *out++ = static_cast<char>((a << 2 | b >> 4) & 0xFF);
  if (count < 3 || group[2] == kPad)
    return;
  const unsigned c = value(group[2]);
  *out++ = static_cast<char>((b << 4 | c >> 2) & 0xFF);
  if (count < 4 || group[3] == kPad)
    return;
  *out++ = static_cast<char>((c << 6 | value(group[3])) & 0xFF);
}

// Decodes [in, end) to out and returns the end of the bytes written. Writes at most three
// bytes for every four characters read, each group after its characters, so out may be the
// start of the input itself.
char *decodeInto(const unsigned char *in, const unsigned char *end, char *out) {
  // Groups are counted in significant characters from the start of the text, so where the
  // text is split into lines (76 characters, or any other length) makes no difference.
  while (in != end) {
    // Most groups are four alphabet characters in a row: decode them straight away.
    while (end - in >= 4) {
      const int a = kValues[in[0]], b = kValues[in[1]], c = kValues[in[2]], d = kValues[in[3]];
      if ((a | b | c | d) < 0)
        break;
      const unsigned bits = static_cast<unsigned>(a << 18 | b << 12 | c << 6 | d);
      in += 4;
      *out++ = static_cast<char>(bits >> 16);
      *out++ = static_cast<char>(bits >> 8 & 0xFF);
      *out++ = static_cast<char>(bits & 0xFF);
    }
    // Otherwise gather one group across whatever else stands in the text.
    std::int8_t group[4];
    int filled = 0;
    while (filled < 4 && in != end) {
      const std::int8_t v = kValues[*in++];
      if (v != kInsignificant)
        group[filled++] = v;
    }
    decodeGroup(group, filled, out);
  }
  return out;
}

} // namespace

QByteArray decodeBase64(QByteArrayView text) {
  QByteArray result;
  // Three bytes per four characters is the most the text can yield.
  result.resize((text.size() / 4 + 1) * 3);
  const auto *in = reinterpret_cast<const unsigned char *>(text.data());
  const char *end = decodeInto(in, in + text.size(), result.data());
  result.truncate(end - result.constData());
  return result;
}

void decodeBase64InPlace(QByteArray &text) {
  char *start = text.data(); // detaches a shared text first
  const auto *in = reinterpret_cast<const unsigned char *>(start);
  text.truncate(decodeInto(in, in + text.size(), start) - start);
}

} // namespace TDInvoice::Intake
