// Writes the fuzz seeds: small recordsets saved by the project's writers, plus TableGrams
// with pending changes spliced in. Run: ado_fuzz_seeds <seeds folder>.
#include "framework/ado/RecordsetData.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <limits>

using namespace TDInvoice::Ado;

namespace {

constexpr std::uint32_t kNullable = adFldUpdatable | adFldIsNullable;

void save(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

RecordsetData numbers() {
  RecordsetData d;
  d.fields = {{"ID", adInteger, 4, adFldUpdatable, 0, 0},  {"S", adSmallInt, 2, kNullable, 0, 0},
              {"B", adUnsignedBigInt, 8, kNullable, 0, 0}, {"R", adDouble, 8, kNullable, 0, 0},
              {"C", adCurrency, 8, kNullable, 0, 0},       {"F", adBoolean, 2, kNullable, 0, 0},
              {"D", adDecimal, 16, kNullable, 18, 4},      {"N", adNumeric, 19, kNullable, 9, 2}};
  Decimal dec;
  dec.scale = 4;
  dec.lo64 = 12345678;
  d.rows = {{Variant(1), Variant::fromInt(-5, VarType::SmallInt),
             Variant::fromUInt64(std::numeric_limits<std::uint64_t>::max()), Variant(0.25),
             Variant::fromCurrency(12345600), Variant(true), Variant::fromDecimal(dec),
             Variant::fromDecimal(dec)},
            {Variant(2), Variant::null(), Variant::null(), Variant::null(), Variant::null(),
             Variant::null(), Variant::null(), Variant::null()}};
  return d;
}

RecordsetData texts() {
  RecordsetData d;
  d.fields = {{"ID", adInteger, 4, adFldUpdatable, 0, 0}, {"V", adVarWChar, 20, kNullable, 0, 0},
              {"W", adWChar, 4, kNullable, 0, 0},         {"A", adVarChar, 300, kNullable, 0, 0},
              {"M", adLongVarWChar, -1, kNullable, 0, 0}, {"X", adVarBinary, 8, kNullable, 0, 0}};
  d.rows = {{Variant(1), Variant(QString::fromUtf8("caf\xC3\xA9 <&'>")), Variant("ab"),
             Variant("ansi"), Variant(QString::fromUtf8("tab\there\r\n\x01")),
             Variant::fromBytes(QByteArray("\x00\xFF", 2))},
            {Variant(2), Variant(QString()), Variant::null(), Variant::null(), Variant(QString()),
             Variant::null()}};
  return d;
}

RecordsetData dates() {
  RecordsetData d;
  d.fields = {{"ID", adInteger, 4, adFldUpdatable, 0, 0}, {"D", adDate, 8, kNullable, 0, 0},
              {"DD", adDBDate, 6, kNullable, 0, 0},       {"DT", adDBTime, 6, kNullable, 0, 0},
              {"TS", adDBTimeStamp, 16, kNullable, 0, 9}, {"FT", adFileTime, 8, kNullable, 0, 0},
              {"G", adGUID, 16, kNullable, 0, 0}};
  d.rows = {{Variant(1), Variant::fromDate(36925.5), Variant::fromDate(36925.0),
             Variant::fromDate(0.75), Variant::fromDate(36925.125), Variant::fromDate(-1.5),
             Variant("{01234567-89AB-CDEF-0123-456789ABCDEF}")}};
  return d;
}

// Two current rows followed by change, delete and insert records.
QByteArray withChanges() {
  RecordsetData two;
  two.fields = {{"ID", adInteger, 4, adFldUpdatable, 0, 0}, {"V", adInteger, 4, kNullable, 0, 0}};
  two.rows = {{Variant(1), Variant(5)}, {Variant(2), Variant(6)}};
  QByteArray bytes = writePersisted(two, PersistFormat::Adtg);
  bytes.chop(1); // end token
  bytes += QByteArray::fromHex("0A400009000000"
                               "077F03000000"
                               "0C"
                               "0D804004000000");
  bytes += char(0x0F);
  return bytes;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <seeds folder>\n", argv[0]);
    return 2;
  }
  const QDir root(QString::fromLocal8Bit(argv[1]));
  root.mkpath("adtg");
  root.mkpath("xml");
  const struct {
    const char *name;
    RecordsetData data;
  } sets[] = {{"numbers", numbers()}, {"texts", texts()}, {"dates", dates()}};
  for (const auto &s : sets) {
    save(root.filePath(QStringLiteral("adtg/%1.adtg").arg(s.name)),
         writePersisted(s.data, PersistFormat::Adtg));
    save(root.filePath(QStringLiteral("xml/%1.xml").arg(s.name)),
         writePersisted(s.data, PersistFormat::Xml));
  }
  save(root.filePath("adtg/changes.adtg"), withChanges());
  QByteArray xmlChanges = writePersisted(texts(), PersistFormat::Xml);
  xmlChanges.replace("<rs:data>\r\n", "<rs:data>\r\n\t<rs:update><rs:original><z:row ID='9' V='a'/>"
                                      "</rs:original><z:row rs:forcenull='V'/></rs:update>\r\n"
                                      "\t<rs:insert><z:row ID='8'/></rs:insert>\r\n"
                                      "\t<rs:delete><z:row ID='7'/></rs:delete>\r\n");
  save(root.filePath("xml/changes.xml"), xmlChanges);
  return 0;
}
