#include "intake/Base64Decoder.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <random>

using TDInvoice::Intake::decodeBase64;
using TDInvoice::Intake::decodeBase64InPlace;

namespace {

// The in-place decoder on its own copy of the text.
QByteArray inPlace(QByteArray text) {
  decodeBase64InPlace(text);
  return text;
}

struct Case {
  const char *text;
  QByteArray bytes;
};

// RFC 4648 section 10 vectors, then the rules of a tolerant packet decoder.
const Case kCases[] = {
    {"", ""},
    {"Zg==", "f"},
    {"Zm8=", "fo"},
    {"Zm9v", "foo"},
    {"Zm9vYg==", "foob"},
    {"Zm9vYmE=", "fooba"},
    {"Zm9vYmFy", "foobar"},
    // Separately padded pieces concatenate: "=" ends only its own group.
    {"Zg==Zm8=Zm9v", "ffofoo"},
    {"Zg==Zg==Zg==", "fff"},
    // Anything outside the alphabet is skipped, inside a group too.
    {"Z g=\r\n=", "f"},
    {"\t\r\n Zm\r\n9v\x01\xff-_.!", "foo"},
    {"***Zm9vYmFy***", "foobar"},
    // Trailing groups short of four characters.
    {"Zm9vYg", "foob"},
    {"Zm9vYmE", "fooba"},
    {"Zm9vY", "foo"},
    // A "=" in third place ends the group at one byte.
    {"Zg=AZm9v", "ffoo"},
    // Every bit pattern of the last character of a group.
    {"////", QByteArray("\xff\xff\xff", 3)},
    {"AAAA", QByteArray("\0\0\0", 3)},
    {"+/+/", QByteArray("\xfb\xff\xbf", 3)},
};

TEST(Base64Decoder, DecodesTableOfTexts) {
  for (const Case &c : kCases) {
    EXPECT_EQ(decodeBase64(c.text), c.bytes) << "text: " << c.text;
    EXPECT_EQ(inPlace(c.text), c.bytes) << "in place: " << c.text;
  }
}

QByteArray randomBytes(std::mt19937 &random, int size) {
  QByteArray bytes(size, Qt::Uninitialized);
  for (char &b : bytes)
    b = static_cast<char>(random() & 0xFF);
  return bytes;
}

// Inserts noise characters at random places: blanks, tabs, CR LF and bytes outside the
// alphabet, as a host may leave them between or inside packet lines.
QByteArray withNoise(QByteArray text, std::mt19937 &random) {
  static const char kNoise[] = {' ', '\t', '\r', '\n', '\0', '\x80', '\xff', '-', '_', '.', '*'};
  const int insertions = static_cast<int>(random() % 20);
  for (int i = 0; i < insertions; ++i) {
    const auto at = static_cast<qsizetype>(random() % (text.size() + 1));
    text.insert(at, kNoise[random() % sizeof kNoise]);
  }
  return text;
}

TEST(Base64Decoder, RecoversRandomDataThroughNoiseAndChunkBoundaries) {
  std::mt19937 random(20240611);
  // Lengths around the 57-byte (76-character) chunk and well beyond it.
  for (int size : {0, 1, 2, 3, 55, 56, 57, 58, 59, 113, 114, 115, 1000, 4099}) {
    const QByteArray bytes = randomBytes(random, size);
    const QByteArray text = bytes.toBase64();
    EXPECT_EQ(decodeBase64(text), bytes) << size;
    const QByteArray noisy = withNoise(text, random);
    EXPECT_EQ(decodeBase64(noisy), bytes) << "noisy " << size;
    EXPECT_EQ(inPlace(noisy), bytes) << "noisy, in place " << size;
  }
}

TEST(Base64Decoder, ConcatenatesPaddedPiecesAcrossChunks) {
  std::mt19937 random(7);
  QByteArray text, expected;
  // Pieces of 1 and 2 bytes put "=" at many positions, some at a chunk's edge.
  for (int i = 0; i < 60; ++i) {
    const QByteArray piece = randomBytes(random, 1 + i % 5);
    expected += piece;
    text += piece.toBase64();
  }
  EXPECT_EQ(decodeBase64(text), expected);
  EXPECT_EQ(inPlace(text), expected);
}

// Decoding in place writes into the text's own buffer, never into a copy that shares it.
TEST(Base64Decoder, InPlaceLeavesSharingCopiesAlone) {
  const QByteArray text("Zm9vYmFy\r\nZg==");
  QByteArray buffer = text;
  decodeBase64InPlace(buffer);
  EXPECT_EQ(buffer, QByteArray("foobarf"));
  EXPECT_EQ(text, QByteArray("Zm9vYmFy\r\nZg=="));
}

} // namespace
