#include "SafeFolderRules.h"

#include "common/Settings.h"
#include "common/SharedState.h"
#include "common/SmartSplit.h"

namespace {
void Store(const SharedState& state)
{
    SaveStringSetting(Setting::SafeFiles, SafeFolderRules::ListText(state.SafeFolders));
}
} // namespace

QString SafeFolderRules::ListText(const QStringList& folders)
{
    QString text;
    for (const QString& folder : folders)
        text += folder + QLatin1Char(';');
    return text;
}

QStringList SafeFolderRules::Load(const QString& stored)
{
    return stored.isEmpty() ? QStringList() : SmartSplit(stored, QStringLiteral(";"));
}

QString SafeFolderRules::RefusalReason(const SharedState& state, const QString& path)
{
    if (state.SafeFolders.size() >= MaxFolders)
        return QStringLiteral("The 'Do Not Shred' list holds %1 folders, as many as it can keep.")
            .arg(MaxFolders);
    if (path.contains(QLatin1Char(';')) || path.contains(QLatin1Char('"')))
        return QStringLiteral("The folder's path holds a semicolon or a double quote, which the 'Do Not "
                              "Shred' list cannot keep.");
    if (ListText(state.SafeFolders).size() + path.size() + 1 > SmartSplitMaxChars)
        return QStringLiteral("The 'Do Not Shred' list has no room left for a path this long.");
    return {};
}

void SafeFolderRules::AddFolder(SharedState& state, const QString& path)
{
    state.SafeFolders.append(path);
    Store(state);
}

QStringList SafeFolderRules::ClearSelected(SharedState& state, const QList<bool>& ticked)
{
    QStringList kept;
    for (qsizetype i = state.SafeFolders.size() - 1; i >= 0; --i)
        if (!ticked.value(i))
            kept.append(state.SafeFolders.at(i));
    state.SafeFolders = kept;
    Store(state);
    return kept;
}

void SafeFolderRules::ClearAll(SharedState& state)
{
    state.SafeFolders.clear();
    Store(state);
}
