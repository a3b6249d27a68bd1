#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Text that stands for bytes of no known encoding: launch switches and ini
// values, where communities, user names and pass phrases are bytes that must
// reach the agent unchanged. Valid UTF-8 decodes as usual; every other byte
// 0x80..0xFF becomes the lone surrogate U+DC80..U+DCFF, which no decoded text
// holds otherwise, so VrBytesFromText gives back the very bytes.
QString VrTextFromBytes(QByteArrayView bytes);

// The inverse: UTF-8, with each lone U+DC80..U+DCFF written as its byte.
// For every byte sequence b, VrBytesFromText(VrTextFromBytes(b)) == b.
QByteArray VrBytesFromText(QStringView text);
