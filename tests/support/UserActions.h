#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

// What a user does to the windows in the widget tests: clicks in the middle of a control, and
// the answers to windows that open modally (a message dialog, the options window, the folder
// chooser), given from inside the event loop that the modal window runs.
namespace UserActions {
inline void Click(QWidget* control)
{
    QTest::mousePress(control, Qt::LeftButton, {}, control->rect().center());
    QTest::mouseRelease(control, Qt::LeftButton, {}, control->rect().center());
}

// A control of `window` by name; a test that names one the window lacks stops at once.
template <typename T = QWidget> T* Child(const QWidget* window, const QString& name)
{
    T* child = window->findChild<T*>(name);
    Q_ASSERT_X(child, "Child", qPrintable(name));
    return child;
}
template <typename T = QWidget> T* Child(const QWidget* window, const char* name)
{
    return Child<T>(window, QLatin1String(name));
}
inline void Click(const QWidget* window, const char* name)
{
    Click(Child(window, name));
}
inline QString TextOf(const QWidget* window, const char* label)
{
    return Child<QLabel>(window, label)->text();
}
// The shown top-level windows of one name ("frmDialog").
inline QWidgetList Shown(const QString& name)
{
    QWidgetList shown;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == name && top->isVisible())
            shown << top;
    return shown;
}

// Runs `action` on each top-level window that `matches` once it is shown, each window once. The
// action runs from its own timer event, so that a window it opens modally in turn (a tutorial
// that opens the options that open the tutorial) is still seen.
class WhenShown : public QObject
{
public:
    WhenShown(std::function<bool(QWidget*)> matches, std::function<void(QWidget*)> action)
        : m_matches(std::move(matches)), m_action(std::move(action))
    {
        connect(&m_poll, &QTimer::timeout, this, &WhenShown::look);
        m_poll.start(5);
    }
    // The windows of one name ("frmOptions").
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
class DialogAnswerer
{
public:
    explicit DialogAnswerer(const QStringList& buttons)
        : m_buttons(buttons),
          m_watch(QStringLiteral("frmDialog"), [this](QWidget* dialog) { answer(dialog); })
    {}
    QStringList asked;

private:
    void answer(QWidget* dialog)
    {
        asked << dialog->findChild<QLabel*>(QStringLiteral("lblTitle"))->text() + QLatin1Char('|') +
                     dialog->findChild<QLabel*>(QStringLiteral("lblMessage"))->text();
        if (!m_buttons.isEmpty())
            Click(dialog->findChild<QWidget*>(m_buttons.takeFirst()));
    }
    QStringList m_buttons;
    WhenShown m_watch;
};

// Chooses folders in Qt's own folder chooser by pasting each path into its name box and
// pressing Enter (typed key by key, the chooser would go into every folder at its "/"); an
// empty path presses Escape (Cancel). Call QApplication::setAttribute(Qt::AA_DontUseNativeDialogs)
// first, so that no desktop portal answers instead.
class FolderChooser
{
public:
    explicit FolderChooser(const QStringList& paths)
        : m_paths(paths), m_watch([](QWidget* w) { return qobject_cast<QFileDialog*>(w) != nullptr; },
                                  [this](QWidget* dialog) { choose(dialog); })
    {}
    QStringList titles;

private:
    void choose(QWidget* dialog)
    {
        titles << dialog->windowTitle();
        const QString path = m_paths.isEmpty() ? QString() : m_paths.takeFirst();
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (path.isEmpty()) {
            QTest::keyClick(edit, Qt::Key_Escape);
            return;
        }
        edit->selectAll();
        edit->insert(path);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QStringList m_paths;
    WhenShown m_watch;
};
} // namespace UserActions
