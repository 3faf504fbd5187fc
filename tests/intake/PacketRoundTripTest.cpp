// SQLite rows through the whole packet path and back, and every way a packet can be broken.
#include "intake/QueryOperations.h"

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/SharedAllocator.h"
#include "TDInvoice/ShortStringList.h"
#include "host/testhost/PacketEncoder.h"
#include "host/testhost/TestHost.h"
#include "tests/intake/ThrownMessage.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>

using namespace TDInvoice;
using namespace TDInvoice::Intake;
using TDInvoice::Host::TestHost;
using TDInvoice::Testing::thrownMessage;

namespace {

const QString kLongText =
    QString(200, u'x') + QString::fromUtf16(u"\u00e9\u4e2d") + QString(53, u'y');
const QString kForeign =
    QString::fromUtf16(u"Zo\u00eb \u00d1and\u00fa \u65e5\u672c \U0001F600 \u20ac");

// One column of each kind, with the values a faulty layer would damage. SQLite keeps 15
// significant digits of a REAL, so the extreme amounts sit in a text-affinity column.
void seedValues(TestHost &host) {
  host.execute(QStringLiteral(
      "CREATE TABLE V (Id INTEGER, Amount CURRENCY, Exact CURRENCY TEXT, Stamp DATETIME, "
      "Label VARCHAR(255), Flag BOOLEAN, Ratio REAL, Note MEMO);"));
  host.execute(
      QStringLiteral(
          "INSERT INTO V VALUES (1, 1234.5678, '0', '2009-01-05 13:45:30', '%1', 1, 0.1, '%2');"
          "INSERT INTO V VALUES (2, -99999999999.9999, '-922337203685477.5807', 0, '', 0, "
          "-1e300, '');"
          "INSERT INTO V VALUES (3, NULL, NULL, NULL, NULL, NULL, NULL, NULL);"
          "INSERT INTO V VALUES (-2147483648, '0.0001', '-0.0001', '1899-12-29 06:00', '%3', "
          "'true', 2.5e-300, '%4');"
          "INSERT INTO V VALUES (2147483647, 12345678901.2345, '922337203685477.5807', "
          "2958465.99999, 'O''Brien \"q\" <tag> &amp;', 0, 3, 'line1\r\nline2\ttab');")
          .arg(kLongText, kForeign, QString(255, u'z'), QString(3000, u'm')));
}

// The packet's lines with blanks, tabs and line breaks slipped in, without passing the 255
// characters of a short string.
TShortStringList *withNoise(TShortStringList &packet, unsigned seed) {
  std::mt19937 random(seed);
  static const char *kNoise[] = {" ", "\t", "\r\n", "  \r\n\t", "\n"};
  auto noisy = std::make_unique<TShortStringList>();
  for (std::int32_t i = 0; i < packet.Count(); ++i) {
    std::string line = packet.GetString(i);
    const char *noise = kNoise[random() % std::size(kNoise)];
    if (line.size() + std::strlen(noise) <= 255)
      line.insert(random() % (line.size() + 1), noise);
    noisy->Add(line);
    if (random() % 3 == 0)
      noisy->Add(kNoise[random() % std::size(kNoise)]);
  }
  return noisy.release();
}

void expectSameRows(const Ado::RecordsetData &expected, Ado::Recordset &rs, const char *what) {
  ASSERT_EQ(rs.FieldCount(), static_cast<int>(expected.fields.size())) << what;
  for (int c = 0; c < rs.FieldCount(); ++c) {
    EXPECT_EQ(rs.Fields(c).Name(), expected.fields[static_cast<std::size_t>(c)].name) << what;
    EXPECT_EQ(rs.Fields(c).Type(), expected.fields[static_cast<std::size_t>(c)].type) << what;
  }
  std::size_t row = 0;
  for (; !rs.Eof(); rs.MoveNext(), ++row) {
    ASSERT_LT(row, expected.rows.size()) << what;
    for (int c = 0; c < rs.FieldCount(); ++c)
      EXPECT_EQ(rs.Fields(c).Value(), expected.rows[row][static_cast<std::size_t>(c)])
          << what << " row " << row << " column " << c;
  }
  EXPECT_EQ(row, expected.rows.size()) << what;
}

class PacketRoundTrip : public ::testing::Test {
protected:
  void SetUp() override {
    seedValues(host);
    baseline = sharedBlockCount();
  }
  void TearDown() override { EXPECT_EQ(sharedBlockCount(), baseline) << "a boundary block leaked"; }

