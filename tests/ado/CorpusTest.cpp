// The sample files ADO itself wrote: every file opens, each TableGram and its XML twin give
// the same recordset, and the facts the corpus documents hold.
#include "AdoTestSupport.h"

#include <gtest/gtest.h>

using namespace AdoTest;

namespace {

struct CorpusPair {
  const char *stem;
  int codePage; // of the ANSI text in the TableGram
  std::size_t fields;
  std::size_t rows;
};

const CorpusPair kPairs[] = {
    {"ivere27_tablegram__types_basic", 1252, 5, 2},
    {"ivere27_tablegram__flat_VarWChar_null_states", 1252, 2, 3},
    {"ivere27_tablegram__all_supported_types", 949, 31, 4},
};

RecordsetData readCorpus(const std::string &name, int codePage = 1252) {
  return readPersisted(corpusFile(name), codePage);
}

TEST(Corpus, EveryFileOpensWithItsFieldAndRowCounts) {
  for (const CorpusPair &pair : kPairs) {
    for (const char *extension : {".adtg", ".xml"}) {
      const std::string name = std::string(pair.stem) + extension;
      const RecordsetData data = readCorpus(name, pair.codePage);
      EXPECT_EQ(data.fields.size(), pair.fields) << name;
      EXPECT_EQ(data.rows.size(), pair.rows) << name;
      for (const auto &row : data.rows)
        EXPECT_EQ(row.size(), data.fields.size()) << name;
    }
  }
}

TEST(Corpus, EachTableGramAndItsXmlTwinGiveTheSameRecordset) {
  for (const CorpusPair &pair : kPairs) {
    const RecordsetData adtg = readCorpus(std::string(pair.stem) + ".adtg", pair.codePage);
    const RecordsetData xml = readCorpus(std::string(pair.stem) + ".xml");
    expectSameRecordset(xml, adtg, pair.stem);
  }
}

TEST(Corpus, RowCountOfTheResultDescriptorIsTheNumberOfRowsShown) {
  for (const CorpusPair &pair : kPairs) {
    const QByteArray bytes = corpusFile(std::string(pair.stem) + ".adtg");
    ASSERT_GT(bytes.size(), 0x49);
    const auto announced = std::uint32_t(static_cast<unsigned char>(bytes[0x45])) |
                           std::uint32_t(static_cast<unsigned char>(bytes[0x46])) << 8;
    EXPECT_EQ(readPersisted(bytes, pair.codePage).rows.size(), announced) << pair.stem;
  }
}

// Rows that exist only as pending inserts (0x0D records) are shown.
TEST(Corpus, TypesBasicHoldsItsTwoInsertedRows) {
  for (const char *name :
       {"ivere27_tablegram__types_basic.adtg", "ivere27_tablegram__types_basic.xml"}) {
    const RecordsetData data = readCorpus(name);
    const char *names[] = {"ID", "FLAG", "AMOUNT", "RATIO", "WHEN_AT"};
    const DataTypeEnum types[] = {adInteger, adBoolean, adCurrency, adDouble, adDate};
    ASSERT_EQ(data.fields.size(), 5u) << name;
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(data.fields[std::size_t(i)].name, QLatin1String(names[i])) << name;
      EXPECT_EQ(data.fields[std::size_t(i)].type, types[i]) << name;
      EXPECT_EQ(data.fields[std::size_t(i)].attributes, 0x14u) << name;
    }
    const std::vector<std::vector<Variant>> expected = {
        {Variant(1), Variant(true), Variant::fromCurrency(12345600), Variant(3.14159),
         Variant::fromDate(oleDate(2001, 2, 3, 4, 5, 6))},
        {Variant(-2), Variant(false), Variant::fromCurrency(-78900), Variant(-0.25),
         Variant::fromDate(oleDate(1999, 12, 31, 23, 59, 58))},
    };
    EXPECT_EQ(data.rows, expected) << name;
  }
}

// Pending delete left out, update applied (VALUE '' forced to NULL), insert shown.
TEST(Corpus, NullStatesApplyEveryPendingChange) {
  for (const char *name : {"ivere27_tablegram__flat_VarWChar_null_states.adtg",
                           "ivere27_tablegram__flat_VarWChar_null_states.xml"}) {
    const RecordsetData data = readCorpus(name);
    ASSERT_EQ(data.fields.size(), 2u);
    EXPECT_EQ(data.fields[1].type, adVarWChar) << name;
    EXPECT_EQ(data.fields[1].definedSize, 120) << name;
    EXPECT_EQ(data.fields[1].attributes, 0x24u) << name;
    const std::vector<std::vector<Variant>> expected = {{Variant(1), Variant::null()},
                                                        {Variant(3), Variant::null()},
                                                        {Variant(4), Variant::null()}};
    EXPECT_EQ(data.rows, expected) << name;
  }
}

int fieldIndex(const RecordsetData &data, const char *name) {
  for (std::size_t i = 0; i < data.fields.size(); ++i)
    if (data.fields[i].name == QLatin1String(name))
      return int(i);
  ADD_FAILURE() << "no field " << name;
  return 0;
}

