#include "FrmMainCode.h"

#include "Main.h"
#include "common/OptionSettings.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "common/SmartSplit.h"
#include "engine/PendingDeletions.h"
#include "engine/ShredEngine.h"
#include "platform/CommandRelay.h"
#include "platform/StartOnWin.h"

#include <QCoreApplication>
#include <QTimer>

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcMain, "vanisto.main", QtWarningMsg)

FrmMainCode* FrmMainCode::instance()
{
    static FrmMainCode* window = new FrmMainCode;
    return window;
}

void FrmMainCode::Form_Load()
{
    StartOnWin();
    m_oCommandLine = CommandRelayConnector::commandRelay();
    connect(m_oCommandLine, &CommandRelay::Change, this, &FrmMainCode::oCommandLine_Change);
    LoadOptionSettings();
    LoadSafeFolders();
    HideProcess();
    QTimer::singleShot(0, this, &FrmMainCode::DeletePendingFiles);
}

void FrmMainCode::DeletePendingFiles()
{
    ShredEngine engine(*this);
    ProcessPendingDeletions(engine);
}

void FrmMainCode::yield()
{
    QCoreApplication::processEvents();
}

void FrmMainCode::LoadSafeFolders()
{
    const QString stored = ReadStringSetting(Setting::SafeFiles);
    if (stored.isEmpty())
        return;
    for (const QString& folder : SmartSplit(stored, QStringLiteral(";"))) {
        Shared().SafeFolders.append(folder);
        QCoreApplication::processEvents();
    }
}

void FrmMainCode::oCommandLine_Change()
{
    const QString text = m_oCommandLine->CommandLine();
    if (text.isEmpty())
        return;
    if (text == SentinelSentence) {
        qCInfo(lcMain).noquote() << "sentinel received";
        return;
    }
    for (const QString& path : SmartSplit(text, QStringLiteral(" ")))
        qCInfo(lcMain).noquote() << "path received:" << path;
}