  TestHost host;
  std::int64_t baseline = 0;
};

TEST_F(PacketRoundTrip, ValuesComeBackExactlyForEveryLineLengthAndNoise) {
  const QString sql = QStringLiteral("SELECT * FROM V;");
  for (const Ado::PersistFormat format : {Ado::PersistFormat::Adtg, Ado::PersistFormat::Xml}) {
    host.packetOptions().format = format;
    for (int length : {1, 76, 255}) {
      host.packetOptions().lineLength = length;
      const std::unique_ptr<TShortStringList> packet(host.packetFor(sql));
      const std::string what = (format == Ado::PersistFormat::Xml ? "xml" : "adtg") +
                               std::string(" line length ") + std::to_string(length);
      Ado::Recordset plain = QueryPacketRecordset(packet.get());
      expectSameRows(host.query(sql), plain, what.c_str());
      const std::unique_ptr<TShortStringList> noisy(
          withNoise(*packet, static_cast<unsigned>(length)));
      Ado::Recordset fromNoisy = QueryPacketRecordset(noisy.get());
      expectSameRows(host.query(sql), fromNoisy, (what + " with noise").c_str());
    }
  }
}

TEST_F(PacketRoundTrip, ValuesMatchWhatWasStored) {
  const std::unique_ptr<TShortStringList> packet(host.packetFor("SELECT * FROM V;"));
  Ado::Recordset rs = QueryPacketRecordset(packet.get());
  const auto value = [&](const char *name) { return rs.Fields(name).Value(); };
  EXPECT_EQ(value("Amount").toCurrency(), 12345678);
  EXPECT_DOUBLE_EQ(value("Stamp").toDateTime(), 39818.0 + (13 * 3600 + 45 * 60 + 30) / 86400.0);
  EXPECT_EQ(value("Label").toString(), kLongText);
  EXPECT_EQ(value("Note").toString(), kForeign);
  EXPECT_TRUE(value("Flag").toBool());
  rs.MoveNext();
  EXPECT_EQ(value("Amount").toCurrency(), -999999999999999);
  EXPECT_EQ(value("Exact").toCurrency(), -9223372036854775807);
  EXPECT_EQ(value("Label"), Ado::Variant(QString()));
  EXPECT_FALSE(value("Label").isNull());
  rs.MoveNext();
  for (const char *name : {"Amount", "Exact", "Stamp", "Label", "Flag", "Ratio", "Note"})
    EXPECT_TRUE(value(name).isNull()) << name;
  rs.MoveNext();
  EXPECT_EQ(value("Id").toInt(), -2147483647 - 1);
  EXPECT_EQ(value("Amount").toCurrency(), 1);
  EXPECT_EQ(value("Exact").toCurrency(), -1);
  EXPECT_DOUBLE_EQ(value("Stamp").toDateTime(), -1.25);
  EXPECT_EQ(value("Label").toString(), QString(255, u'z'));
  EXPECT_EQ(value("Note").toString().size(), 3000);
}

// The host's answer for the next call of the packet callback, set by each test.
TShortStringList *gNextPacket = nullptr;
TShortStringList *handOverPacket(const char *) { return std::exchange(gNextPacket, nullptr); }

TShortStringList *packetOfText(const QByteArray &text, int lineLength = 76) {
  auto packet = std::make_unique<TShortStringList>();
  for (const QByteArray &line : Host::splitPacketLines(text, lineLength))
    packet->Add(std::string_view(line.constData(), static_cast<std::size_t>(line.size())));
  return packet.release();
}

class BrokenPackets : public PacketRoundTrip {
protected:
  void SetUp() override {
    PacketRoundTrip::SetUp();
    callbacks.OnGetDataPacket = &handOverPacket;
    gNextPacket = host.packetFor("SELECT Id, Label FROM V ORDER BY Id;");
    LoadDataSet(callbacks, ADODataSet1, "first");
    ADODataSet1.Next();
    persisted = Ado::writePersisted(host.query("SELECT * FROM V;"), Ado::PersistFormat::Adtg);
  }

