// libFuzzer target: read and write expressions as a page definition or a
// device value could make them, through the arithmetic, comparison and
// logical evaluators. Besides not crashing, putting a balanced text in
// parentheses must not change its result: the evaluators put a part's result
// back into the text, so this checks that every result survives that trip.

#include "VrCommon.h"
#include "VrExpression.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

bool balanced(const QString &text)
{
    int level = 0;
    for (QChar c : text) {
        if (c == u'(')
            ++level;
        else if (c == u')' && --level < 0)
            return false;
    }
    return level == 0;
}

// "NOW" moves between two evaluations.
bool mentionsNow(const QString &text)
{
    return text.contains(QLatin1String("now"), Qt::CaseInsensitive);
}

[[noreturn]] void fail(const char *what, const QString &text)
{
    std::fprintf(stderr, "%s: %s\n", what, qPrintable(text));
    std::abort();
}

// 1: true, 0: false, -1: refused (the only exception allowed is code -1).
int logical(const QString &text)
{
    try {
        return EvaluateLogical(text) ? 1 : 0;
    } catch (const VrCommonException &e) {
        if (e.Code() != VrCommonBadLogicOperand)
            fail("logical: unexpected code", text);
        return -1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const bool stable = balanced(text) && !mentionsNow(text)
                     && text.size() + 3 <= VrMaxExpressionLength;

    const double value = EvaluateArithmetic(text);
    if (stable) {
        const double wrapped = EvaluateArithmetic(u'(' + text + u')');
        // One more level may pass the depth bound; otherwise the same number.
        if (!std::isnan(value) && !std::isnan(wrapped) && value != wrapped)
            fail("arithmetic: parentheses changed the result", text);
        if (std::isnan(value) != std::isnan(wrapped) && !std::isnan(wrapped))
            fail("arithmetic: parentheses made a refused text evaluate", text);
    }

    try {
        EvaluateComparison(text);
    } catch (const VrCommonException &e) {
        if (e.Code() != VrCommonBadLogicOperand)
            fail("comparison: unexpected code", text);
    }

    const int truth = logical(text);
    if (stable) {
        const int negated = logical(QLatin1String("!(") + text + u')');
        if (truth >= 0 && negated >= 0 && negated == truth)
            fail("logical: !( ) did not negate", text);
        if (truth < 0 && negated >= 0)
            fail("logical: !( ) made a refused text evaluate", text);
    }
    return 0;
}
