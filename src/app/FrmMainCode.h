#pragma once

#include <QObject>

class CommandRelay;

// The main window's start-up side: it loads the settings and listens to the command
// relay. It stays hidden; items arriving through the relay are reported on the
// "vanisto.main" logging category.
class FrmMainCode : public QObject
{
    Q_OBJECT
public:
    static FrmMainCode* instance();

    void Form_Load();
    void oCommandLine_Change();

private:
    CommandRelay* m_oCommandLine = nullptr;
};
