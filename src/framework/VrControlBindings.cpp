#include "VrControlBindings.h"

#include "VrCommon.h"
#include "VrDateTime.h"
#include "VrNumList.h"
#include "VrOptionList.h"
#include "VrOptionWidgets.h"
#include "VrRadioGroup.h"
#include "VrRawValue.h"
#include "VrSNMPError.h"
#include "VrSNMPValue.h"
#include "VrSNMPVarList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QtEndian>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

const QString kNull = QStringLiteral("(NULL)");
constexpr qint64 kMsPerDay = 86400000;
const QDate kDayZero(1899, 12, 30); // day number 0 of the 8-byte date-time

enum class Kind { Label, CheckBox, Combo, Radio, Edit, Other };

Kind kindOf(const QWidget *w)
{
    if (qobject_cast<const QLabel *>(w))
        return Kind::Label;
    if (qobject_cast<const QCheckBox *>(w))
        return Kind::CheckBox;
    if (qobject_cast<const QComboBox *>(w))
        return Kind::Combo;
    if (qobject_cast<const VrRadioGroup *>(w))
        return Kind::Radio;
    if (qobject_cast<const QLineEdit *>(w))
        return Kind::Edit;
    return Kind::Other;
}

[[noreturn]] void raise(int code)
{
    throw VrSNMPException(code);
}

void needControls(size_t have, size_t need)
{
    if (have < need)
        raise(VrErrTooFewControls);
}

// The text of an edit (or a label given as the second control of a combo).
QString textOf(const QWidget *w)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(w))
        return edit->text();
    if (auto *label = qobject_cast<const QLabel *>(w))
        return label->text();
    raise(VrErrBadControlType);
}

void setTextOf(QWidget *w, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        edit->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(w))
        label->setText(text);
    else
        raise(VrErrBadControlType);
}

unsigned long long cUnsigned(const QString &text)
{
    return std::strtoull(text.toLatin1().constData(), nullptr, 10);
}

