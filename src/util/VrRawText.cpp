#include "VrRawText.h"

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool isEscape(QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    // A low surrogate after a high one is half of a real character.
    return c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF
        && !(i > 0 && QChar::isHighSurrogate(text[i - 1].unicode()));
}

// Length of the well-formed UTF-8 sequence at p (at most n bytes), 0 if none:
// no overlong forms, no surrogates, nothing above U+10FFFF.
int sequenceLength(const uchar *p, qsizetype n, char32_t &code)
{
    const uchar lead = p[0];
    struct Form { uchar mask, marker, payload; int length; char32_t least; };
    static constexpr Form Forms[] = {
        {0xE0, 0xC0, 0x1F, 2, 0x80}, {0xF0, 0xE0, 0x0F, 3, 0x800}, {0xF8, 0xF0, 0x07, 4, 0x10000}};
    const Form *form = nullptr;
    for (const Form &f : Forms)
        if ((lead & f.mask) == f.marker)
            form = &f;
    if (!form)
        return 0;
    const int length = form->length;
    const char32_t least = form->least;
    code = lead & form->payload;
    if (n < length)
        return 0;
    for (int k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[k] & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString VrTextFromBytes(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        if (p[i] < 0x80) {
            text.append(QChar(p[i++]));
            continue;
        }
        char32_t code = 0;
        if (const int length = sequenceLength(p + i, n - i, code)) {
            text.append(QChar::fromUcs4(code));
            i += length;
        } else {
            text.append(QChar(char16_t(EscapeBase + p[i++])));
        }
    }
    return text;
}

QByteArray VrBytesFromText(QStringView text)
{
    QByteArray bytes;
    qsizetype run = 0; // start of the text not yet written
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isEscape(text, i))
            continue;
        bytes += text.mid(run, i - run).toUtf8();
        bytes += char(text[i].unicode() - EscapeBase);
        run = i + 1;
    }
    bytes += text.mid(run).toUtf8();
    return bytes;
}
