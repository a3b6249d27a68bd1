#include "VrTextUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <clocale>
#include <cstdlib>

std::optional<QStringList> ReadLines(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;

    QStringList lines;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        // Cut after decoding, so that a line of non-ASCII text keeps its
        // 1023 characters and never ends in half a character.
        QString text = QString::fromUtf8(line);
        if (text.size() > VrMaxLineLength)
            text.truncate(text.at(VrMaxLineLength - 1).isHighSurrogate() ? VrMaxLineLength - 1 : VrMaxLineLength);
        if (text.trimmed().isEmpty())
            continue;
        lines.append(text);
    }
    return lines;
}

QString Unquote(const QString &text)
{
    if (!text.isEmpty() && text.front() == QLatin1Char('"') && text.back() == QLatin1Char('"'))
        return text.size() == 1 ? QString() : text.mid(1, text.size() - 2);
    return text;
}

int SpanOf(const QString &text, int start, const QString &set)
{
    if (start < 1 || start > text.size())
        return 0;
    int last = start - 1; // 0-based index of the current character
    if (!set.contains(text.at(last)))
        return 0;
    while (last + 1 < text.size() && set.contains(text.at(last + 1)))
        ++last;
    return last + 1;
}

QString ReplaceAll(const QString &text, const QString &search, const QString &replacement)
{
    if (search.isEmpty())
        return text;
    QString result;
    qsizetype from = 0;
    for (qsizetype at; (at = text.indexOf(search, from)) >= 0; from = at + search.size()) {
        result += QStringView(text).mid(from, at - from);
        result += replacement;
    }
    result += QStringView(text).mid(from);
    return result;
}

double LeadingNumber(QStringView text)
{
    // strtod_l with the "C" locale: QCoreApplication switches the process to
    // the user's locale, where "1.5" might stop at the dot.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const QByteArray bytes = text.toLatin1(); // non-Latin-1 characters end the number
    return strtod_l(bytes.constData(), nullptr, cLocale);
}

QString ShortestNumber(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString FixedNumber(double value)
{
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString FindEntryIgnoringCase(const QString &directory, const QString &name)
{
    QString base = directory;
    if (!base.isEmpty() && !base.endsWith(u'/') && !base.endsWith(u'\\'))
        base += u'/';
    const QString exact = base + name;
    if (QFileInfo::exists(exact))
        return exact;
    const QDir dir(directory.isEmpty() ? QStringLiteral(".") : directory);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return base + entry;
    return exact;
}