QString hex2(quint8 byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

// Edits of an address, a MAC address or an octet string: one byte each.
QString bytesFromEdits(const std::vector<QPointer<QWidget>> &edits, size_t count)
{
    QString hex;
    for (size_t k = 0; k < count; ++k) {
        const QString text = textOf(edits[k]);
        hex += text.isEmpty() ? QStringLiteral("00") : text.size() == 1 ? QLatin1Char('0') + text : text;
    }
    return hex;
}

void showInEdits(const std::vector<QPointer<QWidget>> &edits, int syntax, const QString &text,
                 const QByteArray &raw)
{
    const size_t n = edits.size();
    const auto *p = reinterpret_cast<const quint8 *>(raw.constData());
    switch (syntax) {
    case VrSyntaxOctetHex: case VrSyntaxOctetHex2: case VrSyntaxOpaque:
        needControls(n, size_t(raw.size()));
        for (size_t k = 0; k < n; ++k)
            setTextOf(edits[k], qsizetype(k) < raw.size() ? hex2(p[k]) : QString());
        return;
    case VrSyntaxOid: {
        const size_t arcs = size_t(raw.size()) / 4;
        needControls(n, arcs);
        for (size_t k = 0; k < n; ++k)
            setTextOf(edits[k], k < arcs ? QString::number(qFromLittleEndian<quint32>(p + 4 * k)) : QString());
        return;
    }
    default:
        break;
    }
    // The fixed layouts leave their edits alone for a null value.
    const auto fixed = [&](size_t need) {
        needControls(n, need);
        return text != kNull && !raw.isEmpty();
    };
    switch (syntax) {
    case VrSyntaxIpAddress: case VrSyntaxAddress:
        if (fixed(4))
            for (size_t k = 0; k < 4; ++k)
                setTextOf(edits[k], QString::number(p[k]));
        return;
    case VrSyntaxTimeTicks:
        if (fixed(5)) {
            const quint32 t = qFromLittleEndian<quint32>(p);
            const quint32 parts[5] = {t / 8640000, t % 8640000 / 360000, t % 360000 / 6000,
                                      t % 6000 / 100, t % 100};
            for (size_t k = 0; k < 5; ++k)
                setTextOf(edits[k], QString::number(parts[k]));
        }
        return;
    case VrSyntaxMacAddress:
        if (fixed(6))
            for (size_t k = 0; k < 6; ++k)
                setTextOf(edits[k], hex2(p[k]));
        return;
    case VrSyntaxDateAndTime:
        if (fixed(10)) {
            setTextOf(edits[0], QString::number(qFromBigEndian<quint16>(p)));
            for (size_t k = 1; k < 7; ++k)
                setTextOf(edits[k], QString::number(p[k + 1]));
            setTextOf(edits[7], QString(QLatin1Char(char(p[8]))));
            setTextOf(edits[8], QString::number(p[9]));
            setTextOf(edits[9], QString::number(p[10]));
        }
        return;
    case VrSyntaxDateTime8:
        if (fixed(7)) {
            double day;
            std::memcpy(&day, p, sizeof day);
            qint64 ms = qint64(std::llround(day * kMsPerDay));
            const qint64 days = ms >= 0 ? ms / kMsPerDay : -((-ms + kMsPerDay - 1) / kMsPerDay);
            ms -= days * kMsPerDay;
            const QDate date = kDayZero.addDays(days);
            const qint64 parts[7] = {date.year(), date.month(), date.day(), ms / 3600000,
                                     ms / 60000 % 60, ms / 1000 % 60, ms % 1000};
            for (size_t k = 0; k < 7; ++k)
                setTextOf(edits[k], QString::number(parts[k]));
        }
        return;
    default:
        setTextOf(edits[0], text);
    }
}

QString collectFromEdits(const std::vector<QPointer<QWidget>> &edits, int syntax)
{
    const size_t n = edits.size();
    const auto number = [&](size_t k) { return cUnsigned(textOf(edits[k])); };
    switch (syntax) {
    case VrSyntaxOctetHex: case VrSyntaxOctetHex2: case VrSyntaxOpaque:
        return bytesFromEdits(edits, n);
    case VrSyntaxMacAddress:
        needControls(n, 6);
        return bytesFromEdits(edits, 6);
    case VrSyntaxOid: {
        QStringList arcs;
        for (size_t k = 0; k < n; ++k)
            arcs.append(QString::number(number(k)));
        return arcs.join('.');
    }
    case VrSyntaxIpAddress: case VrSyntaxAddress: {
        needControls(n, 4);
        QStringList parts;
        for (size_t k = 0; k < 4; ++k)
            parts.append(QString::number(number(k)));
        return parts.join('.');
    }
    case VrSyntaxTimeTicks: {
        needControls(n, 5);
        const unsigned long long ticks = number(0) * 8640000ULL + number(1) * 360000ULL
                                         + number(2) * 6000ULL + number(3) * 100ULL + number(4);
        // More than 32 bits would be cut silently on the way to the agent.
        if (ticks > 0xFFFFFFFFULL)
            raise(VrErrBadPartValue);
        return VrSNMPValue::TimeTicksText(quint32(ticks));
    }
    case VrSyntaxDateAndTime: {
        needControls(n, 10);
        QByteArray raw(11, '\0');
        qToBigEndian(quint16(number(0)), raw.data());
        for (size_t k = 1; k < 7; ++k)
            raw[int(k) + 1] = char(number(k));
        const QString direction = textOf(edits[7]);
        raw[8] = direction.isEmpty() ? '\0' : direction.at(0).toLatin1();
        raw[9] = char(number(8));
        raw[10] = char(number(9));
        return VrDateTime::FromRaw(raw).ToText();
    }
    case VrSyntaxDateTime8: {
        needControls(n, 7);
        const QDate date(int(number(0)), int(number(1)), int(number(2)));
        if (!date.isValid())
            raise(VrErrBadPartValue);
        const double ms = double(number(3)) * 3600000 + double(number(4)) * 60000
                          + double(number(5)) * 1000 + double(number(6));
        return VrSNMPValue::DayNumberText(double(kDayZero.daysTo(date)) + ms / kMsPerDay);
    }
    default:
        return textOf(edits[0]);
    }
}

} // namespace

