#include "framework/ado/Locale.h"

namespace TDInvoice::Ado {

QLocale processLocale() {
  const QLocale system = QLocale::system();
  if (system.language() == QLocale::C)
    return QLocale(QLocale::English, QLocale::Australia);
  return system;
}

} // namespace TDInvoice::Ado
