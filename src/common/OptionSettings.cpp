#include "OptionSettings.h"

#include "Settings.h"
#include "SharedState.h"

void CorrectShredSettings(SharedState& state)
{
    // Fewer than one wipe would delete files without writing a byte over them.
    state.NumOverwrite = qMax(state.NumOverwrite, 1);
    // A method the program does not know is NORMAL, and the options window then sets 8 wipes.
    if (state.FastShred < 1 || state.FastShred > 3) {
        state.FastShred = 1;
        state.NumOverwrite = 8;
    }
}

void LoadOptionSettings()
{
    const QString module = QStringLiteral("frmMainCode");
    const QString procedure = QStringLiteral("Form_Load");
    SharedState& state = Shared();

    state.NumOverwrite = ReadLongSetting(Setting::NumOverwrite, module, procedure);
    state.ShredNow = ReadBooleanSetting(Setting::ShredNow, module, procedure);
    state.ListState = ReadStringSetting(Setting::ShowState);
    state.FastShred = ReadIntegerSetting(Setting::FastShred, module, procedure);
    state.PromptSafeFiles = ReadIntegerSetting(Setting::PromptSafeFiles, module, procedure);
    state.PromptSafeFilesQuestion = ReadBooleanSetting(Setting::PromptSafeFilesQuestion, module, procedure);
    CorrectShredSettings(state);

    SaveNumberSetting(Setting::NumOverwrite, state.NumOverwrite);
    SaveBooleanSetting(Setting::ShredNow, state.ShredNow);
    SaveStringSetting(Setting::ShowState, state.ListState);
    SaveNumberSetting(Setting::FastShred, state.FastShred);
    SaveNumberSetting(Setting::PromptSafeFiles, state.PromptSafeFiles);
}
