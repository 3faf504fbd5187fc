// The pictures of the BPAY payment slip: the scheme's logo as a two-colour bitmap, and the
// payment instructions and trademark notice as vector pictures (SVG) in dark blue Arial.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace TDInvoice::Artwork {

// The logo: 135 × 206 pixels, 1 bit deep, colour table {dark blue, white}. Made from the
// vector mark (BpayLogo.h) on first use.
QImage bpayLogo();

// Instructions for the BPAY slip, 155.9 × 34.4 in their own frame.
QByteArray bpayInstructionsSvg();
// Instructions for the BPAY slip that also takes cards, 155.9 × 32.5.
QByteArray bpayInstructionsCcSvg();
// The registered-trademark notice, 117.8 × 5.9.
QByteArray bpayTrademarkSvg();

// A picture as a layout names it: a bitmap, or SVG bytes. The logo carries both: the bitmap
// the slip prints and the vector source it is made from.
struct TPicture {
  QImage bitmap;
  QByteArray svg;
};

// The picture by the layout's name: "bpay-logo", "bpay-instructions", "bpay-instructions-cc",
// "bpay-trademark". Any other name has none.
std::optional<TPicture> pictureByName(const QString &name);

} // namespace TDInvoice::Artwork