VrControlBindings::VrControlBindings(VrSNMPVarList &list, QWidget *constraintOwner)
    : m_list(list), m_constraints(constraintOwner, true)
{
}

VrControlBindings::~VrControlBindings() = default;

void VrControlBindings::checkVar(int var) const
{
    if (var < 0 || var >= m_list.Count())
        throw VrCommonException(VrCommonIndexRange);
}

bool VrControlBindings::isWhole(const VrControlBinding &b) const
{
    return b.byteOffset == 0 && b.partSyntax == m_list.Item(b.varIndex).syntax;
}

const VrOptionList *VrControlBindings::optionsOf(const VrControlBinding &b) const
{
    if (b.options)
        return b.options;
    return isWhole(b) ? m_list.Item(b.varIndex).options : nullptr;
}

void VrControlBindings::add(std::unique_ptr<VrControlBinding> binding)
{
    m_bindings.push_back(std::move(binding));
}

void VrControlBindings::BindControl(int var, QWidget *control)
{
    checkVar(var);
    BindPart(var, 0, m_list.Item(var).syntax, nullptr, control);
}

void VrControlBindings::BindCheckBox(int var, QCheckBox *box)
{
    BindControl(var, box);
}

void VrControlBindings::BindComboBox(int var, QComboBox *combo)
{
    combo->setEditable(false);
    BindControl(var, combo);
}

void VrControlBindings::BindPart(int var, int byteOffset, int partSyntax, const VrOptionList *options,
                                 QWidget *control, QWidget *second)
{
    QList<QWidget *> controls{control};
    if (second)
        controls.append(second);
    BindControls(var, byteOffset, partSyntax, options, controls);
}

void VrControlBindings::BindControls(int var, int byteOffset, int partSyntax,
                                     const VrOptionList *options, const QList<QWidget *> &controls)
{
    checkVar(var);
    if (controls.isEmpty() || !controls.first())
        raise(VrErrTooFewControls);
    auto b = std::make_unique<VrControlBinding>();
    b->varIndex = var;
    b->byteOffset = byteOffset;
    b->partSyntax = partSyntax;
    b->options = options;
    for (QWidget *w : controls)
        b->controls.emplace_back(w);

    const Kind kind = kindOf(controls.first());
    if (kind == Kind::Combo || kind == Kind::Radio) {
        const VrOptionList *list = optionsOf(*b);
        if (!list)
            raise(VrErrNoOptionList);
        if (auto *combo = qobject_cast<QComboBox *>(controls.first())) {
            if (list->GetKind() == VrOptionList::Prefix && controls.size() < 2)
                raise(VrErrTooFewControls);
            VrFillItems(*list, combo);
        } else {
            VrFillItems(*list, qobject_cast<VrRadioGroup *>(controls.first()));
        }
    }
    add(std::move(b));
}

void VrControlBindings::BindFormat(int var, const QString &format, const QList<QLineEdit *> &edits)
{
    checkVar(var);
    if (edits.isEmpty())
        raise(VrErrTooFewControls);
    m_constraints.AddConstraints(format, edits);
    QList<QWidget *> controls;
    for (QLineEdit *e : edits)
        controls.append(e);
    BindControls(var, 0, m_list.Item(var).syntax, nullptr, controls);
}

