#include "LeakCheck.h"

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/ShortStringList.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace TDInvoice {
namespace {

using Testing::LeakCheckedTest;

const std::string kSettingMessage =
    "Can't change setting: NameValuePairs ensures sorted, unique, case-insensitive Names.";

std::vector<std::string> strings(const TShortStringList &list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Count(); ++i)
    out.push_back(list.GetString(i));
  return out;
}

template <class E> std::string messageOf(const std::function<void()> &action) {
  try {
    action();
  } catch (const E &error) {
    return error.what();
  }
  return "<no exception>";
}

class ShortStringListTest : public LeakCheckedTest {};

TEST_F(ShortStringListTest, JoinsWithCommaBlankOrCrLfAndKeepsTheSeparator) {
  TShortStringList list;
  EXPECT_EQ(list.CommaText(), "");
  EXPECT_EQ(list.Text(), "");
  EXPECT_EQ(list.separator(), ", "); // set by CommaText even for an empty list
  list.Add("a");
  list.Add("b");
  EXPECT_EQ(list.CommaText(), "a, b");
  EXPECT_EQ(list.separator(), ", ");
  EXPECT_EQ(list.Text(), "a\r\nb\r\n");
  EXPECT_EQ(list.separator(), "\r\n");
  EXPECT_EQ(list.JoinItems(), "a\r\nb");

  TShortStringList single;
  EXPECT_EQ(single.separator(), "");
  single.Add("abc");
  EXPECT_EQ(single.Text(), "abc\r\n");
}

TEST_F(ShortStringListTest, LongItemsJoinWholeAndTextsAreCutTo255) {
  TShortStringList list;
  const std::string longest(255, 'x');
  list.Add(longest);
  list.Add("tail");
  const std::string joined = list.CommaText();
  EXPECT_EQ(joined.size(), 255u + 2 + 4);
  EXPECT_EQ(joined, longest + ", tail");

  list.Add(std::string(300, 'y'));
  EXPECT_EQ(list.GetString(2), std::string(255, 'y'));
  EXPECT_EQ(list.StrZ(2)->Len, 255);

  // Many long pieces force the result to grow more than once.
  TShortStringList many;
  std::string expected;
  for (int i = 0; i < 40; ++i) {
    const std::string item(200 + i, static_cast<char>('A' + i % 26));
    many.Add(item);
    expected += item + "\r\n";
  }
  EXPECT_EQ(many.Text(), expected);
}

TEST_F(ShortStringListTest, ItemsSortCaseInsensitivelyByBytes) {
  TShortStringList list;
  list.Add("b");
  list.Add("A");
  list.Add("c");
  list.SetSorted(true);
  EXPECT_TRUE(list.sorted());
  EXPECT_EQ(strings(list), (std::vector<std::string>{"A", "b", "c"}));
  list.Add("B"); // sorted, not unique: before the equal "b"
  EXPECT_EQ(strings(list), (std::vector<std::string>{"A", "B", "b", "c"}));
  list.SetSorted(false);
  EXPECT_FALSE(list.sorted());
  list.Add("a");
  EXPECT_EQ(list.GetString(4), "a");
}

TEST_F(ShortStringListTest, CompareItemsReturnsTheByteDifference) {
  struct Case {
    const char *a;
    const char *b;
    bool caseSensitive;
    int expected;
  } cases[] = {
      {"abc", "ABC", false, 0},
      {"abc", "ABC", true, 'a' - 'A'},
      {"abc", "ABD", false, 'C' - 'D'},
      {"a", "ab", false, -'B'},     // a prefix compares lower
      {"ab", "a", true, 'b'},       //
      {"_", "a", false, '_' - 'A'}, // letters compare as upper case
      {"_", "a", true, '_' - 'a'},
      {"\xE9", "e", false, 0xE9 - 'E'}, // unsigned bytes; only ASCII letters fold
      {"\xE9", "\xC9", false, 0xE9 - 0xC9},
      {"", "", false, 0},
  };
  for (const Case &c : cases) {
    TShortStringList list;
    list.SetCaseSensitive(c.caseSensitive);
    TStrZObj a(c.a, false);
    TStrZObj b(c.b, false);
    EXPECT_EQ(list.CompareItems(&a, &b), c.expected) << c.a << " vs " << c.b;
  }
}

TEST_F(ShortStringListTest, SwitchingCaseSensitivityResortsASortedList) {
  TShortStringList list;
  list.Add("b");
  list.Add("a");
  list.Add("B");
  list.SetSorted(true);
  list.SetCaseSensitive(true);
  EXPECT_EQ(strings(list), (std::vector<std::string>{"B", "a", "b"}));
}

TEST_F(ShortStringListTest, NameValueModeIsSortedUniqueAndFirstValueWins) {
  TShortStringList list(true);
  EXPECT_TRUE(list.sorted());
  EXPECT_TRUE(list.unique());
  EXPECT_EQ(list.Add("a=1"), 0);
  EXPECT_EQ(list.Add("A=2"), 0);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.GetString(0), "a=1");

  EXPECT_EQ(list.Add("a_x=3"), 1);  // '_' after letters: "A_X" > "A"
  EXPECT_EQ(list.Add("ab=b=c"), 1); // "AB" < "A_X"
  const TStrZObj *item = list.StrZ(1);
  EXPECT_STREQ(item->Data, "ab"); // the '=' is overwritten: Data reads as the name
  EXPECT_STREQ(item->Value, "b=c");
  EXPECT_EQ(item->NameLen, 2);
  EXPECT_EQ(item->Len, 6);
  EXPECT_EQ(list.GetString(1), "ab=b=c");
  EXPECT_EQ(list.CommaText(), "a=1, ab=b=c, a_x=3");
}

