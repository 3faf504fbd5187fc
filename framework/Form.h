// The base of the library's forms: a QObject owned by its owner component.
//
// A form is destroyed with its owner (Qt's parent), or after release() once the event in
// progress has finished. Its FormDestroy hook runs first on either path, while every
// member of the most derived class is still alive; that is why forms are created only
// through TForm::create<T>, which adds a final class whose destructor runs the hook.
#pragma once

#include <QObject>

#include <cstddef>
#include <utility>

namespace TDInvoice {

class TApplication;

class TForm : public QObject {
public:
  // Creates a form of class T with owner as its owner (null: no owner).
  template <class T, class... Args> static T *create(QObject *owner, Args &&...args);

  // The owner given at creation, unless Qt reparented the form since.
  QObject *owner() const { return parent(); }
  // The application current when the form was created.
  TApplication *application() const { return FApplication; }

  // Destroys the form after the event being handled has finished, so a call from inside
  // one of the form's own events (or a callback it made) is safe.
  void release();

  // The form's class name, for diagnostics and tests.
  virtual const char *formClassName() const;

  // A host may destroy a form by destroying its owner, so forms live in the shared heap.
  static void *operator new(std::size_t size);
  static void operator delete(void *block);

protected:
  explicit TForm(QObject *owner);
  ~TForm() override;

  // The form's destruction event. Overrides free what the form's runs created.
  virtual void FormDestroy() {}

  // Runs FormDestroy once.
  void runFormDestroy();

private:
  template <class T> class Instance;

  TApplication *FApplication;
  bool FFormDestroyDone = false;
};

template <class T> class TForm::Instance final : public T {
public:
  template <class... Args>
  explicit Instance(QObject *owner, Args &&...args) : T(owner, std::forward<Args>(args)...) {}
  ~Instance() override { this->runFormDestroy(); }
};

template <class T, class... Args> T *TForm::create(QObject *owner, Args &&...args) {
  return new Instance<T>(owner, std::forward<Args>(args)...);
}

} // namespace TDInvoice
