#include "invoice/layout/InvoiceStrings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace TDInvoice::InvoiceStrings {
namespace {

// The host matches SQL texts character for character; expectations typed line by line.
TEST(InvoiceStringsTest, QueriesBreakLinesWithCarriageReturnLineFeed) {
  EXPECT_STREQ(SQL_ServiceDetails,
               "SELECT ServiceName, Address, Phone, ABN, BPAYBiller, BSB, AccountNo, DueWeek, "
               "DueDay, PaymentOptions, PaymentSlipOption, ServiceEmail\x0d\x0a"
               "FROM [User Details];");
  EXPECT_STREQ(SQL_Account, "SELECT Parents.FamilyName, Parents.AccountName, Parents.BPAYCustRef, "
                            "Parents.MAddress1, Parents.MAddress2, Parents.DistribChild, "
                            "Parents.UseDirectDebit, Parents.UseCreditCard\x0d\x0a"
                            "FROM Parents\x0d\x0a"
                            "WHERE ((Parents.ParentID)=%d);");
  EXPECT_STREQ(SQL_AbsencesUsed, "SELECT AbsencesUsed.ChildID, AbsencesUsed.CumlAbsences\x0d\x0a"
                                 "FROM AbsencesUsed\x0d\x0a"
                                 "WHERE ((AbsencesUsed.InvoiceNo)=%d);");
  EXPECT_STREQ(SQL_FundingApprovals, "SELECT LocationID, CareType, CCBApprovalId FROM Funding;");
  EXPECT_STREQ(CAP_CustomerNoteRule, "------ Customer Note ---------------\x0d\x0a");
}

// Query 1 asks for exactly the fields that are read from it by name.
TEST(InvoiceStringsTest, ServiceQueryNamesItsFieldEntries) {
  const std::string sql = SQL_ServiceDetails;
  const std::string select = sql.substr(0, sql.find("\r\n"));
  std::string expected = "SELECT ";
  const char *fields[] = {FLD_ServiceName,
                          FLD_Address,
                          FLD_Phone,
                          FLD_ABN,
                          FLD_BPAYBiller,
                          FLD_BSB,
                          FLD_AccountNo,
                          FLD_DueWeek,
                          FLD_DueDay,
                          FLD_PaymentOptions,
                          FLD_PaymentSlipOption,
                          FLD_ServiceEmail};
  for (const char *field : fields) {
    expected += std::string(field) + (field == fields[std::size(fields) - 1] ? "" : ", ");
  }
  EXPECT_EQ(select, expected);
}

// Line breaks are CR LF throughout, and no escape sequence was left as text: the only
// backslashes are the rich text's own control words.
TEST(InvoiceStringsTest, EveryEntryUsesRealLineBreaks) {
  std::set<std::string_view> names;
  for (const TInvoiceString &entry : allInvoiceStrings()) {
    SCOPED_TRACE(std::string(entry.name));
    EXPECT_TRUE(names.insert(entry.name).second) << "listed twice";
    EXPECT_FALSE(entry.text.empty());
    const std::string_view text = entry.text;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\r') {
        EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "CR without LF at " << i;
      }
      if (text[i] == '\n') {
        EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "LF without CR at " << i;
      }
    }
    EXPECT_EQ(text.find("\\r\\n"), std::string_view::npos);
    if (!entry.name.starts_with("RTF_")) {
      EXPECT_EQ(text.find('\\'), std::string_view::npos);
    }
    if (entry.name.starts_with("SQL_")) {
      EXPECT_TRUE(text.starts_with("SELECT ")) << text;
      EXPECT_TRUE(text.ends_with(";")) << text;
    }
  }
  EXPECT_GE(names.size(), 80u);
}

// The template is one rich-text group holding one "%s" for the enrolment lines.
TEST(InvoiceStringsTest, EnrolmentTemplateIsBalancedRichText) {
  const std::string_view rtf = RTF_EnrolmentIdTemplate;
  EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3081"));
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
    EXPECT_TRUE(depth > 0 || i == rtf.size() - 1) << "group closed early at " << i;
  }
  EXPECT_EQ(depth, 0);
  const std::size_t slot = rtf.find("%s");
  ASSERT_NE(slot, std::string_view::npos);
  EXPECT_EQ(rtf.find('%', slot + 1), std::string_view::npos);
  EXPECT_NE(rtf.find("\\par\r\n\\pard\\tx1420\\tx2414\\fs16 %s}"), std::string_view::npos);
  EXPECT_NE(rtf.find("Arial;}}\r\n\\viewkind4"), std::string_view::npos);

  char line[128];
  std::snprintf(line, sizeof line, RTF_EnrolmentIdLine, "Sam Smith", "LDC", "555123456");
  EXPECT_STREQ(line, "Sam Smith\\tab LDC\\tab 555123456\\par");
}

// Formats and prefixes as the handlers use them, against texts typed from the printed page.
TEST(InvoiceStringsTest, FormatsProduceTheirPrintedTexts) {
  char buffer[160];
  auto format = [&buffer](const char *pattern, auto... values) {
    std::snprintf(buffer, sizeof buffer, pattern, values...);
    return std::string(buffer);
  };
  EXPECT_EQ(format(FMT_DayNumber, 5, 1, 2009), "5/01/2009");
  EXPECT_EQ(format(FMT_HistChildCareWeek, "Sam", "LDC", "25/12/08"), "Sam LDC w/e 25/12/08");
  EXPECT_EQ(format(FMT_HistChildWeek, "Sam", "25/12/2008"), "Sam w/e 25/12/2008");
  EXPECT_EQ(format(FMT_CCBPercentage, "104.51", "100.00"), "104.51 X 100.00");
  EXPECT_EQ(format(FMT_PaymentBy, "CASH", "5/01/2009"), "Payment by CASH on 5/01/2009");
  EXPECT_EQ(format(FMT_YTDAbsence, "Sam", 3), "Sam - 3");
  EXPECT_EQ(format(FMT_YTDAbsence, "", 3), " - 3");
  EXPECT_EQ(format(FMT_ChildWithClass, "Sam", "Smith", "Blue"), "Sam Smith (Class: Blue)");
  EXPECT_EQ(format(FMT_DirectCredit, "062-000", "1234"),
            "Direct Credit payments may be made to BSB 062-000 A/C 1234");
  EXPECT_EQ(std::string(CAP_PreviousOutstandingDebt) + "5/01/2009",
            "Previous Outstanding Debt  5/01/2009");
  EXPECT_EQ(std::string(CAP_IssueDatePrefix) + "5-Jan-09", "Issue Date: 5-Jan-09");
  EXPECT_EQ(std::string(MSG_PaymentDueBy) + "9-Jan-09", "Payment due by 9-Jan-09");
  EXPECT_EQ(std::string(CAP_ABNPrefix) + "12 345 678 901", "ABN: 12 345 678 901");
}

TEST(InvoiceStringsTest, PaymentMethodCodesCoverOneToEight) {
  const char *expected[] = {"CASH", "CHEQ", "CARD", "EFTP", "BPAY", "DDBT", "DCRD", "BANK"};
  for (int number = 1; number <= 8; ++number) {
    EXPECT_EQ(paymentMethodCode(number), expected[number - 1]) << number;
  }
  EXPECT_TRUE(paymentMethodCode(0).empty());
  EXPECT_TRUE(paymentMethodCode(9).empty());
  EXPECT_TRUE(paymentMethodCode(-1).empty());
}

} // namespace
} // namespace TDInvoice::InvoiceStrings
