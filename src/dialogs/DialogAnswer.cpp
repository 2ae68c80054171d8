#include "DialogAnswer.h"

#include <QApplication>
#include <QWidget>

QVariant& DialogAnswer()
{
    static QVariant answer;
    return answer;
}

QWidget* DialogMainWindow()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (window->objectName() == QLatin1String("frmMainCode"))
            return window;
    return nullptr;
}
