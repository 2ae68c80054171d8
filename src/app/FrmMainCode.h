#pragma once

#include "engine/ShredWindow.h"

#include <QHash>
#include <QObject>

class CommandRelay;

// The main window's start-up side: it registers the program to start with the session,
// loads the settings and the 'Do Not Shred' folders and listens to the command relay. It stays hidden; items
// arriving through the relay are reported on the "vanisto.main" logging category.
class FrmMainCode : public QObject, public ShredWindow
{
    Q_OBJECT
public:
    static FrmMainCode* instance();

    void Form_Load();
    void oCommandLine_Change();

    // What the engine sees of the window while it works through the files queued for
    // deletion at the last session: the run-state captions, and bars nobody watches.
    QString caption(Caption label) const override { return m_captions.value(label); }
    void setCaption(Caption label, const QString& text) override { m_captions[label] = text; }
    void setBarVisible(Bar, bool) override {}
    void setBarMax(Bar, qint64) override {}
    void setBarValue(Bar, qint64) override {}
    bool expandVisible() const override { return false; }
    void yield() override;

private:
    // The 'Do Not Shred' folders from the settings, into the shared state.
    void LoadSafeFolders();

    // Shreds what the last session could not delete, once the event loop runs, so that
    // launches meanwhile are still answered.
    void DeletePendingFiles();

    CommandRelay* m_oCommandLine = nullptr;
    QHash<Caption, QString> m_captions{{Caption::lblstatus, RunCaption::Stopped},
                                       {Caption::lblstatus2, RunCaption::Done}};
};