TEST(Corpus, AllSupportedTypesGivesEachTypeItsValue) {
  const RecordsetData data = readCorpus("ivere27_tablegram__all_supported_types.adtg", 949);
  ASSERT_EQ(data.rows.size(), 4u);
  const auto &row3 = data.rows[1]; // ID 3, unchanged
  const auto at = [&](const char *name) { return row3[std::size_t(fieldIndex(data, name))]; };
  EXPECT_EQ(at("ID"), Variant(3));
  EXPECT_EQ(at("ALL_01_TinyInt"), Variant::fromInt(3, VarType::ShortInt));
  EXPECT_EQ(at("ALL_04_UnsignedSmallInt"), Variant::fromInt(300, VarType::Word));
  EXPECT_EQ(at("ALL_08_UnsignedBigInt"), Variant::null());
  EXPECT_EQ(at("ALL_09_Single"), Variant::fromSingle(3.125f));
  EXPECT_EQ(at("ALL_11_Currency"), Variant::fromCurrency(30001234));
  EXPECT_EQ(at("ALL_13_Date"), Variant::fromDate(oleDate(2003, 4, 4, 3, 9, 0)));
  EXPECT_EQ(at("ALL_14_DBDate"), Variant::fromDate(oleDate(2003, 4, 4)));
  EXPECT_EQ(at("ALL_15_DBTime"), Variant::fromDate(oleDate(1899, 12, 30, 3, 9, 0)));
  EXPECT_EQ(at("ALL_17_FileTime"), Variant::fromDate(oleDate(2003, 4, 4, 3, 9, 0)));
  EXPECT_EQ(at("ALL_18_GUID"), Variant("{00000000-0000-0000-0000-000000003000}"));
  EXPECT_EQ(at("ALL_20_Char"), Variant("r3p0        "));
  EXPECT_EQ(at("ALL_22_VarChar"),
            Variant(QString::fromUtf8("r3_p0_\xED\x95\x9C\xEA\xB8\x80_<&'>")));
  EXPECT_EQ(at("ALL_26_Binary"), Variant::fromBytes(hex("0300dead00000000")));
  EXPECT_EQ(at("ALL_29_Numeric").toString(), "3000.1234");
  EXPECT_EQ(at("ALL_30_Decimal"), Variant::null());
  EXPECT_EQ(data.fields[std::size_t(fieldIndex(data, "ALL_19_BSTR"))].type, adLongVarWChar);
  EXPECT_EQ(data.fields[std::size_t(fieldIndex(data, "ALL_19_BSTR"))].definedSize, -1);
  EXPECT_EQ(data.fields[std::size_t(fieldIndex(data, "ALL_29_Numeric"))].precision, 18);
  EXPECT_EQ(data.fields[std::size_t(fieldIndex(data, "ALL_29_Numeric"))].numericScale, 4);
}

// The ANSI columns hold the same text as the Unicode ones only when read with the code page
// they were written in; the file does not record it.
TEST(Corpus, AnsiTextDependsOnTheCodePageGiven) {
  const QByteArray bytes = corpusFile("ivere27_tablegram__all_supported_types.adtg");
  const RecordsetData korean = readPersisted(bytes, 949);
  const RecordsetData western = readPersisted(bytes, 1252);
  const int ansi = fieldIndex(korean, "ALL_22_VarChar");
  const int unicode = fieldIndex(korean, "ALL_23_VarWChar");
  // Row 0 is the pending update, which changed the Unicode column only.
  for (std::size_t r = 1; r < korean.rows.size(); ++r) {
    EXPECT_EQ(korean.rows[r][std::size_t(ansi)], korean.rows[r][std::size_t(unicode)]) << r;
    EXPECT_NE(western.rows[r][std::size_t(ansi)], korean.rows[r][std::size_t(unicode)]) << r;
  }
}

// The update of ID 1 lists only assigned columns: unlisted ones keep their original values,
// the forced-null one becomes NULL.
TEST(Corpus, UpdateKeepsUnassignedColumnsAndForcesNulls) {
  for (const char *name : {"ivere27_tablegram__all_supported_types.adtg",
                           "ivere27_tablegram__all_supported_types.xml"}) {
    const RecordsetData data = readCorpus(name, 949);
    const auto &row1 = data.rows[0];
    EXPECT_EQ(row1[std::size_t(fieldIndex(data, "ID"))], Variant(1)) << name;
    EXPECT_EQ(row1[std::size_t(fieldIndex(data, "ALL_01_TinyInt"))],
              Variant::fromInt(2, VarType::ShortInt))
        << name;
    EXPECT_EQ(row1[std::size_t(fieldIndex(data, "ALL_02_UnsignedTinyInt"))],
              Variant::fromInt(1, VarType::Byte))
        << name;
    EXPECT_EQ(row1[std::size_t(fieldIndex(data, "ALL_09_Single"))], Variant::null()) << name;
    EXPECT_EQ(row1[std::size_t(fieldIndex(data, "ALL_21_WChar"))], Variant("r1p1        ")) << name;
  }
}

} // namespace
