// TableGram layout: fixtures assembled byte by byte on ADO's own preamble.
#include "AdoTestSupport.h"

#include "TDInvoice/Exceptions.h"

#include <gtest/gtest.h>

#include <limits>

using namespace AdoTest;
using TDInvoice::EOleException;

namespace {

constexpr std::uint32_t kFixed = 0x14;         // write + fixed length
constexpr std::uint32_t kNullable = 0x24;      // write + nullable
constexpr std::uint32_t kNullableFixed = 0x34; // write + fixed + nullable
constexpr std::uint32_t kNullableLong = 0xA4;  // write + nullable + long

QByteArray tableGram(const std::vector<QByteArray> &descriptors, std::uint32_t rowCount,
                     const QByteArray &rows) {
  QByteArray bytes = adoPreamble(std::uint16_t(descriptors.size()), rowCount);
  for (const QByteArray &d : descriptors)
    bytes += d;
  return bytes + rows + QByteArray(1, '\x0F');
}

QByteArray byte(int v) { return QByteArray(1, char(v)); }

struct PrefixCase {
  const char *label;
  std::uint16_t dbType;
  std::uint32_t maxLength;
  std::uint32_t flags;
  QByteArray stored;
  Variant expected;
};

// The prefix depends on the capacity in bytes (characters x 2 for Unicode), not on the
// declared length, and "fixed" means raw only up to 255 bytes. A column after the value
// shows that exactly the stored bytes were consumed.
TEST(TableGramValues, LengthPrefixFollowsTheByteCapacity) {
  const PrefixCase cases[] = {
      {"WSTR(120) variable: 1-byte prefix", 130, 120, kNullable, byte(6) + utf16("abc"),
       Variant("abc")},
      {"WSTR(220) variable: 4-byte prefix", 130, 220, kNullable, le32(6) + utf16("abc"),
       Variant("abc")},
      {"WCHAR(12) fixed: 24 raw bytes", 130, 12, kNullableFixed, utf16("abc         "),
       Variant("abc         ")},
      {"BYTES(256) fixed: 4-byte prefix", 128, 256, kNullableFixed, le32(3) + hex("010203"),
       Variant::fromBytes(hex("010203"))},
      {"BYTES(64) long: 1-byte prefix", 128, 64, kNullableLong, byte(3) + hex("010203"),
       Variant::fromBytes(hex("010203"))},
      {"STR(10) fixed: raw code-page bytes", 129, 10, kNullableFixed,
       QByteArray("caf\xE9 \x80    "), Variant(QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC    "))},
      {"STR(300) variable: 4-byte prefix", 129, 300, kNullable, le32(2) + "ok", Variant("ok")},
      {"WSTR unlimited long: 4-byte prefix", 130, 0xFFFFFFFF, kNullableLong, le32(0), Variant("")},
      {"VARNUMERIC(7): 1-byte prefix", 139, 7, kNullable, byte(7) + hex("09 03 01 15 CD 5B 07"),
       Variant("123456.789")},
  };
  for (const PrefixCase &c : cases) {
    const QByteArray bytes = tableGram({columnDescriptor(1, "VAL", c.dbType, c.maxLength, c.flags),
                                        columnDescriptor(2, "AFTER", 3, 4, kFixed)},
                                       1, hex("07 FF") + c.stored + le32(77));
    const RecordsetData data = readPersisted(bytes);
    ASSERT_EQ(data.rows.size(), 1u) << c.label;
    if (c.dbType == 139)
      EXPECT_EQ(data.rows[0][0].toString(), c.expected.toString()) << c.label;
    else
      EXPECT_EQ(data.rows[0][0], c.expected) << c.label;
    EXPECT_EQ(data.rows[0][1], Variant(77)) << c.label;
  }
}

struct PresenceCase {
  const char *label;
  int nullableColumns;
  QByteArray map;
  std::vector<int> nullColumns; // 0-based among the nullable ones
};

// One presence bit per nullable column, most significant bit first, 1 = present. A
// recordset without nullable columns has no map byte at all.
TEST(TableGramRows, PresenceMapHasOneBitPerNullableColumn) {
  const PresenceCase cases[] = {
      {"one column, null (padding bits 1)", 1, hex("7F"), {0}},
      {"one column, present", 1, hex("FF"), {}},
      {"nine columns, the ninth null", 9, hex("FF 7F"), {8}},
      {"nine columns, first and eighth null", 9, hex("7E FF"), {0, 7}},
      {"no nullable column: no map", 0, QByteArray(), {}},
  };
  for (const PresenceCase &c : cases) {
    std::vector<QByteArray> descriptors = {columnDescriptor(1, "ID", 3, 4, kFixed)};
    QByteArray row = hex("07") + c.map + le32(1000);
    for (int i = 0; i < c.nullableColumns; ++i) {
      descriptors.push_back(columnDescriptor(std::uint16_t(i + 2), QStringLiteral("N%1").arg(i), 2,
                                             2, kNullableFixed));
      const bool isNull =
          std::find(c.nullColumns.begin(), c.nullColumns.end(), i) != c.nullColumns.end();
      if (!isNull)
        row += le16(std::uint16_t(i + 10));
    }
    const RecordsetData data = readPersisted(tableGram(descriptors, 1, row));
    ASSERT_EQ(data.rows.size(), 1u) << c.label;
    EXPECT_EQ(data.rows[0][0], Variant(1000)) << c.label;
    for (int i = 0; i < c.nullableColumns; ++i) {
      const bool isNull =
          std::find(c.nullColumns.begin(), c.nullColumns.end(), i) != c.nullColumns.end();
      const Variant expected =
          isNull ? Variant::null() : Variant::fromInt(i + 10, VarType::SmallInt);
      EXPECT_EQ(data.rows[0][std::size_t(i + 1)], expected) << c.label << ", column " << i;
    }
  }
}

struct ChangeCase {
  const char *label;
  QByteArray rows;
  std::vector<std::vector<Variant>> expected;
};

// ID I4 not null, VAL I4 nullable; change and insert records carry an update map and a
// force-null map of one bit per column (2 columns: one byte each).
TEST(TableGramRows, PendingChangesGiveTheRowsAdoShows) {
  const Variant null = Variant::null();
  const auto original = [](int id, int val) { return hex("07 FF") + le32(id) + le32(val); };
  const ChangeCase cases[] = {
      {"unchanged", original(1, 5), {{Variant(1), Variant(5)}}},
      {"update a value", original(1, 5) + hex("0A 40 00") + le32(9), {{Variant(1), Variant(9)}}},
      {"update to null by force-null alone",
       original(1, 5) + hex("0A 00 40"),
       {{Variant(1), null}}},
      {"update touching nothing", original(1, 5) + hex("0A 00 00"), {{Variant(1), Variant(5)}}},
      {"update the key only",
       original(1, 5) + hex("0A 80 00") + le32(7),
       {{Variant(7), Variant(5)}}},
      {"delete", original(2, 6) + hex("0C") + original(1, 5), {{Variant(1), Variant(5)}}},
      {"insert with force-null", hex("0D 80 40") + le32(4), {{Variant(4), null}}},
      {"insert with values", hex("0D C0 00") + le32(5) + le32(6), {{Variant(5), Variant(6)}}},
      {"original with null value", hex("07 7F") + le32(3), {{Variant(3), null}}},
      {"deletes first, then rows, then inserts",
       original(2, 6) + hex("0C") + original(1, 5) + hex("0A 00 40") + original(3, 7) +
           hex("0D 80 00") + le32(4),
       {{Variant(1), null}, {Variant(3), Variant(7)}, {Variant(4), null}}},
  };
  for (const ChangeCase &c : cases) {
    const QByteArray bytes = tableGram(
        {columnDescriptor(1, "ID", 3, 4, kFixed), columnDescriptor(2, "VAL", 3, 4, kNullableFixed)},
        std::uint32_t(c.expected.size()), c.rows);
    EXPECT_EQ(readPersisted(bytes).rows, c.expected) << c.label;
  }
}

struct ValueCase {
  const char *label;
  std::uint16_t dbType;
  std::uint32_t maxLength;
  QByteArray stored;
  Variant expected;
};

TEST(TableGramValues, FixedSizeTypesDecodeAsAdoStoresThem) {
  const ValueCase cases[] = {
      {"currency minimum", 6, 8, le64(0x8000000000000000ULL),
       Variant::fromCurrency(std::numeric_limits<std::int64_t>::min())},
      {"currency 1234.56", 6, 8, hex("00 61 BC 00 00 00 00 00"), Variant::fromCurrency(12345600)},
      {"date before 1899-12-30", 7, 8, hex("00 00 00 00 00 00 F8 BF"), Variant::fromDate(-1.5)},
      {"boolean true", 11, 2, hex("FF FF"), Variant(true)},
      {"boolean false", 11, 2, hex("00 00"), Variant(false)},
      {"tinyint", 16, 1, hex("FE"), Variant::fromInt(-2, VarType::ShortInt)},
      {"unsigned tinyint", 17, 1, hex("FE"), Variant::fromInt(254, VarType::Byte)},
      {"unsigned bigint", 21, 8, hex("FF FF FF FF FF FF FF FF"),
       Variant::fromUInt64(std::numeric_limits<std::uint64_t>::max())},
      {"numeric sign 1 is positive", 131, 19, hex("12 04 01") + le64(12345) + le64(0),
       Variant::fromDecimal({false, 4, 0, 12345})},
      {"numeric sign 0 is negative", 131, 19, hex("12 04 00") + le64(12345) + le64(0),
       Variant::fromDecimal({true, 4, 0, 12345})},
      {"decimal sign 0x80 is negative", 14, 16, hex("00 00 04 80") + le32(0) + le64(12345),
       Variant::fromDecimal({true, 4, 0, 12345})},
      {"decimal reserved word 0x000E", 14, 16, hex("0E 00 02 00") + le32(1) + le64(5),
       Variant::fromDecimal({false, 2, 1, 5})},
      {"GUID in memory order", 72, 16, hex("67 45 23 01 AB 89 EF CD 01 23 45 67 89 AB CD EF"),
       Variant("{01234567-89AB-CDEF-0123-456789ABCDEF}")},
      {"file time", 64, 8, le64(126595947600000000ULL),
       Variant::fromDate(oleDate(2002, 3, 3, 2, 6, 0))},
      {"DBDATE", 133, 6, le16(1999) + le16(12) + le16(31),
       Variant::fromDate(oleDate(1999, 12, 31))},
      {"DBTIME", 134, 6, le16(23) + le16(59) + le16(58),
       Variant::fromDate(oleDate(1899, 12, 30, 23, 59, 58))},
      {"variant holding an integer", 12, 16, hex("03 00 00 00 00 00 00 00 2A 00 00 00 00 00 00 00"),
       Variant(42)},
      {"variant holding a decimal", 12, 16, hex("0E 00 01 80") + le32(0) + le64(15),
       Variant::fromDecimal({true, 1, 0, 15})},
  };
  for (const ValueCase &c : cases) {
    const QByteArray bytes =
        tableGram({columnDescriptor(1, "VAL", c.dbType, c.maxLength, kNullableFixed,
                                    c.dbType == 131 ? 18 : 0, c.dbType == 131 ? 4 : 0)},
                  1, hex("07 FF") + c.stored);
    const RecordsetData data = readPersisted(bytes);
    ASSERT_EQ(data.rows.size(), 1u) << c.label;
    EXPECT_EQ(data.rows[0][0], c.expected) << c.label;
  }
}

TEST(TableGramValues, TimestampFractionIsInNanoseconds) {
  const QByteArray stored =
      le16(2026) + le16(1) + le16(2) + le16(3) + le16(4) + le16(5) + le32(123000000);
  const QByteArray bytes =
      tableGram({columnDescriptor(1, "TS", 135, 16, kNullableFixed)}, 1, hex("07 FF") + stored);
  const Variant value = readPersisted(bytes).rows.at(0).at(0);
  EXPECT_EQ(value.type(), VarType::Date);
  EXPECT_NEAR(value.toDateTime(), oleDate(2026, 1, 2, 3, 4, 5, 123), 1e-10);
  // The XML form of the same value carries the fraction in nanoseconds too.
  const QByteArray xml = writePersisted(readPersisted(bytes), PersistFormat::Xml);
  EXPECT_TRUE(xml.contains("TS='2026-01-02T03:04:05.123000000'")) << xml.toStdString();
}

// The writer's metadata (header, handler options, result descriptor, context, column
// descriptors) is byte for byte what ADO wrote for the same fields.
TEST(TableGramWriter, MetadataEqualsWhatAdoWrote) {
  const struct {
    const char *file;
    int codePage;
  } files[] = {{"ivere27_tablegram__types_basic.adtg", 1252},
               {"ivere27_tablegram__flat_VarWChar_null_states.adtg", 1252},
               {"ivere27_tablegram__all_supported_types.adtg", 949}};
  for (const auto &f : files) {
    const QByteArray original = corpusFile(f.file);
    qsizetype end = 0x10E;
    while (end + 3 <= original.size() && original[end] == '\x06')
      end += 3 + (static_cast<unsigned char>(original[end + 1]) |
                  static_cast<unsigned char>(original[end + 2]) << 8);
    ASSERT_GT(end, 0x10E) << f.file;
    const QByteArray written =
        writePersisted(readPersisted(original, f.codePage), PersistFormat::Adtg, f.codePage);
    EXPECT_EQ(written.left(end).toHex(' ').toStdString(),
              original.left(end).toHex(' ').toStdString())
        << f.file;
    EXPECT_EQ(written.back(), '\x0F') << f.file;
  }
}

// A chaptered (hierarchical) recordset opens on its parent rows; the chapter column and the
// child rows are not part of them.
TEST(TableGramRows, ChapteredRecordsetShowsItsParentRows) {
  const QByteArray preamble = adoPreamble(2, 2);
  QByteArray childHeader = preamble.mid(0x25); // result descriptor + context of the parent
  childHeader.replace(0x3B - 0x25, 2, le16(2));
  childHeader.replace(0x3D - 0x25, 2, le16(2));
  QByteArray chapter = columnDescriptor(2, "LINES", 136, 4, 0x2000 | 0x20);
  const QByteArray relation = le32(12) + le32(1) + le32(1) + le32(0) + le32(0);
  chapter += relation;
  chapter.replace(1, 2, le16(std::uint16_t(chapter.size() - 3)));
  const auto childColumn = [](std::uint16_t ordinal, const char *name, std::uint16_t type,
                              std::uint32_t size, std::uint32_t flags) {
    QByteArray d = columnDescriptor(ordinal, name, type, size, flags) + le32(2); // child id
    d.replace(1, 2, le16(std::uint16_t(d.size() - 3)));
    return d;
  };
  const QByteArray bytes =
      preamble + columnDescriptor(1, "ID", 3, 4, kFixed) + chapter + childHeader +
      childColumn(1, "ORDER_ID", 3, 4, kFixed) + childColumn(2, "NAME", 130, 20, kNullable) +
      hex("07 7F") + le32(1) + hex("87") + le32(2) + hex("FF") + le32(1) + byte(6) + utf16("abc") +
      hex("87") + le32(2) + hex("7F") + le32(1) + hex("07 7F") + le32(2) + hex("0F");
  const RecordsetData data = readPersisted(bytes);
  ASSERT_EQ(data.fields.size(), 1u);
  EXPECT_EQ(data.fields[0].name, "ID");
  const std::vector<std::vector<Variant>> expected = {{Variant(1)}, {Variant(2)}};
  EXPECT_EQ(data.rows, expected);
}

struct RejectCase {
  const char *label;
  QByteArray bytes;
  const char *message; // part of the error text
};

TEST(TableGramRejects, DamagedStructureFailsWithAClearMessage) {
  const QByteArray id = columnDescriptor(1, "ID", 3, 4, kFixed);
  const QByteArray good = tableGram({id}, 1, hex("07") + le32(1));
  const auto patched = [&](qsizetype at, const QByteArray &with) {
    QByteArray b = good;
    b.replace(at, with.size(), with);
    return b;
  };
  const RejectCase cases[] = {
      {"no signature", patched(2, "TX!"), "neither a TableGram"},
      {"big-endian", patched(7, hex("01")), "big-endian"},
      {"more columns announced", patched(0x3D, le16(2)), "announces 2 columns"},
      {"unknown token among rows", tableGram({id}, 1, hex("07") + le32(1) + hex("0B")),
       "unexpected token"},
      {"element cut short", tableGram({id}, 1, hex("0B")), "truncated element"},
      {"change without original", tableGram({id}, 1, hex("0A 80 00") + le32(1)),
       "without its original row"},
      {"both updated and forced null",
       tableGram({id}, 1, hex("07") + le32(1) + hex("0A 80 80") + le32(2)), "both updated"},
      {"unknown column fields", patched(0x10E + 3, hex("80 02 00")), "does not know"},
      {"decimal scale above 28",
       tableGram({columnDescriptor(1, "D", 14, 16, kFixed)}, 1,
                 hex("07 00 00 1D 00") + le32(0) + le64(1)),
       "scale"},
      {"month 13",
       tableGram({columnDescriptor(1, "D", 133, 6, kFixed)}, 1,
                 hex("07") + le16(2000) + le16(13) + le16(1)),
       "invalid date"},
      {"Unicode text of odd length",
       tableGram({columnDescriptor(1, "T", 130, 20, kFixed & ~0x10u)}, 1, hex("07 03 41 00 42")),
       "odd length"},
      {"numeric beyond 96 bits",
       tableGram({columnDescriptor(1, "N", 131, 19, kFixed)}, 1,
                 hex("07 26 00 01") + le64(0) + le64(1ULL << 40)),
       "does not fit"},
      {"unsupported column type",
       tableGram({columnDescriptor(1, "E", 10, 4, kFixed)}, 1, hex("07") + le32(0)),
       "not supported"},
      {"variant holding text",
       tableGram({columnDescriptor(1, "V", 12, 16, kFixed)}, 1,
                 hex("07 08 00") + QByteArray(14, '\0')),
       "not supported"},
      {"empty", QByteArray(), "empty"},
      {"neither format", QByteArray("PK\x03\x04"), "neither"},
  };
  for (const RejectCase &c : cases) {
    try {
      readPersisted(c.bytes);
      ADD_FAILURE() << c.label << ": no error";
    } catch (const EOleException &e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
          << c.label << ": " << e.what();
    }
  }
}

} // namespace
