#include "framework/Form.h"

#include "TDInvoice/SharedAllocator.h"
#include "framework/ApplicationObjects.h"

namespace TDInvoice {

TForm::TForm(QObject *owner) : QObject(owner), FApplication(currentApplication()) {}

TForm::~TForm() {
  // Reached first only by a form built outside create(); the hook then runs as TForm's.
  runFormDestroy();
}

void TForm::runFormDestroy() {
  if (FFormDestroyDone)
    return;
  FFormDestroyDone = true;
  FormDestroy();
}

void TForm::release() { deleteLater(); }

const char *TForm::formClassName() const { return "TForm"; }

void *TForm::operator new(std::size_t size) { return sharedAlloc(size); }

void TForm::operator delete(void *block) { sharedFree(block); }

} // namespace TDInvoice
