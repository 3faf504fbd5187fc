// The locale that variant conversions format and parse with.
#pragma once

#include <QLocale>

namespace TDInvoice::Ado {

// The process locale (QLocale::system()); English (Australia) when the process runs under the
// C/POSIX locale, so that tests and headless hosts get the formats the system is used with.
QLocale processLocale();

} // namespace TDInvoice::Ado
