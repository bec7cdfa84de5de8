#include "macros/MacroRecord.h"

#include <algorithm>
#include <cstring>

namespace vantor {

int MacroRecord::NameLength() const
{
    int length = 0;
    while (length < kMacroNameCapacity && name[length] != u'\0')
        ++length;
    return length;
}

QString MacroRecord::Name() const
{
    return QString::fromUtf16(name, NameLength());
}

void MacroRecord::SetName(const QString& text)
{
    std::memset(name, 0, sizeof name);
    const qsizetype terminator = text.indexOf(QChar(u'\0'));
    const qsizetype textLength = terminator < 0 ? text.size() : terminator;
    qsizetype length = std::min<qsizetype>(textLength, kMacroNameCapacity);
    if (length > 0 && length < textLength && text.at(length - 1).isHighSurrogate())
        --length;
    std::memcpy(name, text.utf16(), static_cast<size_t>(length) * sizeof(char16_t));
}

int MacroRecord::UsedActionCount() const
{
    return std::min<int>(actionCount, kMaxMacroActions);
}

std::span<const MacroAction> MacroRecord::Actions() const
{
    return {actions, static_cast<size_t>(UsedActionCount())};
}

bool MacroRecord::AddAction(MacroAction action)
{
    if (actionCount >= kMaxMacroActions)
        return false;
    if (action.direction != kMacroRelease)
        action.direction = kMacroPress;
    action.delay = std::min(action.delay, kMaxMacroDelayMs);
    actions[actionCount++] = action;
    return true;
}

}  // namespace vantor
