#include "OptionRules.h"

#include "common/Settings.h"
#include "common/SharedState.h"

#include <Qt>

namespace {
void SetMethod(SharedState& state, qint16 method)
{
    state.FastShred = method;
    SaveNumberSetting(Setting::FastShred, method);
}

void SetWipeCount(SharedState& state, qint32 wipes)
{
    state.NumOverwrite = wipes;
    SaveNumberSetting(Setting::NumOverwrite, wipes);
}
} // namespace

QString OptionRules::WipesText(qint32 wipes)
{
    return QStringLiteral("Number of wipes: ") + QString::number(wipes);
}

QString OptionRules::MethodText(qint16 method)
{
    switch (method) {
    case 2:
        return QStringLiteral("Shred Method is: ENHANCED");
    case 3:
        return QStringLiteral("Shred Method is: ULTRA");
    default:
        return QStringLiteral("Shred Method is: NORMAL");
    }
}

QString OptionRules::InstantText(bool instant)
{
    return instant ? QStringLiteral("Instant Shred is: ON") : QStringLiteral("Instant Shred is: OFF");
}

bool OptionRules::KeyPasses(int key)
{
    return (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Backspace || key == Qt::Key_Return ||
           key == Qt::Key_Enter;
}

QString OptionRules::CorrectedWipesBox(const QString& text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok && value <= 0 ? QStringLiteral("1") : text;
}

QString OptionRules::SetWipes(SharedState& state, const QString& box, QString* notice)
{
    notice->clear();
    bool ok = false;
    const qint32 wipes = box.toInt(&ok);
    if (!ok)
        return box.isEmpty() ? QStringLiteral("the number of wipes is empty")
                             : QStringLiteral("the number of wipes does not fit 32 bits: ") + box;
    SetWipeCount(state, wipes);
    if (wipes < EnhancedWipes) {
        *notice =
            QStringLiteral("The ENHANCED and ULTRA shred methods require a minimum of 8 wipes. The shred "
                           "method has been reset to NORMAL.");
        SetMethod(state, 1);
    }
    return {};
}

void OptionRules::CycleMethod(SharedState& state, QString* notice)
{
    notice->clear();
    const qint16 method = state.FastShred + 1 >= 4 ? 1 : qint16(state.FastShred + 1);
    SetMethod(state, method);
    if (method == 1 || state.NumOverwrite >= EnhancedWipes)
        return;
    *notice =
        QStringLiteral("The %1 shred method requires a minimum of 8 wipes. The number of wipes has been "
                       "reset to 8.")
            .arg(method == 2 ? QStringLiteral("ENHANCED") : QStringLiteral("ULTRA"));
    SetWipeCount(state, EnhancedWipes);
}

bool OptionRules::ToggleInstant(SharedState& state)
{
    state.ShredNow = !state.ShredNow;
    SaveBooleanSetting(Setting::ShredNow, state.ShredNow);
    return state.ShredNow;
}

void OptionRules::SetPrompt(SharedState& state, bool checked)
{
    state.PromptSafeFiles = checked ? 1 : 0;
    SaveNumberSetting(Setting::PromptSafeFiles, state.PromptSafeFiles);
}

bool OptionRules::CorrectAtLoad(SharedState& state)
{
    if (state.FastShred == 1)
        return false;
    if (state.FastShred == 2 || state.FastShred == 3) {
        if (state.NumOverwrite >= EnhancedWipes)
            return false;
    } else {
        SetMethod(state, 1);
    }
    SetWipeCount(state, EnhancedWipes);
    return true;
}