void VrControlBindings::BindBits(int var, const QString &bitList, const QList<QCheckBox *> &boxes)
{
    checkVar(var);
    const VrNumList bits(bitList, QLatin1Char(','));
    needControls(size_t(boxes.size()), size_t(bits.Count()));
    if (bits.Count() == 0)
        raise(VrErrTooFewControls);
    auto b = std::make_unique<VrControlBinding>();
    b->varIndex = var;
    b->partSyntax = m_list.Item(var).syntax;
    for (int k = 0; k < bits.Count(); ++k) {
        if (bits.At(k) < 0)
            raise(VrErrPartIndexRange);
        b->bitIndices.push_back(bits.At(k));
        b->controls.emplace_back(boxes[k]);
    }
    add(std::move(b));
}

void VrControlBindings::Unbind(int var)
{
    for (auto it = m_bindings.begin(); it != m_bindings.end();) {
        if ((*it)->varIndex != var) {
            ++it;
            continue;
        }
        for (const QPointer<QWidget> &w : (*it)->controls)
            if (auto *edit = qobject_cast<QLineEdit *>(w.data()))
                m_constraints.RemoveConstraint(edit);
        it = m_bindings.erase(it);
    }
}

void VrControlBindings::EnableControls(bool enable)
{
    for (const auto &b : m_bindings)
        for (const QPointer<QWidget> &w : b->controls)
            if (w)
                w->setEnabled(enable);
}

void VrControlBindings::ShowValues(int var)
{
    for (const auto &b : m_bindings)
        if ((var == -1 || b->varIndex == var) && !(m_list.Item(b->varIndex).flags & VrFlagExcluded))
            show(*b);
}

void VrControlBindings::show(const VrControlBinding &b)
{
    const VrSNMPVarItem &item = m_list.Item(b.varIndex);
    QString value = item.options ? item.options->TextToValue(item.value) : item.value;
    const bool whole = isWhole(b);
    QByteArray part;
    if (!whole) {
        part = VrRawCut(VrRawFromText(value, item.syntax), b.byteOffset, b.partSyntax);
        value = VrRawToText(part, b.partSyntax);
    }
    // Bits and multi-edit layouts work on bytes; a whole binding converts only then.
    const auto rawPart = [&] { return whole ? VrRawFromText(value, b.partSyntax) : part; };
    const VrOptionList *options = optionsOf(b);
    const QString text = options ? options->ValueToText(value) : value;

    for (const QPointer<QWidget> &w : b.controls)
        if (!w)
            return; // a control of the page is gone: nothing left to show in
    QWidget *first = b.controls.front();
    switch (kindOf(first)) {
    case Kind::Label:
        static_cast<QLabel *>(first)->setText(text);
        return;
    case Kind::CheckBox:
        if (!b.bitIndices.empty()) {
            const QByteArray raw = rawPart();
            for (size_t k = 0; k < b.bitIndices.size(); ++k) {
                const int bit = b.bitIndices[k];
                if (bit / 8 >= raw.size())
                    raise(VrErrPartIndexRange);
                const bool set = quint8(raw[bit / 8]) & (0x80 >> (bit % 8));
                static_cast<QCheckBox *>(b.controls[k].data())->setChecked(set);
            }
        } else if (options) {
            static_cast<QCheckBox *>(first)->setChecked(VrOptionIndex(*options, text) > 0);
        } else {
            if (b.partSyntax != VrSyntaxTruthValue && b.partSyntax != VrPartBool8
                && b.partSyntax != VrPartBool16)
                raise(VrErrBadPartSyntax);
            static_cast<QCheckBox *>(first)->setChecked(text == QLatin1String("true"));
        }
        return;
    case Kind::Combo: {
        auto *combo = static_cast<QComboBox *>(first);
        if (options)
            VrSelectIn(*options, combo, text);
        if (b.controls.size() > 1) {
            QString rest = text.mid(combo->currentIndex() >= 0 ? combo->currentText().size() : 0);
            if (b.partSyntax == VrSyntaxOid && !rest.isEmpty())
                rest.remove(0, 1);
            setTextOf(b.controls[1], rest);
        }
        return;
    }
    case Kind::Radio:
        if (options)
            VrSelectIn(*options, static_cast<VrRadioGroup *>(first), text);
        return;
    case Kind::Edit:
        if (b.controls.size() == 1)
            static_cast<QLineEdit *>(first)->setText(text);
        else
            showInEdits(b.controls, b.partSyntax, text, rawPart());
        return;
    case Kind::Other:
        raise(VrErrBadControlType);
    }
}

