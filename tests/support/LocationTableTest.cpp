#include "LeakCheck.h"

#include "support/LocationLookup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace TDInvoice {
namespace {

using Testing::LeakCheckedTest;

struct Loc {
  std::int32_t id;
  const char *name;
  std::uint8_t careType;
};

// A table as a host builds it; null entries in `locations` leave a gap.
TLocationTable *makeTable(const std::vector<const Loc *> &locations) {
  auto *table = new TLocationTable;
  for (std::size_t i = 0; i < locations.size(); ++i) {
    if (!locations[i])
      continue;
    auto *rec = new TLocationRec;
    rec->LocationID = locations[i]->id;
    rec->setName(locations[i]->name);
    rec->CareType = locations[i]->careType;
    table->Locations[i] = rec;
  }
  return table;
}

const Loc kMain{10, "Main", 2};
const Loc kNorth{11, "North", 4};
const Loc kVac{12, "Hols", 3};
const Loc kOdd{13, "Odd", 7};

class LocationTableTest : public LeakCheckedTest {};

TEST_F(LocationTableTest, CareTypeAbbreviations) {
  const std::vector<std::pair<int, const char *>> cases = {
      {0, "REG"}, {1, "ASC"}, {2, "BSC"}, {3, "VAC"},  {4, "LDC"},
      {5, "OCC"}, {6, "UNK"}, {7, "UNK"}, {-1, "UNK"}, {255, "UNK"}};
  for (const auto &[code, abbrev] : cases)
    EXPECT_EQ(careTypeAbbrev(code), abbrev) << code;
}

TEST_F(LocationTableTest, CountsWithACareTypeFilter) {
  TLocationTable *table = makeTable({&kMain, &kNorth, &kVac, &kOdd});
  struct Case {
    TCareTypeSet filter;
    int expected;
  } cases[] = {
      {0, 4},
      {careTypeBit(2), 1},
      {static_cast<TCareTypeSet>(careTypeBit(3) | careTypeBit(4)), 2},
      {careTypeBit(7), 1},
      {careTypeBit(0), 0},
      {careTypeBit(8), 4}, // codes above 7 make no filter bit
  };
  for (const Case &c : cases)
    EXPECT_EQ(locationCount(table, c.filter), c.expected) << int(c.filter);
  EXPECT_EQ(locationCount(nullptr), 0);
  delete table;
}

TEST_F(LocationTableTest, TheFirstEmptyEntryEndsTheTable) {
  TLocationTable *table = makeTable({&kMain, nullptr, &kNorth});
  EXPECT_EQ(locationCount(table), 1);
  EXPECT_EQ(findLocation(table, kNorth.id), nullptr);
  EXPECT_EQ(locationName(table, kMain.id), "Main");
  delete table; // the record behind the gap is freed too
}

TEST_F(LocationTableTest, AFullTableHasTwelveEntriesAndNoTerminator) {
  std::vector<Loc> locs;
  for (int i = 0; i < 12; ++i)
    locs.push_back({100 + i, "L", static_cast<std::uint8_t>(i % 6)});
  std::vector<const Loc *> refs;
  for (const Loc &l : locs)
    refs.push_back(&l);
  TLocationTable *table = makeTable(refs);
  EXPECT_EQ(locationCount(table), 12);
  ASSERT_NE(findLocation(table, 111), nullptr);
  EXPECT_EQ(findLocation(table, 111)->CareType, 11 % 6);
  EXPECT_EQ(findLocation(table, 112), nullptr);
  delete table;
}

TEST_F(LocationTableTest, FindTakesTheFirstEntryWithTheKey) {
  const Loc again{10, "Again", 1};
  TLocationTable *table = makeTable({&kMain, &again});
  EXPECT_EQ(locationName(table, 10), "Main");
  EXPECT_EQ(locationName(table, 99), "");
  EXPECT_EQ(locationName(nullptr, 10), "");
  delete table;
}

TEST_F(LocationTableTest, NamesNeverReadPastTheirField) {
  TLocationTable *table = makeTable({&kMain});
  TLocationRec *rec = table->Locations[0];
  std::memcpy(rec->Name, "ABCDEFGH", 8); // no terminator inside the field
  rec->CareType = 'Z';
  EXPECT_EQ(locationName(table, kMain.id), "ABCDEFGH");
  rec->setName("LongerThanSeven");
  EXPECT_EQ(rec->name(), "LongerT");
  EXPECT_EQ(rec->Name[7], '\0');
  delete table;
}

TEST_F(LocationTableTest, FundingLabels) {
  TLocationTable *one = makeTable({&kMain});
  TLocationTable *two = makeTable({&kMain, &kNorth});
  struct Case {
    const char *what;
    const TLocationTable *table;
    std::int32_t id;
    int careType;
    const char *expected;
  } cases[] = {
      {"single location: abbreviation only", one, kMain.id, 2, "BSC"},
      {"single location, other id", one, 99, 4, "LDC"},
      {"two locations: name and abbreviation", two, kNorth.id, 4, "North - LDC"},
      {"care type from the key, not the record", two, kMain.id, 0, "Main - REG"},
      {"unknown care type", two, kMain.id, 6, "Main - UNK"},
      {"missing location: abbreviation alone", two, 99, 4, "LDC"},
      {"no table", nullptr, kMain.id, 5, "OCC"},
  };
  for (const Case &c : cases)
    EXPECT_EQ(fundingLabel(c.table, c.id, c.careType), c.expected) << c.what;
  delete one;
  delete two;
}

// The receiver destroys the host's table through its virtual destructor.
TEST_F(LocationTableTest, DestroyingThroughTheBaseFreesTheRecords) {
  TObject *table = makeTable({&kMain, &kNorth, &kVac});
  delete table;
}

} // namespace
} // namespace TDInvoice
