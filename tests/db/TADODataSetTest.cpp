#include "framework/db/TADODataSet.h"

#include "TDInvoice/Exceptions.h"
#include "tests/db/RecordsetFixture.h"
#include "tests/intake/ThrownMessage.h"

#include <gtest/gtest.h>

#include <functional>

using namespace TDInvoice;
using TDInvoice::Testing::accountRows;
using TDInvoice::Testing::thrownMessage;

namespace {

Ado::Recordset openAccounts() {
  Ado::Recordset rs;
  rs.Open(accountRows());
  return rs;
}

std::vector<int> idsForward(TADODataSet &ds) {
  std::vector<int> ids;
  for (ds.First(); !ds.Eof(); ds.Next())
    ids.push_back(ds.FieldByName("Id").AsInteger());
  return ids;
}

TEST(TADODataSet, OpensOnTheFirstRecordOfTheRecordset) {
  TADODataSet ds;
  EXPECT_EQ(ds.Name(), "ADODataSet1");
  Ado::Recordset rs = openAccounts();
  rs.MoveNext();
  ds.setRecordset(rs.Clone());
  EXPECT_TRUE(ds.Active());
  EXPECT_EQ(ds.RecordCount(), 6);
  EXPECT_EQ(ds.RecNo(), 1);
  EXPECT_EQ(ds.FieldByName("id").AsInteger(), 0);
  EXPECT_EQ(idsForward(ds), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST(TADODataSet, NavigatesLikeADataset) {
  TADODataSet ds;
  ds.setRecordset(openAccounts());
  EXPECT_TRUE(ds.Bof());
  ds.Prior();
  EXPECT_TRUE(ds.Bof());
  EXPECT_EQ(ds.RecNo(), 1);
  for (int i = 0; i < 5; ++i)
    ds.Next();
  EXPECT_FALSE(ds.Eof());
  ds.Next();
  // Past the last record the dataset stays on it.
  EXPECT_TRUE(ds.Eof());
  EXPECT_EQ(ds.FieldByName("Id").AsInteger(), 5);
  ds.Prior();
  EXPECT_FALSE(ds.Eof());
  EXPECT_EQ(ds.FieldByName("Id").AsInteger(), 4);
  ds.First();
  EXPECT_EQ(ds.RecNo(), 1);
}

TEST(TADODataSet, FieldsConvertAndGiveDefaultsForNull) {
  TADODataSet ds;
  ds.setRecordset(openAccounts());
  ds.Next();
  ds.Next();
  ds.Next(); // Id 3: Family is null
  const TField family = ds.FieldByName("Family");
  EXPECT_TRUE(family.IsNull());
  EXPECT_EQ(family.AsString(), QString());
  EXPECT_TRUE(family.Value().isNull());
  EXPECT_THROW(family.Value().toString(), EVariantError);
  EXPECT_EQ(family.DataType(), Ado::adVarWChar);
  EXPECT_EQ(family.FieldName(), "Family");
  ds.Next(); // Id 4
  EXPECT_EQ(ds.FieldByName("Amount").AsCurrency(), 99990000);
  EXPECT_TRUE(ds.FieldByName("Paid").AsBoolean());
  EXPECT_EQ(ds.FieldByName("Week").AsInteger(), 0);
  EXPECT_EQ(family.AsString(), "adams"); // a field reads the current record
  EXPECT_EQ(thrownMessage<EDatabaseError>([&] { ds.FieldByName("Nope"); }),
            "Field 'Nope' not found");
  EXPECT_FALSE(ds.FindField("Nope").has_value());
}

TEST(TADODataSet, ZeroRowsIsOpenAndEmpty) {
  Ado::RecordsetData data = accountRows();
  data.rows.clear();
  Ado::Recordset rs;
  rs.Open(data);
  TADODataSet ds;
  ds.setRecordset(std::move(rs));
  EXPECT_TRUE(ds.Active());
  EXPECT_TRUE(ds.Eof());
  EXPECT_TRUE(ds.Bof());
  EXPECT_EQ(ds.RecordCount(), 0);
  EXPECT_EQ(ds.RecNo(), 0);
  EXPECT_TRUE(ds.FieldByName("Amount").IsNull());
  EXPECT_EQ(ds.FieldByName("Amount").AsCurrency(), 0);
}

TEST(TADODataSet, AClosedRecordsetLeavesTheDatasetClosed) {
  TADODataSet ds;
  ds.setRecordset(openAccounts());
  EXPECT_EQ(thrownMessage<EDatabaseError>([&] { ds.setRecordset(Ado::Recordset()); }),
            "Recordset is not open");
  EXPECT_FALSE(ds.Active());
}

TEST(TADODataSet, ClosedDatasetRefusesOperations) {
  TADODataSet ds;
  ds.setRecordset(openAccounts());
  const TField id = ds.FieldByName("Id");
  ds.Close();
  ds.Close();
  const std::vector<std::function<void()>> calls = {
      [&] { ds.First(); },       [&] { ds.Next(); },        [&] { ds.Prior(); },
      [&] { ds.Eof(); },         [&] { ds.RecordCount(); }, [&] { ds.FieldByName("Id"); },
      [&] { ds.setSort("Id"); }, [&] { ds.Sort(); },        [&] { id.AsInteger(); },
      [&] { id.FieldName(); }};
  for (const auto &call : calls)
    EXPECT_EQ(thrownMessage<EDatabaseError>(call),
              "Cannot perform this operation on a closed dataset");
}

TEST(TADODataSet, SortReordersAndReturnsToTheFirstRecord) {
  TADODataSet ds;
  ds.setRecordset(openAccounts());
  ds.Next();
  ds.setSort("Amount DESC, Week");
  EXPECT_EQ(ds.Sort(), "Amount DESC, Week");
  EXPECT_EQ(ds.RecNo(), 1);
  EXPECT_EQ(idsForward(ds), (std::vector<int>{4, 2, 0, 5, 3, 1}));
  ds.First();
  ds.Next();
  EXPECT_THROW(ds.setSort("Amount SIDEWAYS"), EOleException);
  EXPECT_EQ(ds.Sort(), "Amount DESC, Week");
  EXPECT_EQ(ds.FieldByName("Id").AsInteger(), 2);
  EXPECT_EQ(thrownMessage<EOleException>([&] { ds.setSort("Nowhere"); }),
            std::string(Ado::AdoError::ItemNotFound));
}

} // namespace
