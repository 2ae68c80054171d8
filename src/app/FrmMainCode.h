#pragma once

#include <QObject>

class CommandRelay;

// The main window's start-up side: it registers the program to start with the session,
// loads the settings and the 'Do Not Shred' folders and listens to the command relay. It stays hidden; items
// arriving through the relay are reported on the "vanisto.main" logging category.
class FrmMainCode : public QObject
{
    Q_OBJECT
public:
    static FrmMainCode* instance();

    void Form_Load();
    void oCommandLine_Change();

private:
    // The 'Do Not Shred' folders from the settings, into the shared state.
    void LoadSafeFolders();

    CommandRelay* m_oCommandLine = nullptr;
};