QString VrControlBindings::collect(const VrControlBinding &b, QByteArray *bitPart) const
{
    QWidget *first = b.controls.front();
    const VrOptionList *options = optionsOf(b);
    switch (kindOf(first)) {
    case Kind::Label:
        return static_cast<QLabel *>(first)->text();
    case Kind::CheckBox:
        if (!b.bitIndices.empty()) {
            for (size_t k = 0; k < b.bitIndices.size(); ++k) {
                const int bit = b.bitIndices[k];
                if (bitPart->size() <= bit / 8)
                    bitPart->append(QByteArray(bit / 8 + 1 - bitPart->size(), '\0'));
                const char mask = char(0x80 >> (bit % 8));
                if (static_cast<QCheckBox *>(b.controls[k].data())->isChecked())
                    (*bitPart)[bit / 8] = char((*bitPart)[bit / 8] | mask);
                else
                    (*bitPart)[bit / 8] = char((*bitPart)[bit / 8] & ~mask);
            }
            return {};
        }
        if (options) {
            // Entry 0 means unchecked, entry 1 checked.
            if (options->Count() < 2)
                raise(VrErrNoOptionList);
            return options->At(static_cast<QCheckBox *>(first)->isChecked() ? 1 : 0).text;
        }
        if (b.partSyntax != VrSyntaxTruthValue && b.partSyntax != VrPartBool8
            && b.partSyntax != VrPartBool16)
            raise(VrErrBadPartSyntax);
        return static_cast<QCheckBox *>(first)->isChecked() ? QStringLiteral("true") : QStringLiteral("false");
    case Kind::Combo: {
        QString text = static_cast<QComboBox *>(first)->currentText();
        if (b.controls.size() > 1) {
            if (b.partSyntax == VrSyntaxOid)
                text += QLatin1Char('.');
            text += textOf(b.controls[1]);
        }
        return text;
    }
    case Kind::Radio: {
        auto *group = static_cast<VrRadioGroup *>(first);
        const int index = group->itemIndex();
        return index >= 0 ? group->items().at(index) : QString();
    }
    case Kind::Edit:
        if (b.controls.size() == 1)
            return static_cast<QLineEdit *>(first)->text();
        return collectFromEdits(b.controls, b.partSyntax);
    case Kind::Other:
        break;
    }
    raise(VrErrBadControlType);
}

void VrControlBindings::CollectValues(int var)
{
    for (int i = 0; i < m_list.Count(); ++i) {
        if ((var != -1 && i != var) || !m_list.IsWritable(i))
            continue;
        VrSNMPVarItem &item = m_list.Item(i);
        bool bound = false;
        QByteArray merged;
        for (const auto &b : m_bindings) {
            if (b->varIndex != i)
                continue;
            for (const QPointer<QWidget> &w : b->controls)
                if (!w)
                    raise(VrErrTooFewControls); // a control of the page is gone
            if (!bound) {
                bound = true;
                // A text variable is rebuilt from its bindings alone.
                if (item.syntax != VrSyntaxDisplayString)
                    merged = VrRawFromText(item.options ? item.options->TextToValue(item.value) : item.value,
                                           item.syntax);
            }
            QByteArray part;
            const QString text = collect(*b, &part);
            if (b->bitIndices.empty()) {
                const VrOptionList *options = optionsOf(*b);
                part = VrRawFromText(options ? options->TextToValue(text) : text, b->partSyntax);
            }
            VrRawMerge(merged, b->byteOffset, part, b->partSyntax);
        }
        if (!bound)
            continue;
        const QString text = VrRawToText(merged, item.syntax);
        item.value = item.options ? item.options->ValueToText(text) : text;
    }
}
