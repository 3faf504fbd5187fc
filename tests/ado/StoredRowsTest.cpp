// TableGram rows read in place: a recordset keeps its rows in their stored form and decodes a
// value when it is read, so a value read alone must equal the same value decoded with its
// whole row, for every row state and every column layout.
#include "AdoTestSupport.h"

#include "framework/ado/RecordsetRows.h"

#include <gtest/gtest.h>

using namespace AdoTest;

namespace {

// Every cell read alone, against the rows decoded whole.
void expectCellsMatchRows(const QByteArray &bytes, int codePage, const std::string &context) {
  const std::shared_ptr<const RecordsetRows> rows = openPersisted(bytes, codePage);
  const RecordsetData whole = readPersisted(bytes, codePage);
  ASSERT_EQ(rows->rowCount(), whole.rows.size()) << context;
  ASSERT_EQ(rows->fields().size(), whole.fields.size()) << context;
  // Last column first, so that no cell can lean on a walk left by the one before it.
  for (std::size_t r = 0; r < whole.rows.size(); ++r)
    for (std::size_t c = whole.fields.size(); c-- > 0;)
      EXPECT_EQ(rows->value(r, c), whole.rows[r][c])
          << context << ", row " << r << ", field " << whole.fields[c].name.toStdString();
}

TEST(StoredRows, EachValueReadAloneEqualsItsRowDecodedWhole) {
  const struct {
    const char *file;
    int codePage;
  } files[] = {{"ivere27_tablegram__types_basic.adtg", 1252},
               {"ivere27_tablegram__flat_VarWChar_null_states.adtg", 1252},
               {"ivere27_tablegram__all_supported_types.adtg", 949}};
  for (const auto &f : files)
    expectCellsMatchRows(corpusFile(f.file), f.codePage, f.file);
}

// A provider's rows: a table descriptor, columns with their base-table facts, a hidden
// row-version column before the first visible one and a hidden column between visible ones,
// ANSI and Unicode text, nulls in the presence map, and a change, a delete and an insert.
QByteArray byte(int v) { return QByteArray(1, char(v)); }

QByteArray lengthPrefixed(const QString &text) {
  return le16(std::uint16_t(text.size())) + utf16(text);
}

QByteArray element(char token, const QByteArray &body) {
  return QByteArray(1, token) + le16(std::uint16_t(body.size())) + body;
}

struct ProviderColumn {
  const char *name;
  std::uint16_t dbType;
  std::uint32_t maxLength;
  std::uint32_t flags;
  bool visible;
};

QByteArray providerColumn(std::uint16_t ordinal, const ProviderColumn &c) {
  const QString name = QString::fromLatin1(c.name);
  // Name, base table and column ordinals, base column name, catalog, schema, autoincrement.
  return element('\x06', hex("F3 01 00") + le16(ordinal) + lengthPrefixed(name) + le16(1) +
                             le16(ordinal) + lengthPrefixed(name) + le16(c.dbType) +
                             le32(c.maxLength) + le32(0) + le32(255) + le32(c.flags) +
                             lengthPrefixed("pubs") + lengthPrefixed("dbo") + le16(0) +
                             le16(c.visible ? 0xFFFF : 0));
}

QByteArray providerTableGram() {
  const ProviderColumn columns[] = {
      {"ts", 128, 8, 0x0210, false},     // row version: fixed binary, hidden
      {"pub_id", 129, 4, 0x8018, true},  // key: fixed ANSI text
      {"pub_name", 129, 40, 0x68, true}, // nullable ANSI text, 1-byte length
      {"city", 130, 20, 0x68, true},     // nullable Unicode text, 1-byte length
      {"upd", 3, 4, 0x08, false},        // hidden integer between visible columns
      {"state", 129, 2, 0x78, true},     // nullable fixed ANSI text
      {"amount", 6, 8, 0x68, true},      // nullable currency
  };
  QByteArray bytes = hex("01 07") + "TG!" + hex("00 00 00 00");
  bytes += element('\x02', hex("B6 92 F2 3F 04 B2 CF 11 8D 23 00 AA 00 5F FE 58 01 "
                               "00 00 00 00 00 00 03 00"));
  bytes += element('\x03', QByteArray(16, '\x11') + hex("00 00 00") + le16(5) + le16(7) + le16(0) +
                               le16(1) + le16(0) + le32(3));
  bytes +=
      element('\x05', le16(1) + lengthPrefixed("\"pubs\"..\"publishers\"") +
                          lengthPrefixed("publishers") + le16(0) + le16(7) + le16(1) + le16(2));
  for (std::uint16_t i = 0; i < 7; ++i)
    bytes += providerColumn(std::uint16_t(i + 1), columns[i]);
  const QByteArray ts = hex("00 00 00 00 00 00 07 D1");
  const auto ansi = [](const char *text) { return byte(int(qstrlen(text))) + text; };
  const auto wide = [](const char *text) {
    const QByteArray units = utf16(QString::fromLatin1(text));
    return byte(int(units.size())) + units;
  };
  // Presence bits: pub_name, city, state, amount; unused bits set.
  bytes += hex("07 FF") + ts + "0736" + ansi("New Moon Books") + wide("Boston") + le32(1) + "MA" +
           le64(12345678);
  bytes += hex("07 5F") + ts + "0877" + wide("Paris") + le32(2) + le64(50000);
  // Update city, upd and state; force amount to null.
  bytes += hex("0A 1C 02") + wide("Washington") + le32(3) + "DC";
  bytes += hex("07 0F") + ts + "1389" + le32(4);
  bytes += hex("0C");
  // Insert: ts, pub_id, pub_name and amount given; city forced null; state untouched.
  bytes += hex("0D E2 10") + ts + "9999" + ansi("Scootney Books") +
           le64(static_cast<std::uint64_t>(-10000LL));
  return bytes + hex("0F");
}

TEST(StoredRows, ProviderRowsSkipHiddenColumnsAndApplyPendingChanges) {
  const QByteArray bytes = providerTableGram();
  const RecordsetData data = readPersisted(bytes);
  const char *names[] = {"pub_id", "pub_name", "city", "state", "amount"};
  const DataTypeEnum types[] = {adChar, adVarChar, adVarWChar, adChar, adCurrency};
  const std::int32_t sizes[] = {4, 40, 20, 2, 8};
  ASSERT_EQ(data.fields.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(data.fields[i].name, QLatin1String(names[i]));
    EXPECT_EQ(data.fields[i].type, types[i]) << names[i];
    EXPECT_EQ(data.fields[i].definedSize, sizes[i]) << names[i];
  }
  const Variant null = Variant::null();
  const std::vector<std::vector<Variant>> expected = {
      {Variant("0736"), Variant("New Moon Books"), Variant("Boston"), Variant("MA"),
       Variant::fromCurrency(12345678)},
      {Variant("0877"), null, Variant("Washington"), Variant("DC"), null},
      {Variant("9999"), Variant("Scootney Books"), null, null, Variant::fromCurrency(-10000)},
  };
  EXPECT_EQ(data.rows, expected);
  expectCellsMatchRows(bytes, 1252, "provider rows");
}

// The rows hold on to the bytes they were opened from; the caller's buffer may change or go.
TEST(StoredRows, RowsOutliveTheCallersBuffer) {
  RecordsetData data;
  data.fields = {FieldInfo{"ID", adInteger, 4, adFldUpdatable, 0, 0},
                 FieldInfo{"T", adVarWChar, 40, adFldIsNullable, 0, 0}};
  data.rows = {{Variant(1), Variant("first")}, {Variant(2), Variant::null()}};
  QByteArray bytes = writePersisted(data, PersistFormat::Adtg);
  const std::shared_ptr<const RecordsetRows> rows = openPersisted(bytes);
  bytes.fill('\0');
  bytes.clear();
  ASSERT_EQ(rows->rowCount(), 2u);
  EXPECT_EQ(rows->value(0, 1), Variant("first"));
  EXPECT_EQ(rows->value(1, 0), Variant(2));
  EXPECT_TRUE(rows->value(1, 1).isNull());
}

} // namespace
