#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

// What a user does in the widget tests: clicks, and answers to the windows that open modally,
// given from inside the event loop that the modal window runs.
namespace UserActions {
inline void Click(QWidget* control)
{
    QTest::mousePress(control, Qt::LeftButton, {}, control->rect().center());
    QTest::mouseRelease(control, Qt::LeftButton, {}, control->rect().center());
}

// A control of `window` by name; a test that names one the window lacks stops at once.
template <typename T = QWidget> T* Child(const QWidget* window, QAnyStringView name)
{
    T* child = window->findChild<T*>(name.toString());
    Q_ASSERT_X(child, "Child", qPrintable(name.toString()));
    return child;
}
inline void Click(const QWidget* window, const char* name)
{
    Click(Child(window, name));
}
inline QString TextOf(const QWidget* window, const char* label)
{
    return Child<QLabel>(window, label)->text();
}
inline QWidgetList Shown(const QString& name)
{
    QWidgetList shown;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == name && top->isVisible())
            shown << top;
    return shown;
}

// Runs `action` once on each top-level window that `matches` once it is shown, from a timer event
// of its own, so that a window the action opens modally in turn is still seen.
class WhenShown : public QObject
{
public:
    WhenShown(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> action)
        : m_matches(std::move(matches)), m_action(std::move(action))
    {
        connect(&m_poll, &QTimer::timeout, this, &WhenShown::look);
        m_poll.start(5);
    }
    WhenShown(const QString& name, std::function<void(QWidget*)> action)
        : WhenShown([name](QWidget* w) { return w->objectName() == name; }, std::move(action))
    {}
    int count() const { return m_count; }

private:
    void look()
    {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible() || m_seen.contains(top) || !m_matches(top))
                continue;
            m_seen.append(top);
            ++m_count;
            QTimer::singleShot(0, this, [this, window = QPointer<QWidget>(top)] {
                if (window)
                    m_action(window);
            });
            return;
        }
    }
    std::function<bool(QWidget*)> m_matches;
    std::function<void(QWidget*)> m_action;
    QList<QPointer<QWidget>> m_seen;
    QTimer m_poll;
    int m_count = 0;
};

// Answers the message dialogs as they open, clicking the given buttons in turn, and keeps the
// title and message of each ("title|message"; the dialog shows CR LF as a line break).
class DialogAnswerer : public WhenShown
{
public:
    explicit DialogAnswerer(QStringList buttons)
        : WhenShown(QStringLiteral("frmDialog"), [this, buttons](QWidget* dialog) mutable {
              asked << TextOf(dialog, "lblTitle") + QLatin1Char('|') + TextOf(dialog, "lblMessage");
              if (!buttons.isEmpty())
                  Click(Child(dialog, buttons.takeFirst()));
          })
    {}
    QStringList asked;
};

// Chooses folders in Qt's own chooser (set Qt::AA_DontUseNativeDialogs first): each path pasted
// whole, as typed the chooser would enter every folder at its "/"; an empty path is Escape.
class FolderChooser : public WhenShown
{
public:
    explicit FolderChooser(QStringList paths)
        : WhenShown([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                    [this, paths](QWidget* dialog) mutable {
                        titles << dialog->windowTitle();
                        const QString path = paths.isEmpty() ? QString() : paths.takeFirst();
                        auto* edit = Child<QLineEdit>(dialog, "fileNameEdit");
                        if (path.isEmpty()) {
                            QTest::keyClick(edit, Qt::Key_Escape);
                            return;
                        }
                        edit->selectAll();
                        edit->insert(path);
                        QTest::keyClick(edit, Qt::Key_Return);
                    })
    {}
    QStringList titles;
};
} // namespace UserActions
