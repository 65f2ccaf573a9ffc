#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Text that must come back byte for byte: file names and lines from files that are "UTF-8,
// usually". Valid UTF-8 decodes as usual; every byte that is not part of a valid sequence
// becomes the lone surrogate U+DC80..U+DCFF carrying it, and encoding turns such a surrogate
// back into its byte. So encode(decode(b)) == b for every byte string b, and a Linux file
// name that is not UTF-8 keeps naming the same file.
namespace LosslessText {

QString decode(QByteArrayView bytes);
// Lone surrogates outside U+DC80..U+DCFF carry no byte and cannot be written as UTF-8; they
// become U+FFFD.
QByteArray encode(QStringView text);

} // namespace LosslessText
