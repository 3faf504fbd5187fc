// Writer output reads back identically, in both formats.
#include "AdoTestSupport.h"

#include "TDInvoice/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace AdoTest;
using TDInvoice::EOleException;

namespace {

constexpr std::uint32_t kNullable = adFldUpdatable | adFldIsNullable | adFldMayBeNull;

FieldInfo field(const char *name, DataTypeEnum type, std::int32_t size = 0,
                std::uint32_t attributes = kNullable, std::uint8_t precision = 0,
                std::uint8_t scale = 0) {
  return FieldInfo{QString::fromUtf8(name), type, size, attributes, precision, scale};
}

Decimal decimal(bool negative, int scale, std::uint64_t mantissa, std::uint32_t high = 0) {
  return Decimal{negative, std::uint8_t(scale), high, mantissa};
}

// Every writable type, each with a few values that exercise its edges, a null and (for
// text) an empty string.
RecordsetData everyType() {
  RecordsetData data;
  data.fields = {
      field("ID", adInteger, 4, adFldUpdatable),
      field("TinyInt", adTinyInt),
      field("Byte", adUnsignedTinyInt),
      field("SmallInt", adSmallInt),
      field("Word", adUnsignedSmallInt),
      field("LongWord", adUnsignedInt),
      field("BigInt", adBigInt),
      field("UBigInt", adUnsignedBigInt),
      field("Single", adSingle),
      field("Double", adDouble),
      field("Amount", adCurrency),
      field("Flag", adBoolean),
      field("When", adDate),
      field("Day", adDBDate),
      field("Clock", adDBTime),
      field("Stamp", adDBTimeStamp, 0, kNullable, 0, 9),
      field("FileTime", adFileTime),
      field("Guid", adGUID),
      field("Dec", adDecimal, 0, kNullable, 28, 6),
      field("Num", adNumeric, 0, kNullable, 18, 4),
      field("Ansi", adVarChar, 255),
      field("AnsiFixed", adChar, 8),
      field("AnsiLong", adLongVarChar, 1000),
      field("Text", adVarWChar, 255),
      field("TextFixed", adWChar, 6),
      field("Memo", adLongVarWChar, -1),
      field("Bstr", adBSTR, -1),
      field("Bin", adVarBinary, 300),
      field("BinFixed", adBinary, 4),
      field("Blob", adLongVarBinary, 64),
      field("Order Date", adDate), // not an XML name: written as c<n> with rs:name
  };
  const QString longText(255, QChar(u'\u00E9'));
  const Variant null = Variant::null();
  data.rows.push_back({Variant(1),
                       Variant::fromInt(-128, VarType::ShortInt),
                       Variant::fromInt(255, VarType::Byte),
                       Variant::fromInt(-32768, VarType::SmallInt),
                       Variant::fromInt(65535, VarType::Word),
                       Variant::fromInt(0xFFFFFFFFLL, VarType::LongWord),
                       Variant::fromInt(std::numeric_limits<std::int64_t>::min(), VarType::Int64),
                       Variant::fromUInt64(std::numeric_limits<std::uint64_t>::max()),
                       Variant::fromSingle(5.3249998f),
                       Variant(0.1),
                       Variant::fromCurrency(std::numeric_limits<std::int64_t>::min()),
                       Variant(true),
                       Variant::fromDate(oleDate(2001, 2, 3, 4, 5, 6)),
                       Variant::fromDate(oleDate(1999, 12, 31)),
                       Variant::fromDate(oleDate(1899, 12, 30, 23, 59, 58)),
                       Variant::fromDate(oleDate(2026, 1, 2, 3, 4, 5, 123)),
                       Variant::fromDate(oleDate(2002, 3, 3, 2, 6, 0)),
                       Variant("{01234567-89AB-CDEF-0123-456789ABCDEF}"),
                       Variant::fromDecimal(decimal(true, 6, 0xFFFFFFFFFFFFFFFFULL, 0xFFFFFFFF)),
                       Variant::fromDecimal(decimal(false, 4, 10001234)),
                       Variant(QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC <&'\">")),
                       Variant("fixed   "),
                       Variant(QString(900, u'x')),
                       Variant(longText),
                       Variant(QString::fromUtf8("\xED\x95\x9C\xEA\xB8\x80    ")),
                       Variant(QString::fromUtf8("tab\there\r\nline \x01 \xF0\x9F\x98\x80")),
                       Variant(QString()),
                       Variant::fromBytes(QByteArray(300, '\xAB')),
                       Variant::fromBytes(hex("DEADBEEF")),
                       Variant::fromBytes(QByteArray()),
                       Variant::fromDate(-1.5)});
  data.rows.push_back({Variant(2), null, null, null, null, null, null, null, null, null, null,
                       null,       null, null, null, null, null, null, null, null, null, null,
                       null,       null, null, null, null, null, null, null, null});
  data.rows.push_back({Variant(3),
                       Variant::fromInt(0, VarType::ShortInt),
                       Variant::fromInt(0, VarType::Byte),
                       Variant::fromInt(1, VarType::SmallInt),
                       Variant::fromInt(0, VarType::Word),
                       Variant::fromInt(0, VarType::LongWord),
                       Variant::fromInt(std::numeric_limits<std::int64_t>::max(), VarType::Int64),
                       Variant::fromUInt64(0),
                       Variant::fromSingle(-1.401298464e-45f),
                       Variant(-1.7976931348623157e308),
                       Variant::fromCurrency(1),
                       Variant(false),
                       Variant::fromDate(oleDate(9999, 12, 31, 23, 59, 59)),
                       Variant::fromDate(oleDate(100, 1, 1)),
                       Variant::fromDate(0.0),
                       Variant::fromDate(oleDate(1601, 1, 1)),
                       Variant::fromDate(oleDate(1601, 1, 1)),
                       Variant("{00000000-0000-0000-0000-000000000000}"),
                       Variant::fromDecimal(decimal(false, 0, 0)),
                       Variant::fromDecimal(decimal(true, 4, 9223372036854775807ULL)),
                       Variant(QString()),
                       Variant("        "),
                       Variant(QString()),
                       Variant(QString()),
                       Variant("      "),
                       Variant(QString()),
                       Variant("b"),
                       Variant::fromBytes(QByteArray()),
                       Variant::fromBytes(hex("00000000")),
                       Variant::fromBytes(hex("00")),
                       Variant::fromDate(oleDate(2008, 12, 25))});
  return data;
}

// Fixed-size types and fixed-length text and binary are stored with the fixed flag.
bool isFixed(DataTypeEnum type) {
  const DataTypeEnum variable[] = {adVarChar, adLongVarChar, adVarWChar,      adLongVarWChar,
                                   adBSTR,    adVarBinary,   adLongVarBinary, adVarNumeric};
  return std::find(std::begin(variable), std::end(variable), type) == std::end(variable);
}

TEST(WriterRoundTrip, EveryTypeReadsBackIdenticallyInBothFormats) {
  const RecordsetData data = everyType();
  for (PersistFormat format : {PersistFormat::Adtg, PersistFormat::Xml}) {
    const char *name = format == PersistFormat::Adtg ? "ADTG" : "XML";
    const QByteArray bytes = writePersisted(data, format);
    RecordsetData back = readPersisted(bytes);
    // The writer stores fixed-size and fixed-length fields as such; the defined size of a
    // fixed-size type is its storage width.
    RecordsetData expected = data;
    for (std::size_t i = 0; i < expected.fields.size(); ++i) {
      FieldInfo &f = expected.fields[i];
      if (f.type == adBSTR) {
        f.type = adLongVarWChar;
        f.definedSize = -1;
      }
      if (isFixed(f.type))
        f.attributes |= adFldFixed;
      if (f.type == adLongVarChar || f.type == adLongVarWChar || f.type == adLongVarBinary)
        f.attributes |= adFldLong;
      f.definedSize = back.fields[i].definedSize;
    }
    expectSameRecordset(expected, back, name);
  }
}

TEST(WriterRoundTrip, CorpusRecordsetsSurviveBothWriters) {
  const struct {
    const char *file;
    int codePage;
  } files[] = {{"ivere27_tablegram__types_basic.adtg", 1252},
               {"ivere27_tablegram__flat_VarWChar_null_states.xml", 1252},
               {"ivere27_tablegram__all_supported_types.adtg", 949}};
  for (const auto &f : files) {
    const RecordsetData original = readPersisted(corpusFile(f.file), f.codePage);
    for (PersistFormat format : {PersistFormat::Adtg, PersistFormat::Xml})
      expectSameRecordset(original,
                          readPersisted(writePersisted(original, format, f.codePage), f.codePage),
                          f.file);
  }
}

TEST(WriterOutput, XmlLooksLikeWhatAdoWrites) {
  const RecordsetData data = everyType();
  const QByteArray xml = writePersisted(data, PersistFormat::Xml);
  EXPECT_TRUE(xml.startsWith("<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'\r\n"));
  EXPECT_FALSE(xml.contains("<?xml"));
  EXPECT_TRUE(xml.contains("rs:name='Order Date'"));
  EXPECT_TRUE(xml.contains("Amount='-922337203685477.5808'"));
  EXPECT_TRUE(xml.contains("Stamp='2026-01-02T03:04:05.123000000'"));
  EXPECT_TRUE(xml.contains("When='2001-02-03T04:05:06'"));
  EXPECT_TRUE(xml.contains("Ansi='caf\xC3\xA9 \xE2\x82\xAC &#x3c;&#x26;&#x27;&#x22;&#x3e;'"));
  EXPECT_TRUE(xml.contains("Flag='True'"));
  EXPECT_TRUE(xml.contains("BinFixed='deadbeef'"));
  EXPECT_TRUE(xml.contains("<z:row ID='2'/>")); // nulls are omitted attributes
  EXPECT_TRUE(xml.contains("dt:type='dateTime' rs:dbtype='variantdate' dt:maxLength='16'"));
}

TEST(WriterOutput, AnsiTextUsesTheCodePageGiven) {
  RecordsetData data;
  data.fields = {field("T", adVarChar, 20)};
  data.rows = {{Variant(QString::fromUtf8("\xED\x95\x9C\xEA\xB8\x80"))}};
  const QByteArray korean = writePersisted(data, PersistFormat::Adtg, 949);
  EXPECT_TRUE(korean.contains(hex("04 C7 D1 B1 DB")));
  expectSameRecordset(data, readPersisted(korean, 949), "CP949");
  EXPECT_THROW(writePersisted(data, PersistFormat::Adtg, 1252), EOleException);
}

struct WriterRejectCase {
  const char *label;
  RecordsetData data;
  PersistFormat format;
  const char *message;
};

TEST(WriterOutput, RefusesDataItCannotStore) {
  const auto one = [](FieldInfo f, Variant v) {
    RecordsetData d;
    d.fields = {std::move(f)};
    d.rows = {{std::move(v)}};
    return d;
  };
  RecordsetData ragged;
  ragged.fields = {field("A", adInteger), field("B", adInteger)};
  ragged.rows = {{Variant(1)}};
  const WriterRejectCase cases[] = {
      {"row of the wrong width", ragged, PersistFormat::Adtg, "has 1 values for 2 fields"},
      {"row of the wrong width (XML)", ragged, PersistFormat::Xml, "has 1 values for 2 fields"},
      {"null in a field that is not nullable",
       one(field("A", adInteger, 4, adFldUpdatable), Variant::null()), PersistFormat::Adtg,
       "is not nullable"},
      {"null in a field that is not nullable (XML)",
       one(field("A", adInteger, 4, adFldUpdatable), Variant::null()), PersistFormat::Xml,
       "is not nullable"},
      {"text longer than its field", one(field("T", adVarWChar, 3), Variant("abcd")),
       PersistFormat::Adtg, "longer than"},
      {"text longer than its field (XML)", one(field("T", adVarWChar, 3), Variant("abcd")),
       PersistFormat::Xml, "longer than"},
      {"integer out of range", one(field("S", adSmallInt), Variant(40000)), PersistFormat::Adtg,
       "out of range"},
      {"NaN", one(field("D", adDouble), Variant(std::nan(""))), PersistFormat::Xml, "NaN"},
      {"text in a number field", one(field("I", adInteger), Variant("x")), PersistFormat::Adtg,
       "Could not convert"},
      {"variant field as XML", one(field("V", adVariant), Variant(1)), PersistFormat::Xml,
       "variant field"},
      {"field without a size", one(field("T", adVarWChar, 0), Variant("a")), PersistFormat::Adtg,
       "needs a defined size"},
      {"unsupported field type", one(field("X", adIDispatch), Variant(1)), PersistFormat::Adtg,
       "not supported"},
  };
  for (const WriterRejectCase &c : cases) {
    try {
      writePersisted(c.data, c.format);
      ADD_FAILURE() << c.label << ": no error";
    } catch (const EOleException &e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
          << c.label << ": " << e.what();
    }
  }
}

// A numeric field keeps its declared scale: a value with more decimals is rounded half to
// even to it, the same way in both formats.
TEST(WriterRoundTrip, NumericValuesTakeTheFieldScale) {
  RecordsetData data;
  data.fields = {field("N", adNumeric, 19, kNullable, 9, 2)};
  data.rows = {{Variant::fromDecimal(decimal(false, 4, 12345678))},
               {Variant::fromDecimal(decimal(true, 3, 1125))}};
  for (PersistFormat format : {PersistFormat::Adtg, PersistFormat::Xml}) {
    const RecordsetData back = readPersisted(writePersisted(data, format));
    ASSERT_EQ(back.rows.size(), 2u);
    EXPECT_EQ(back.rows[0][0].toString(), "1234.57");
    EXPECT_EQ(back.rows[1][0].toString(), "-1.12");
  }
}

TEST(WriterRoundTrip, VariantFieldKeepsNumbersInTableGrams) {
  RecordsetData data;
  data.fields = {field("V", adVariant, 16)};
  data.rows = {{Variant(42)},
               {Variant(2.5)},
               {Variant::fromCurrency(-5)},
               {Variant(true)},
               {Variant::fromDecimal(decimal(true, 2, 12345))},
               {Variant::null()}};
  RecordsetData expected = data;
  expected.fields[0].attributes |= adFldFixed;
  expected.fields[0].definedSize = 16;
  expectSameRecordset(expected, readPersisted(writePersisted(data, PersistFormat::Adtg)),
                      "variant");
}

} // namespace