TEST_F(ShortStringListTest, NameValueModeRefusesBadItemsAndSettings) {
  TShortStringList list(true);
  list.Add("k=v");
  EXPECT_EQ(messageOf<Exception>([&] { list.Add("=x"); }),
            "Zero-length Name in name-value pair:=x");
  EXPECT_EQ(messageOf<Exception>([&] { list.Add("abc"); }), "No \"=\" sign in name-value pair:abc");
  EXPECT_EQ(messageOf<Exception>([&] { list.AddWithTag("", 4); }),
            "No \"=\" sign in name-value pair:");
  EXPECT_EQ(messageOf<Exception>([&] { list.SetSorted(false); }), kSettingMessage);
  EXPECT_EQ(messageOf<Exception>([&] { list.SetUnique(false); }), kSettingMessage);
  EXPECT_EQ(messageOf<Exception>([&] { list.SetCaseSensitive(true); }), kSettingMessage);
  EXPECT_NO_THROW(list.SetSorted(true));
  EXPECT_NO_THROW(list.SetUnique(true));
  EXPECT_TRUE(list.sorted());
  EXPECT_TRUE(list.unique());
  EXPECT_FALSE(list.caseSensitive());
  EXPECT_EQ(strings(list), (std::vector<std::string>{"k=v"}));
}

TEST_F(ShortStringListTest, FindByTagTakesTheFirstNonEmptyMatch) {
  TShortStringList list;
  list.AddWithTag("first", 7);
  list.AddWithTag("second", 7);
  list.AddWithTag("", 9);
  list.AddWithTag("nine", 9);
  list.Add("untagged");
  struct Case {
    int tag;
    const char *expected;
  } cases[] = {{7, "first"}, {9, "nine"}, {0, "untagged"}, {8, ""}};
  for (const Case &c : cases)
    EXPECT_EQ(list.FindByTag(c.tag), c.expected) << c.tag;
  EXPECT_EQ(list.GetTag(1), 7);
  EXPECT_EQ(list.GetTag(4), 0);
}

TEST_F(ShortStringListTest, BadIndexesRaiseTheListError) {
  TShortStringList list;
  list.Add("only");
  EXPECT_EQ(messageOf<EListError>([&] { list.GetTag(1); }), "List index out of bounds (1)");
  EXPECT_EQ(messageOf<EListError>([&] { list.GetString(-1); }), "List index out of bounds (-1)");
}

TEST_F(ShortStringListTest, TextAfterAnEmbeddedNulIsNotKept) {
  TShortStringList list;
  list.Add(std::string("ab\0cd", 5));
  EXPECT_EQ(list.StrZ(0)->Len, 5);
  EXPECT_EQ(list.GetString(0), "ab");

  TShortStringList pairs(true);
  pairs.Add(std::string("n\0x=v", 5)); // the '=' lies behind the NUL
  EXPECT_EQ(pairs.GetString(0), "n=");
  EXPECT_STREQ(pairs.StrZ(0)->Value, "");
}

TEST_F(ShortStringListTest, ItemsHoldTheirOwnBuffers) {
  TShortStringList list;
  list.AddWithTag("abc", 3);
  const TStrZObj *item = list.StrZ(0);
  EXPECT_EQ(item->Len, 3);
  EXPECT_EQ(item->Reserved, 0);
  EXPECT_EQ(item->NameLen, 0);
  EXPECT_EQ(item->Value, nullptr);
  EXPECT_EQ(item->Tag, 3);
  EXPECT_STREQ(item->Data, "abc");
  EXPECT_TRUE(list.OwnsObjects());
}

// The host builds lists and the library destroys them through the base class.
TEST_F(ShortStringListTest, DestroyingThroughTheBaseFreesEveryItem) {
  TObject *packet = nullptr;
  {
    auto *list = new TShortStringList(true);
    for (int i = 0; i < 100; ++i)
      list->AddWithTag("line" + std::to_string(i) + "=" + std::string(i, 'v'), i);
    list->Add("line5=duplicate"); // refused and freed
    packet = list;
  }
  delete packet;
}

} // namespace
} // namespace TDInvoice
