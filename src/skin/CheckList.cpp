#include "CheckList.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPersistentModelIndex>
#include <QPointer>

namespace {
const char* const CheckListProperty = "vanistoCheckList";

class RowAccessible : public QAccessibleInterface, public QAccessibleActionInterface
{
public:
    RowAccessible(QAbstractItemView* view, const QModelIndex& index) : m_view(view), m_index(index) {}

    bool isValid() const override { return m_view && m_index.isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_view ? m_view->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_view); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return m_index.data(Qt::DisplayRole).toString();
        if (t == QAccessible::Description)
            return m_index.data(Qt::ToolTipRole).toString();
        return {};
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect inViewport = m_view->visualRect(m_index);
        return QRect(m_view->viewport()->mapToGlobal(inViewport.topLeft()), inViewport.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.checkable = true;
        state.checked = Checked();
        state.focusable = true;
        state.focused = m_view->hasFocus() && m_view->currentIndex() == m_index;
        state.invisible = !m_view->viewport()->rect().intersects(m_view->visualRect(m_index));
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction(), toggleAction()}; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    void doAction(const QString& actionName) override
    {
        if (!isValid() || (actionName != pressAction() && actionName != toggleAction()))
            return;
        m_view->model()->setData(m_index, Checked() ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    }

    int row() const { return m_index.row(); }

private:
    bool Checked() const { return m_index.data(Qt::CheckStateRole).toInt() == Qt::Checked; }

    QPointer<QAbstractItemView> m_view;
    QPersistentModelIndex m_index;
};

class ListAccessible : public QAccessibleWidget
{
public:
    explicit ListAccessible(QAbstractItemView* view) : QAccessibleWidget(view, QAccessible::List) {}

    ~ListAccessible() override
    {
        for (QAccessible::Id id : std::as_const(m_rows))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return view()->model() ? view()->model()->rowCount() : 0; }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        const QPersistentModelIndex row(view()->model()->index(index, 0));
        if (const auto found = m_rows.constFind(row); found != m_rows.cend())
            return QAccessible::accessibleInterface(*found);
        ForgetRemovedRows();
        auto* made = new RowAccessible(view(), row);
        m_rows.insert(row, QAccessible::registerAccessibleInterface(made));
        return made;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto* row = dynamic_cast<const RowAccessible*>(child);
        return row && row->isValid() ? row->row() : -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QModelIndex at = view()->indexAt(view()->viewport()->mapFromGlobal(QPoint(x, y)));
        return at.isValid() ? child(at.row()) : nullptr;
    }

private:
    QAbstractItemView* view() const { return static_cast<QAbstractItemView*>(widget()); }

    // Rows that left the list keep no interface alive once the list has moved on.
    void ForgetRemovedRows() const
    {
        if (m_rows.size() < 2 * childCount() + 16)
            return;
        for (auto it = m_rows.begin(); it != m_rows.end();) {
            if (it.key().isValid()) {
                ++it;
                continue;
            }
            QAccessible::deleteAccessibleInterface(*it);
            it = m_rows.erase(it);
        }
    }

    mutable QHash<QPersistentModelIndex, QAccessible::Id> m_rows;
};

QAccessibleInterface* Factory(const QString& className, QObject* object)
{
    // Asked once per class of the object's hierarchy: answer for its own class only.
    if (!object || className != QLatin1String(object->metaObject()->className()) ||
        !object->property(CheckListProperty).toBool())
        return nullptr;
    auto* view = qobject_cast<QAbstractItemView*>(object);
    return view ? new ListAccessible(view) : nullptr;
}
} // namespace

void CheckList::Enable(QAbstractItemView* view)
{
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    Q_UNUSED(installed);
    // Before anything that could make Qt build the view's interface its own way.
    view->setProperty(CheckListProperty, true);
    view->setAttribute(Qt::WA_TranslucentBackground);
    view->setStyleSheet(
        QStringLiteral("QAbstractItemView { background: transparent; color: #f0f0f0; }"
                       "QAbstractItemView::indicator { width: 13px; height: 13px; }"
                       "QAbstractItemView::indicator:unchecked { image: url(:/skin/imgCheckOff.png); }"
                       "QAbstractItemView::indicator:checked { image: url(:/skin/imgCheckOn.png); }"));
}
