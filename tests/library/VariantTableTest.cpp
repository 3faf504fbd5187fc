#include "LibraryTestSupport.h"
#include "invoice/variants/InvoiceReportBPAY.h"
#include "invoice/variants/InvoiceReportBPAYCC.h"
#include "invoice/variants/InvoiceReportCreditCard.h"
#include "invoice/variants/InvoiceReportExtend.h"
#include "invoice/variants/InvoiceReportExtendCC.h"
#include "invoice/variants/InvoiceReportStandard.h"

#include <QObject>
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <ostream>

namespace TDInvoice {
namespace {

using Testing::formOf;

struct TVariantRow {
  std::int32_t PaymentType;
  std::int16_t WithCard;
  std::int16_t Extended;
  const char *expectedClass;
};

std::ostream &operator<<(std::ostream &out, const TVariantRow &row) {
  return out << "PaymentType " << row.PaymentType << " WithCard " << row.WithCard << " Extended "
             << row.Extended;
}

// Every row of the choice, with 16-bit booleans whose only set bit is a high one.
const TVariantRow kVariantRows[] = {
    // Extended: credit card, or the standard slip with new charges (BPAY included).
    {2, 0, 1, "TInvoiceReportExtendCC"},
    {2, 1, 1, "TInvoiceReportExtendCC"},
    {2, 0, 256, "TInvoiceReportExtendCC"},
    {3, 0, 1, "TInvoiceReportExtend"},
    {3, 1, 1, "TInvoiceReportExtend"},
    {3, 256, -32768, "TInvoiceReportExtend"},
    {0, 0, 1, "TInvoiceReportExtend"},
    {1, 1, 1, "TInvoiceReportExtend"},
    {4, 0, 1, "TInvoiceReportExtend"},
    {-1, 0, 1, "TInvoiceReportExtend"},
    // Not extended.
    {2, 0, 0, "TInvoiceReportCreditCard"},
    {2, 1, 0, "TInvoiceReportCreditCard"},
    {3, 1, 0, "TInvoiceReportBPAYCC"},
    {3, 256, 0, "TInvoiceReportBPAYCC"},
    {3, -1, 0, "TInvoiceReportBPAYCC"},
    {3, 0, 0, "TInvoiceReportBPAY"},
    {0, 0, 0, "TInvoiceReportStandard"},
    {1, 0, 0, "TInvoiceReportStandard"},
    {1, 1, 0, "TInvoiceReportStandard"},
    {4, 0, 0, "TInvoiceReportStandard"},
    {-1, 0, 0, "TInvoiceReportStandard"},
    {-3, 1, 0, "TInvoiceReportStandard"},
    {INT_MIN, 0, 0, "TInvoiceReportStandard"},
    {INT_MAX, 1, 0, "TInvoiceReportStandard"},
};

class VariantTableTest : public ::testing::TestWithParam<TVariantRow> {};

TEST_P(VariantTableTest, CreatesTheFormClassOfTheFirstMatchingRow) {
  const TVariantRow &row = GetParam();
  auto owner = std::make_unique<QObject>();
  IInvoiceReport *report = nullptr;
  CreateInvoiceReport(report, owner.get(), row.PaymentType, row.WithCard, row.Extended);
  ASSERT_NE(report, nullptr);
  TInvoiceReportForm *form = formOf(report);
  EXPECT_STREQ(form->formClassName(), row.expectedClass);
  EXPECT_EQ(form->owner(), owner.get());
  EXPECT_EQ(report->Release(), 0);
}

INSTANTIATE_TEST_SUITE_P(AllRows, VariantTableTest, ::testing::ValuesIn(kVariantRows));

// The class names are backed by the real classes and their parents.
template <class T> bool isA(TInvoiceReportForm *form) { return dynamic_cast<T *>(form) != nullptr; }

struct TInheritanceRow {
  std::int32_t PaymentType;
  std::int16_t WithCard;
  std::int16_t Extended;
  bool (*isOwnClass)(TInvoiceReportForm *);
  bool (*isParent)(TInvoiceReportForm *);
  bool (*isUnrelated)(TInvoiceReportForm *);
};

const TInheritanceRow kInheritanceRows[] = {
    {1, 0, 0, isA<TInvoiceReportStandard>, isA<TInvoiceReportForm>, isA<TInvoiceReportCreditCard>},
    {1, 0, 1, isA<TInvoiceReportExtend>, isA<TInvoiceReportStandard>, isA<TInvoiceReportBPAY>},
    {2, 0, 0, isA<TInvoiceReportCreditCard>, isA<TInvoiceReportForm>, isA<TInvoiceReportStandard>},
    {2, 0, 1, isA<TInvoiceReportExtendCC>, isA<TInvoiceReportCreditCard>,
     isA<TInvoiceReportExtend>},
    {3, 0, 0, isA<TInvoiceReportBPAY>, isA<TInvoiceReportForm>, isA<TInvoiceReportBPAYCC>},
    {3, 1, 0, isA<TInvoiceReportBPAYCC>, isA<TInvoiceReportBPAY>, isA<TInvoiceReportStandard>},
};

TEST(VariantClasses, EachVariantDerivesFromItsParent) {
  for (const TInheritanceRow &row : kInheritanceRows) {
    IInvoiceReport *report = nullptr;
    CreateInvoiceReport(report, nullptr, row.PaymentType, row.WithCard, row.Extended);
    TInvoiceReportForm *form = formOf(report);
    SCOPED_TRACE(form->formClassName());
    EXPECT_TRUE(row.isOwnClass(form));
    EXPECT_TRUE(row.isParent(form));
    EXPECT_FALSE(row.isUnrelated(form));
    report->ReleaseReport();
    report->Release();
  }
  Testing::runEventLoop();
}

} // namespace
} // namespace TDInvoice
