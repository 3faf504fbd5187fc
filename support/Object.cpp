#include "TDInvoice/Object.h"

namespace TDInvoice {

TObject::~TObject() = default;

} // namespace TDInvoice