  // Loading the packet must fail with a message starting with `prefix`, leave the dataset
  // on its previous rows and position, and free the packet.
  // Recordset-level faults (`fromRecordset`) raise the platform's EOleException.
  void expectRejected(const std::function<TShortStringList *()> &makePacket,
                      const std::string &prefix, const std::string &what,
                      bool fromRecordset = false) {
    const std::int64_t before = sharedBlockCount();
    gNextPacket = makePacket();
    std::string message;
    bool ole = false;
    try {
      LoadDataSet(callbacks, ADODataSet1, "broken");
      ADD_FAILURE() << what << ": loaded";
    } catch (const EOleException &error) {
      message = error.what();
      ole = true;
    } catch (const Exception &error) {
      message = error.what();
    }
    EXPECT_FALSE(message.empty()) << what;
    EXPECT_EQ(message.rfind(prefix, 0), 0u) << what << ": " << message;
    if (fromRecordset) {
      EXPECT_TRUE(ole) << what << ": " << message;
    }
    EXPECT_EQ(gNextPacket, nullptr) << what;
    ASSERT_TRUE(ADODataSet1.Active()) << what;
    EXPECT_EQ(ADODataSet1.FieldCount(), 2) << what;
    EXPECT_EQ(ADODataSet1.RecNo(), 2) << what;
    EXPECT_EQ(ADODataSet1.FieldByName("Id").AsInteger(), 1) << what;
    EXPECT_EQ(sharedBlockCount(), before) << what;
  }

  Intake::THostCallbacks callbacks;
  TADODataSet ADODataSet1;
  QByteArray persisted;
};

TEST_F(BrokenPackets, EachLayerReportsItsFault) {
  const QByteArray deflated = Host::deflateRaw(persisted);
  const struct {
    const char *what;
    std::function<TShortStringList *()> packet;
    std::string prefix;
    bool fromRecordset = false;
  } cases[] = {
      {"no lines", [] { return new TShortStringList; }, "Data packet is empty", true},
      {"no packet", []() -> TShortStringList * { return nullptr; }, "Data packet is empty", true},
      {"only blanks and line breaks", [] { return packetOfText(" \r\n\t \r\n"); },
       "Data packet is empty", true},
      {"zlib wrapper", [&] { return packetOfText(Host::deflateZlibWrapped(persisted).toBase64()); },
       "Data packet: the DEFLATE stream has a zlib header"},
      {"truncated stream",
       [&] { return packetOfText(deflated.left(deflated.size() / 2).toBase64()); },
       "Data packet: truncated DEFLATE stream"},
      {"last byte missing", [&] { return packetOfText(deflated.chopped(1).toBase64()); },
       "Data packet: truncated DEFLATE stream"},
      {"not DEFLATE at all",
       [] { return packetOfText(QByteArray("\xff\xfe not a stream").toBase64()); },
       "Data packet: corrupt DEFLATE stream"},
      {"not a recordset",
       [] { return packetOfText(Host::encodePacketText("plain text, not a recordset")); }, "",
       true},
  };
  for (const auto &c : cases)
    expectRejected(c.packet, c.prefix, c.what, c.fromRecordset);
}

TEST_F(BrokenPackets, GarbageAfterTheStreamIsIgnored) {
  const QByteArray text = Host::encodePacketText(persisted);
  for (const QByteArray &garbage :
       {QByteArray("!!~~##"), QByteArray("QUJD\r\nREVG=="), QByteArray(300, 'A')}) {
    gNextPacket = packetOfText(text + garbage);
    LoadDataSet(callbacks, ADODataSet1, "garbage");
    EXPECT_EQ(ADODataSet1.RecordCount(), 5);
    EXPECT_EQ(ADODataSet1.FieldCount(), 8);
  }
}

TEST_F(BrokenPackets, RecordsetTruncatedAtEveryOffsetIsRejected) {
  // Every kind of column and a null in each, kept short so that each cut stays cheap.
  const Ado::RecordsetData rows = host.query(
      "SELECT Id, Amount, Exact, Stamp, Flag, Ratio, substr(Label, 1, 12) AS Label FROM V;");
  for (const Ado::PersistFormat format : {Ado::PersistFormat::Adtg, Ado::PersistFormat::Xml}) {
    const QByteArray whole = Ado::writePersisted(rows, format);
    // XML is cut only while its closing markup is incomplete.
    const qsizetype end = format == Ado::PersistFormat::Xml ? whole.lastIndexOf('>') : whole.size();
    for (qsizetype cut = 0; cut < end; ++cut) {
      expectRejected([&] { return packetOfText(Host::encodePacketText(whole.left(cut)), 255); },
                     cut == 0 ? "Data packet is empty" : "",
                     (format == Ado::PersistFormat::Xml ? "xml cut at " : "adtg cut at ") +
                         std::to_string(cut),
                     true);
      if (HasFailure())
        return;
    }
  }
}

} // namespace
