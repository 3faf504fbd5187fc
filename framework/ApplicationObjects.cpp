#include "framework/ApplicationObjects.h"

namespace TDInvoice {
namespace {

TApplication *gCurrentApplication = nullptr;
TScreen *gCurrentScreen = nullptr;
TApplication *gSavedApplication = nullptr;
TScreen *gSavedScreen = nullptr;
TApplication *gOwnApplication = nullptr;
TScreen *gOwnScreen = nullptr;

} // namespace

TApplication *currentApplication() { return gCurrentApplication; }
TScreen *currentScreen() { return gCurrentScreen; }
TApplication *savedApplication() { return gSavedApplication; }
TScreen *savedScreen() { return gSavedScreen; }
TApplication *ownApplication() { return gOwnApplication; }
TScreen *ownScreen() { return gOwnScreen; }

void createOwnApplicationObjects() {
  if (gOwnApplication)
    return;
  // No Qt application of our own: the host's is the only one the process may have.
  gOwnApplication = new TApplication(nullptr);
  gOwnScreen = new TScreen(nullptr, TScreen::DefaultPixelsPerInch);
  gCurrentApplication = gOwnApplication;
  gCurrentScreen = gOwnScreen;
}

void destroyOwnApplicationObjects() {
  // Whatever is installed must not point at the destroyed objects afterwards; a host pair
  // left installed stays the host's to destroy.
  if (gCurrentApplication == gOwnApplication)
    gCurrentApplication = nullptr;
  if (gCurrentScreen == gOwnScreen)
    gCurrentScreen = nullptr;
  if (gSavedApplication == gOwnApplication)
    gSavedApplication = nullptr;
  if (gSavedScreen == gOwnScreen)
    gSavedScreen = nullptr;
  delete gOwnApplication;
  delete gOwnScreen;
  gOwnApplication = nullptr;
  gOwnScreen = nullptr;
}

void installHostApplicationObjects(TApplication *application, TScreen *screen) {
  gSavedApplication = gCurrentApplication;
  gSavedScreen = gCurrentScreen;
  gCurrentApplication = application;
  gCurrentScreen = screen;
}

void restoreSavedApplicationObjects() {
  gCurrentApplication = gSavedApplication;
  gCurrentScreen = gSavedScreen;
}

} // namespace TDInvoice
