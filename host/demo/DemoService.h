// The demo service's own rows: its details, locations, funding approvals, price list names,
// the invoice message of the billing period and its direct-debit date.
#pragma once

#include "host/demo/DemoTables.h"

namespace TDInvoice::Demo {

void addServiceTables(TDemoTables &tables);

// The invoice message as a Windows rich-edit control saves it.
QString demoInvoiceMessage();

} // namespace TDInvoice::Demo
