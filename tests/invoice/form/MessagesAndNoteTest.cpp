// The message band (the invoice message beside the year-to-date absences) and the customer
// note below it: what each shows, and when each is left out.
#include "ProbeForm.h"

#include "invoice/layout/InvoiceStrings.h"

namespace TDInvoice::Testing {
namespace {

using namespace InvoiceStrings;

const int kClose = dayNumber(2009, 1, 4);

class MessagesAndNoteTest : public ::testing::Test {
protected:
  MessagesAndNoteTest() {
    db.setService();
    db.addPlainInvoice(1001, 1, 0, kClose);
    db.addChild(11, 1, "Sam", "Lee");
  }

  TInvoiceReportRun &runReport() {
    m_run = std::make_unique<TInvoiceReportRun>();
    m_run->load();
    m_run->run();
    return *m_run;
  }

  bool printed(const char *band) { return m_run->bandsOnPage(1).contains(QLatin1String(band)); }

  TInvoiceDatabase db;
  std::unique_ptr<TInvoiceReportRun> m_run;
};

TEST_F(MessagesAndNoteTest, NothingToSayPrintsNeitherBand) {
  TInvoiceReportRun &run = runReport();
  EXPECT_EQ(run.bandsOnPage(1), (QStringList{"grphdrInvoice", "DetailBand1", "InvoiceFooter"}));
  EXPECT_TRUE(run.pagesWithText(QStringLiteral("YTD Absence Days")).empty());
}

TEST_F(MessagesAndNoteTest, AbsencesWithoutAMessage) {
  db.addAbsences(1001, 11, 3);
  db.addAbsences(1001, 99, 2); // a child the family's list lacks
  TInvoiceReportRun &run = runReport();
  EXPECT_TRUE(printed("subdtlInvMsg"));
  EXPECT_EQ(run.pagesWithText(QStringLiteral("YTD Absence Days")), std::vector<int>{1});
  EXPECT_EQ(run.pagesWithText(QStringLiteral("Sam Lee - 3")), std::vector<int>{1});
  EXPECT_EQ(run.pagesWithText(QStringLiteral(" - 2")), std::vector<int>{1});
  EXPECT_FALSE(printed("ChildBand1"));
}

TEST_F(MessagesAndNoteTest, MessageWithoutAbsencesHidesTheAbsenceCaption) {
  db.addMessage(kClose, "{\\rtf1\\ansi Fees rise in {\\b February}.\\par}");
  TInvoiceReportRun &run = runReport();
  EXPECT_TRUE(printed("subdtlInvMsg"));
  EXPECT_EQ(run.pagesWithText(QStringLiteral("February")), std::vector<int>{1});
  EXPECT_TRUE(run.pagesWithText(QStringLiteral("YTD Absence Days")).empty());
}

TEST_F(MessagesAndNoteTest, NotePrintsBelowTheRuleEvenWithoutTheMessageBand) {
  db.addNote(1, "Please label hats.\r\nSunscreen daily.\r\n");
  TInvoiceReportRun &run = runReport();
  EXPECT_FALSE(printed("subdtlInvMsg"));
  EXPECT_TRUE(printed("ChildBand1"));
  const QString rule = QString::fromLatin1(CAP_CustomerNoteRule).trimmed();
  const auto ruleText = run.findText(rule, 1);
  const auto first = run.findText(QStringLiteral("Please label hats."), 1);
  const auto second = run.findText(QStringLiteral("Sunscreen daily."), 1);
  ASSERT_TRUE(ruleText && first && second);
  EXPECT_LT(ruleText->anchor.y(), first->anchor.y());
  EXPECT_EQ(first->anchor.y() - ruleText->anchor.y(), second->anchor.y() - first->anchor.y());
}

TEST_F(MessagesAndNoteTest, MemoLinesOfTheHandlers) {
  const QString longName =
      QStringLiteral("Maximilian-Alexander Constantine Bartholomew Featherstonehaugh");
  db.addChild(12, 1, longName.left(20), longName.mid(21));
  db.addAbsences(1001, 12, 11);
  db.addAbsences(1001, 11, 0);
  db.addNote(1, "One line");
  auto form = makeProbeForm();
  form->startFirstInvoice();
  bool printBand = true;
  form->subdtlInvMsgBeforePrint(nullptr, printBand);
  EXPECT_TRUE(printBand);
  EXPECT_TRUE(form->enabled("lblYTDAbsencesLabel"));
  const QString shownName = (longName.left(20) + QLatin1Char(' ') + longName.mid(21)).left(50);
  EXPECT_EQ(form->component<Report::TReportMemo>("mmoYTDAbsences").Lines(),
            (QStringList{shownName + QStringLiteral(" - 11"), QStringLiteral("Sam Lee - 0")}));
  form->ChildBand1BeforePrint(nullptr, printBand);
  EXPECT_TRUE(printBand);
  EXPECT_EQ(form->component<Report::TReportMemo>("mmoCustInvNote").Lines(),
            (QStringList{QString::fromLatin1(CAP_CustomerNoteRule).trimmed(), "One line"}));
}

TEST_F(MessagesAndNoteTest, EachInvoiceRebuildsItsBlocks) {
  db.addPlainInvoice(1002, 2, 0, kClose);
  db.addAbsences(1001, 11, 4);
  db.addNote(1, "For the first family");
  TInvoiceReportRun &run = runReport();
  ASSERT_EQ(run.pages().size(), 2u);
  EXPECT_TRUE(run.bandsOnPage(1).contains("subdtlInvMsg"));
  EXPECT_TRUE(run.bandsOnPage(1).contains("ChildBand1"));
  EXPECT_FALSE(run.bandsOnPage(2).contains("subdtlInvMsg"));
  EXPECT_FALSE(run.bandsOnPage(2).contains("ChildBand1"));
  EXPECT_EQ(run.pagesWithText(QStringLiteral("For the first family")), std::vector<int>{1});
}

} // namespace
} // namespace TDInvoice::Testing
