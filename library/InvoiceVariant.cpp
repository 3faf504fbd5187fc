#include "library/InvoiceVariant.h"

#include "TDInvoice/Exceptions.h"
#include "invoice/variants/InvoiceReportBPAY.h"
#include "invoice/variants/InvoiceReportBPAYCC.h"
#include "invoice/variants/InvoiceReportCreditCard.h"
#include "invoice/variants/InvoiceReportExtend.h"
#include "invoice/variants/InvoiceReportExtendCC.h"
#include "invoice/variants/InvoiceReportStandard.h"

#include <string>

namespace TDInvoice {
namespace {

constexpr std::int32_t CreditCardPayment = 2;
constexpr std::int32_t BPAYPayment = 3;

} // namespace

TInvoiceVariant chooseInvoiceVariant(std::int32_t PaymentType, bool WithCard, bool Extended) {
  // The first matching row decides.
  if (Extended)
    return PaymentType == CreditCardPayment ? TInvoiceVariant::ExtendCC : TInvoiceVariant::Extend;
  if (PaymentType == CreditCardPayment)
    return TInvoiceVariant::CreditCard;
  if (PaymentType == BPAYPayment)
    return WithCard ? TInvoiceVariant::BPAYCC : TInvoiceVariant::BPAY;
  return TInvoiceVariant::Standard;
}

TInvoiceReportForm *createInvoiceReportForm(TInvoiceVariant variant, QObject *owner) {
  switch (variant) {
  case TInvoiceVariant::Standard:
    return TForm::create<TInvoiceReportStandard>(owner);
  case TInvoiceVariant::Extend:
    return TForm::create<TInvoiceReportExtend>(owner);
  case TInvoiceVariant::CreditCard:
    return TForm::create<TInvoiceReportCreditCard>(owner);
  case TInvoiceVariant::ExtendCC:
    return TForm::create<TInvoiceReportExtendCC>(owner);
  case TInvoiceVariant::BPAY:
    return TForm::create<TInvoiceReportBPAY>(owner);
  case TInvoiceVariant::BPAYCC:
    return TForm::create<TInvoiceReportBPAYCC>(owner);
  }
  throw Exception("Unknown invoice variant " + std::to_string(static_cast<int>(variant)));
}

} // namespace TDInvoice
