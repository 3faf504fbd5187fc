// The pictures the invoice layouts name (logos, instruction panels), by resource name. The
// artwork registers them; a layout whose picture is not registered prints an empty box.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>
#include <string_view>

namespace TDInvoice {

struct TInvoicePicture {
  QImage bitmap;  // a raster picture, or
  QByteArray svg; // a vector picture
};

// Registers (or replaces) the picture known by name.
void registerInvoicePicture(std::string_view name, const TInvoicePicture &picture);
// Forgets a picture; later forms print its boxes empty.
void unregisterInvoicePicture(std::string_view name);
// The picture registered under name, if any.
std::optional<TInvoicePicture> findInvoicePicture(std::string_view name);

} // namespace TDInvoice
