// The stored layouts of the invoice forms: the base form's layout, and for each of the six
// variant forms the edits it makes to its parent's layout.
#pragma once

#include "invoice/layout/LayoutEdits.h"
#include "invoice/layout/LayoutTypes.h"

#include <optional>
#include <string_view>
#include <vector>

namespace TDInvoice::Layout {

enum class TFormClass { Base, Standard, Extend, CreditCard, ExtendCC, BPAY, BPAYCC };

inline constexpr TFormClass kAllFormClasses[] = {
    TFormClass::Base,     TFormClass::Standard, TFormClass::Extend, TFormClass::CreditCard,
    TFormClass::ExtendCC, TFormClass::BPAY,     TFormClass::BPAYCC};

// "TInvoiceReportForm", "TInvoiceReportStandard", ...
std::string_view formClassName(TFormClass form);

// The form whose layout a form inherits; none for the base form.
std::optional<TFormClass> parentFormClass(TFormClass form);

// The layout of TInvoiceReportForm.
const TReportDesc &baseLayout();

// What a form's layout changes on its parent's; empty for the base form.
const std::vector<TLayoutEdit> &layoutEdits(TFormClass form);

// A form's layout with every inherited edit applied, from the base down.
TReportDesc layoutFor(TFormClass form);

// Picture resources the layouts name.
inline constexpr std::string_view kPictureBpayLogo = "bpay-logo";
inline constexpr std::string_view kPictureBpayInstructions = "bpay-instructions";
inline constexpr std::string_view kPictureBpayInstructionsCC = "bpay-instructions-cc";
inline constexpr std::string_view kPictureBpayTrademark = "bpay-trademark";

} // namespace TDInvoice::Layout
