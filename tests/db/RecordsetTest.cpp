#include "framework/db/Recordset.h"

#include "TDInvoice/Exceptions.h"
#include "framework/db/Stream.h"
#include "tests/db/RecordsetFixture.h"
#include "tests/intake/ThrownMessage.h"

#include <gtest/gtest.h>

#include <functional>

using namespace TDInvoice;
using namespace TDInvoice::Ado;
using TDInvoice::Testing::accountRows;
using TDInvoice::Testing::thrownMessage;

namespace {

// The same rows, fabricated or opened from either persisted form: a TableGram's rows are
// read in place, an XML rowset's rows as variants.
enum class Source { Fabricated, TableGram, XmlRowset };

Recordset openAccountsFrom(Source source) {
  Recordset rs;
  if (source == Source::Fabricated) {
    rs.Open(accountRows());
    return rs;
  }
  Stream stream;
  stream.Open(adModeUnknown, adOpenStreamUnspecified);
  stream.setType(adTypeBinary);
  stream.Write(writePersisted(accountRows(), source == Source::TableGram ? PersistFormat::Adtg
                                                                         : PersistFormat::Xml));
  stream.setPosition(0);
  rs.Open(stream);
  stream.Close();
  return rs;
}

class RecordsetOver : public ::testing::TestWithParam<Source> {
protected:
  Recordset openAccounts() const { return openAccountsFrom(GetParam()); }
};

// The Id column read row by row from the current position to the end.
std::vector<int> idsToEnd(Recordset &rs) {
  std::vector<int> ids;
  for (; !rs.Eof(); rs.MoveNext())
    ids.push_back(rs.Fields("Id").Value().toInt());
  return ids;
}

TEST_P(RecordsetOver, ReadsFieldsByNameAnyCaseAndByPosition) {
  Recordset rs = openAccounts();
  EXPECT_EQ(rs.FieldCount(), 5);
  EXPECT_EQ(rs.RecordCount(), 6);
  rs.MoveNext();
  EXPECT_EQ(rs.Fields("family").Value().toString(), "Brown");
  EXPECT_EQ(rs.Fields("AMOUNT").Value().toCurrency(), -5000);
  EXPECT_EQ(rs.Fields(2).Value(), rs.Fields("Amount").Value());
  EXPECT_EQ(rs.Fields(1).Name(), "Family");
  EXPECT_EQ(rs.Fields(4).Type(), adBoolean);
  EXPECT_EQ(rs.Fields("Family").DefinedSize(), 50);
}

TEST_P(RecordsetOver, WalksToEndOfDataAndRefusesToReadPastIt) {
  Recordset rs = openAccounts();
  EXPECT_FALSE(rs.Bof());
  EXPECT_EQ(idsToEnd(rs), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_TRUE(rs.Eof());
  const std::string noRecord = AdoError::NoCurrentRecord;
  EXPECT_EQ(thrownMessage<EOleException>([&] { rs.Fields("Id").Value(); }), noRecord);
  EXPECT_EQ(thrownMessage<EOleException>([&] { rs.MoveNext(); }), noRecord);
  rs.MoveFirst();
  EXPECT_EQ(rs.Fields(0).Value().toInt(), 0);
  EXPECT_EQ(thrownMessage<EOleException>([&] {
              rs.MovePrevious();
              rs.MovePrevious();
            }),
            noRecord);
}

TEST(Recordset, ZeroRowsOpensAtEndOfData) {
  Ado::RecordsetData data = accountRows();
  data.rows.clear();
  Recordset rs;
  rs.Open(data);
  EXPECT_TRUE(rs.Eof());
  EXPECT_TRUE(rs.Bof());
  EXPECT_EQ(rs.RecordCount(), 0);
  EXPECT_EQ(rs.Fields("Family").Name(), "Family");
}

TEST_P(RecordsetOver, UnknownFieldsAreNotFound) {
  Recordset rs = openAccounts();
  const std::string notFound = AdoError::ItemNotFound;
  const std::vector<std::function<void()>> lookups = {
      [&] { rs.Fields("Missing"); }, [&] { rs.Fields(""); }, [&] { rs.Fields(5); },
      [&] { rs.Fields(-1); }, [&] { rs.setSort("Missing DESC"); }};
  for (const auto &lookup : lookups)
    EXPECT_EQ(thrownMessage<EOleException>(lookup), notFound);
}

TEST_P(RecordsetOver, CloneIsAnIndependentCursorOverTheSameRows) {
  Recordset rs = openAccounts();
  rs.MoveNext();
  rs.MoveNext();
  Recordset clone = rs.Clone();
  EXPECT_EQ(clone.Fields("Id").Value().toInt(), 0);
  clone.MoveNext();
  EXPECT_EQ(rs.Fields("Id").Value().toInt(), 2);
  rs.setSort("Amount DESC");
  EXPECT_EQ(clone.Fields("Id").Value().toInt(), 1);
  rs.Close();
  EXPECT_EQ(idsToEnd(clone), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_P(RecordsetOver, ClosedRecordsetRefusesEverything) {
  Recordset rs = openAccounts();
  rs.Close();
  EXPECT_EQ(rs.State(), adStateClosed);
  const std::string closed = AdoError::ObjectClosed;
  const std::vector<std::function<void()>> calls = {[&] { rs.Eof(); },
                                                    [&] { rs.MoveNext(); },
                                                    [&] { rs.Fields("Id"); },
                                                    [&] { rs.Clone(); },
                                                    [&] { rs.setSort(""); },
                                                    [&] { rs.RecordCount(); },
                                                    [&] { rs.Close(); },
                                                    [&] {
                                                      Recordset never;
                                                      never.Fields(0);
                                                    }};
  for (const auto &call : calls)
    EXPECT_EQ(thrownMessage<EOleException>(call), closed);
  EXPECT_EQ(thrownMessage<EOleException>([&] {
              Recordset open = this->openAccounts();
              open.Open(accountRows());
            }),
            std::string(AdoError::ObjectOpen));
}

struct SortCase {
  const char *spec;
  std::vector<int> ids;
};

TEST_P(RecordsetOver, SortsStablyByEverySpecificationForm) {
  // Stored: 0 smith 125 w2 F | 1 Brown -0.5 w1 T | 2 SMITH 125 w1 T | 3 null 0 w3 F |
  //         4 adams 9999 null T | 5 Brown 0.0001 w2 F
  const SortCase cases[] = {
      {"Family", {3, 4, 1, 5, 0, 2}},
      {"family ASC", {3, 4, 1, 5, 0, 2}},
      {"Family DESC", {0, 2, 1, 5, 4, 3}},
      {"Amount", {1, 3, 5, 0, 2, 4}},
      {"Amount DESC, Week", {4, 2, 0, 5, 3, 1}},
      {"Week, Amount DESC", {4, 2, 1, 0, 5, 3}},
      {"  Week  desc ,  Id desc ", {3, 5, 0, 2, 1, 4}},
      {"[Paid], Id DESC", {4, 2, 1, 5, 3, 0}},
      {"Paid DESC", {0, 3, 5, 1, 2, 4}},
      {"", {0, 1, 2, 3, 4, 5}},
      {"   ", {0, 1, 2, 3, 4, 5}},
  };
  for (const SortCase &c : cases) {
    Recordset rs = openAccounts();
    rs.MoveNext();
    rs.setSort(QString::fromLatin1(c.spec));
    EXPECT_EQ(rs.Sort(), QString::fromLatin1(c.spec));
    EXPECT_EQ(idsToEnd(rs), c.ids) << "sort: " << c.spec;
  }
}

TEST_P(RecordsetOver, MalformedSortChangesNothing) {
  for (const char *spec : {"Family,", ",Family", "Family,,Id", "Family UP", "Family ASC DESC",
                           "[Family", "[Family]DESC", "Family DESC Id"}) {
    Recordset rs = openAccounts();
    rs.setSort("Week");
    rs.MoveNext();
    EXPECT_EQ(thrownMessage<EOleException>([&] { rs.setSort(QString::fromLatin1(spec)); }),
              std::string(AdoError::BadArguments))
        << spec;
    EXPECT_EQ(rs.Sort(), "Week");
    EXPECT_EQ(rs.Fields("Id").Value().toInt(), 1) << spec;
  }
}

TEST(Stream, HoldsExactlyTheBytesWritten) {
  Stream stream;
  stream.Open(adModeUnknown, adOpenStreamUnspecified);
  stream.setType(adTypeBinary);
  const QByteArray bytes("\x01\x00\xff persisted", 13);
  stream.Write(bytes);
  EXPECT_EQ(stream.Position(), 13);
  stream.setPosition(0);
  EXPECT_EQ(stream.ReadAll(), bytes);
  stream.setPosition(3);
  stream.Write(QByteArray("XYZ"));
  stream.Write(QByteArray("0123456789ABCDEF"));
  stream.setPosition(2);
  EXPECT_EQ(stream.ReadAll(), QByteArray("\xffXYZ0123456789ABCDEF"));
  EXPECT_EQ(stream.Size(), 22);
}

TEST(Stream, RefusesOperationsOutOfContext) {
  Stream stream;
  const std::vector<std::pair<std::function<void()>, const char *>> cases = {
      {[&] { stream.Write(QByteArray("x")); }, AdoError::ObjectClosed},
      {[&] { stream.setPosition(0); }, AdoError::ObjectClosed},
      {[&] { stream.Close(); }, AdoError::ObjectClosed},
      {[&] {
         stream.Open();
         stream.Write(QByteArray("text stream"));
       },
       AdoError::NotInContext},
      {[&] { stream.Open(); }, AdoError::ObjectOpen},
      {[&] {
         stream.setType(adTypeBinary);
         stream.Write(QByteArray("ab"));
         stream.setType(adTypeText);
       },
       AdoError::NotInContext},
      {[&] { stream.setPosition(3); }, AdoError::BadArguments},
      {[&] { stream.setPosition(-1); }, AdoError::BadArguments},
  };
  for (const auto &[call, message] : cases)
    EXPECT_EQ(thrownMessage<EOleException>(call), std::string(message));
}

std::string sourceName(const ::testing::TestParamInfo<Source> &info) {
  static const char *const names[] = {"Fabricated", "TableGram", "XmlRowset"};
  return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Rows, RecordsetOver,
                         ::testing::Values(Source::Fabricated, Source::TableGram,
                                           Source::XmlRowset),
                         sourceName);

TEST(Recordset, OpenFromAClosedStreamFailsAndStaysClosed) {
  Stream stream;
  Recordset rs;
  EXPECT_EQ(thrownMessage<EOleException>([&] { rs.Open(stream); }),
            std::string(AdoError::ObjectClosed));
  EXPECT_FALSE(rs.isOpen());
}

} // namespace
