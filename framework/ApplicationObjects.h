// The application and screen objects this module works with.
//
// At load the module creates its own pair and makes it current. InitInvoiceDLL saves the
// current pair and installs the host's; FinaliseInvoiceDLL makes the saved pair current
// again. These are plain module-wide variables: every caller runs on the GUI thread.
#pragma once

#include "TDInvoice/Application.h"

namespace TDInvoice {

// What every form, font and window of the module uses; null before the module's own
// objects exist.
TApplication *currentApplication();
TScreen *currentScreen();

// What InitInvoiceDLL saved; null until it runs.
TApplication *savedApplication();
TScreen *savedScreen();

// Module load: creates the module's own objects and makes them current.
void createOwnApplicationObjects();
// Module unload: destroys the module's own objects. The host's objects are never
// destroyed here, even if the host left them installed.
void destroyOwnApplicationObjects();
TApplication *ownApplication();
TScreen *ownScreen();

// InitInvoiceDLL: saves whatever is current, then installs the host's objects. Called a
// second time it would save the host's objects in place of the module's own.
void installHostApplicationObjects(TApplication *application, TScreen *screen);
// FinaliseInvoiceDLL: makes the saved objects current again.
void restoreSavedApplicationObjects();

} // namespace TDInvoice
