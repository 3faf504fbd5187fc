// ADO's XML rowset format: the quirks of what ADO writes and what a reader must accept.
#include "AdoTestSupport.h"

#include "TDInvoice/Exceptions.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

using namespace AdoTest;
using TDInvoice::EOleException;

namespace {

const char *const kOpen = "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882'\r\n"
                          "\txmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'\r\n"
                          "\txmlns:rs='urn:schemas-microsoft-com:rowset'\r\n"
                          "\txmlns:z='#RowsetSchema'>\r\n"
                          "<s:Schema id='RowsetSchema'>\r\n"
                          "\t<s:ElementType name='row' content='eltOnly' rs:updatable='true'>\r\n";

// ID int not null, TXT string(40) nullable.
QByteArray rowset(const QByteArray &data, const QByteArray &extraColumns = QByteArray()) {
  return QByteArray(kOpen) +
         "\t\t<s:AttributeType name='ID' rs:number='1' rs:write='true'>\r\n"
         "\t\t\t<s:datatype dt:type='int' dt:maxLength='4' rs:precision='0' rs:fixedlength='true' "
         "rs:maybenull='false'/>\r\n\t\t</s:AttributeType>\r\n"
         "\t\t<s:AttributeType name='TXT' rs:number='2' rs:nullable='true' rs:write='true'>\r\n"
         "\t\t\t<s:datatype dt:type='string' dt:maxLength='40' rs:precision='0' "
         "rs:maybenull='false'/>\r\n\t\t</s:AttributeType>\r\n" +
         extraColumns +
         "\t\t<s:extends "
         "type='rs:rowbase'/>\r\n\t</s:ElementType>\r\n</s:Schema>\r\n<rs:data>\r\n" +
         data + "</rs:data>\r\n</xml>";
}

struct TextCase {
  const char *label;
  QByteArray attribute; // the TXT attribute as written
  QString expected;
};

// ADO writes markup characters as hex references and every control character raw; the raw
// ones must survive (attribute-value normalisation would turn TAB, CR and LF into spaces).
TEST(XmlRowsetText, AttributeValuesKeepWhatAdoWrote) {
  const TextCase cases[] = {
      {"hex references", "&#x3c;&#x26;&#x27;&#x3e;&#x22;", "<&'>\""},
      {"named entities", "&lt;&amp;&gt;&quot;&apos;", "<&>\"'"},
      {"decimal reference", "&#65;&#233;", QString::fromUtf8("A\xC3\xA9")},
      {"raw TAB CR LF", "a\tb\r\nc\nd", "a\tb\r\nc\nd"},
      {"raw U+0001 and U+001F", "x\x01y\x1Fz", QString::fromUtf8("x\x01y\x1Fz")},
      {"UTF-8 text", "\xED\x95\x9C\xEA\xB8\x80", QString::fromUtf8("\xED\x95\x9C\xEA\xB8\x80")},
      {"supplementary reference", "&#x1F600;", QString::fromUtf8("\xF0\x9F\x98\x80")},
      {"double quotes inside single", "say \"hi\"", "say \"hi\""},
  };
  for (const TextCase &c : cases) {
    const RecordsetData data =
        readPersisted(rowset("\t<z:row ID='1' TXT='" + c.attribute + "'/>\r\n"));
    ASSERT_EQ(data.rows.size(), 1u) << c.label;
    EXPECT_EQ(data.rows[0][1], Variant(c.expected)) << c.label;
  }
}

TEST(XmlRowsetNulls, OmittedAttributeIsNullAndEmptyAttributeIsEmptyText) {
  const RecordsetData data = readPersisted(rowset("\t<z:row ID='1' TXT=''/>\r\n"
                                                  "\t<z:row ID='2'/>\r\n"));
  ASSERT_EQ(data.rows.size(), 2u);
  EXPECT_EQ(data.rows[0][1], Variant(QString()));
  EXPECT_EQ(data.rows[1][1], Variant::null());
}

struct ChangeCase {
  const char *label;
  QByteArray data;
  std::vector<std::vector<Variant>> expected;
};

TEST(XmlRowsetChanges, PendingChangesGiveTheRowsAdoShows) {
  const Variant null = Variant::null();
  const ChangeCase cases[] = {
      {"update: listed columns change, others keep their value",
       "<rs:update><rs:original><z:row ID='1' TXT='old'/></rs:original><z:row ID='7'/></rs:update>",
       {{Variant(7), Variant("old")}}},
      {"update to null through rs:forcenull",
       "<rs:update><rs:original><z:row ID='1' TXT=''/></rs:original>"
       "<z:row rs:forcenull='TXT'/></rs:update>",
       {{Variant(1), null}}},
      {"insert block with several rows",
       "<z:row ID='1'/><rs:insert><z:row ID='2' TXT='a'/><z:row ID='3' rs:forcenull='TXT'/>"
       "</rs:insert>",
       {{Variant(1), null}, {Variant(2), Variant("a")}, {Variant(3), null}}},
      {"delete block left out",
       "<z:row ID='1'/><rs:delete><z:row ID='2' TXT='gone'/></rs:delete>",
       {{Variant(1), null}}},
      {"empty rowset", "\r\n", {}},
  };
  for (const ChangeCase &c : cases)
    EXPECT_EQ(readPersisted(rowset(c.data)).rows, c.expected) << c.label;
}

TEST(XmlRowsetSchema, NamesTypesAndFlagsComeFromTheSchema) {
  const QByteArray extra =
      "<s:AttributeType name='c3' rs:number='3' rs:name='Order Date' rs:nullable='true'>"
      "<s:datatype dt:type='dateTime' rs:dbtype='variantdate' dt:maxLength='16'/>"
      "</s:AttributeType>"
      "<s:AttributeType name='KEY' rs:number='4' rs:hidden='true' rs:keycolumn='true'>"
      "<s:datatype dt:type='i8' dt:maxLength='8' rs:maybenull='false'/></s:AttributeType>"
      "<s:AttributeType name='PLAIN' rs:number='5'/>";
  const RecordsetData data =
      readPersisted(rowset("<z:row ID='1' c3='2001-02-03T04:05:06' KEY='9' PLAIN='p'/>", extra));
  ASSERT_EQ(data.fields.size(), 4u); // the hidden key column is not shown
  EXPECT_EQ(data.fields[2].name, "Order Date");
  EXPECT_EQ(data.fields[2].type, adDate);
  EXPECT_EQ(data.fields[2].definedSize, 8);
  EXPECT_EQ(data.fields[2].attributes, std::uint32_t(adFldIsNullable | adFldMayBeNull));
  EXPECT_EQ(data.fields[3].name, "PLAIN");
  EXPECT_EQ(data.fields[3].type, adVarWChar); // a column without a type holds text
  ASSERT_EQ(data.rows.size(), 1u);
  EXPECT_EQ(data.rows[0][2], Variant::fromDate(oleDate(2001, 2, 3, 4, 5, 6)));
  EXPECT_EQ(data.rows[0][3], Variant("p"));
}

TEST(XmlRowsetSchema, PrefixesAreMatchedByNamespace) {
  QByteArray text = rowset("<z:row ID='5' TXT='x'/>");
  for (const char *from : {"s", "rs", "z"}) {
    const QByteArray to = QByteArray(from) == "s" ? "sch" : QByteArray(from) == "rs" ? "r" : "q";
    text.replace("<" + QByteArray(from) + ":", "<" + to + ":");
    text.replace("</" + QByteArray(from) + ":", "</" + to + ":");
    text.replace(" " + QByteArray(from) + ":", " " + to + ":");
    text.replace("xmlns:" + QByteArray(from) + "=", "xmlns:" + to + "=");
  }
  const RecordsetData data = readPersisted(text);
  ASSERT_EQ(data.rows.size(), 1u) << text.toStdString();
  EXPECT_EQ(data.rows[0][0], Variant(5));
  EXPECT_EQ(data.fields[1].attributes, std::uint32_t(adFldUpdatable | adFldIsNullable));
}

TEST(XmlRowsetEncoding, Utf16WithBomReadsLikeUtf8) {
  const QByteArray utf8 = rowset("<z:row ID='1' TXT='\xED\x95\x9C'/>");
  const QString text = QString::fromUtf8(utf8);
  const RecordsetData expected = readPersisted(utf8);
  for (auto encoding : {QStringConverter::Utf16LE, QStringConverter::Utf16BE}) {
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    const QByteArray bytes = encoder.encode(text);
    expectSameRecordset(expected, readPersisted(bytes), "UTF-16");
  }
  expectSameRecordset(expected, readPersisted("\xEF\xBB\xBF" + utf8), "UTF-8 with BOM");
}

struct RejectCase {
  const char *label;
  QByteArray bytes;
  const char *message;
};

TEST(XmlRowsetRejects, MalformedDocumentsFailWithAClearMessage) {
  const RejectCase cases[] = {
      {"unknown column", rowset("<z:row ID='1' NOPE='x'/>"), "unknown column 'NOPE'"},
      {"integer out of range", rowset("<z:row ID='2147483648'/>"), "not a valid value of 'ID'"},
      {"integer as text", rowset("<z:row ID='one'/>"), "not a valid value"},
      {"forcenull of an unknown column", rowset("<z:row ID='1' rs:forcenull='X'/>"),
       "unknown column"},
      {"update without original", rowset("<rs:update><z:row ID='1'/></rs:update>"), "rs:original"},
      {"unexpected element", rowset("<rs:other/>"), "unexpected element"},
      {"no rs:data", QByteArray(kOpen) + "</s:ElementType></s:Schema></xml>",
       "no s:Schema or no rs:data"},
      {"end tag mismatch", rowset("<z:row ID='1'></z:rowx>"), "does not match"},
      {"unterminated attribute", rowset("<z:row ID='1/>"), "unterminated attribute value"},
      {"'<' in an attribute", rowset("<z:row ID='1' TXT='a<b'/>"), "'<' in an attribute value"},
      {"undeclared prefix", rowset("<y:row ID='1'/>"), "undeclared prefix"},
      {"duplicate attribute", rowset("<z:row ID='1' ID='2'/>"), "duplicate attribute"},
      {"unknown entity", rowset("<z:row ID='1' TXT='&nbsp;'/>"), "unknown entity"},
      {"bad character reference", rowset("<z:row ID='1' TXT='&#xD800;'/>"), "out of range"},
      {"DOCTYPE", "<!DOCTYPE x [<!ENTITY a 'b'>]>" + rowset(""), "document type"},
      {"content after the root", rowset("") + "<more/>", "after the root"},
      {"invalid UTF-8", rowset("<z:row ID='1' TXT='\xC3\x28'/>"), "not validly encoded"},
      {"no root element", "   ", "neither"},
      {"truncated", rowset("<z:row ID='1'/>").left(200), "malformed XML"},
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

// Lexical forms ADO writes for each type, read into the values the TableGram gives.
TEST(XmlRowsetValues, LexicalFormsOfEachType) {
  const struct {
    const char *label;
    const char *datatype;
    const char *text;
    Variant expected;
  } cases[] = {
      {"boolean", "dt:type='boolean'", "True", Variant(true)},
      {"boolean lower case", "dt:type='boolean'", "false", Variant(false)},
      {"boolean digit", "dt:type='boolean'", "1", Variant(true)},
      {"i8 minimum", "dt:type='i8'", "-9223372036854775808",
       Variant::fromInt(std::numeric_limits<std::int64_t>::min(), VarType::Int64)},
      {"ui8 maximum", "dt:type='ui8'", "18446744073709551615",
       Variant::fromUInt64(std::numeric_limits<std::uint64_t>::max())},
      {"r8 17 digits", "dt:type='float'", "3.1415899999999999", Variant(3.14159)},
      {"r8 maximum", "dt:type='float'", "1.7976931348623157E+308",
       Variant(std::numeric_limits<double>::max())},
      {"r8 denormal", "dt:type='float'", "4.9406564584124654E-324",
       Variant(std::numeric_limits<double>::denorm_min())},
      {"r4", "dt:type='r4'", "3.4028231E+38", Variant::fromSingle(3.4028231e38f)},
      {"currency minimum", "dt:type='number' rs:dbtype='currency'", "-922337203685477.5808",
       Variant::fromCurrency(std::numeric_limits<std::int64_t>::min())},
      {"numeric zero", "dt:type='number' rs:dbtype='numeric'", ".0000",
       Variant::fromDecimal({false, 4, 0, 0})},
      {"decimal", "dt:type='number' rs:dbtype='decimal'", "-922337.5808",
       Variant::fromDecimal({true, 4, 0, 9223375808ULL})},
      {"variant date before 1899-12-30", "dt:type='dateTime' rs:dbtype='variantdate'",
       "1899-12-29T12:00:00", Variant::fromDate(-1.5)},
      {"date", "dt:type='date'", "1999-12-31", Variant::fromDate(oleDate(1999, 12, 31))},
      {"time", "dt:type='time'", "23:59:58", Variant::fromDate(oleDate(1899, 12, 30, 23, 59, 58))},
      {"uuid lower case", "dt:type='uuid'", "{01234567-89ab-cdef-0123-456789abcdef}",
       Variant("{01234567-89AB-CDEF-0123-456789ABCDEF}")},
      {"bin.hex", "dt:type='bin.hex'", "001326394c5f7285",
       Variant::fromBytes(hex("001326394c5f7285"))},
      {"dateTime.tz is read as text", "dt:type='dateTime.tz'", "2001-02-03T04:05:06+10:00",
       Variant("2001-02-03T04:05:06+10:00")},
  };
  for (const auto &c : cases) {
    const QByteArray column = QByteArray("<s:AttributeType name='V' rs:number='3' "
                                         "rs:nullable='true'><s:datatype ") +
                              c.datatype + "/></s:AttributeType>";
    const RecordsetData data =
        readPersisted(rowset(QByteArray("<z:row ID='1' V='") + c.text + "'/>", column));
    ASSERT_EQ(data.rows.size(), 1u) << c.label;
    EXPECT_EQ(data.rows[0][2], c.expected) << c.label;
  }
}

} // namespace
