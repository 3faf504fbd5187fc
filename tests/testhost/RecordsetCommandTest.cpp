#include "host/tools/RecordsetCommand.h"

#include "TDInvoice/ShortStringList.h"
#include "host/testhost/TestHost.h"
#include "tests/testhost/SampleData.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTextStream>

#include <memory>

using namespace TDInvoice;
using TDInvoice::Host::TestHost;

namespace {

struct Result {
  int code;
  QString out, err;
};

Result run(const QStringList &args) {
  Result r;
  QTextStream out(&r.out), err(&r.err);
  r.code = Host::recordsetCommand(args, out, err);
  return r;
}

class RecordsetCommandTest : public ::testing::Test {
protected:
  void SetUp() override {
    Testing::seedSampleData(host);
    ASSERT_TRUE(dir.isValid());
  }
  QString write(const char *name, const QByteArray &bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }
  QByteArray packetText(const QString &sql) {
    const std::unique_ptr<TShortStringList> packet(host.packetFor(sql));
    return QByteArray::fromStdString(packet->Text());
  }
  TestHost host;
  QTemporaryDir dir;
};

const char *kQuery = "SELECT InvoiceNo, IssueDT, CloseBal, Parents.AccountName, "
                     "Parents.UseDirectDebit FROM Invoices INNER JOIN Parents ON "
                     "Invoices.ParentID = Parents.ParentID ORDER BY InvoiceNo";

TEST_F(RecordsetCommandTest, ShowsColumnsAndRowsOfEachKindOfFile) {
  const Ado::RecordsetData data = host.query(kQuery);
  const std::pair<QString, const char *> files[] = {
      {write("packet.txt", packetText(kQuery)), "packet"},
      {write("rows.adtg", Ado::writePersisted(data, Ado::PersistFormat::Adtg)), "adtg"},
      {write("rows.xml", Ado::writePersisted(data, Ado::PersistFormat::Xml)), "xml"},
  };
  for (const auto &[path, kind] : files) {
    const Result r = run({path});
    ASSERT_EQ(r.code, 0) << kind << ": " << r.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(r.out.toUtf8()).object();
    EXPECT_EQ(doc["content"].toString(), QString::fromLatin1(kind));
    EXPECT_EQ(doc["file"].toString(), path);
    const QJsonArray columns = doc["columns"].toArray();
    ASSERT_EQ(columns.size(), 5) << kind;
    EXPECT_EQ(columns[0]["name"].toString(), "InvoiceNo");
    EXPECT_EQ(columns[0]["type"].toString(), "adInteger");
    EXPECT_EQ(columns[2]["type"].toString(), "adCurrency");
    EXPECT_EQ(columns[2]["typeCode"].toInt(), 6);
    EXPECT_EQ(columns[3]["type"].toString(), "adVarWChar");
    EXPECT_EQ(columns[3]["size"].toInt(), 80);
    EXPECT_TRUE(columns[3]["flags"].toArray().contains(QJsonValue("adFldIsNullable"))) << kind;
    const QJsonArray rows = doc["rows"].toArray();
    ASSERT_EQ(rows.size(), 3) << kind;
    EXPECT_EQ(rows[0][0].toInteger(), 5001);
    EXPECT_EQ(rows[0][1].toString(), "2009-01-05T09:30:00.000");
    EXPECT_EQ(rows[0][2].toString(), "1234.5678");
    EXPECT_EQ(rows[0][3].toString(), "Mr & Mrs Nguyen");
    EXPECT_TRUE(rows[0][4].toBool());
    EXPECT_EQ(rows[1][1].toString(), "2009-01-05T18:00:00.000");
    EXPECT_EQ(rows[1][2].toString(), "-15.0000");
    EXPECT_TRUE(rows[1][3].isNull());
    EXPECT_EQ(rows[2][2].toString(), "0.0001");
  }
}

TEST_F(RecordsetCommandTest, ReportsUnreadableInputAndWrongUsage) {
  const struct {
    QStringList args;
    int code;
    const char *err;
  } cases[] = {
      {{}, 2, "Usage: recordset FILE"},
      {{"a", "b"}, 2, "Usage: recordset FILE"},
      {{dir.filePath("missing.adtg")}, 1, "missing.adtg"},
      {{write("empty.txt", "")}, 1, "Data packet is empty"},
      {{write("zlib.txt", "eJzLSM3JyQcABiwCFQ==")}, 1, "zlib header"},
      {{write("cut.adtg",
              Ado::writePersisted(host.query(kQuery), Ado::PersistFormat::Adtg).left(40))},
       1,
       "(adtg)"},
  };
  for (const auto &c : cases) {
    const Result r = run(c.args);
    EXPECT_EQ(r.code, c.code) << c.err;
    EXPECT_TRUE(r.out.isEmpty()) << c.err;
    EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.err))) << r.err.toStdString();
  }
}

QJsonObject shown(const QString &path) {
  const Result r = run({path});
  EXPECT_EQ(r.code, 0) << path.toStdString() << ": " << r.err.toStdString();
  return QJsonDocument::fromJson(r.out.toUtf8()).object();
}

TEST(RecordsetCommandCorpus, BothSavesOfARecordsetShowTheSameRows) {
  const QString corpus = QStringLiteral(TDI_SHARED_DIR "/corpus/adtg/ivere27_tablegram__");
  for (const char *name : {"types_basic", "flat_VarWChar_null_states"}) {
    const QJsonObject adtg = shown(corpus + name + ".adtg");
    const QJsonObject xml = shown(corpus + name + ".xml");
    EXPECT_EQ(adtg["content"].toString(), "adtg");
    EXPECT_EQ(xml["content"].toString(), "xml");
    EXPECT_EQ(adtg["rows"], xml["rows"]) << name;
    const QJsonArray a = adtg["columns"].toArray(), x = xml["columns"].toArray();
    ASSERT_EQ(a.size(), x.size()) << name;
    for (qsizetype i = 0; i < a.size(); ++i) {
      EXPECT_EQ(a[i]["name"], x[i]["name"]) << name;
      EXPECT_EQ(a[i]["type"], x[i]["type"]) << name;
    }
  }
  // The two pending inserts of types_basic, as its notes give them.
  const QJsonArray rows = shown(corpus + "types_basic.adtg")["rows"].toArray();
  ASSERT_EQ(rows.size(), 2);
  EXPECT_EQ(rows[0].toArray(),
            (QJsonArray{1, true, "1234.5600", 3.14159, "2001-02-03T04:05:06.000"}));
  EXPECT_EQ(rows[1].toArray(),
            (QJsonArray{-2, false, "-7.8900", -0.25, "1999-12-31T23:59:58.000"}));
}

} // namespace
