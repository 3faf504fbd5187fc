// The invoice message of the billing period beside the year-to-date absences, and the
// account's customer note below it; each block is left out when it has nothing to show.
#include "framework/db/AnsiText.h"
#include "invoice/ADODataSetComponent.h"
#include "invoice/InvoiceFormats.h"
#include "invoice/InvoiceReportForm.h"
#include "invoice/layout/InvoiceStrings.h"
#include "report/engine/ReportCustomLabel.h"
#include "report/engine/ReportRichText.h"

#include <QRegularExpression>

namespace TDInvoice {

using namespace InvoiceStrings;

namespace {

constexpr qsizetype kAbsenceNameMax = 50;

QString fromTable(const char *text) { return QString::fromLatin1(text); }

} // namespace

void TInvoiceReportForm::subdtlInvMsgBeforePrint(Report::TReportCustomBand *, bool &PrintBand) {
  auto &message = component<Report::TReportRichText>("richtxtInvoiceMessage");
  const bool hasMessage = !FInvoiceMessage.isEmpty();
  message.setLines(FInvoiceMessage);
  auto &absences = component<Report::TReportMemo>("mmoYTDAbsences");
  QStringList lines;
  const std::int32_t InvoiceNo =
      FADODataSet1->dataSet().FieldByName(fromTable(FLD_InvoiceNo)).AsInteger();
  Ado::Recordset used = OpenQuery(sqlWith(SQL_AbsencesUsed, InvoiceNo));
  for (; !used.Eof(); used.MoveNext()) {
    const std::int32_t ChildID = used.Fields(0).Value().toInt();
    const auto days = static_cast<std::int16_t>(used.Fields(1).Value().toInt());
    const std::string name = familyChild(ChildID);
    const QString shown =
        Ado::fromAnsi(QByteArrayView(name.data(), static_cast<qsizetype>(name.size())))
            .left(kAbsenceNameMax);
    lines.append(InvoiceFormats::fillIn(FMT_YTDAbsence, {shown, QString::number(days)}));
  }
  used.Close();
  absences.setLines(lines);
  Report::TReportPrintable &caption = printable("lblYTDAbsencesLabel");
  if (!lines.isEmpty())
    caption.setEnabled(true);
  else if (hasMessage)
    caption.setEnabled(false);
  else
    PrintBand = false;
}

void TInvoiceReportForm::ChildBand1BeforePrint(Report::TReportCustomBand *, bool &PrintBand) {
  auto &note = component<Report::TReportMemo>("mmoCustInvNote");
  if (FInvoiceNote.isEmpty()) {
    note.setLines({});
    PrintBand = false;
    return;
  }
  // The memo takes the text line by line, at its line breaks.
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  QStringList lines = (fromTable(CAP_CustomerNoteRule) + FInvoiceNote).split(lineBreak);
  // A break at the very end closes the last line; it does not start another.
  if (lines.size() > 1 && lines.last().isEmpty())
    lines.removeLast();
  note.setLines(lines);
  PrintBand = true;
}

} // namespace TDInvoice
